#pragma once
// The image button's input state machine, free of any window: each input returns the actions
// the control window carries out, in order (redraws, raised events, capture, focus moves).
#include <cstdint>
#include <vector>

namespace pravik::core::button {

enum class ButtonState : int { Normal = 0, Hot = 1, Down = 2 };

enum class Action {
  Redraw,
  RaiseClick,
  RaiseDblClick,
  RaiseMouseEnter,
  RaiseMouseLeave,
  RaiseMouseDown,
  RaiseMouseUp,
  RaiseKeyDown,
  RaiseKeyUp,
  ValueChanged,        // Value was changed by the button itself: report it to the host
  ClearOtherOptions,   // clear the other option buttons of the same container
  ShowPopup,           // show the attached popup menu (popup-showing is already set)
  CreateTooltip,
  TrackMouseLeave,
  TakeFocus,
  CaptureMouse,
  ReleaseCapture,
  FocusPrevious,
  FocusNext,
  PumpMessages,        // let pending window messages run
};
using Actions = std::vector<Action>;

constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kShiftAlt = 4;

constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;

class ButtonLogic {
 public:
  // Properties the machine looks at (the control keeps them in step).
  int mode = 0;  // 0 push, 1 check, 2 option
  bool value = false;
  bool enabled = true;
  bool popupAttached = false;

  // Internal state.
  ButtonState state = ButtonState::Normal;
  bool over = false;
  bool buttonHeld = false;
  bool spaceHeld = false;
  bool hasFocus = false;
  bool hostActive = false;
  bool displayAsDefault = false;
  bool popupShowing = false;
  bool closedOver = false;
  int lastButton = 0;
  int lastShift = 0;
  float lastX = 0, lastY = 0;

  [[nodiscard]] bool Checked() const noexcept { return mode != 0 && value; }

  Actions PointerMove(bool overControl);
  Actions ButtonDown(int button, int shift, float x, float y);
  Actions ButtonUp(int button, float x, float y, int width, int height);
  Actions DoubleClick();
  Actions MouseLeft();
  Actions PopupClosed(bool cursorOverControl);
  Actions HostActivated(bool active);
  Actions GotFocus();
  Actions LostFocus();
  Actions KeyDown(int key, int shift, bool captured);
  Actions KeyUp(int key);
  Actions AccessKey(int key);
  // Setters of Mode and Value (the property rules): return what to redraw and report.
  Actions SetMode(int newMode);
  Actions SetValue(bool newValue);

 private:
  void ToState(ButtonState next, Actions& out, bool onlyOnChange = true);
  void Press(int button, Actions& out);
};

}  // namespace pravik::core::button
