#include "core/button/button_logic.h"

namespace pravik::core::button {

void ButtonLogic::ToState(ButtonState next, Actions& out, bool onlyOnChange) {
  if (onlyOnChange && state == next) return;
  state = next;
  out.push_back(Action::Redraw);
}

Actions ButtonLogic::PointerMove(bool overControl) {
  Actions out;
  if (overControl) {
    over = true;
    out.push_back(Action::TrackMouseLeave);
    out.push_back(Action::RaiseMouseEnter);
    if (spaceHeld) return out;
    if (!buttonHeld && state != ButtonState::Hot) {
      ToState(ButtonState::Hot, out);
      out.push_back(Action::CreateTooltip);
    } else if (buttonHeld && state != ButtonState::Down) {
      ToState(ButtonState::Down, out);
    }
  } else {
    over = false;
    if (!spaceHeld) ToState(ButtonState::Normal, out);
  }
  return out;
}

void ButtonLogic::Press(int button, Actions& out) {
  if (button != kLeftButton && !closedOver) return;
  hasFocus = true;
  buttonHeld = true;
  out.push_back(Action::TakeFocus);
  out.push_back(Action::CaptureMouse);
  if (!spaceHeld) ToState(ButtonState::Down, out, false);
  if (!popupAttached) {
    out.push_back(Action::RaiseMouseDown);
  } else if (!closedOver) {
    popupShowing = true;
    out.push_back(Action::ShowPopup);
  }
}

Actions ButtonLogic::ButtonDown(int button, int shift, float x, float y) {
  Actions out;
  lastButton = button;
  lastShift = shift;
  lastX = x;
  lastY = y;
  Press(button, out);
  return out;
}

Actions ButtonLogic::ButtonUp(int button, float x, float y, int width, int height) {
  Actions out;
  if (popupAttached) {
    buttonHeld = false;
    closedOver = false;
    out.push_back(Action::ReleaseCapture);
    ToState(ButtonState::Normal, out, false);
    return out;
  }
  if (button == kLeftButton) {
    buttonHeld = false;
    out.push_back(Action::ReleaseCapture);
    // Strictly inside: the leftmost column and the top row count as outside.
    if (x > 0 && x < width && y > 0 && y < height) {
      if (mode == 1) {
        value = !value;
        out.push_back(Action::ValueChanged);
        out.push_back(Action::Redraw);
      } else if (mode == 2) {
        out.push_back(Action::ClearOtherOptions);
        value = true;
        out.push_back(Action::ValueChanged);
      }
      ToState(ButtonState::Normal, out, false);
      out.push_back(Action::RaiseClick);
    } else if (!spaceHeld) {
      // Released away from the button: it must not stay drawn pressed.
      ToState(ButtonState::Normal, out);
    }
  }
  out.push_back(Action::RaiseMouseUp);
  return out;
}

Actions ButtonLogic::DoubleClick() {
  Actions out;
  if (lastButton != kLeftButton) return out;
  out.push_back(Action::CaptureMouse);
  ToState(ButtonState::Down, out, false);
  const bool popupBefore = popupAttached;
  Press(lastButton, out);
  // With a popup attached the repeated press already showed it (or the close over the button
  // suppressed it); showing it a second time would open a second modal menu.
  if (!popupBefore) out.push_back(Action::RaiseDblClick);
  return out;
}

Actions ButtonLogic::MouseLeft() {
  Actions out;
  if (popupShowing) {
    over = false;
    popupShowing = false;
    closedOver = true;
    return out;
  }
  over = false;
  if (popupAttached) closedOver = false;
  if (!spaceHeld) {
    ToState(ButtonState::Normal, out);
    out.push_back(Action::RaiseMouseLeave);
  }
  return out;
}

Actions ButtonLogic::PopupClosed(bool cursorOverControl) {
  Actions out;
  // The menu is gone either way; a stale flag would swallow the next popup.
  popupShowing = false;
  if (cursorOverControl) {
    closedOver = true;
    return out;
  }
  buttonHeld = over = spaceHeld = closedOver = false;
  ToState(ButtonState::Normal, out, false);
  return out;
}

Actions ButtonLogic::HostActivated(bool active) {
  Actions out;
  if (active) {
    hostActive = true;
  } else {
    buttonHeld = spaceHeld = hasFocus = hostActive = false;
  }
  ToState(ButtonState::Normal, out, false);
  return out;
}

Actions ButtonLogic::GotFocus() {
  hasFocus = true;
  return {};
}

Actions ButtonLogic::LostFocus() {
  Actions out;
  hasFocus = buttonHeld = spaceHeld = false;
  ToState(hostActive && over ? ButtonState::Hot : ButtonState::Normal, out, false);
  return out;
}

Actions ButtonLogic::KeyDown(int key, int shift, bool captured) {
  Actions out;
  switch (key) {
    case kKeyEnter:
      out.push_back(Action::RaiseClick);
      break;
    case kKeySpace:
      if (shift & kShiftAlt) return out;  // Alt+Space: nothing at all
      if (buttonHeld) {
        ToState(over ? ButtonState::Down : ButtonState::Normal, out);
      } else {
        spaceHeld = true;
        if (mode == 1) {
          value = !value;
          out.push_back(Action::ValueChanged);
        } else if (mode == 2) {
          out.push_back(Action::ClearOtherOptions);
          value = true;
          out.push_back(Action::ValueChanged);
        }
        ToState(ButtonState::Down, out, false);
      }
      if (!captured) out.push_back(Action::CaptureMouse);
      break;
    case 37:
    case 38:
      out.push_back(Action::FocusPrevious);
      break;
    case 39:
    case 40:
      out.push_back(Action::FocusNext);
      break;
    default:
      if (spaceHeld) {
        spaceHeld = false;
        ToState(ButtonState::Normal, out, false);
      }
      break;
  }
  out.push_back(Action::RaiseKeyDown);
  return out;
}

Actions ButtonLogic::KeyUp(int key) {
  Actions out;
  if (key != kKeySpace) return out;
  out.push_back(Action::ReleaseCapture);
  if (over && buttonHeld) {
    ToState(ButtonState::Down, out);
  } else {
    ToState(over ? ButtonState::Hot : ButtonState::Normal, out);
  }
  if (!buttonHeld && spaceHeld) out.push_back(Action::RaiseClick);
  out.push_back(Action::RaiseKeyUp);
  spaceHeld = buttonHeld = false;
  return out;
}

Actions ButtonLogic::AccessKey(int key) {
  Actions out;
  if (!enabled) return out;
  if (spaceHeld) spaceHeld = buttonHeld = false;
  const bool enterOrEscape = key == kKeyEnter || key == kKeyEscape;
  if (mode == 1 && !enterOrEscape) {
    value = !value;
    if (!value) state = ButtonState::Normal;
    out.push_back(Action::ValueChanged);
    out.push_back(Action::Redraw);
  } else if (mode == 2 && !enterOrEscape) {
    out.push_back(Action::ClearOtherOptions);
    value = true;
    out.push_back(Action::ValueChanged);
    out.push_back(Action::Redraw);
  }
  out.push_back(Action::PumpMessages);
  out.push_back(Action::RaiseClick);
  return out;
}

Actions ButtonLogic::SetMode(int newMode) {
  Actions out;
  mode = newMode;
  if (mode == 0) state = ButtonState::Normal;
  out.push_back(Action::Redraw);
  return out;
}

Actions ButtonLogic::SetValue(bool newValue) {
  Actions out;
  if (mode != 0) {
    value = newValue;
    if (!newValue) state = ButtonState::Normal;
    out.push_back(Action::ValueChanged);
  } else {
    state = ButtonState::Normal;
  }
  out.push_back(Action::Redraw);
  return out;
}

}  // namespace pravik::core::button
