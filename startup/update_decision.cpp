#include "startup/update_decision.h"

#include "generated/win32/build_settings.h"
#include "startup/internet_state.h"
#include "startup/update_check.h"

namespace pravik::startup {

UpdateDecision::UpdateDecision() {
  answer_ = std::async(std::launch::async, [] {
    Answer answer;
    try {
      // Only when the network answers is the update server asked.
      answer.handOver = ProbeConnection(std::wstring(L"http://") + PRAVIK_PROBE_HOST + L"/") == 1 &&
                        !IsVersionCurrent(answer.updaterArguments);
    } catch (...) {
      answer = {};  // like every failure of the check: no update due
    }
    return answer;
  });
}

// Both parts of the question are bounded in time, so waiting for a thread that was not asked
// for its answer (start-up failed first) cannot hold the program's end for long.
UpdateDecision::~UpdateDecision() {
  if (answer_.valid()) answer_.wait();
}

bool UpdateDecision::HandOverDue(std::wstring& updaterArguments) {
  Answer answer = answer_.get();
  updaterArguments = std::move(answer.updaterArguments);
  return answer.handOver;
}

}  // namespace pravik::startup
