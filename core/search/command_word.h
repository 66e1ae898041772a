#pragma once
// What Enter does with text typed in the run box and nothing selected in the results: text whose
// first word the command interpreter can run is the user's command and goes to the interpreter
// as typed; other text starts the best program found for it.
#include <functional>
#include <string_view>

namespace pravik::core::search {

// The first word of a command line: up to the first space or tab, or the text between the quotes
// when it starts with one (a path with spaces). Leading blanks are skipped.
std::u16string_view FirstWord(std::u16string_view text);

// True for the interpreter's own commands (echo, dir, cd, set, start, ...), in any letter case.
bool IsInterpreterCommand(std::u16string_view word);

// Whether the interpreter can run the text's first word: one of its own commands, or what
// `exists` finds (a path that exists, or a program on the user's search path). A blank text
// has nothing to run.
using ExistsLookup = std::function<bool(std::u16string_view word)>;
bool FirstWordIsRunnable(std::u16string_view text, const ExistsLookup& exists);

}  // namespace pravik::core::search
