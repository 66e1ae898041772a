// Build step: rewrites widl's type library of the control through the platform's type-library
// creation interfaces, adding the text defaults of by-reference text parameters, which widl
// refuses to store ("string default value applied to non-string type"). Everything else is
// copied unchanged, and the result is read back and compared with widl's library member by
// member: same ids, same vtable offsets, same parameter types, so a client compiled against
// either sees one layout.
//   typelib_writer WIDL.tlb INTERFACE.idl OUT.tlb win32|win64
// The defaults come from the IDL itself: each `defaultvalue("text")] BSTR* name` there (the copy
// given to widl has them removed).
#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "win32/com_ptr.h"

namespace pravik::controllib::typelib_writer {
namespace {

using win32::ComPtr;

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

void Check(HRESULT hr, const std::string& what) {
  if (FAILED(hr)) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    throw Failure(what + " failed: " + code);
  }
}

// A BSTR owned for the length of a scope.
struct Text {
  BSTR b = nullptr;
  Text() = default;
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text() { ::SysFreeString(b); }
  [[nodiscard]] std::wstring str() const { return b ? std::wstring(b, ::SysStringLen(b)) : std::wstring(); }
  [[nodiscard]] LPOLESTR ole() const { return b ? b : const_cast<LPOLESTR>(L""); }
};

// The key of a parameter: "method.parameter".
using Defaults = std::map<std::wstring, std::wstring>;

Defaults ReadTextDefaults(const std::filesystem::path& idl) {
  std::ifstream in(idl, std::ios::binary);
  if (!in) throw Failure("cannot read " + idl.string());
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::regex method(R"(HRESULT\s+(\w+)\s*\()");
  const std::regex textDefault(R"re(defaultvalue\("([^"\\]*)"\)\s*\]\s*BSTR\s*\*\s*(\w+))re");
  std::map<std::ptrdiff_t, std::string> methods;  // where each declaration starts
  for (auto it = std::sregex_iterator(text.begin(), text.end(), method); it != std::sregex_iterator(); ++it)
    methods[it->position()] = (*it)[1];
  Defaults defaults;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), textDefault); it != std::sregex_iterator(); ++it) {
    auto owner = methods.upper_bound(it->position());
    if (owner == methods.begin()) throw Failure("a text default outside a method: " + (*it)[2].str());
    --owner;
    const std::string key = owner->second + "." + (*it)[2].str();
    const std::string value = (*it)[1];
    defaults[std::wstring(key.begin(), key.end())] = std::wstring(value.begin(), value.end());
  }
  return defaults;
}

struct FuncDescHolder {
  ITypeInfo* info;
  FUNCDESC* desc = nullptr;
  FuncDescHolder(ITypeInfo* i, UINT index) : info(i) { Check(i->GetFuncDesc(index, &desc), "GetFuncDesc"); }
  FuncDescHolder(const FuncDescHolder&) = delete;
  FuncDescHolder& operator=(const FuncDescHolder&) = delete;
  ~FuncDescHolder() { info->ReleaseFuncDesc(desc); }
};

struct TypeAttrHolder {
  ITypeInfo* info;
  TYPEATTR* attr = nullptr;
  explicit TypeAttrHolder(ITypeInfo* i) : info(i) { Check(i->GetTypeAttr(&attr), "GetTypeAttr"); }
  TypeAttrHolder(const TypeAttrHolder&) = delete;
  TypeAttrHolder& operator=(const TypeAttrHolder&) = delete;
  ~TypeAttrHolder() { info->ReleaseTypeAttr(attr); }
};

std::wstring NameOf(ITypeInfo* info, MEMBERID id) {
  Text name;
  Check(info->GetDocumentation(id, &name.b, nullptr, nullptr, nullptr), "GetDocumentation");
  return name.str();
}

// A dual interface is listed by its dispatch side; its functions live on the interface side.
ComPtr<ITypeInfo> InterfaceSide(ITypeInfo* info) {
  TypeAttrHolder attr(info);
  if (attr.attr->typekind != TKIND_DISPATCH || !(attr.attr->wTypeFlags & TYPEFLAG_FDUAL))
    return ComPtr<ITypeInfo>::Share(info);
  HREFTYPE ref = 0;
  Check(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref), "GetRefTypeOfImplType(-1)");
  ComPtr<ITypeInfo> side;
  Check(info->GetRefTypeInfo(ref, side.put()), "GetRefTypeInfo");
  return side;
}

