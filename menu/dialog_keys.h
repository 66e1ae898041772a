#pragma once
// Tab, Shift+Tab and the arrow keys between the elements of a window that is not a dialog. The
// programs tree keeps a modal dialog loop running for good, and the program's own message loop
// has no dialog manager; both pass every message through the thread's message filter, where this
// moves Tab through our own order and hands the window's other key messages to the dialog manager.
#include <windows.h>

#include <functional>
#include <vector>

namespace pravik::menu {

class DialogKeys {
 public:
  DialogKeys() = default;
  DialogKeys(const DialogKeys&) = delete;
  DialogKeys& operator=(const DialogKeys&) = delete;
  ~DialogKeys();

  // The elements Tab and Shift+Tab cycle through, in order; hidden and disabled ones are passed by.
  using TabOrder = std::function<std::vector<HWND>()>;

  // One window per thread.
  bool Install(HWND root, TabOrder order = {}) noexcept;
  void Remove() noexcept;
  // For message loops without a filter call of their own: true when the message was handled.
  static bool Translate(MSG& msg) noexcept;

 private:
  static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam) noexcept;
  HHOOK hook_ = nullptr;
  TabOrder order_;
};

}  // namespace pravik::menu
