#pragma once
// Whether start-up hands over to the updater. The update server is asked on a thread of its own
// from the first moment of start-up, while the button's window is made and its skins are loaded;
// the answer is awaited before the button shows, so an announced update still ends start-up
// before any window is seen.
#include <future>
#include <string>

namespace pravik::startup {

class UpdateDecision {
 public:
  UpdateDecision();
  UpdateDecision(const UpdateDecision&) = delete;
  UpdateDecision& operator=(const UpdateDecision&) = delete;
  ~UpdateDecision();

  // Waits for the answer. True when the server announces another version that was not handed
  // over in the last day; updaterArguments then holds the updater's command line.
  bool HandOverDue(std::wstring& updaterArguments);

 private:
  struct Answer {
    bool handOver = false;
    std::wstring updaterArguments;
  };
  std::future<Answer> answer_;
};

}  // namespace pravik::startup
