#include "menu/shortcut_column.h"

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
