// The window base and the subclassing hook: who sees which message, in which order, and whether
// the object that sees it is still whole. Expected sequences are tables, printed beside what was
// seen when they differ.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win32/window.h"
#include "win32/window_hook.h"

namespace pravik::win32 {
namespace {

using Sequence = std::vector<std::string>;

std::string Lines(const Sequence& lines) {
  std::string text;
  for (const auto& line : lines) text += "    " + line + "\n";
  return text.empty() ? "    (nothing)\n" : text;
}

// Compares a recorded sequence with the expected table; prints both on a mismatch.
void ExpectSequence(const Sequence& expected, const Sequence& seen, const char* what) {
  EXPECT_EQ(expected, seen) << what << "\n  expected:\n" << Lines(expected) << "  seen:\n" << Lines(seen);
}

// A member that says when it goes; a handler that reads it afterwards reads a dead object.
struct Witness {
  Witness(Sequence& log, std::string name) : log(log), name(std::move(name)) {}
  ~Witness() {
    log.push_back(name + " members gone");
    alive = false;
  }
  Sequence& log;
  std::string name;
  bool alive = true;
};

class Child : public Window {
 public:
  explicit Child(Sequence& log) : witness_(log, "child") {}
  bool Create(HWND parent) {
    return Window::Create(L"PravikWindowTestChild", L"", WS_CHILD, 0, 0, 0, 10, 10, parent);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_DESTROY) witness_.log.push_back(witness_.alive ? "child WM_DESTROY" : "child WM_DESTROY, dead");
    return Window::HandleMessage(message, wParam, lParam);
  }

 private:
  Witness witness_;
};

// The child is declared first, so a base that destroyed windows only in ~Window would let the
// child's WM_PARENTNOTIFY reach a panel whose witness is already gone.
class Panel : public Window {
 public:
  explicit Panel(Sequence& log) : child_(log), witness_(log, "panel") {}
  bool Create() {
    return Window::Create(L"PravikWindowTestPanel", L"", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100, nullptr) &&
           child_.Create(hwnd());
  }
  Child& child() { return child_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    const char* name = message == WM_DESTROY             ? "panel WM_DESTROY"
                       : message == WM_NCDESTROY         ? "panel WM_NCDESTROY"
                       : message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_DESTROY ? "panel WM_PARENTNOTIFY"
                                                                                     : nullptr;
    if (name) witness_.log.push_back(std::string(name) + (witness_.alive ? "" : ", dead"));
    return Window::HandleMessage(message, wParam, lParam);
  }

 private:
  Instance<Child> child_;
  Witness witness_;
};

TEST(WindowBase, TheWindowGoesWhileTheWholeObjectExists) {
  Sequence log;
  HWND panel = nullptr, child = nullptr;
  {
    Instance<Panel> owner(log);
    ASSERT_TRUE(owner.Create());
    panel = owner.hwnd();
    child = owner.child().hwnd();
  }
  ExpectSequence({"panel WM_DESTROY", "child WM_DESTROY", "panel WM_NCDESTROY", "panel members gone",
                  "child members gone"},
                 log, "destroying the panel object");
  EXPECT_FALSE(::IsWindow(panel));
  EXPECT_FALSE(::IsWindow(child));
}

TEST(WindowBase, AChildDestroyedOnItsOwnNotifiesTheLivingParent) {
  Sequence log;
  Instance<Panel> owner(log);
  ASSERT_TRUE(owner.Create());
  owner.child().Destroy();
  ExpectSequence({"panel WM_PARENTNOTIFY", "child WM_DESTROY"}, log, "destroying the child alone");
  EXPECT_EQ(owner.child().hwnd(), nullptr);
  log.clear();
  // The window already went: the objects only go, nothing is destroyed twice.
  owner.Destroy();
  EXPECT_EQ(owner.hwnd(), nullptr);
  ExpectSequence({"panel WM_DESTROY", "panel WM_NCDESTROY"}, log, "destroying the panel window");
}

TEST(WindowBase, FromHwndFindsOnlyObjectsOfThisBase) {
  Sequence log;
  Instance<Panel> owner(log);
  ASSERT_TRUE(owner.Create());
  EXPECT_EQ(Window::FromHwnd<Panel>(owner.hwnd()), &owner);
  EXPECT_EQ(Window::FromHwnd<Child>(owner.hwnd()), nullptr);
  EXPECT_EQ(Window::FromHwnd<Child>(owner.child().hwnd()), &owner.child());

  // Subclassing changes the window's procedure, not whose window it is.
  WindowHook hook;
  ASSERT_TRUE(hook.Install(owner.hwnd(), [](UINT, WPARAM, LPARAM, LRESULT&) { return false; }));
  EXPECT_EQ(Window::FromHwnd<Panel>(owner.hwnd()), &owner);

  // Another class's slot may hold anything, even a pointer to one of ours.
  HWND foreign = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, owner.hwnd(), nullptr, ThisModule(), nullptr);
  ASSERT_NE(foreign, nullptr);
  ::SetWindowLongPtrW(foreign, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<Window*>(&owner)));
  EXPECT_EQ(Window::FromHwnd<Panel>(foreign), nullptr);
  EXPECT_EQ(Window::FromHwnd<Panel>(nullptr), nullptr);

  const HWND gone = owner.hwnd();
  hook.Remove();
  owner.Destroy();
  EXPECT_EQ(Window::FromHwnd<Panel>(gone), nullptr);
}

