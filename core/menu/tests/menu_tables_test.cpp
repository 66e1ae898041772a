#include <gtest/gtest.h>

#include "core/menu/picked_path.h"
#include "core/menu/power_menu.h"
#include "core/menu/root_table.h"
#include "core/menu/shortcut_table.h"

namespace pravik::core::menu {
namespace {

TEST(RootTable, IndexToSpecialFolder) {
  EXPECT_EQ(RootForIndex(0), 23);   // all programs
  EXPECT_EQ(RootForIndex(9), 17);   // the computer's drives
  EXPECT_EQ(RootForIndex(21), 37);  // system folder
  EXPECT_EQ(RootForIndex(-1), std::nullopt);
  EXPECT_EQ(RootForIndex(22), std::nullopt);
  EXPECT_EQ(kRootTable[9].caption, L"내 컴퓨터");
}

TEST(PickedPath, FilesOpenFoldersAndEmptyDoNot) {
  struct Case {
    const wchar_t* path;
    bool open;
  } cases[] = {
      {L"C:\\ProgramData\\Programs\\App.lnk", true},
      {L"C:\\ProgramData\\Programs\\Tools\\", false},
      {L"C:\\", false},
      {L"", false},
      {L"App.lnk", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ShouldOpenPickedPath(c.path), c.open);
  }
}

TEST(FocusWatch, OwnNameAndExactComparison) {
  EXPECT_EQ(OwnForegroundName(L"C:\\Program Files\\Pravik\\Pravik.exe"), L"Pravik.exe");
  EXPECT_EQ(OwnForegroundName(L"C:\\x.y\\Pravik.EXE"), L"Pravik.exe");
  EXPECT_EQ(OwnForegroundName(L"Pravik"), L"Pravik.exe");
  EXPECT_TRUE(IsOwnProgramInFront(L"Pravik.exe", L"Pravik.exe"));
  // Letter case counts: an executable named with capitals never matches.
  EXPECT_FALSE(IsOwnProgramInFront(L"Pravik.EXE", L"Pravik.exe"));
  EXPECT_FALSE(IsOwnProgramInFront(L"", L"Pravik.exe"));
}

TEST(ShortcutTable, CommandsByIndex) {
  EXPECT_EQ(ShortcutCommand(3), L"explorer %userprofile%\\Game");
  EXPECT_EQ(ShortcutCommand(8), L"%SystemRoot%\\WinHlp32.exe");
  EXPECT_EQ(ShortcutCommand(7), std::nullopt);
  EXPECT_EQ(ShortcutCommand(9), std::nullopt);
  EXPECT_EQ(ShortcutCommand(-1), std::nullopt);
}

TEST(PowerMenu, CommandsById) {
  EXPECT_EQ(PowerCommand(2), L"shutdown.exe /l");
  EXPECT_EQ(PowerCommand(5), L"shutdown.exe /r /t 00");
  EXPECT_EQ(PowerCommand(7), L"shutdown.exe /h");
  for (unsigned id : {0u, 1u, 3u, 4u, 6u, 8u}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(PowerCommand(id), std::nullopt);
  }
}

}  // namespace
}  // namespace pravik::core::menu

#include "core/menu/layout.h"

namespace pravik::core::menu {
namespace {

TEST(Layout, PixelsOfTheStatedElements) {
  struct Case {
    const wchar_t* name;
    PixelRect px;
  } cases[] = {
      {L"cmbRoot", {14, 48, 245, 20}},   {L"FramMain", {6, 42, 459, 547}}, {L"Picture2", {10, 446, 441, 65}},
      {L"Frame1", {8, 6, 243, 437}},     {L"lblLink", {344, 22, 119, 13}}, {L"ucBrowse1", {-2, 20, 247, 436}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LayoutPixels(c.name), c.px);
  }
  EXPECT_EQ(LayoutPixels(L"nothing"), std::nullopt);
}

TEST(Layout, EveryContainerIsListedBeforeItsElements) {
  for (std::size_t i = 0; i < kLayout.size(); ++i) {
    SCOPED_TRACE(std::string(kLayout[i].name.begin(), kLayout[i].name.end()));
    if (kLayout[i].container.empty()) continue;
    const ElementLayout* container = FindLayout(kLayout[i].container);
    ASSERT_NE(container, nullptr);
    EXPECT_LT(container - kLayout.data(), static_cast<std::ptrdiff_t>(i));
  }
}

}  // namespace
}  // namespace pravik::core::menu
