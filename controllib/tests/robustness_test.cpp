// Any script may call the library with anything: many late-bound calls across the methods with
// wrong counts and types, null and empty values, extreme numbers, very long texts and odd paths.
// Nothing may crash or hang, and every failure is a standard dispatch error or the method's
// numbered error.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "controllib/tests/dispatch_client.h"
#include "testsupport/process.h"

namespace pravik::controllib {
namespace {

// Never called here: they end the session, wait for a person, reach the network or a browser,
// inject input into the desktop, or change the machine's sound.
const std::set<std::wstring> kExcluded = {
    L"cShutdownSystem",                                      // ends the session
    L"cFolder_Select",    L"cPopupMenu",                     // modal, wait for a person
    L"cFileDownload",     L"cNewExplorer", L"cIP_External",  // network and browser
    L"cMouse_LeftClick",  L"cMouse_LeftDown", L"cMouse_LeftUp", L"cMouse_MiddleClick", L"cMouse_MiddleDown",
    L"cMouse_MiddleUp",   L"cMouse_RightClick", L"cMouse_RightDown", L"cMouse_RightUp", L"cMouse_MoveMouse",
    L"cMouse_LocationSet",                                   // input into the desktop
    L"cVolume",           L"cSound_Play", L"cSound_Stop",    // the machine's sound
};

// One argument value. Owned storage lives in the Call that holds it.
using Maker = std::function<VARIANT(std::vector<BSTR>&, std::vector<long>&)>;

Maker Number(long v) {
  return [v](std::vector<BSTR>&, std::vector<long>&) { return Value(v); };
}
Maker Text(std::wstring v) {
  return [v](std::vector<BSTR>& texts, std::vector<long>&) {
    VARIANT r;
    ::VariantInit(&r);
    r.vt = VT_BSTR;
    r.bstrVal = ::SysAllocStringLen(v.data(), static_cast<UINT>(v.size()));
    texts.push_back(r.bstrVal);
    return r;
  };
}
Maker TextRef(std::wstring v) {
  return [v](std::vector<BSTR>& texts, std::vector<long>&) {
    texts.push_back(::SysAllocStringLen(v.data(), static_cast<UINT>(v.size())));
    return ByRef(&texts.back());
  };
}
Maker NumberRef(long v) {
  return [v](std::vector<BSTR>&, std::vector<long>& numbers) {
    numbers.push_back(v);
    return ByRef(&numbers.back());
  };
}
Maker Of(VARTYPE vt, double value = 0) {
  return [vt, value](std::vector<BSTR>&, std::vector<long>&) {
    VARIANT r;
    ::VariantInit(&r);
    r.vt = vt;
    if (vt == VT_R8) r.dblVal = value;
    if (vt == VT_DATE) r.date = value;
    if (vt == VT_BOOL) r.boolVal = VARIANT_TRUE;
    if (vt == VT_I2) r.iVal = static_cast<SHORT>(value);
    if (vt == VT_ERROR) r.scode = DISP_E_PARAMNOTFOUND;  // an omitted argument
    return r;                                           // VT_DISPATCH, VT_UNKNOWN: null objects
  };
}

std::vector<Maker> GeneralValues(const std::wstring& folder) {
  const std::wstring longText(70000, L'가');
  return {Of(VT_EMPTY), Of(VT_NULL), Of(VT_ERROR), Number(0), Number(-1), Number(LONG_MIN), Number(LONG_MAX),
          Of(VT_I2, -32768), Of(VT_R8, 1e308), Of(VT_R8, -1e308), Of(VT_R8, std::nan("")), Of(VT_DATE, 1e10),
          Of(VT_BOOL), Of(VT_DISPATCH), Of(VT_UNKNOWN), Text(L""), Text(L"12"), Text(L"&HFFFFFFFFFF"), Text(longText),
          Text(L"\\\\?\\GLOBALROOT\\Device\\x"), Text(L"..\\..\\..\\x"), Text(folder + L"\\a:b"), Text(L"COM1"),
          Text(std::wstring(1, L'\0') + L"after a zero"), TextRef(L""), TextRef(longText), TextRef(L"\\\\127.0.0.1\\c$"),
          NumberRef(-1), NumberRef(LONG_MAX), NumberRef(LONG_MIN)};
}

// Methods that touch files, the registry, processes or wait: their risky positions draw only
// from these values; their other positions take anything.
std::map<std::wstring, std::map<int, std::vector<Maker>>> SafePositions(const std::wstring& folder) {
  const std::wstring key = L"Software\\PravikRobustnessTest";
  const std::vector<Maker> hkcu = {NumberRef(static_cast<long>(0x80000001)), Text(L"x"), Of(VT_EMPTY)};
  const std::vector<Maker> keys = {TextRef(key), TextRef(key + L"\\" + std::wstring(300, L'k')),
                                   TextRef(key + L"\\..\\x"), TextRef(key + L"\\"), Number(5)};
  const std::vector<Maker> files = {Text(folder + L"\\a.txt"), Text(folder + L"\\" + std::wstring(400, L'f')),
                                    Text(folder + L"\\no folder\\x.txt"), Text(folder), Text(folder + L"\\a?.txt"),
                                    Number(1), Of(VT_NULL)};
  std::map<std::wstring, std::map<int, std::vector<Maker>>> safe;
  safe[L"cSleep"] = {{0, {NumberRef(0), NumberRef(1), NumberRef(-1), NumberRef(LONG_MIN), Text(L"x"), Of(VT_EMPTY)}}};
  for (const wchar_t* box : {L"cMsgbox_OK", L"cMsgbox_YesNo"})
    safe[box] = {{2, {NumberRef(0), NumberRef(-1), NumberRef(LONG_MIN), Text(L"x"), Of(VT_EMPTY)}}};
  safe[L"cEndProcess"] = {{0, {Text(L"pravik-robustness-none.exe"), Text(L"*"), Text(L"a\" /im \"*"),
                               Text(L"/?"), Text(std::wstring(5000, L'p')), Number(3)}}};
  for (const wchar_t* reg : {L"cReg_Read", L"cReg_Load", L"cReg_Open", L"cReg_Write", L"cReg_Save",
                             L"cReg_DeleteValueSetting", L"cReg_DeleteKeySetting"})
    safe[reg] = {{0, hkcu}, {1, keys}};
  for (const wchar_t* text : {L"cText_Open", L"cText_Read", L"cText_Load", L"cText_Save", L"cText_Write"})
    safe[text] = {{0, files}};
  for (const wchar_t* image : {L"cSaveJPG", L"cSaveGIF", L"cSavePNG"}) safe[image] = {{1, files}};
  return safe;
}

bool StandardFailure(HRESULT hr) {
  switch (hr) {
    case DISP_E_BADPARAMCOUNT:
    case DISP_E_TYPEMISMATCH:
    case DISP_E_PARAMNOTOPTIONAL:
    case DISP_E_PARAMNOTFOUND:
    case DISP_E_OVERFLOW:
    case DISP_E_BADVARTYPE:
    case DISP_E_NONAMEDARGS:
    case E_INVALIDARG:
    case E_OUTOFMEMORY:
      return true;
    default:
      return false;
  }
}

struct Method {
  std::wstring name;
  DISPID id;
  int params;
};

std::vector<Method> AllMethods(IDispatch* dispatch) {
  std::vector<Method> methods;
  win32::ComPtr<ITypeInfo> info;
  if (FAILED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()))) return methods;
  TYPEATTR* attr = nullptr;
  info->GetTypeAttr(&attr);
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* desc = nullptr;
    if (FAILED(info->GetFuncDesc(i, &desc))) continue;
    BSTR name = nullptr;
    info->GetDocumentation(desc->memid, &name, nullptr, nullptr, nullptr);
    const std::wstring text = name ? name : L"";
    ::SysFreeString(name);
    int params = desc->cParams;
    // The result travels as the call's value, not as an argument.
    if (params > 0 && (desc->lprgelemdescParam[params - 1].paramdesc.wParamFlags & PARAMFLAG_FRETVAL)) --params;
    if (text.rfind(L"c", 0) == 0 && desc->memid >= 0x60030000) methods.push_back({text, desc->memid, params});
    info->ReleaseFuncDesc(desc);
  }
  info->ReleaseTypeAttr(attr);
  return methods;
}