// Records the test messages its own procedure sees, then runs `onMessage` when one is set.
class Recorder : public Window {
 public:
  explicit Recorder(Sequence& log) : log_(log) {}
  bool Create() { return Window::Create(L"PravikWindowTestRecorder", L"", WS_POPUP, 0, 0, 0, 10, 10, nullptr); }
  std::function<void()> onMessage;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_APP) {
      log_.push_back("window");
      if (onMessage) onMessage();
      return 1;
    }
    return Window::HandleMessage(message, wParam, lParam);
  }

 private:
  Sequence& log_;
};

// A hook that records around the window's procedure; `answer` makes it keep the message.
void Watch(WindowHook& hook, HWND hwnd, Sequence& log, const std::string& name, bool answer = false) {
  ASSERT_TRUE(hook.Install(
      hwnd,
      [&log, name, answer](UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_APP) return false;
        log.push_back(name + " before");
        result = 7;
        return answer;
      },
      [&log, name](UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message == WM_APP) log.push_back(name + " after " + std::to_string(result));
      }));
}

TEST(WindowHook, HooksWrapTheWindowInOrderAndLeaveIt) {
  Sequence log;
  Instance<Recorder> window(log);
  ASSERT_TRUE(window.Create());
  WindowHook inner, outer, answering;
  Watch(inner, window.hwnd(), log, "inner");
  Watch(outer, window.hwnd(), log, "outer");

  EXPECT_EQ(::SendMessageW(window.hwnd(), WM_APP, 0, 0), 1);
  ExpectSequence({"outer before", "inner before", "window", "inner after 1", "outer after 1"}, log,
                 "two hooks, the later one outside");

  // Taking out the inner hook leaves the outer one and the window joined.
  log.clear();
  inner.Remove();
  ::SendMessageW(window.hwnd(), WM_APP, 0, 0);
  ExpectSequence({"outer before", "window", "outer after 1"}, log, "inner hook removed");

  // A hook that answers: nothing inside it sees the message.
  log.clear();
  Watch(answering, window.hwnd(), log, "answering", true);
  EXPECT_EQ(::SendMessageW(window.hwnd(), WM_APP, 0, 0), 7);
  ExpectSequence({"answering before"}, log, "answered by the outermost hook");

  // Every hook gone: the window's own procedure is back.
  log.clear();
  answering.Remove();
  outer.Remove();
  EXPECT_EQ(::SendMessageW(window.hwnd(), WM_APP, 0, 0), 1);
  ExpectSequence({"window"}, log, "all hooks removed");
}

TEST(WindowHook, AHookLetsGoOfAWindowThatGoesFirst) {
  Sequence log;
  WindowHook hook;
  {
    Instance<Recorder> window(log);
    ASSERT_TRUE(window.Create());
    Watch(hook, window.hwnd(), log, "hook");
    ASSERT_EQ(hook.hwnd(), window.hwnd());
  }
  EXPECT_EQ(hook.hwnd(), nullptr);
  // A new window: the hook may be installed again and the old window left no trace.
  Instance<Recorder> next(log);
  ASSERT_TRUE(next.Create());
  Watch(hook, next.hwnd(), log, "hook");
  ::SendMessageW(next.hwnd(), WM_APP, 0, 0);
  ExpectSequence({"hook before", "window", "hook after 1"}, log, "hook on the next window");
}

// A window's own handler may release what hooks it (the menu lets go of its drop shadow in its
// WM_DESTROY): the hook's call in progress must not touch the released handlers afterwards.
TEST(WindowHook, AHookReleasedWhileItsWindowHandlesTheMessageIsNotCalledAgain) {
  Sequence log;
  Instance<Recorder> window(log);
  ASSERT_TRUE(window.Create());
  auto destroyed = std::make_unique<WindowHook>();
  Watch(*destroyed, window.hwnd(), log, "destroyed");
  window.onMessage = [&] { destroyed.reset(); };
  EXPECT_EQ(::SendMessageW(window.hwnd(), WM_APP, 0, 0), 1);
  ExpectSequence({"destroyed before", "window"}, log, "hook destroyed inside the window's procedure");

  log.clear();
  WindowHook removed;
  Watch(removed, window.hwnd(), log, "removed");
  window.onMessage = [&] { removed.Remove(); };
  EXPECT_EQ(::SendMessageW(window.hwnd(), WM_APP, 0, 0), 1);
  ExpectSequence({"removed before", "window"}, log, "hook removed inside the window's procedure");
}

}  // namespace
}  // namespace pravik::win32
