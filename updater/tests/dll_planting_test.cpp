// DLLs planted beside Molvane.exe and Pravik.exe, named like every DLL they load, are never
// loaded in place of the system's: the programs set the safe search order first, and they delay
// the imports the loader would otherwise resolve from their folder before any code runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <set>
#include <string>

#include "testsupport/files.h"
#include "testsupport/http_test_server.h"
#include "testsupport/process.h"
#include "win32/paths.h"
#include "win32/text.h"

namespace pravik::updater {
namespace {

// Every DLL the two programs import or load by name, and the ones those pull in by name.
const wchar_t* const kSystemDlls[] = {
    L"bcrypt.dll",   L"comctl32.dll", L"gdi32.dll",    L"msvcrt.dll",   L"shell32.dll", L"user32.dll",
    L"wininet.dll",  L"advapi32.dll", L"comdlg32.dll", L"gdiplus.dll",  L"ole32.dll",   L"oleaut32.dll",
    L"shlwapi.dll",  L"uxtheme.dll",  L"wtsapi32.dll", L"version.dll",  L"crypt32.dll", L"secur32.dll",
    L"winhttp.dll",  L"urlmon.dll",   L"iertutil.dll", L"dwmapi.dll",   L"propsys.dll", L"cryptbase.dll",
    L"userenv.dll",  L"profapi.dll",  L"mpr.dll",      L"netapi32.dll", L"ws2_32.dll",  L"winmm.dll",
    L"imm32.dll",    L"msimg32.dll",  L"rpcrt4.dll",   L"sspicli.dll",  L"dnsapi.dll",  L"iphlpapi.dll",
    L"schannel.dll", L"rsaenh.dll",   L"ncrypt.dll",   L"msasn1.dll",   L"wintrust.dll", L"setupapi.dll",
};

std::wstring PlantedFolder(const wchar_t* hint, const wchar_t* program) {
  const std::wstring folder = testsupport::MakeTempFolder(hint);
  EXPECT_TRUE(::CopyFileW((testsupport::OutDir() + L"\\" + program).c_str(), (folder + L"\\" + program).c_str(), FALSE));
  const std::wstring planted = win32::ProgramFolder() + L"\\planted.dll";
  for (const wchar_t* dll : kSystemDlls) ::CopyFileW(planted.c_str(), (folder + L"\\" + dll).c_str(), FALSE);
  return folder;
}

TEST(DllPlantingTest, MolvaneLoadsNoDllFromItsFolder) {
  const std::wstring folder = PlantedFolder(L"plant-molvane", L"Molvane.exe");
  // The installed program Molvane reads the installed version from (a stand-in carrying it).
  ASSERT_TRUE(::CopyFileW((win32::ProgramFolder() + L"\\fake_installer.exe").c_str(), (folder + L"\\Pravik.exe").c_str(), FALSE));
  testsupport::HttpTestServer server;
  testsupport::HttpResponse installer;
  installer.body = testsupport::ReadFile(win32::ProgramFolder() + L"\\fake_installer.exe");
  server.Route("/PravikSetup.exe", installer);
  testsupport::HttpResponse signature;
  signature.body = testsupport::ReadFile(win32::ProgramFolder() + L"\\fake_installer.exe.sig");
  server.Route("/PravikSetup.exe.sig", signature);

  // The current folder holds planted copies too.
  auto molvane = testsupport::ChildProcess::Launch(folder + L"\\Molvane.exe", server.Url("/PravikSetup.exe"), folder);
  ASSERT_TRUE(molvane.started());
  const auto code = molvane.WaitExit(60000);
  if (!code) molvane.Terminate();
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(testsupport::ReadFile(folder + L"\\planted-loads.log"), "");
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !testsupport::ReadFile(folder + L"\\installer-runs.log").empty(); }, 20000))
      << "the honest installer was not started";
}

