#include "menu/shortcut_column.h"

#include <oleacc.h>

#include "menu/accessible_element.h"
#include "menu/key_target.h"

namespace pravik::menu {
namespace {

constexpr int kFrameIdBase = 400;
constexpr int kCaptionIdBase = 420;
constexpr int kIconIdBase = 440;

// Icon names by table row.
constexpr const wchar_t* kIconNames[core::menu::kShortcutCount] = {L"PicDoc",      L"PicPicture",  L"PicMusic",
                                                             L"PicGame",     L"PicComputer", L"PicControls",
                                                             L"PicPrint",    L"Picture3",    L"PicHelp"};

COLORREF NormalCaptionColor() { return ::GetSysColor(COLOR_BTNTEXT); }

}  // namespace

void ShortcutColumn::Create(HWND framMain, HFONT font, HCURSOR pointer, CommandSink run, ElementMap& elements) {
  run_ = std::move(run);
  auto makeIcon = [&](int row) {
    const auto r = Px(kIconNames[row]);
    auto box = std::make_unique<win32::Instance<win32::PictureBox>>();
    box->Create(framMain, kIconIdBase + row, r.left, r.top, r.width, r.height);
    box->SetCursor(pointer);
    PlaceLast(box->hwnd());
    if (row != core::menu::kHiddenShortcut) box->onClick = [this, row] { lblMenuCaption_Click(row); };
    elements[kIconNames[row]] = box->hwnd();
    icons_[static_cast<std::size_t>(row)] = std::move(box);
  };
  auto makeFrame = [&](int index) {
    const std::wstring name = L"FramMenu" + std::to_wstring(index);
    const auto r = Px(name);
    auto frame = std::make_unique<win32::Instance<win32::PictureBox>>();
    frame->Create(framMain, kFrameIdBase + index, r.left, r.top, r.width, r.height, core::menu::kNormalBack);
    frame->SetCursor(pointer);
    PlaceLast(frame->hwnd());
    frame->onMouseMove = [this, index](const win32::MouseEventArgs&) { FramMenu_MouseMove(index); };
    // The frame's own margin runs nothing; only the caption and the icon do.
    const auto c = Px(L"lblMenuCaption" + std::to_wstring(index));
    auto caption = std::make_unique<win32::Instance<Label>>();
    caption->Create(frame->hwnd(), kCaptionIdBase + index, c.left, c.top, c.width, c.height,
                    std::wstring(core::menu::kShortcuts[static_cast<std::size_t>(index)].caption), font);
    caption->SetColors(NormalCaptionColor(), core::menu::kNormalBack);
    caption->SetCursor(pointer);
    caption->onClick = [this, index] { lblMenuCaption_Click(index); };
    // From the keyboard: Enter or Space runs the item, Up and Down move through the column, and
    // the focused item is highlighted as the pointer would.
    KeyTarget keys;
    keys.activate = [this, index] { lblMenuCaption_Click(index); };
    keys.focused = [this, index] { FramMenu_MouseMove(index); };
    keys.key = [this, index](UINT message, WPARAM key) {
      if (message != WM_KEYDOWN || (key != VK_UP && key != VK_DOWN)) return false;
      MoveFocus(index, key == VK_UP ? -1 : 1);
      return true;
    };
    MakeKeyTarget(caption->hwnd(), std::move(keys));
    DescribeAccessibly(caption->hwnd(), {caption->text(), ROLE_SYSTEM_LINK, STATE_SYSTEM_FOCUSABLE});
    elements[name] = frame->hwnd();
    elements[L"lblMenuCaption" + std::to_wstring(index)] = caption->hwnd();
    frames_[static_cast<std::size_t>(index)] = std::move(frame);
    captions_[static_cast<std::size_t>(index)] = std::move(caption);
  };

  // Layout order: Picture3, FramMenu(7), the icons from PicHelp up to PicDoc, the other frames.
  makeIcon(core::menu::kHiddenShortcut);
  makeFrame(core::menu::kHiddenShortcut);
  for (int row : {8, 6, 5, 4, 3, 2, 1, 0}) makeIcon(row);
  for (int index : {0, 1, 2, 3, 4, 5, 6, 8}) makeFrame(index);
  ::ShowWindow(icons_[core::menu::kHiddenShortcut]->hwnd(), SW_HIDE);
  ::ShowWindow(frames_[core::menu::kHiddenShortcut]->hwnd(), SW_HIDE);
}

// The visible items from top to bottom.
constexpr int kColumnOrder[] = {0, 1, 2, 3, 4, 5, 6, 8};

HWND ShortcutColumn::focusTarget() const {
  const int index = highlighted_ >= 0 && highlighted_ != core::menu::kHiddenShortcut ? highlighted_ : 0;
  const auto& caption = captions_[static_cast<std::size_t>(index)];
  return caption ? caption->hwnd() : nullptr;
}

void ShortcutColumn::MoveFocus(int index, int step) {
  constexpr int n = static_cast<int>(std::size(kColumnOrder));
  int at = 0;
  for (int i = 0; i < n; ++i)
    if (kColumnOrder[i] == index) at = i;
  at = ((at + step) % n + n) % n;
  ::SetFocus(captions_[static_cast<std::size_t>(kColumnOrder[at])]->hwnd());
}

void ShortcutColumn::lblMenuCaption_Click(int index) {
  const auto command = core::menu::ShortcutCommand(index);
  if (command && run_) run_(*command);
}

void ShortcutColumn::FramMenu_MouseMove(int index) {
  if (index == highlighted_) return;  // already so: repainting every frame on each move flickers
  highlighted_ = index;
  for (int i = 0; i < core::menu::kShortcutCount; ++i) {
    const bool on = i == index;
    const auto k = static_cast<std::size_t>(i);
    frames_[k]->SetBackColor(on ? core::menu::kHighlightBack : core::menu::kNormalBack);
    captions_[k]->SetColors(on ? core::menu::kHighlightText : NormalCaptionColor(), on ? core::menu::kHighlightBack : core::menu::kNormalBack);
  }
}

}  // namespace pravik::menu
