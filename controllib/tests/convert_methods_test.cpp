// The conversion and text-file methods through the real interface, in the session's code page
// (949 in the test session).
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "controllib/tests/dispatch_client.h"
#include "testsupport/process.h"

namespace pravik::controllib {
namespace {

VARIANT ByRefDouble(double* value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_R8 | VT_BYREF;
  v.pdblVal = value;
  return v;
}

VARIANT ByRefShort(short* value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I2 | VT_BYREF;
  v.piVal = value;
  return v;
}

struct Bstr {
  BSTR b;
  explicit Bstr(const wchar_t* text) : b(::SysAllocString(text)) {}
  ~Bstr() { ::SysFreeString(b); }
};

TEST(QuesselConvert, NumbersAndTheirFailures) {
  DispatchClient client;
  ASSERT_EQ(::GetACP(), 949u) << "the test session runs with the Korean code page";
  double value = 70000;
  EXPECT_EQ(client.Call(L"cDec2Hex", {ByRefDouble(&value)}).value.Text(), L"00011170");
  value = 4294967296.0;
  EXPECT_EQ(client.Call(L"cDec2Hex", {ByRefDouble(&value)}).value.Text(), L"100000000");
  Var ff(L"ff"), over(L"80000000");
  EXPECT_EQ(client.Call(L"cHex2Dec", {Value(ff)}).value.v.lVal, 255);
  CallResult overflow = client.Call(L"cHex2Dec", {Value(over)});
  EXPECT_EQ(overflow.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(overflow.exception.scode, static_cast<SCODE>(0x800A0006));  // overflow, error 6

  long colour = 0x00C0FF10, r = 0, g = 0, b = 0;
  ASSERT_EQ(client.Call(L"cVBColor2RGB", {ByRef(&colour), ByRef(&r), ByRef(&g), ByRef(&b)}).hr, S_OK);
  EXPECT_EQ(r, 0x10);
  EXPECT_EQ(g, 0xFF);
  EXPECT_EQ(b, 0xC0);
}

TEST(QuesselConvert, DurationWritesTheSecondsBackAndUsesDefaults) {
  DispatchClient client;
  long seconds = 3725;
  EXPECT_EQ(client.Call(L"cTimeSec2HourMinSec", {ByRef(&seconds)}).value.Text(), L"01:02:05");
  EXPECT_EQ(seconds, 125);
  seconds = 360000;
  Var h(L"h "), m(L"m "), s(L"s");
  EXPECT_EQ(client.Call(L"cTimeSec2HourMinSec", {ByRef(&seconds), Value(h), Value(m), Value(s)}).value.Text(),
            L"100h 00m 00s");
}

TEST(QuesselConvert, KoreanTextByAnsiBytes) {
  DispatchClient client;
  Var korean(L"한글 ab");
  EXPECT_EQ(client.Call(L"cString_Len", {Value(korean)}).value.v.iVal, 7);
  Bstr text(L"한글");
  short one = 1;
  EXPECT_EQ(client.Call(L"cString_Left", {ByRef(&text.b), ByRefShort(&one)}).value.Text(), L"한");
  EXPECT_EQ(client.Call(L"cString_Right", {ByRef(&text.b), ByRefShort(&one)}).value.Text(), L"글");
  short two = 2;
  EXPECT_EQ(client.Call(L"cString_Mid", {ByRef(&text.b), ByRefShort(&two), ByRefShort(&one)}).value.Text(), L"글");

  for (const wchar_t* original : {L"A", L"AB", L"시작 메뉴", L"a한b"}) {
    SCOPED_TRACE(testing::Message() << wcslen(original));
    Bstr in(original);
    CallResult encoded = client.Call(L"cBase64Encode", {ByRef(&in.b)});
    ASSERT_EQ(encoded.hr, S_OK);
    Bstr back(encoded.value.Text().c_str());
    EXPECT_EQ(client.Call(L"cBase64Decode", {ByRef(&back.b)}).value.Text(), original);
  }
  Bstr a(L"A");
  EXPECT_EQ(client.Call(L"cBase64Encode", {ByRef(&a.b)}).value.Text(), L"QQ==");
  Bstr bad(L"QQ!=");
  CallResult invalid = client.Call(L"cBase64Decode", {ByRef(&bad.b)});
  EXPECT_EQ(invalid.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(invalid.exception.scode, static_cast<SCODE>(0x800A0005));
}

TEST(QuesselTextFile, RoundTripsAndSilentFailures) {
  DispatchClient client;
  const std::wstring folder = pravik::testsupport::MakeTempFolder(L"quessel_text");
  Var path((folder + L"\\note.txt").c_str());
  Var text(L"첫 줄\r\nsecond line\r\n\r\n마지막");
  ASSERT_EQ(client.Call(L"cText_Save", {Value(path), Value(text)}).hr, S_OK);
  EXPECT_EQ(client.Call(L"cText_Open", {Value(path)}).value.Text(), text.Text());
  EXPECT_EQ(client.Call(L"cText_Read", {Value(path)}).value.Text(), text.Text());
  Var other(L"x");
  ASSERT_EQ(client.Call(L"cText_Write", {Value(path), Value(other)}).hr, S_OK);
  EXPECT_EQ(client.Call(L"cText_Load", {Value(path)}).value.Text(), L"x");

  const std::wstring unixFile = folder + L"\\unix.txt";
  { std::ofstream(unixFile.c_str(), std::ios::binary) << "one\ntwo\rthree\n"; }
  Var unixPath(unixFile.c_str());
  EXPECT_EQ(client.Call(L"cText_Open", {Value(unixPath)}).value.Text(), L"one\r\ntwo\r\nthree");

  Var missing((folder + L"\\no such folder\\file.txt").c_str());
  CallResult read = client.Call(L"cText_Open", {Value(missing)});
  EXPECT_EQ(read.hr, S_OK);
  EXPECT_EQ(read.value.Text(), L"");
  EXPECT_EQ(client.Call(L"cText_Save", {Value(missing), Value(text)}).hr, S_OK);
}

}  // namespace
}  // namespace pravik::controllib
