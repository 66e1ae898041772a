#include <gtest/gtest.h>

#include "core/browse/border_theme.h"
#include "core/browse/browse_properties.h"
#include "core/browse/tree_styles.h"

namespace pravik::core::browse {
namespace {

TEST(TreeStyles, MaskClearsTheDialogsOwnBits) {
  // WS_CHILD|WS_VISIBLE plus every tree bit the dialog sets, and RTL reading.
  const std::uint32_t dialogTree = 0x50000000u | 0x0004 /*LINESATROOT*/ | 0x0008 /*EDITLABELS*/ |
                                   0x0010 /*DISABLEDRAGDROP*/ | 0x0080 /*NOTOOLTIPS*/ | 0x0400 /*SINGLEEXPAND*/ |
                                   0x0800 /*INFOTIP*/ | 0x0040 /*RTLREADING*/ | 0x0001 | 0x0002;
  TreeStyleOptions none;
  none.hasButtons = false;
  none.hideSelection = true;
  none.hotTracking = false;
  EXPECT_EQ(TreeStyleFor(dialogTree, none), 0x50000040u);
  // Nothing left after the mask: nothing is to be changed.
  EXPECT_EQ(TreeStyleFor(0x3FBF, none), std::nullopt);
  EXPECT_EQ(TreeStyleFor(0x0040, none), 0x0040u);  // RTL reading alone survives
}

TEST(TreeStyles, EachOptionOwnsOneBit) {
  const std::uint32_t base = 0x50000000u;
  struct Case {
    const char* name;
    TreeStyleOptions options;
    std::uint32_t expected;
  };
  TreeStyleOptions defaults;  // buttons, hidden selection, hot tracking
  TreeStyleOptions menuTree;  // the start menu's settings
  menuTree.fullRowSelect = true;
  menuTree.hasButtons = false;
  menuTree.hideSelection = false;
  menuTree.hotTracking = false;
  TreeStyleOptions all{true, true, true, true, false, true};
  const Case cases[] = {
      {"defaults", defaults, base | kTvsHasButtons | kTvsTrackSelect},
      {"menu tree", menuTree, base | kTvsFullRowSelect | kTvsShowSelAlways},
      {"all", all, base | 0x0100 | 0x1000 | 0x0001 | 0x0002 | 0x0020 | 0x0200},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TreeStyleFor(base | 0x3FBF, c.options), c.expected);
  }
}

TEST(BorderTheme, AppearanceFollowsTheScheme) {
  struct Case {
    const wchar_t* name;
    std::int32_t theme, requested, expected;
  } cases[] = {
      {L"None", kThemeAuto, 0, 1},          // no visual style: always 3D
      {L"NormalColor", kThemeClassic, 0, 1}, // Classic: always 3D
      {L"NormalColor", kThemeAuto, 1, 0},   // a scheme: flat
      {L"NormalColor", kThemeBlue, 1, 0},
      {L"NormalColor", kThemeNone, 1, 1},   // None keeps the request
      {L"NormalColor", kThemeNone, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "theme " << c.theme << " requested " << c.requested);
    EXPECT_EQ(AppearanceForTheme(c.name, c.theme, c.requested), c.expected);
  }
}

TEST(BorderTheme, ColourTable) {
  struct Case {
    std::int32_t theme;
    const wchar_t* name;
    bool enabled;
    std::uint32_t colour;
  } cases[] = {
      {kThemeAuto, L"None", true, 0x000000},      {kThemeAuto, L"NormalColor", true, 0xB99D7F},
      {kThemeAuto, L"HomeStead", true, 0x69A18B}, {kThemeAuto, L"Metallic", true, 0xB99D7F},
      {kThemeAuto, L"Royale", true, 0},           {kThemeClassic, L"NormalColor", true, 0},
      {kThemeBlue, L"None", true, 0xB99D7F},      {kThemeHomeStead, L"None", true, 0x69A18B},
      {kThemeMetallic, L"None", true, 0xB99D7F},  {kThemeNone, L"NormalColor", true, 0},
      {9, L"NormalColor", true, 0},               {kThemeBlue, L"None", false, 0xC0C0C0},
      {kThemeAuto, L"HomeStead", false, 0xC0C0C0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "theme " << c.theme << " enabled " << c.enabled);
    EXPECT_EQ(BorderColor(c.theme, c.name, c.enabled), c.colour);
  }
}

TEST(BorderTheme, SchemeNameCleanedUp) {
  EXPECT_EQ(ThemeNameFromScheme(std::wstring(L"Normal\0Color\0\0\0", 15)), L"NormalColor");
  EXPECT_EQ(ThemeNameFromScheme(std::wstring(L"\0\0\0", 3)), L"None");
  EXPECT_EQ(ThemeNameFromScheme(L"   "), L"None");
}

TEST(BrowseProperties, EmptyLayoutGivesDefaults) {
  const BrowseProperties p = ReadBrowseProperties(core::propbag::PropertyBag{});
  EXPECT_EQ(p.appearance, 1);
  EXPECT_FALSE(p.checkBoxes);
  EXPECT_TRUE(p.enabled);
  EXPECT_EQ(p.folderFlags, 4101);
  EXPECT_FALSE(p.fullRowSelect);
  EXPECT_TRUE(p.hasButtons);
  EXPECT_FALSE(p.hasLines);
  EXPECT_TRUE(p.hideSelection);
  EXPECT_TRUE(p.hotTracking);
  EXPECT_EQ(p.path, L"");
  EXPECT_EQ(p.root, 0);
  EXPECT_EQ(p.theme, 0);
}

TEST(BrowseProperties, RoundTripWritesOnlyWhatDiffers) {
  core::propbag::PropertyBag bag;
  WriteBrowseProperties(BrowseProperties{}, bag);
  EXPECT_EQ(bag.size(), 0u);

  BrowseProperties menuTree;
  menuTree.root = 23;
  menuTree.folderFlags = kFolderFlagsIncludeFiles;
  menuTree.appearance = 0;
  menuTree.fullRowSelect = true;
  menuTree.hasButtons = false;
  menuTree.hideSelection = false;
  menuTree.hotTracking = false;
  WriteBrowseProperties(menuTree, bag);
  EXPECT_EQ(bag.size(), 7u);
  EXPECT_FALSE(bag.Has(L"Enabled"));
  EXPECT_FALSE(bag.Has(L"Path"));
  EXPECT_EQ(ReadBrowseProperties(bag), menuTree);

  // Names are compared without regard to case, as older layouts wrote them.
  core::propbag::PropertyBag lower;
  lower.Set(L"root", std::int32_t{17});
  lower.Set(L"HASBUTTONS", false);
  const BrowseProperties read = ReadBrowseProperties(lower);
  EXPECT_EQ(read.root, 17);
  EXPECT_FALSE(read.hasButtons);
}

TEST(BrowseProperties, FolderFlagsZeroMeansFoldersOnly) {
  EXPECT_EQ(EffectiveFolderFlags(0), 5);
  EXPECT_EQ(EffectiveFolderFlags(16384), 16384);
}

}  // namespace
}  // namespace pravik::core::browse
