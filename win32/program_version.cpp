#include "win32/program_version.h"

#include <windows.h>

#include <cstring>

namespace pravik::win32 {

std::optional<core::update::Version> ProgramVersion(const std::wstring& path) {
  // As a data file: nothing of it runs, and no version DLL is needed to read one resource.
  const HMODULE module =
      ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return std::nullopt;
  std::optional<core::update::Version> version;
  if (const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16) /* RT_VERSION */)) {
    const DWORD size = ::SizeofResource(module, found);
    const HGLOBAL loaded = ::LoadResource(module, found);
    const auto* bytes = static_cast<const unsigned char*>(loaded ? ::LockResource(loaded) : nullptr);
    // VS_FIXEDFILEINFO follows the root block's key, 32-bit aligned; it starts with its signature.
    for (DWORD at = 0; bytes && at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
      VS_FIXEDFILEINFO info;
      std::memcpy(&info, bytes + at, sizeof(info));
      if (info.dwSignature != 0xFEEF04BD) continue;
      version = core::update::Version{HIWORD(info.dwProductVersionMS), LOWORD(info.dwProductVersionMS),
                                      HIWORD(info.dwProductVersionLS), LOWORD(info.dwProductVersionLS)};
      break;
    }
  }
  ::FreeLibrary(module);
  return version;
}

}  // namespace pravik::win32
