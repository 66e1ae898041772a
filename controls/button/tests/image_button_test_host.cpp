#include "controls/button/tests/image_button_test_host.h"

#include "testsupport/process.h"

namespace pravik::controls::button {

namespace {
class Container : public win32::Window {};
}  // namespace

ButtonHost::ButtonHost() {
  Create(L"PravikZqButtonTestHost", L"zqbutton test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 100,
         100, 500, 300, nullptr, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  ::SetForegroundWindow(hwnd());
  pravik::testsupport::PumpFor(50);
}

HWND ButtonHost::AddContainer(int x, int y, int w, int h) {
  auto c = std::make_unique<win32::Instance<Container>>();
  c->Create(L"PravikZqButtonTestContainer", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, x, y,
            w, h, hwnd());
  HWND handle = c->hwnd();
  containers_.push_back(std::move(c));
  return handle;
}

ImageButton& ButtonHost::AddButton(const core::propbag::PropertyBag& layout, int x, int y, int w, int h, HWND container) {
  auto b = std::make_unique<win32::Instance<ImageButton>>();
  const std::wstring name = L"#" + std::to_wstring(buttons_.size()) + L" ";
  auto mouse = [this, name](const wchar_t* what) {
    return [this, name, what](int button, int, float, float) {
      events.push_back(name + what + L" " + std::to_wstring(button));
    };
  };
  b->onClick = [this, name] { events.push_back(name + L"Click"); };
  b->onDblClick = [this, name] { events.push_back(name + L"DblClick"); };
  b->onMouseDown = mouse(L"MouseDown");
  b->onMouseUp = mouse(L"MouseUp");
  b->onKeyDown = [this, name](std::int16_t& key, int) { events.push_back(name + L"KeyDown " + std::to_wstring(key)); };
  b->onKeyUp = [this, name](std::int16_t& key, int) { events.push_back(name + L"KeyUp " + std::to_wstring(key)); };
  b->Create(container ? container : hwnd(), 100 + static_cast<int>(buttons_.size()), x, y, w, h, layout);
  buttons_.push_back(std::move(b));
  pravik::testsupport::PumpFor(20);
  return *buttons_.back();
}

COLORREF ScreenPixel(HWND hwnd, int x, int y) {
  // The window's own surface: what was drawn, without waiting for it to reach the X server.
  win32::WindowDc dc(hwnd);
  return ::GetPixel(dc.get(), x, y);
}

std::vector<COLORREF> ScreenPixels(HWND hwnd, RECT r) {
  std::vector<COLORREF> out;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) out.push_back(ScreenPixel(hwnd, x, y));
  }
  return out;
}

void PointAt(HWND hwnd, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(hwnd, &p);
  ::SetCursorPos(p.x, p.y);
  ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  pravik::testsupport::PumpFor(20);
}

}  // namespace pravik::controls::button