class Copier {
 public:
  Copier(ITypeLib* source, ICreateTypeLib2* target, SYSKIND kind, const Defaults& defaults)
      : source_(source), target_(target), pointerSize_(kind == SYS_WIN64 ? 8 : 4), defaults_(defaults) {}

  void Run() {
    CopyLibrary();
    const UINT count = source_->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
      ComPtr<ITypeInfo> listed;
      Check(source_->GetTypeInfo(i, listed.put()), "GetTypeInfo");
      ComPtr<ITypeInfo> info = InterfaceSide(listed.get());
      TypeAttrHolder attr(info.get());
      Text name;
      Check(source_->GetDocumentation(static_cast<INT>(i), &name.b, nullptr, nullptr, nullptr), "GetDocumentation");
      ComPtr<ICreateTypeInfo> made;
      Check(target_->CreateTypeInfo(name.ole(), attr.attr->typekind, made.put()), "CreateTypeInfo " + Narrow(name.str()));
      made_.push_back(made);
      sources_.push_back(info);
    }
    for (UINT i = 0; i < count; ++i) CopyType(i);
    for (auto& made : made_) Check(made->LayOut(), "LayOut");
    Check(target_->SaveAllChanges(), "SaveAllChanges");
  }

  [[nodiscard]] size_t applied() const noexcept { return applied_; }

 private:
  void CopyLibrary() {
    TLIBATTR* attr = nullptr;
    Check(source_->GetLibAttr(&attr), "GetLibAttr");
    const TLIBATTR copy = *attr;
    source_->ReleaseTLibAttr(attr);
    Text name, doc;
    Check(source_->GetDocumentation(-1, &name.b, &doc.b, nullptr, nullptr), "GetDocumentation(library)");
    Check(target_->SetName(name.ole()), "SetName");
    Check(target_->SetGuid(copy.guid), "SetGuid");
    Check(target_->SetLcid(copy.lcid), "SetLcid");
    Check(target_->SetVersion(copy.wMajorVerNum, copy.wMinorVerNum), "SetVersion");
    Check(target_->SetLibFlags(copy.wLibFlags), "SetLibFlags");
    if (doc.b) Check(target_->SetDocString(doc.ole()), "SetDocString");
  }

  // A reference of the source library, as the target library knows it: our own types map to
  // their copies, imported ones (stdole2's IDispatch, IPictureDisp) are referenced as they are.
  HREFTYPE MapRef(ITypeInfo* from, HREFTYPE ref, ICreateTypeInfo* into) {
    ComPtr<ITypeInfo> referenced;
    Check(from->GetRefTypeInfo(ref, referenced.put()), "GetRefTypeInfo");
    ComPtr<ITypeLib> home;
    UINT index = 0;
    Check(referenced->GetContainingTypeLib(home.put(), &index), "GetContainingTypeLib");
    ComPtr<ITypeInfo> mapped = referenced;
    if (home.get() == source_) {
      Check(made_.at(index).As(mapped), "QueryInterface(ITypeInfo)");
    }
    HREFTYPE out = 0;
    Check(into->AddRefTypeInfo(mapped.get(), &out), "AddRefTypeInfo");
    return out;
  }

  // A deep copy of a type description, kept alive in arena_ until the type is laid out.
  TYPEDESC MapType(ITypeInfo* from, const TYPEDESC& t, ICreateTypeInfo* into) {
    TYPEDESC out = t;
    if (t.vt == VT_PTR || t.vt == VT_SAFEARRAY) {
      arena_.push_back(MapType(from, *t.lptdesc, into));
      out.lptdesc = &arena_.back();
    } else if (t.vt == VT_USERDEFINED) {
      out.hreftype = MapRef(from, t.hreftype, into);
    } else if (t.vt == VT_CARRAY) {
      throw Failure("fixed arrays are not copied");
    }
    return out;
  }

  void CopyType(UINT index) {
    ITypeInfo* from = sources_[index].get();
    ICreateTypeInfo* into = made_[index].get();
    TypeAttrHolder attr(from);
    Check(into->SetGuid(attr.attr->guid), "SetGuid");
    Check(into->SetVersion(attr.attr->wMajorVerNum, attr.attr->wMinorVerNum), "SetVersion");
    Text doc;
    Check(from->GetDocumentation(MEMBERID_NIL, nullptr, &doc.b, nullptr, nullptr), "GetDocumentation");
    if (doc.b) Check(into->SetDocString(doc.ole()), "SetDocString");
    for (UINT k = 0; k < attr.attr->cImplTypes; ++k) {
      HREFTYPE ref = 0;
      INT flags = 0;
      Check(from->GetRefTypeOfImplType(k, &ref), "GetRefTypeOfImplType");
      Check(into->AddImplType(k, MapRef(from, ref, into)), "AddImplType");
      // Only a class's implemented interfaces carry flags (default, source).
      if (attr.attr->typekind != TKIND_COCLASS) continue;
      Check(from->GetImplTypeFlags(k, &flags), "GetImplTypeFlags");
      Check(into->SetImplTypeFlags(k, flags), "SetImplTypeFlags");
    }
    // After the base interface: the dual flag is refused on an interface not yet derived from IDispatch.
    Check(into->SetTypeFlags(attr.attr->wTypeFlags), "SetTypeFlags");
    if (attr.attr->typekind == TKIND_ALIAS) {
      TYPEDESC alias = MapType(from, attr.attr->tdescAlias, into);
      Check(into->SetTypeDescAlias(&alias), "SetTypeDescAlias");
    }
    for (UINT k = 0; k < attr.attr->cFuncs; ++k) CopyFunction(from, into, k);
    for (UINT k = 0; k < attr.attr->cVars; ++k) {
      VARDESC* var = nullptr;
      Check(from->GetVarDesc(k, &var), "GetVarDesc");
      VARDESC copy = *var;
      copy.elemdescVar.tdesc = MapType(from, var->elemdescVar.tdesc, into);
      const HRESULT hr = into->AddVarDesc(k, &copy);
      const std::wstring name = NameOf(from, var->memid);
      from->ReleaseVarDesc(var);
      Check(hr, "AddVarDesc");
      Check(into->SetVarName(k, const_cast<LPOLESTR>(name.c_str())), "SetVarName");
    }
  }

  void CopyFunction(ITypeInfo* from, ICreateTypeInfo* into, UINT k) {
    FuncDescHolder f(from, k);
    FUNCDESC copy = *f.desc;
    // oleaut32 reports offsets in this process's pointer size; the writer keeps what it is given,
    // so a 32-bit library gets them in 32-bit slots.
    copy.oVft = static_cast<SHORT>(f.desc->oVft / static_cast<SHORT>(sizeof(void*)) * pointerSize_);
    std::vector<ELEMDESC> params(f.desc->lprgelemdescParam, f.desc->lprgelemdescParam + f.desc->cParams);
    copy.lprgelemdescParam = params.empty() ? nullptr : params.data();
    copy.elemdescFunc.tdesc = MapType(from, f.desc->elemdescFunc.tdesc, into);

    std::vector<BSTR> names(static_cast<size_t>(f.desc->cParams) + 1, nullptr);
    UINT got = 0;
    Check(from->GetNames(f.desc->memid, names.data(), static_cast<UINT>(names.size()), &got), "GetNames");
    std::vector<Text> owned(names.size());
    for (size_t n = 0; n < names.size(); ++n) owned[n].b = names[n];
    if (got != names.size()) throw Failure("a parameter without a name in " + Narrow(owned[0].str()));

    std::deque<PARAMDESCEX> extra;
    std::deque<Text> defaultTexts;
    for (size_t p = 0; p < params.size(); ++p) {
      params[p].tdesc = MapType(from, f.desc->lprgelemdescParam[p].tdesc, into);
      const auto found = defaults_.find(owned[0].str() + L"." + owned[p + 1].str());
      if (found == defaults_.end()) continue;
      const TYPEDESC& t = params[p].tdesc;
      if (t.vt != VT_PTR || t.lptdesc->vt != VT_BSTR)
        throw Failure("a text default on a parameter that is not a text reference: " + Narrow(found->first));
      Text& value = defaultTexts.emplace_back();
      value.b = ::SysAllocString(found->second.c_str());
      PARAMDESCEX& ex = extra.emplace_back();
      ex.cBytes = sizeof(PARAMDESCEX);
      ex.varDefaultValue.vt = VT_BSTR;
      ex.varDefaultValue.bstrVal = value.b;  // owned by defaultTexts
      params[p].paramdesc.pparamdescex = &ex;
      params[p].paramdesc.wParamFlags |= PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT;
      ++applied_;
    }
    Check(into->AddFuncDesc(k, &copy), "AddFuncDesc " + Narrow(owned[0].str()));
    Check(into->SetFuncAndParamNames(k, names.data(), got), "SetFuncAndParamNames");
    Text doc;
    Check(from->GetDocumentation(f.desc->memid, nullptr, &doc.b, nullptr, nullptr), "GetDocumentation");
    if (doc.b) Check(into->SetFuncDocString(k, doc.ole()), "SetFuncDocString");
  }

  ITypeLib* source_;
  ICreateTypeLib2* target_;
  SHORT pointerSize_;
  const Defaults& defaults_;
  std::vector<ComPtr<ICreateTypeInfo>> made_;
  std::vector<ComPtr<ITypeInfo>> sources_;
  std::deque<TYPEDESC> arena_;
  size_t applied_ = 0;
};

