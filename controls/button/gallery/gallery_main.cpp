// A gallery of the image button (built, not shipped): the fourteen styles side by side in
// each state, and the start menu's shutdown button, for a screenshot.
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/button/image_button.h"
#include "controls/button/picture_convert.h"
#include "core/button/shutdown_button.h"
#include "win32/window.h"

using namespace pravik;

namespace {

constexpr int kCellW = 104, kCellH = 30, kButtonW = 96, kButtonH = 24, kLeft = 70, kTop = 26;
const wchar_t* const kStates[] = {L"normal", L"hot", L"down", L"checked", L"default", L"disabled"};

core::button::ButtonPicture SamplePicture() {
  core::button::ButtonPicture p;
  p.pixels = core::button::PixelBuffer(12, 12, 0x2E7D32);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      if (x + y < 5) p.pixels.pixels[y * 12 + x] = 0xE0E0E0;  // mask colour: the face shows through
      if (x > 3 && x < 8 && y > 3 && y < 8) p.pixels.pixels[y * 12 + x] = 0xFFC107;
    }
  }
  return p;
}

class Gallery : public win32::Window {
 public:
  bool Open() {
    if (!Create(L"PravikZqButtonGallery", L"zqbutton gallery", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 0,
                kLeft + 6 * kCellW + 30, kTop + 16 * kCellH + 60, nullptr, nullptr,
                reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1))) {
      return false;
    }
    font_.reset(::CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    for (int style = 0; style < 14; ++style) {
      for (int state = 0; state < 6; ++state) AddCell(style, state);
    }
    AddShutdownButtons();
    ::ShowWindow(hwnd(), SW_SHOW);
    // After the activation, which returns every button to normal.
    for (auto& [b, state] : previews_) b->PreviewState(state, true);
    return true;
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd(), &ps);
      win32::SelectScope font(dc, font_.get());
      ::SetBkMode(dc, TRANSPARENT);
      for (int state = 0; state < 6; ++state) {
        ::TextOutW(dc, kLeft + state * kCellW + 4, 6, kStates[state], lstrlenW(kStates[state]));
      }
      for (int style = 0; style < 14; ++style) {
        const std::wstring label = L"style " + std::to_wstring(style);
        ::TextOutW(dc, 6, kTop + style * kCellH + 6, label.c_str(), static_cast<int>(label.size()));
      }
      const wchar_t menu[] = L"shutdown";
      ::TextOutW(dc, 6, kTop + 14 * kCellH + 12, menu, lstrlenW(menu));
      ::EndPaint(hwnd(), &ps);
      return 0;
    }
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return Window::HandleMessage(message, wParam, lParam);
  }

 private:
  void AddCell(int style, int state) {
    core::propbag::PropertyBag layout;
    layout.Set(L"Caption", std::wstring(L"&Style ") + std::to_wstring(style));
    layout.Set(L"ButtonStyle", std::int32_t{style});
    layout.Set(L"ShowFocusRect", true);
    if (style == 2 || style == 3 || style == 5 || style == 8 || style == 9 || style == 10) {
      layout.Set(L"BackColor", static_cast<std::int32_t>(style == 3 ? 0x00FDECE0 : style == 2 ? 0x00E7EBEC
                                                         : style == 5 ? 0x00FCE1CA : 0x00FFD1AD));
    }
    if (style % 3 == 0) layout.Set(L"PictureNormal", core::button::EncodePicture(SamplePicture()));
    if (style == 7) layout.Set(L"DropDownSymbol", std::int32_t{6});
    if (state == 3) {
      layout.Set(L"Mode", std::int32_t{1});
      layout.Set(L"Value", true);
    }
    if (state == 5) layout.Set(L"Enabled", false);
    auto b = std::make_unique<win32::Instance<controls::button::ImageButton>>();
    b->Create(hwnd(), 100 + style * 10 + state, kLeft + state * kCellW, kTop + style * kCellH, kButtonW, kButtonH,
              layout);
    if (state == 4) b->SetDisplayAsDefault(true);
    if (state == 1) previews_.emplace_back(b.get(), core::button::ButtonState::Hot);
    if (state == 2) previews_.emplace_back(b.get(), core::button::ButtonState::Down);
    buttons_.push_back(std::move(b));
  }

  void AddShutdownButtons() {
    for (int state = 0; state < 3; ++state) {
      const core::propbag::PropertyBag layout = core::button::ShutdownButtonLayout(controls::button::PointingHandPicture());
      auto b = std::make_unique<win32::Instance<controls::button::ImageButton>>();
      b->Create(hwnd(), 900 + state, kLeft + state * 170, kTop + 14 * kCellH + 6, 162, 23, layout);
      if (state == 1) previews_.emplace_back(b.get(), core::button::ButtonState::Hot);
      if (state == 2) previews_.emplace_back(b.get(), core::button::ButtonState::Down);
      buttons_.push_back(std::move(b));
    }
  }

  win32::Font font_;
  std::vector<std::unique_ptr<controls::button::ImageButton>> buttons_;
  std::vector<std::pair<controls::button::ImageButton*, core::button::ButtonState>> previews_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  win32::Instance<Gallery> gallery;
  if (!gallery.Open()) return 1;
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
