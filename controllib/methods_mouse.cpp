// Mouse: the pointer position, and synthetic moves and button presses at the current position.
#include "controllib/quessel.h"

namespace pravik::controllib {
namespace {

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) noexcept {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  input.mi.dx = dx;
  input.mi.dy = dy;
  ::SendInput(1, &input, sizeof input);
}

}  // namespace

STDMETHODIMP Quessel::cMouse_LocationGet_X(LONG* result) noexcept {
  if (!result) return E_POINTER;
  POINT p{};
  ::GetCursorPos(&p);
  *result = p.x;
  return S_OK;
}

STDMETHODIMP Quessel::cMouse_LocationGet_Y(LONG* result) noexcept {
  if (!result) return E_POINTER;
  POINT p{};
  ::GetCursorPos(&p);
  *result = p.y;
  return S_OK;
}

STDMETHODIMP Quessel::cMouse_LocationSet(LONG* xPos, LONG* yPos) noexcept {
  if (!xPos || !yPos) return E_POINTER;
  ::SetCursorPos(*xPos, *yPos);
  return S_OK;
}

STDMETHODIMP Quessel::cMouse_MoveMouse(LONG* xMove, LONG* yMove) noexcept {
  if (!xMove || !yMove) return E_POINTER;
  SendMouse(MOUSEEVENTF_MOVE, *xMove, *yMove);
  return S_OK;
}

STDMETHODIMP Quessel::cMouse_LeftDown() noexcept { return SendMouse(MOUSEEVENTF_LEFTDOWN), S_OK; }
STDMETHODIMP Quessel::cMouse_LeftUp() noexcept { return SendMouse(MOUSEEVENTF_LEFTUP), S_OK; }
STDMETHODIMP Quessel::cMouse_RightDown() noexcept { return SendMouse(MOUSEEVENTF_RIGHTDOWN), S_OK; }
STDMETHODIMP Quessel::cMouse_RightUp() noexcept { return SendMouse(MOUSEEVENTF_RIGHTUP), S_OK; }
STDMETHODIMP Quessel::cMouse_MiddleDown() noexcept { return SendMouse(MOUSEEVENTF_MIDDLEDOWN), S_OK; }
STDMETHODIMP Quessel::cMouse_MiddleUp() noexcept { return SendMouse(MOUSEEVENTF_MIDDLEUP), S_OK; }

STDMETHODIMP Quessel::cMouse_LeftClick() noexcept {
  cMouse_LeftDown();
  return cMouse_LeftUp();
}
STDMETHODIMP Quessel::cMouse_RightClick() noexcept {
  cMouse_RightDown();
  return cMouse_RightUp();
}
STDMETHODIMP Quessel::cMouse_MiddleClick() noexcept {
  cMouse_MiddleDown();
  return cMouse_MiddleUp();
}

}  // namespace pravik::controllib
