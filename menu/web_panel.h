#pragma once
// The web panel: Picture2, a 441 x 65 pixel frame, holding WebNotice, the platform's web browser
// control, 2 pixels beyond the frame on the left and top and 18 beyond it on the right and bottom
// so that the browser's border and scroll bars are cut off. A small OLE container of our own
// (client site, in-place site and frame) hosts the control; everything is released on Close.
#include <windows.h>
#include <exdisp.h>

#include <string>

#include "win32/com_ptr.h"
#include "win32/picture_box.h"

namespace pravik::menu {

class WebPanel {
 public:
  // The browser within Picture2 (-2, -2, 461 x 85 at 100 %), at the menu's scale.
  static RECT BrowserRect();

  WebPanel();
  ~WebPanel();
  WebPanel(const WebPanel&) = delete;
  WebPanel& operator=(const WebPanel&) = delete;

  // Creates Picture2 at (x, y) in the container (pixels) and the browser control in it. The thread
  // must have OLE initialised. False when the browser control cannot be created or activated;
  // Picture2 then stays as a plain white box.
  bool Create(HWND container, int x, int y) { return CreateFrame(container, x, y) && CreateBrowser(); }
  // The two halves of Create: the browser control is the costly one (its libraries stay resident),
  // so the menu makes it only when it is first shown.
  bool CreateFrame(HWND container, int x, int y);
  bool CreateBrowser();
  // The browser placed again in Picture2 at the menu's scale.
  void FitBrowser() noexcept;
  // Deactivates and releases the control; Picture2 goes with its parent.
  void Close() noexcept;

  // Sets Silent (so the control shows no dialog boxes of its own), then Navigate2 to the address.
  HRESULT Navigate(const std::wstring& address) noexcept;
  [[nodiscard]] std::wstring LocationUrl() const;
  [[nodiscard]] bool Silent() const noexcept;
  [[nodiscard]] HWND picture() const noexcept { return picture_.hwnd(); }
  [[nodiscard]] IWebBrowser2* browser() const noexcept { return browser_.get(); }
  // The listener on the control's navigation events (see menu/web_panel_events.h); tests drive it.
  [[nodiscard]] IDispatch* events() const noexcept;

 private:
  class Site;
  class Events;
  win32::Instance<win32::PictureBox> picture_;
  Site* site_ = nullptr;
  Events* events_ = nullptr;
  DWORD eventsCookie_ = 0;
  bool browserTried_ = false;
  win32::ComPtr<IOleObject> object_;
  win32::ComPtr<IWebBrowser2> browser_;
};

}  // namespace pravik::menu