TEST(DllPlantingTest, PravikLoadsNoDllFromItsFolder) {
  const std::wstring folder = PlantedFolder(L"plant-pravik", L"Pravik.exe");
  auto pravik = testsupport::ChildProcess::Launch(folder + L"\\Pravik.exe", L"", folder);
  ASSERT_TRUE(pravik.started());
  // Without its skins Pravik ends with a message box: by then every DLL of its start-up is loaded.
  const HWND box = testsupport::WaitForWindow(pravik.pid(), L"#32770", 30000);
  EXPECT_NE(box, nullptr);
  const std::string loads = testsupport::ReadFile(folder + L"\\planted-loads.log");
  pravik.Terminate();
  EXPECT_EQ(loads, "");
}

}  // namespace
}  // namespace pravik::updater

namespace pravik::updater {
namespace {

// The control: a program without the safe search order, here the test itself, asking for the
// same DLLs by name from the planted folder as its current folder.
TEST(DllPlantingTest, ControlAnUnprotectedLoadByName) {
  const std::wstring folder = PlantedFolder(L"plant-control", L"Molvane.exe");
  wchar_t previous[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ::SetCurrentDirectoryW(folder.c_str());
  std::wstring loadedFromFolder;
  for (const wchar_t* dll : kSystemDlls) {
    HMODULE module = ::LoadLibraryW(dll);
    if (module && win32::ModulePath(module).find(folder) == 0) loadedFromFolder += std::wstring(dll) + L" ";
  }
  ::SetCurrentDirectoryW(previous);
  // Wine never takes its own DLLs (user32, wininet, ...) from a program's folder, whatever the
  // search order; DLLs it has no builtin for (iertutil here) it does. So under Wine the tests
  // above can only catch planted DLLs of that kind, and the import table test below stands in
  // for the rest.
  EXPECT_NE(loadedFromFolder, L"") << "the planted copies were not loadable: the tests above prove nothing";
  EXPECT_NE(testsupport::ReadFile(folder + L"\\planted-loads.log"), "");
}

// The names in a PE file's import directory: the DLLs the loader resolves before any code runs.
std::vector<std::string> LoadTimeImports(const std::string& image) {
  std::vector<std::string> names;
  auto at = [&](std::size_t offset, std::size_t size) { return offset + size <= image.size(); };
  if (!at(0, sizeof(IMAGE_DOS_HEADER))) return names;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
  if (!at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS64))) return names;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(image.data() + dos->e_lfanew);
  const auto* sections = IMAGE_FIRST_SECTION(nt);
  auto offsetOf = [&](DWORD rva) -> std::size_t {
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i)
      if (rva >= sections[i].VirtualAddress && rva < sections[i].VirtualAddress + sections[i].SizeOfRawData)
        return rva - sections[i].VirtualAddress + sections[i].PointerToRawData;
    return image.size();
  };
  const DWORD importRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (std::size_t d = offsetOf(importRva); at(d, sizeof(IMAGE_IMPORT_DESCRIPTOR)); d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + d);
    if (descriptor->Name == 0) break;
    std::string name = image.c_str() + offsetOf(descriptor->Name);
    for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    names.push_back(name);
  }
  return names;
}

TEST(DllPlantingTest, ProgramsImportAtLoadTimeOnlyWhatTheSystemProtects) {
  // Known DLLs: Windows always maps these from its own folder.
  const std::set<std::string> known{"kernel32.dll", "user32.dll",   "gdi32.dll",   "msvcrt.dll",
                                    "shell32.dll",  "advapi32.dll", "ole32.dll",   "oleaut32.dll",
                                    "comdlg32.dll", "shlwapi.dll",  "ws2_32.dll"};
  // Quessel counts too: COM loads it with its own folder, the program folder, searched first.
  for (const wchar_t* file : {L"Molvane.exe", L"Pravik.exe", L"Quessel.ocx"}) {
    const auto imports = LoadTimeImports(testsupport::ReadFile(testsupport::OutDir() + L"\\" + file));
    SCOPED_TRACE(win32::WideToUtf8(file));
    ASSERT_FALSE(imports.empty());
    for (const std::string& dll : imports) {
      SCOPED_TRACE(dll);
      EXPECT_TRUE(known.count(dll)) << "imported at load time, so looked up beside the program first";
    }
  }
}

}  // namespace
}  // namespace pravik::updater
