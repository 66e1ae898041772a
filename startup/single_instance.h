#pragma once

namespace pravik::startup {

// Whether another copy of Pravik already runs in this session. The first caller keeps a named
// mutex for the life of the process; a later one finds it.
bool AnotherInstanceRuns();

}  // namespace pravik::startup
