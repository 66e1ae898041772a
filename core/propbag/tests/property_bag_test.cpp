#include "core/propbag/property_bag.h"

#include <gtest/gtest.h>

namespace pravik::core::propbag {
namespace {

TEST(PropertyBag, NamesCompareWithoutLetterCase) {
  PropertyBag bag;
  bag.Set(L"ButtonStyle", std::int32_t{4});
  EXPECT_EQ(bag.Read(L"buttonstyle", 1), 4);
  EXPECT_EQ(bag.Read(L"BUTTONSTYLE", 1), 4);
  bag.Set(L"BUTTONSTYLE", std::int32_t{7});
  EXPECT_EQ(bag.size(), 1u);
  EXPECT_EQ(bag.Read(L"ButtonStyle", 1), 7);
}

TEST(PropertyBag, MissingOrMistypedEntryGivesTheFallback) {
  PropertyBag bag;
  EXPECT_EQ(bag.Read(L"Caption", L"zqbutton"), L"zqbutton");
  bag.Set(L"Mode", std::wstring(L"two"));  // a damaged layout
  EXPECT_EQ(bag.Read(L"Mode", 0), 0);
  EXPECT_EQ(bag.Read<bool>(L"Enabled", true), true);
}

TEST(PropertyBag, ValueEqualToDefaultIsNotWritten) {
  PropertyBag bag;
  bag.Write(L"PictureOpacity", 255, 255);
  EXPECT_FALSE(bag.Has(L"PictureOpacity"));
  bag.Write(L"PictureOpacity", 52, 255);
  EXPECT_EQ(bag.Read(L"pictureopacity", 255), 52);
  bag.Write(L"PICTUREOPACITY", 255, 255);  // back to the default removes the old entry
  EXPECT_FALSE(bag.Has(L"PictureOpacity"));

  FontDesc tahoma;
  bag.Write(L"Font", tahoma, tahoma);
  EXPECT_FALSE(bag.Has(L"Font"));
  FontDesc bold = tahoma;
  bold.weight = 700;
  bag.Write(L"Font", bold, tahoma);
  EXPECT_EQ(bag.Read(L"Font", tahoma).weight, 700);
}

TEST(PropertyBag, BlobsRoundTrip) {
  PropertyBag bag;
  bag.Set(L"PictureNormal", Bytes{1, 2, 3});
  EXPECT_EQ(bag.Read(L"picturenormal", Bytes{}), (Bytes{1, 2, 3}));
  bag.Remove(L"PICTURENORMAL");
  EXPECT_EQ(bag.Find(L"PictureNormal"), nullptr);
}

}  // namespace
}  // namespace pravik::core::propbag
