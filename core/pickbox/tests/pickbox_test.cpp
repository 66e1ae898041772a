#include <gtest/gtest.h>

#include "core/pickbox/pick_paths.h"
#include "core/pickbox/pick_settings.h"
#include "core/pickbox/pick_values.h"

namespace pravik::core::pickbox {
namespace {

TEST(PickPaths, ExtractFilenameAndPath) {
  struct Case { const wchar_t* path; const wchar_t* file; const wchar_t* folder; } cases[] = {
      {L"C:\\Windows\\notepad.exe", L"notepad.exe", L"C:\\Windows"},
      {L"C:\\Windows\\", L"", L"C:\\Windows"},
      {L"notepad.exe", L"", L""},
      {L"", L"", L""},
      {L"\\\\server\\share\\a.txt", L"a.txt", L"\\\\server\\share"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "path " << testing::PrintToString(std::wstring(c.path)));
    EXPECT_EQ(ExtractFilename(c.path), c.file);
    EXPECT_EQ(ExtractPath(c.path), c.folder);
  }
}

// One pixel per character keeps the packing visible; a text fits when it is at most width - 4.
const MeasureText kCharWidth = [](const std::wstring& t) { return static_cast<int>(t.size()); };

TEST(PickPaths, TrimPathByLenKeepsEndsAndDropsTheMiddle) {
  const std::wstring path = L"C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\notepad.lnk";
  struct Case { int width; const wchar_t* expected; } cases[] = {
      {200, L"C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\notepad.lnk"},  // fits
      {60, L"C:\\...\\All Users\\Start Menu\\Programs\\notepad.lnk"},
      {42, L"C:\\...\\Start Menu\\Programs\\notepad.lnk"},
      {31, L"C:\\...\\Programs\\notepad.lnk"},
      {10, L"C:\\...\\notepad.lnk"},  // shortest form even when too wide
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "width " << c.width);
    const std::wstring got = TrimPathByLen(path, c.width, L"...", kCharWidth);
    EXPECT_EQ(got, c.expected);
  }
}

TEST(PickPaths, TrimPathByLenOnAddresses) {
  EXPECT_EQ(TrimPathByLen(L"www.example.com/a/b/c/page.html?x=1&y=2", 35, L"...", kCharWidth),
            L"www.example.com/.../c/page.html");
  // With a scheme the ":" keeps "\" as the separator, and there is none: unchanged text.
  EXPECT_EQ(TrimPathByLen(L"a:b", 1, L"...", kCharWidth), L"a:b");
}

TEST(PickPaths, SaveNameExtension) {
  EXPECT_TRUE(HasExtension(L"C:\\a\\report.doc"));
  EXPECT_FALSE(HasExtension(L"C:\\a.b\\report"));
  EXPECT_FALSE(HasExtension(L"C:\\a\\report."));
  EXPECT_EQ(WithExtension(L"C:\\a\\report", L""), L"C:\\a\\report.txt");
  EXPECT_EQ(WithExtension(L"C:\\a\\report", L"csv"), L"C:\\a\\report.csv");
  EXPECT_EQ(WithExtension(L"C:\\a\\report", L".csv"), L"C:\\a\\report.csv");
  EXPECT_EQ(WithExtension(L"C:\\a\\report.", L"csv"), L"C:\\a\\report.csv");
}

TEST(PickValues, DialogTypeIsClamped) {
  EXPECT_EQ(ClampDialogType(9), 5);
  EXPECT_EQ(ClampDialogType(-1), 0);
  EXPECT_EQ(ClampDialogType(3), 3);
}

TEST(PickValues, TypedColours) {
  struct Case { const wchar_t* text; std::optional<std::uint32_t> value; } cases[] = {
      {L"&H00FF00", 0x00FF00u}, {L"&hff", 0xFFu}, {L" 255 ", 255u}, {L"&HFFFFFFFF", 0xFFFFFFFFu},
      {L"red", std::nullopt},   {L"", std::nullopt}, {L"&H", std::nullopt}, {L"&H1FFFFFFFF", std::nullopt},
      {L"-1", std::nullopt},    {L"1.5", std::nullopt}, {L"4294967296", std::nullopt}, {L"&HGG", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "text " << testing::PrintToString(std::wstring(c.text)));
    EXPECT_EQ(ParseTypedColor(c.text), c.value);
  }
  EXPECT_EQ(LongToHexColor(0x00FF00), L"&H00FF00");
  EXPECT_EQ(LongToHexColor(0x80000005), L"&H80000005");
  EXPECT_EQ(ParseTypedColor(LongToHexColor(0x123456)), 0x123456u);
  EXPECT_EQ(InverseTextColor(0x00FFFFFF), 0u);
  EXPECT_EQ(InverseTextColor(0x00102030), 0x00EFDFCFu);
}

TEST(PickValues, LooksAndLayout) {
  EXPECT_EQ(ResolveLook(0, L"NormalColor"), Look::kBlue);
  EXPECT_EQ(ResolveLook(0, L"HomeStead"), Look::kHomeStead);
  EXPECT_EQ(ResolveLook(0, L"Metallic"), Look::kMetallic);
  EXPECT_EQ(ResolveLook(0, L""), Look::kClassic);
  EXPECT_EQ(ResolveLook(4, L""), Look::kMetallic);
  EXPECT_EQ(ResolveLook(5, L"NormalColor"), Look::kNone);
  EXPECT_EQ(ResolveLook(9, L"NormalColor"), Look::kClassic);

  const Layout narrow = ComputeLayout(40, 15, 15, false);
  EXPECT_EQ(narrow.width, 97);   // 1455 twips
  EXPECT_EQ(narrow.height, 21);  // 315 twips
  EXPECT_EQ(narrow.pickLeft + narrow.pickWidth, narrow.width);
  EXPECT_EQ(narrow.textWidth, narrow.pickLeft);
  const Layout multi = ComputeLayout(177, 15, 15, true);
  EXPECT_EQ(multi.width, 177);
  EXPECT_EQ(multi.dropLeft + multi.dropWidth, multi.pickLeft);
  EXPECT_EQ(multi.textWidth, multi.dropLeft);
  // A shown path leaves room for the pick button and 40 twips: 156 - 21 - 3 at 96 dpi, 2 at 120.
  const Layout menu = ComputeLayout(177, 15, 15, false);
  EXPECT_EQ(ShownPathWidth(menu.textWidth, menu.pickWidth, 15), 132);
  EXPECT_EQ(ShownPathWidth(menu.textWidth, menu.pickWidth, 20), 133);
  EXPECT_EQ(ShownPathWidth(10, 21, 15), 0);
}

TEST(PickSettings, DefaultsResetAndStorage) {
  const Settings fresh;
  EXPECT_EQ(fresh.fileFlags, 0x382004);
  EXPECT_EQ(fresh.dialogMsg[5], L"Locate Printer...");
  EXPECT_EQ(fresh.toolTipTexts[4], L"Click Here to Locate File");

  Settings reset = fresh;
  reset.multiSelect = true;
  reset.path = L"C:\\x\\";
  reset.dialogType = 3;
  Reset(reset);
  EXPECT_EQ(reset.dialogType, 0);
  EXPECT_EQ(reset.filters, L"Supported files|*.*|All Files (*.*)");
  EXPECT_EQ(reset.toolTipTexts[3], L"Click Here to Locate Files.");
  EXPECT_EQ(reset.toolTipTexts[5], L"Click Here to Locate Printer");
  EXPECT_TRUE(reset.path.empty());

  // A default layout writes nothing; DialogType 9 is stored as 5, -1 as nothing (0 is the default).
  core::propbag::PropertyBag bag;
  WriteSettings(Settings(), bag);
  EXPECT_EQ(bag.size(), 0u);
  Settings s;
  s.dialogType = 9;
  WriteSettings(s, bag);
  EXPECT_EQ(bag.Read(L"dialogtype", 0), 5);
  s.dialogType = -1;
  WriteSettings(s, bag);
  EXPECT_FALSE(bag.Has(L"DialogType"));
  bag.Set(L"DIALOGTYPE", std::int32_t{9});
  EXPECT_EQ(ReadSettings(bag).dialogType, 5);

  // The open dialog's file flags default follows the type.
  core::propbag::PropertyBag open;
  open.Set(L"DialogType", std::int32_t{3});
  EXPECT_EQ(ReadSettings(open).fileFlags, 0x280006);

  // The two print texts stay apart; an old layout's single entry reads as the second.
  Settings printing;
  printing.printStatusMsg = {L"stopped", L"done"};
  core::propbag::PropertyBag pb;
  WriteSettings(printing, pb);
  EXPECT_EQ(ReadSettings(pb).printStatusMsg, printing.printStatusMsg);
  core::propbag::PropertyBag old;
  old.Set(L"PrintStatusMsg", std::wstring(L"done"));
  const Settings fromOld = ReadSettings(old);
  EXPECT_EQ(fromOld.printStatusMsg[0], L"Print Cancelled...");
  EXPECT_EQ(fromOld.printStatusMsg[1], L"done");
  WriteSettings(fromOld, old);
  EXPECT_FALSE(old.Has(L"PrintStatusMsg"));
  EXPECT_EQ(old.Read(L"PrintStatusMsg1", L""), L"done");
}

TEST(PickSettings, RoundTripOfEveryProperty) {
  Settings s;
  s.appearance = 0;
  s.useAutoForeColor = false;
  s.backColor = 0x123456;
  s.color = 0x00FF00;
  s.colorFlags = 3;
  s.defaultExt = L".csv";
  s.dialogMsg[2] = L"글꼴";
  s.dialogType = 4;
  s.enabled = false;
  s.fileFlags = 7;
  s.filters = L"Text|*.txt";
  s.font = core::propbag::FontDesc{L"Arial", 10, 700, true, false, false, 129};
  s.folderFlags = 1;
  s.fontFlags = 2;
  s.foreColor = 0x0000FF;
  s.multiSelect = true;
  s.path = L"C:\\";
  s.printerFlags = 4;
  s.theme = 3;
  s.toolTipTexts[0] = L"tip";
  s.useDialogColor = true;
  s.useDialogText = false;
  core::propbag::PropertyBag bag;
  WriteSettings(s, bag);
  core::propbag::PropertyBag again;
  WriteSettings(ReadSettings(bag), again);
  EXPECT_EQ(bag, again);
  EXPECT_EQ(ReadSettings(bag).font, s.font);
  EXPECT_EQ(ReadSettings(bag).dialogMsg[2], L"글꼴");
}

}  // namespace
}  // namespace pravik::core::pickbox
