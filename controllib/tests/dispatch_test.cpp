// The control as late-bound callers see it: creation by ProgID and CLSID, calls by id and by
// name, and the standard dispatch errors for wrong calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controllib/quessel_interface.h"
#include "controllib/tests/dispatch_client.h"
#include "win32/late_bound.h"

namespace pravik::controllib {
namespace {

struct Member {
  const wchar_t* name;
  DISPID id;
};

// Every method at the identifier other programs bind to.
const Member kMembers[] = {
    {L"cCloseButtonDisable", 0x60030001}, {L"cNewExplorer", 0x60030002}, {L"cSleep", 0x60030003},
    {L"cIE_Version", 0x60030004}, {L"cIP", 0x60030005}, {L"cDec2Hex", 0x6003000A}, {L"cHex2Dec", 0x6003000B},
    {L"cMsgbox_OK", 0x6003000C}, {L"cMsgbox_YesNo", 0x6003000D}, {L"cONTOP_On", 0x6003000E},
    {L"cONTOP_Off", 0x6003000F}, {L"cForegroundWindow_Handle", 0x60030010},
    {L"cForegroundWindow_FileName", 0x60030011}, {L"cForegroundWindow_Title", 0x60030012},
    {L"cWindow_FileName", 0x60030013}, {L"cWindow_Title", 0x60030014}, {L"cLogon_UserName", 0x60030017},
    {L"cLogin_UserName", 0x60030018}, {L"cComputer_Name", 0x60030019}, {L"cOS_BuildNumber", 0x6003001B},
    {L"cOS_Name", 0x6003001C}, {L"cOS_Version1", 0x6003001D}, {L"cOS_Version2", 0x6003001E},
    {L"cReg_Read", 0x60030020}, {L"cReg_Load", 0x60030021}, {L"cReg_Open", 0x60030022},
    {L"cReg_Write", 0x60030023}, {L"cReg_Save", 0x60030024}, {L"cReg_DeleteValueSetting", 0x60030025},
    {L"cReg_DeleteKeySetting", 0x60030026}, {L"cString_Len", 0x60030027}, {L"cString_Left", 0x60030028},
    {L"cString_Right", 0x60030029}, {L"cString_Mid", 0x6003002A}, {L"cSound_Play", 0x6003002B},
    {L"cSound_Stop", 0x6003002C}, {L"cScreen_Width", 0x6003002D}, {L"cScreen_Height", 0x6003002E},
    {L"cFileDownload", 0x6003002F}, {L"cShutdownSystem", 0x60030033}, {L"cCPU_Used", 0x60030034},
    {L"cFolder_Select", 0x60030036}, {L"cMouse_LocationGet_X", 0x60030037},
    {L"cMouse_LocationGet_Y", 0x60030038}, {L"cMouse_LeftClick", 0x60030039}, {L"cMouse_LeftDown", 0x6003003A},
    {L"cMouse_LeftUp", 0x6003003B}, {L"cMouse_MiddleClick", 0x6003003C}, {L"cMouse_MiddleDown", 0x6003003D},
    {L"cMouse_MiddleUp", 0x6003003E}, {L"cMouse_MoveMouse", 0x6003003F}, {L"cMouse_RightClick", 0x60030040},
    {L"cMouse_RightDown", 0x60030041}, {L"cMouse_RightUp", 0x60030042}, {L"cMouse_LocationSet", 0x60030043},
    {L"cText_Open", 0x60030044}, {L"cText_Read", 0x60030045}, {L"cText_Load", 0x60030046},
    {L"cText_Save", 0x60030047}, {L"cText_Write", 0x60030048}, {L"cUniqueNumber", 0x60030049},
    {L"cHDDSerialNumber", 0x6003004A}, {L"cMacAddress", 0x6003004C}, {L"cIP_External", 0x6003004F},
    {L"cPopupMenu", 0x60030050}, {L"cVBColor2RGB", 0x60030051}, {L"cTimeSec2HourMinSec", 0x60030052},
    {L"cVolume", 0x60030053}, {L"cEndProcess", 0x60030054}, {L"cSaveJPG", 0x60030055},
    {L"cSaveGIF", 0x60030056}, {L"cSavePNG", 0x60030057}, {L"cTooltip", 0x60030058},
    {L"cTaskBar_Type", 0x60030059}, {L"cTask_Width", 0x6003005A}, {L"cTask_Left", 0x6003005B},
    {L"cTask_Top", 0x6003005C}, {L"cTask_Height", 0x6003005D}, {L"cBase64Encode", 0x6003005E},
    {L"cBase64Decode", 0x6003005F},
};

TEST(QuesselDispatch, CreatedByProgIdAndByClsid) {
  CLSID clsid{};
  ASSERT_EQ(::CLSIDFromProgID(L"QuesselControl.Quessel", &clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_Quessel));
  win32::ComPtr<IDispatch> byClsid;
  ASSERT_EQ(::CoCreateInstance(CLSID_Quessel, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, byClsid.put_void()), S_OK);
  win32::ComPtr<_Quessel> dual;
  EXPECT_EQ(byClsid.As(dual), S_OK);
  DispatchClient byProgId;
  ASSERT_EQ(byProgId.created(), S_OK);
}

TEST(QuesselDispatch, EveryMethodAnswersToItsNameAtItsId) {
  DispatchClient client;
  ASSERT_EQ(client.created(), S_OK);
  EXPECT_EQ(std::size(kMembers), 80u);
  for (const Member& m : kMembers) {
    SCOPED_TRACE(testing::Message() << std::string(m.name, m.name + wcslen(m.name)));
    EXPECT_EQ(client.IdOf(m.name), m.id);
  }
  EXPECT_EQ(client.IdOf(L"CMOUSE_LOCATIONGET_X"), 0x60030037);  // names ignore letter case
  DISPID id = 0;
  LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"cNoSuchMethod")};
  EXPECT_EQ(client.get()->GetIDsOfNames(IID_NULL, unknown, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
}

TEST(QuesselDispatch, PravikCallsByIdWithoutArguments) {
  DispatchClient client;
  ASSERT_EQ(client.created(), S_OK);
  ASSERT_TRUE(::SetCursorPos(321, 123));
  CallResult x = client.Call(0x60030037);
  ASSERT_EQ(x.hr, S_OK);
  ASSERT_EQ(x.value.v.vt, VT_I4);
  EXPECT_EQ(x.value.v.lVal, 321);
  CallResult file = client.Call(0x60030011);
  ASSERT_EQ(file.hr, S_OK);
  EXPECT_EQ(file.value.v.vt, VT_BSTR);
}

TEST(QuesselDispatch, PravikLateBoundClientGetsItsTwoAnswers) {
  // The very client Pravik's windows use, with its method-or-property-get calls.
  win32::LateBoundObject quessel1(L"QuesselControl.Quessel");
  ASSERT_FALSE(quessel1.empty());
  ASSERT_TRUE(::SetCursorPos(222, 111));
  EXPECT_EQ(quessel1.CallLong(0x60030037), 222);
  EXPECT_TRUE(quessel1.CallText(0x60030011).has_value());
}

TEST(QuesselDispatch, ByReferenceArgumentsByName) {
  DispatchClient client;
  long x = 40, y = 30;
  ASSERT_EQ(client.Call(L"cMouse_LocationSet", {ByRef(&x), ByRef(&y)}).hr, S_OK);
  EXPECT_EQ(client.Call(L"cMouse_LocationGet_Y").value.v.lVal, 30);
  // A plain value where a reference is declared is coerced too.
  ASSERT_EQ(client.Call(L"cMouse_LocationSet", {Value(50), Value(60)}).hr, S_OK);
  EXPECT_EQ(client.Call(L"cMouse_LocationGet_X").value.v.lVal, 50);
}

TEST(QuesselDispatch, ScriptVariablesPassedByReferenceAreConverted) {
  // Script engines pass variables as references to variants of whatever type they hold.
  DispatchClient client;
  VARIANT small, text;
  ::VariantInit(&small);
  small.vt = VT_I2;
  small.iVal = 77;
  Var digits(L"66");
  ::VariantInit(&text);
  ::VariantCopy(&text, &digits.v);
  auto ref = [](VARIANT* v) {
    VARIANT r;
    ::VariantInit(&r);
    r.vt = VT_VARIANT | VT_BYREF;
    r.pvarVal = v;
    return r;
  };
  ASSERT_EQ(client.Call(L"cMouse_LocationSet", {ref(&small), ref(&text)}).hr, S_OK);
  EXPECT_EQ(client.Call(L"cMouse_LocationGet_X").value.v.lVal, 77);
  EXPECT_EQ(client.Call(L"cMouse_LocationGet_Y").value.v.lVal, 66);
  // The variables take the declared type on the way back.
  EXPECT_EQ(small.vt, VT_I4);
  EXPECT_EQ(small.lVal, 77);
  ::VariantClear(&text);

  VARIANT word;
  ::VariantInit(&word);
  word.vt = VT_BSTR;
  word.bstrVal = ::SysAllocString(L"abc");
  CallResult wrong = client.Call(L"cMouse_LocationSet", {ref(&word), ref(&small)});
  EXPECT_EQ(wrong.hr, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(wrong.argError, 1u);  // counted from the last argument
  EXPECT_EQ(word.vt, VT_BSTR);    // a failed call leaves the caller's variables alone
  ::VariantClear(&word);

  // A variable where a value is declared (a text by value, the session-end enumeration).
  Var abc(L"abcd");
  VARIANT held;
  ::VariantInit(&held);
  ::VariantCopy(&held, &abc.v);
  CallResult length = client.Call(L"cString_Len", {ref(&held)});
  EXPECT_EQ(length.hr, S_OK);
  EXPECT_EQ(length.value.v.iVal, 4);
  EXPECT_EQ(held.vt, VT_BSTR);  // values are not written back
  ::VariantClear(&held);
  VARIANT flags;
  ::VariantInit(&flags);
  flags.vt = VT_I2;
  flags.iVal = 99;
  EXPECT_EQ(client.Call(L"cShutdownSystem", {ref(&flags)}).exception.scode, static_cast<SCODE>(0x8004062F));
}

// The texts the interface takes by reference as optional, with their defaults (none for the
// popup menu's items).
struct OptionalText {
  DISPID id;
  int position;
  const wchar_t* name;
  const wchar_t* byDefault;  // null: optional without a default
};

std::vector<OptionalText> OptionalTexts() {
  std::vector<OptionalText> texts = {{0x60030036, 0, L"szTitle", L""},
                                     {0x60030052, 1, L"HourString", L":"},
                                     {0x60030052, 2, L"MinString", L":"},
                                     {0x60030052, 3, L"SecString", L""},
                                     {0x60030054, 0, L"Filename", L"calc.exe"}};
  for (int m = 2; m <= 20; ++m) texts.push_back({0x60030050, m - 1, nullptr, nullptr});
  return texts;
}

// One function's description, released with the holder.
struct Function {
  ITypeInfo* info;
  FUNCDESC* desc = nullptr;
  Function(ITypeInfo* i, UINT index) : info(i) { i->GetFuncDesc(index, &desc); }
  Function(const Function&) = delete;
  Function& operator=(const Function&) = delete;
  ~Function() { if (desc) info->ReleaseFuncDesc(desc); }
};

TEST(QuesselDispatch, InterfaceLayoutIsTheDesigns) {
  // A client compiled against the design's type information calls the methods by vtable slot:
  // the slots, the ids and every parameter must be the ones it was compiled with.
  DispatchClient client;
  ASSERT_EQ(client.created(), S_OK);
  win32::ComPtr<ITypeInfo> dispatchSide, interfaceSide;
  ASSERT_EQ(client.get()->GetTypeInfo(0, LOCALE_USER_DEFAULT, dispatchSide.put()), S_OK);
  HREFTYPE ref = 0;
  ASSERT_EQ(dispatchSide->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref), S_OK);
  ASSERT_EQ(dispatchSide->GetRefTypeInfo(ref, interfaceSide.put()), S_OK);
  win32::ComPtr<ITypeLib> library;
  UINT index = 0;
  ASSERT_EQ(interfaceSide->GetContainingTypeLib(library.put(), &index), S_OK);
  TLIBATTR* libAttr = nullptr;
  ASSERT_EQ(library->GetLibAttr(&libAttr), S_OK);
  EXPECT_EQ(libAttr->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
  library->ReleaseTLibAttr(libAttr);

  TYPEATTR* attr = nullptr;
  ASSERT_EQ(interfaceSide->GetTypeAttr(&attr), S_OK);
  const UINT count = attr->cFuncs;
  const WORD vtableSize = attr->cbSizeVft;
  interfaceSide->ReleaseTypeAttr(attr);
  ASSERT_EQ(count, std::size(kMembers));
  EXPECT_EQ(vtableSize, (7 + count) * sizeof(void*));  // IUnknown and IDispatch, then ours
  for (UINT k = 0; k < count; ++k) {
    Function f(interfaceSide.get(), k);
    ASSERT_NE(f.desc, nullptr);
    SCOPED_TRACE(testing::Message() << std::string(kMembers[k].name, kMembers[k].name + wcslen(kMembers[k].name)));
    EXPECT_EQ(f.desc->memid, kMembers[k].id);
    EXPECT_EQ(f.desc->oVft, static_cast<SHORT>((7 + k) * sizeof(void*)));
  }

  // Late-bound callers read the dispatch side, early-bound ones the interface side.
  for (ITypeInfo* side : {dispatchSide.get(), interfaceSide.get()}) {
    for (const OptionalText& text : OptionalTexts()) {
      SCOPED_TRACE(testing::Message() << std::hex << text.id << std::dec << " parameter " << text.position);
      UINT found = count + 7;
      for (UINT k = 0; k < count + 7 && found == count + 7; ++k) {
        Function f(side, k);
        if (f.desc && f.desc->memid == text.id) found = k;
      }
      Function f(side, found);
      ASSERT_NE(f.desc, nullptr);
      ASSERT_LT(text.position, f.desc->cParams);
      const ELEMDESC& p = f.desc->lprgelemdescParam[text.position];
      ASSERT_EQ(p.tdesc.vt, VT_PTR);
      EXPECT_EQ(p.tdesc.lptdesc->vt, VT_BSTR);
      const USHORT flags = p.paramdesc.wParamFlags;
      EXPECT_EQ(flags & (PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FOPT),
                PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FOPT);
      if (!text.byDefault) {
        EXPECT_FALSE(flags & PARAMFLAG_FHASDEFAULT);
        continue;
      }
      ASSERT_TRUE(flags & PARAMFLAG_FHASDEFAULT);
      ASSERT_NE(p.paramdesc.pparamdescex, nullptr);
      const VARIANT& value = p.paramdesc.pparamdescex->varDefaultValue;
      ASSERT_EQ(value.vt, VT_BSTR);
      EXPECT_EQ(std::wstring(value.bstrVal, ::SysStringLen(value.bstrVal)), text.byDefault);
      BSTR names[8] = {};
      UINT got = 0;
      ASSERT_EQ(side->GetNames(text.id, names, 8, &got), S_OK);
      ASSERT_GT(got, static_cast<UINT>(text.position) + 1);
      EXPECT_STREQ(names[text.position + 1], text.name);
      for (UINT n = 0; n < got; ++n) ::SysFreeString(names[n]);
    }
  }
}

TEST(QuesselDispatch, OptionalTextsLeftOutGivenByValueOrByReference) {
  DispatchClient client;
  long seconds = 59;
  VARIANT omitted;
  ::VariantInit(&omitted);
  omitted.vt = VT_ERROR;
  omitted.scode = DISP_E_PARAMNOTFOUND;
  Var h(L"h"), m(L"m");
  // Left out at the end, left out in the middle (as script engines mark it), given by value.
  EXPECT_EQ(client.Call(L"cTimeSec2HourMinSec", {ByRef(&seconds)}).value.Text(), L"00:00:59");
  EXPECT_EQ(client.Call(L"cTimeSec2HourMinSec", {ByRef(&seconds), omitted, Value(m)}).value.Text(), L"00:00m59");
  EXPECT_EQ(client.Call(L"cTimeSec2HourMinSec", {ByRef(&seconds), Value(h), omitted, Value(m)}).value.Text(),
            L"00h00:59m");
  // By reference, as a compiled client passes its variables, and as a script variable.
  BSTR hour = ::SysAllocString(L" h "), none = nullptr;
  VARIANT variable;
  ::VariantInit(&variable);
  ::VariantCopy(&variable, &m.v);
  VARIANT reference;
  ::VariantInit(&reference);
  reference.vt = VT_VARIANT | VT_BYREF;
  reference.pvarVal = &variable;
  EXPECT_EQ(client.Call(L"cTimeSec2HourMinSec", {ByRef(&seconds), ByRef(&hour), reference, ByRef(&none)}).value.Text(),
            L"00 h 00m59");  // a null text is an empty one, not a left-out one
  EXPECT_STREQ(hour, L" h ");
  EXPECT_EQ(variable.vt, VT_BSTR);
  ::SysFreeString(hour);
  ::VariantClear(&variable);
  // A variable holding the "missing" marker counts as left out too.
  VARIANT missing = omitted, missingRef;
  ::VariantInit(&missingRef);
  missingRef.vt = VT_VARIANT | VT_BYREF;
  missingRef.pvarVal = &missing;
  EXPECT_EQ(client.Call(L"cTimeSec2HourMinSec", {ByRef(&seconds), missingRef}).value.Text(), L"00:00:59");
  EXPECT_EQ(seconds, 59);

  // A compiled client that passes no reference for a left-out text gets the default too.
  win32::ComPtr<_Quessel> dual;
  ASSERT_EQ(client.get()->QueryInterface(IID__Quessel, dual.put_void()), S_OK);
  BSTR text = nullptr;
  ASSERT_EQ(dual->cTimeSec2HourMinSec(&seconds, nullptr, nullptr, nullptr, &text), S_OK);
  EXPECT_STREQ(text, L"00:00:59");
  ::SysFreeString(text);
}

TEST(QuesselDispatch, WrongCallsGiveDispatchErrors) {
  DispatchClient client;
  ASSERT_EQ(client.created(), S_OK);
  EXPECT_EQ(client.Call(0x60030037, {Value(1), Value(2)}).hr, DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(client.Call(L"cWindow_Title").hr, DISP_E_BADPARAMCOUNT);
  Var notANumber(L"not a number");
  EXPECT_EQ(client.Call(L"cWindow_Title", {Value(notANumber)}).hr, DISP_E_TYPEMISMATCH);
  long x = 1;
  EXPECT_EQ(client.Call(L"cMouse_LocationSet", {ByRef(&x)}).hr, DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(client.Call(0x60030006).hr, DISP_E_MEMBERNOTFOUND);  // a gap in the numbering
  DISPPARAMS none{};
  VARIANT result;
  ::VariantInit(&result);
  EXPECT_EQ(client.get()->Invoke(0x60030037, IID_IDispatch, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);
}

}  // namespace
}  // namespace pravik::controllib
