#pragma once
// The start menu window's layout: every element with its container and its position and size in
// twips relative to that container. Within one container an element listed earlier lies above a
// later one where they overlap (the root selector over the main panel's top edge, Picture1 over
// the tree's band, Frame5 over the run box).
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/geometry/display_scale.h"

namespace pravik::core::menu {

constexpr int kMenuWidthTwips = 7050;
constexpr int kMenuHeightTwips = 8925;

struct ElementLayout {
  std::wstring_view name;
  std::wstring_view container;  // "" for the window itself
  int left, top, width, height;  // twips
};

inline constexpr std::array<ElementLayout, 45> kLayout = {{
    {L"PicTitle", L"", 0, 0, 6975, 555},
    {L"PicLogon", L"", 7350, 1080, 1005, 1005},
    {L"cmbRoot", L"", 210, 720, 3675, 300},
    {L"FramMain", L"", 90, 630, 6885, 8205},
    {L"Picture3", L"FramMain", 3840, 5970, 495, 405},
    {L"FramMenu7", L"FramMain", 4440, 5970, 2355, 405},
    {L"PicHelp", L"FramMain", 3840, 4950, 525, 465},
    {L"PicPrint", L"FramMain", 3840, 4290, 525, 465},
    {L"PicControls", L"FramMain", 3840, 3630, 525, 465},
    {L"PicComputer", L"FramMain", 3840, 2970, 525, 465},
    {L"PicGame", L"FramMain", 3840, 2310, 525, 465},
    {L"PicMusic", L"FramMain", 3840, 1650, 525, 465},
    {L"PicPicture", L"FramMain", 3840, 990, 525, 465},
    {L"PicDoc", L"FramMain", 3840, 330, 525, 465},
    {L"FramMenu0", L"FramMain", 4440, 360, 2355, 405},
    {L"FramMenu1", L"FramMain", 4440, 1020, 2355, 405},
    {L"FramMenu2", L"FramMain", 4440, 1680, 2355, 405},
    {L"FramMenu3", L"FramMain", 4440, 2340, 2355, 405},
    {L"FramMenu4", L"FramMain", 4440, 3000, 2355, 405},
    {L"FramMenu5", L"FramMain", 4440, 3660, 2355, 405},
    {L"FramMenu6", L"FramMain", 4440, 4320, 2355, 405},
    {L"FramMenu8", L"FramMain", 4440, 5010, 2355, 405},
    {L"picShortMenu", L"FramMain", 6210, 7800, 555, 345},
    {L"zqbutton1", L"FramMain", 3780, 7800, 2430, 345},
    {L"Picture2", L"FramMain", 150, 6690, 6615, 975},
    {L"Picture1", L"FramMain", 60, 120, 3705, 285},
    {L"Frame4", L"FramMain", 2475, 5460, 555, 625},
    {L"Frame1", L"FramMain", 120, 90, 3645, 6555},
    {L"ucBrowse1", L"Frame1", -30, 300, 3705, 6540},
    {L"Frame3", L"FramMain", 120, 7805, 3585, 335},
    {L"Frame7", L"Frame3", 20, 20, 3015, 295},
    {L"Frame5", L"Frame7", -60, 0, 2325, 270},
    {L"Label4", L"Frame5", 120, 75, 1845, 255},
    {L"txtExe", L"Frame7", 30, 60, 2565, 225},
    {L"picExe", L"Frame3", 3030, 0, 555, 315},
    {L"lblMenuCaption0", L"FramMenu0", 30, 120, 1755, 255},
    {L"lblMenuCaption1", L"FramMenu1", 30, 120, 1755, 255},
    {L"lblMenuCaption2", L"FramMenu2", 30, 120, 1755, 255},
    {L"lblMenuCaption3", L"FramMenu3", 30, 120, 1755, 255},
    {L"lblMenuCaption4", L"FramMenu4", 30, 120, 1755, 255},
    {L"lblMenuCaption5", L"FramMenu5", 30, 120, 1755, 255},
    {L"lblMenuCaption6", L"FramMenu6", 30, 120, 1755, 255},
    {L"lblMenuCaption7", L"FramMenu7", 30, 120, 1755, 255},
    {L"lblMenuCaption8", L"FramMenu8", 30, 120, 1755, 255},
    {L"lblLink", L"PicTitle", 5160, 330, 1785, 195},
}};

// The web browser inside Picture2: 2 pixels beyond it on the left and top and 18 on the right and
// bottom, so its border and scroll bars are cut off. It is the browser's own window, not one of
// the window's named elements.
inline constexpr ElementLayout kWebNotice{L"WebNotice", L"Picture2", -30, -30, 6915, 1275};

struct PixelRect {
  int left, top, width, height;
  bool operator==(const PixelRect&) const = default;
};

// The element's rectangle in pixels (twips / factor, halves to even; 15 at 100 %); nothing for an
// unknown name. Every element, the window included, goes through this one conversion.
std::optional<PixelRect> LayoutPixels(std::wstring_view name, geometry::TwipsPerPixel scale = {});

// The menu window's outer size in pixels at a factor.
PixelRect MenuPixels(geometry::TwipsPerPixel scale);

// The factor the menu is drawn with: the screen's own, or the largest scale at which the whole
// menu fits the work area where it is taller or wider than that area.
geometry::TwipsPerPixel MenuScale(geometry::TwipsPerPixel screen, const geometry::PixelRect& workArea);

// Where the start button shows the menu: its left edge on the button's right edge (the button's
// left taken from its Left in pixels), its bottom edge on the button's bottom edge as long as the
// menu's earlier height equals its height; then moved only as far as needed to lie inside the
// work area. The result is left, top, right, bottom.
geometry::PixelRect PlaceMenu(std::int32_t buttonLeft, const geometry::PixelRect& button, std::int32_t earlierHeight,
                              const PixelRect& menuSize, const geometry::PixelRect& workArea);
const ElementLayout* FindLayout(std::wstring_view name);

}  // namespace pravik::core::menu