std::vector<char> ReadFile(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  if (!in) throw Failure("cannot read " + Narrow(path));
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Where the table of types starts in a library file, and how many entries it has. The file
// begins with 21 32-bit fields (one more when a help DLL is named), then one offset per type,
// then the segment directory, whose first entry (offset, length) is the type table.
struct TypeTable {
  size_t offset = 0;
  size_t count = 0;
};
constexpr size_t kTypeEntrySize = 0x64;
constexpr size_t kVtableSizeField = 0x4E;  // 16 bits in each type entry

uint32_t Field(const std::vector<char>& file, size_t at) {
  if (at + 4 > file.size()) throw Failure("a type library file is cut short");
  uint32_t value = 0;
  std::memcpy(&value, file.data() + at, 4);
  return value;
}

TypeTable FindTypeTable(const std::vector<char>& file) {
  if (Field(file, 0) != 0x5446534D) throw Failure("not a type library file");  // "MSFT"
  TypeTable table;
  table.count = Field(file, 0x20);
  const size_t directory = 0x54 + ((Field(file, 0x14) & 0x100) ? 4 : 0) + 4 * table.count;
  table.offset = Field(file, directory);
  if (Field(file, directory + 4) != table.count * kTypeEntrySize ||
      table.offset + table.count * kTypeEntrySize > file.size())
    throw Failure("the type table of a library file is not where expected");
  return table;
}

// The writer sizes each type's vtable in this process's pointer size whatever the target is,
// and counts the dispatch methods into a dispinterface that declares none; readers derive a
// dual interface's dispatch side from that size. widl's sizes are right for its target, so
// each type takes widl's size (the types are in the same order in both files).
void TakeVtableSizes(const std::wstring& widlPath, const std::wstring& writtenPath) {
  const std::vector<char> widl = ReadFile(widlPath);
  std::vector<char> written = ReadFile(writtenPath);
  const TypeTable from = FindTypeTable(widl), into = FindTypeTable(written);
  if (from.count != into.count) throw Failure("the number of types differs from widl's");
  for (size_t i = 0; i < from.count; ++i)
    std::memcpy(written.data() + into.offset + i * kTypeEntrySize + kVtableSizeField,
                widl.data() + from.offset + i * kTypeEntrySize + kVtableSizeField, 2);
  std::ofstream out(std::filesystem::path(writtenPath), std::ios::binary | std::ios::trunc);
  out.write(written.data(), static_cast<std::streamsize>(written.size()));
  if (!out) throw Failure("cannot write " + Narrow(writtenPath));
}

std::wstring TypeChain(const TYPEDESC& t) {
  std::wstring out = std::to_wstring(t.vt);
  if ((t.vt == VT_PTR || t.vt == VT_SAFEARRAY) && t.lptdesc) out += L">" + TypeChain(*t.lptdesc);
  return out;
}

std::string Summary(const TYPEATTR* t) {
  std::ostringstream out;
  out << "kind " << t->typekind << ", flags 0x" << std::hex << t->wTypeFlags << std::dec << ", " << t->cFuncs
      << " functions, " << t->cVars << " variables, " << t->cImplTypes << " bases, vtable " << t->cbSizeVft;
  return out.str();
}

// Compares one written type with widl's: everything a caller binds to must be the same, and a
// parameter may differ only by the text default this tool added.
void CompareType(ITypeInfo* widl, ITypeInfo* written, const Defaults& defaults, size_t* defaultsSeen) {
  TypeAttrHolder a(widl), b(written);
  const std::string type = Narrow(NameOf(widl, MEMBERID_NIL));
  if (!IsEqualGUID(a.attr->guid, b.attr->guid) || a.attr->typekind != b.attr->typekind ||
      a.attr->wTypeFlags != b.attr->wTypeFlags || a.attr->cFuncs != b.attr->cFuncs ||
      a.attr->cVars != b.attr->cVars || a.attr->cImplTypes != b.attr->cImplTypes ||
      a.attr->cbSizeVft != b.attr->cbSizeVft)
    throw Failure("type " + type + " differs from widl's: " + Summary(a.attr) + " against " + Summary(b.attr));
  for (UINT k = 0; k < a.attr->cFuncs; ++k) {
    FuncDescHolder x(widl, k), y(written, k);
    const std::wstring method = NameOf(widl, x.desc->memid);
    const std::string where = type + "." + Narrow(method);
    if (x.desc->memid != y.desc->memid || x.desc->oVft != y.desc->oVft || x.desc->cParams != y.desc->cParams ||
        x.desc->cParamsOpt != y.desc->cParamsOpt || x.desc->funckind != y.desc->funckind ||
        x.desc->invkind != y.desc->invkind || x.desc->callconv != y.desc->callconv ||
        NameOf(written, y.desc->memid) != method ||
        TypeChain(x.desc->elemdescFunc.tdesc) != TypeChain(y.desc->elemdescFunc.tdesc))
      throw Failure(where + ": id, vtable offset or signature differs from widl's");
    std::vector<BSTR> names(static_cast<size_t>(x.desc->cParams) + 1, nullptr);
    UINT got = 0;
    Check(widl->GetNames(x.desc->memid, names.data(), static_cast<UINT>(names.size()), &got), "GetNames");
    std::vector<Text> owned(names.size());
    for (size_t n = 0; n < names.size(); ++n) owned[n].b = names[n];
    for (SHORT p = 0; p < x.desc->cParams; ++p) {
      const ELEMDESC& pa = x.desc->lprgelemdescParam[p];
      const ELEMDESC& pb = y.desc->lprgelemdescParam[p];
      if (TypeChain(pa.tdesc) != TypeChain(pb.tdesc)) throw Failure(where + ": a parameter type differs");
      USHORT expected = pa.paramdesc.wParamFlags;
      const auto found = defaults.find(method + L"." + owned[static_cast<size_t>(p) + 1].str());
      if (found != defaults.end()) {
        expected |= PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT;
        const PARAMDESCEX* ex = pb.paramdesc.pparamdescex;
        if (!ex || ex->varDefaultValue.vt != VT_BSTR ||
            std::wstring(ex->varDefaultValue.bstrVal, ::SysStringLen(ex->varDefaultValue.bstrVal)) != found->second)
          throw Failure(where + ": the text default was not stored");
        ++*defaultsSeen;
      } else if (expected & PARAMFLAG_FHASDEFAULT) {
        const PARAMDESCEX* ea = pa.paramdesc.pparamdescex;
        const PARAMDESCEX* eb = pb.paramdesc.pparamdescex;
        if (!ea || !eb || ea->varDefaultValue.vt != eb->varDefaultValue.vt ||
            ::VarCmp(const_cast<VARIANT*>(&ea->varDefaultValue), const_cast<VARIANT*>(&eb->varDefaultValue),
                     LOCALE_INVARIANT, 0) != VARCMP_EQ)
          throw Failure(where + ": a default value differs from widl's");
      }
      if (pb.paramdesc.wParamFlags != expected) throw Failure(where + ": parameter flags differ");
    }
  }
}

void Verify(const std::wstring& widlPath, const std::wstring& writtenPath, SYSKIND kind, const Defaults& defaults) {
  ComPtr<ITypeLib> widl, written;
  Check(::LoadTypeLibEx(widlPath.c_str(), REGKIND_NONE, widl.put()), "LoadTypeLibEx(widl's library)");
  Check(::LoadTypeLibEx(writtenPath.c_str(), REGKIND_NONE, written.put()), "LoadTypeLibEx(written library)");
  TLIBATTR* attr = nullptr;
  Check(written->GetLibAttr(&attr), "GetLibAttr");
  const bool rightKind = attr->syskind == kind;
  written->ReleaseTLibAttr(attr);
  if (!rightKind) throw Failure("the written library has the wrong system kind");
  const UINT count = widl->GetTypeInfoCount();
  if (written->GetTypeInfoCount() != count) throw Failure("the number of types differs");
  size_t seen = 0;
  const UINT pointerSize = kind == SYS_WIN64 ? 8 : 4;
  for (UINT i = 0; i < count; ++i) {
    ComPtr<ITypeInfo> a, b;
    Check(widl->GetTypeInfo(i, a.put()), "GetTypeInfo");
    Check(written->GetTypeInfo(i, b.put()), "GetTypeInfo");
    // Both sides of a dual interface: the dispatch side is what late-bound callers read.
    CompareType(a.get(), b.get(), defaults, &seen);
    ComPtr<ITypeInfo> ia = InterfaceSide(a.get()), ib = InterfaceSide(b.get());
    if (ia.get() == a.get()) continue;
    CompareType(ia.get(), ib.get(), defaults, &seen);
    // Every slot of the dual interface, the inherited ones included, in the target's pointer size.
    TypeAttrHolder dispatchSide(b.get()), interfaceSide(ib.get());
    if (interfaceSide.attr->cbSizeVft != dispatchSide.attr->cFuncs * pointerSize)
      throw Failure("the vtable of a dual interface is not laid out in the target's pointer size");
  }
  if (seen < defaults.size()) throw Failure("not every text default of the IDL reached the library");
}

int Run(int argc, wchar_t** argv) {
  if (argc != 5 || (std::wstring(argv[4]) != L"win32" && std::wstring(argv[4]) != L"win64")) {
    std::fprintf(stderr, "usage: typelib_writer WIDL.tlb INTERFACE.idl OUT.tlb win32|win64\n");
    return 2;
  }
  const std::wstring widlPath = argv[1], outPath = argv[3];
  const SYSKIND kind = std::wstring(argv[4]) == L"win64" ? SYS_WIN64 : SYS_WIN32;
  const Defaults defaults = ReadTextDefaults(std::filesystem::path(argv[2]));
  if (defaults.empty()) throw Failure("no text defaults found in the IDL");
  ComPtr<ITypeLib> source;
  Check(::LoadTypeLibEx(widlPath.c_str(), REGKIND_NONE, source.put()), "LoadTypeLibEx(widl's library)");
  ::DeleteFileW(outPath.c_str());
  ComPtr<ICreateTypeLib2> target;
  Check(::CreateTypeLib2(kind, outPath.c_str(), target.put()), "CreateTypeLib2");
  Copier copier(source.get(), target.get(), kind, defaults);
  copier.Run();
  if (copier.applied() != defaults.size()) throw Failure("a text default of the IDL names no parameter");
  target.reset();
  source.reset();
  TakeVtableSizes(widlPath, outPath);
  Verify(widlPath, outPath, kind, defaults);
  return 0;
}

}  // namespace
}  // namespace pravik::controllib::typelib_writer

int wmain(int argc, wchar_t** argv) {
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  int status = 1;
  try {
    status = pravik::controllib::typelib_writer::Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "typelib_writer: %s\n", e.what());
    if (argc > 3) ::DeleteFileW(argv[3]);  // no half-written library for the next build step
  }
  ::CoUninitialize();
  return status;
}