TEST(QuesselRobustness, ThousandsOfOddCallsEndInDispatchOrNumberedErrors) {
  DispatchClient client;
  ASSERT_EQ(client.created(), S_OK);
  const std::wstring folder = pravik::testsupport::MakeTempFolder(L"quessel_robustness");
  const auto general = GeneralValues(folder);
  const auto safe = SafePositions(folder);
  const auto methods = AllMethods(client.get());
  ASSERT_GT(methods.size(), 70u);

  std::mt19937 random(20);
  std::map<HRESULT, int> outcomes;
  int calls = 0;
  for (const Method& method : methods) {
    if (kExcluded.count(method.name)) continue;
    const auto pinned = safe.find(method.name);
    // A call without its first argument would take a default the test does not control.
    const int fewest = method.name == L"cEndProcess" ? 1 : 0;
    for (int count = fewest; count <= method.params + 2; ++count) {
      // Mostly the declared count, so the values reach the methods; a few wrong counts besides.
      const int rounds = count == method.params ? 24 : 3;
      for (int round = 0; round < rounds; ++round) {
        std::vector<BSTR> texts;
        std::vector<long> numbers;
        texts.reserve(64);
        numbers.reserve(64);
        std::vector<VARIANT> args;
        for (int position = 0; position < count; ++position) {
          const std::vector<Maker>* pool = &general;
          if (pinned != safe.end()) {
            const auto p = pinned->second.find(position);
            if (p != pinned->second.end()) pool = &p->second;
          }
          args.push_back((*pool)[random() % pool->size()](texts, numbers));
        }
        const auto start = std::chrono::steady_clock::now();
        CallResult r = client.Call(method.id, args);
        const auto took = std::chrono::steady_clock::now() - start;
        ++calls;
        ++outcomes[r.hr];
        SCOPED_TRACE(testing::Message() << std::string(method.name.begin(), method.name.end()) << " with " << count
                                        << " arguments, round " << round);
        EXPECT_LT(took, std::chrono::seconds(10));
        if (r.hr == DISP_E_EXCEPTION) {
          // The method's numbered error (facility of controls), or a dispatch error it raised.
          EXPECT_TRUE(HRESULT_FACILITY(r.exception.scode) == FACILITY_CONTROL || StandardFailure(r.exception.scode))
              << std::hex << r.exception.scode;
        } else {
          EXPECT_TRUE(r.hr == S_OK || StandardFailure(r.hr)) << std::hex << r.hr;
        }
        for (VARIANT& a : args)
          if (!(a.vt & VT_BYREF)) a.vt = VT_EMPTY;  // the texts are freed below, once
        for (BSTR t : texts) ::SysFreeString(t);
      }
    }
  }
  EXPECT_GE(calls, 1000);
  // Most calls must reach the methods, not stop at the argument checks.
  EXPECT_GE(outcomes[S_OK] + outcomes[DISP_E_EXCEPTION], calls / 3);
  for (const auto& [hr, n] : outcomes) std::printf("0x%08lX: %d calls\n", static_cast<unsigned long>(hr), n);
  // Registry methods wrote only below the test key; it goes.
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\PravikRobustnessTest");
  // The library still answers normally afterwards.
  Var text(L"abc");
  EXPECT_EQ(client.Call(L"cString_Len", {Value(text)}).value.v.iVal, 3);
}

}  // namespace
}  // namespace pravik::controllib
