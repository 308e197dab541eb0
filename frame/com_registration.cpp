// The component registration data of the module and its registry entries.
#include "frame/com_registration.h"

#include <filesystem>

#include "frame/module_entry_folder.h"
#include "platform/acad/command_line.h"
#include "platform/core/file_paths.h"
#include "platform/core/text_file.h"
#include "platform/win/registry.h"

namespace krv::frame {
namespace {

constexpr const wchar_t* kTypeLibraryVersion = L"1.1";
constexpr const wchar_t* kTypeLibraryTitle = L"Vantorel 1.0 Type Library";
// The standard proxy and stub of automation-compatible interfaces.
constexpr const wchar_t* kAutomationMarshaller = L"{00020424-0000-0000-C000-000000000046}";

// Creates or opens `path` under HKEY_CLASSES_ROOT with full access and sets
// its default value to `value`.
bool setDefaultValue(const std::wstring& path, const std::wstring& value) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
    return false;
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  const LSTATUS status =
      RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

// Removes the key tree `path` under HKEY_CLASSES_ROOT. A missing parent
// means there is nothing to remove; what the deletion itself reports is
// not looked at.
bool removeKeyTree(const std::wstring& path) {
  const auto cut = path.rfind(L'\\');
  const std::wstring parent = cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
  const std::wstring child = cut == std::wstring::npos ? path : path.substr(cut + 1);
  HKEY key = nullptr;
  const LSTATUS status = RegOpenKeyExW(HKEY_CLASSES_ROOT, parent.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (status == ERROR_FILE_NOT_FOUND) return true;
  if (status != ERROR_SUCCESS) return false;
  SHDeleteKeyW(key, child.c_str());
  RegCloseKey(key);
  return true;
}

std::wstring twoHexDigits(const std::wstring& text, size_t at) {
  return L"0x" + text.substr(at, 2);
}

}  // namespace

const GUID& comTypeLibrary() {
  static const GUID lib{
      0x76EF0D49, 0xDD1E, 0x4714, {0xB6, 0xB9, 0xE4, 0x5E, 0xDE, 0x3C, 0x81, 0xDA}};
  return lib;
}

const std::vector<ComComponent>& comClasses() {
  static const std::vector<ComComponent> classes{
      {L"Bolt", {0x2CE559DB, 0x0008, 0x4AA7, {0x8E, 0x1D, 0x7D, 0xCE, 0xBA, 0xB7, 0xD2, 0xC4}}},
      {L"Prof", {0xC56B631B, 0x22FB, 0x4142, {0xAD, 0x73, 0x37, 0xAD, 0x2C, 0xB5, 0xD1, 0x8D}}},
      {L"Struct", {0x0131C632, 0xD769, 0x4F66, {0xB4, 0x55, 0xEB, 0x87, 0x52, 0x2A, 0xB6, 0xEE}}},
      {L"Plate", {0x4D3619EC, 0x7068, 0x4AF0, {0xB5, 0xA9, 0xA9, 0x82, 0xCE, 0x74, 0x76, 0x99}}},
      {L"DynProp", {0xE6078CBB, 0xF82E, 0x49B3, {0x80, 0x62, 0xFA, 0x05, 0x62, 0xC9, 0xB5, 0x6A}}},
      {L"FuncPage", {0x5448D9C0, 0xBCC5, 0x47E5, {0x94, 0x9E, 0x53, 0x35, 0x9B, 0x22, 0xC3, 0x65}}},
      {L"FuncPage2",
       {0xADFA2B87, 0xCB99, 0x4F72, {0xBE, 0x37, 0x2F, 0x8B, 0x81, 0x2F, 0x24, 0x44}}},
      {L"FuncPage3",
       {0x6755AD00, 0x0490, 0x45E1, {0x88, 0xEC, 0x30, 0x0F, 0x82, 0x4C, 0x3E, 0xF4}}},
      {L"ZoomPage", {0x5779C6DE, 0x5F8C, 0x4CFC, {0xA9, 0xB5, 0x1E, 0x1B, 0x72, 0x0E, 0xA9, 0xE3}}},
      {L"Macro", {0x034405EA, 0x388A, 0x485D, {0xB7, 0x32, 0x22, 0x54, 0xC4, 0x23, 0xAA, 0x14}}},
      {L"Array", {0x2346B38A, 0x6B19, 0x4B31, {0x8C, 0x34, 0x64, 0xA0, 0x46, 0xC4, 0x2C, 0x7E}}},
      {L"Coordsys", {0x3579BCA1, 0x6F5E, 0x466A, {0x95, 0x0F, 0xB3, 0x37, 0x9E, 0x3F, 0x62, 0x32}}},
      {L"Pattern", {0x9C8CE529, 0xEFD9, 0x44FB, {0xBF, 0x3C, 0x5A, 0x35, 0xE2, 0xEA, 0x37, 0x9A}}},
      {L"Helix", {0xB5F8E867, 0x6A5F, 0x46EA, {0xBC, 0xBF, 0xFF, 0xED, 0xA9, 0x58, 0x1A, 0xA3}}},
      {L"PerInstanceFactory",
       {0xBDC04F4A, 0x53D8, 0x4F8A, {0x94, 0x32, 0xE9, 0x2C, 0x73, 0x7C, 0xF5, 0x9F}}},
      {L"PerInstanceProperty",
       {0x5A7062A1, 0x444D, 0x49E9, {0xB2, 0x1B, 0xF7, 0x8C, 0x83, 0xB3, 0x8C, 0xA6}}},
      {L"BoltPerInstanceProperty",
       {0x97FB673D, 0x488E, 0x458C, {0xA1, 0xBA, 0x2B, 0x8F, 0xB3, 0xFF, 0xE2, 0xF0}}},
      {L"BodyPerInstanceProperty",
       {0xA0387E2F, 0x6753, 0x4A2A, {0x99, 0x63, 0xAD, 0xF7, 0x8B, 0x87, 0xDE, 0x3F}}},
      {L"OPMBody", {0x99322C59, 0x46B7, 0x47EB, {0xAA, 0xC6, 0xE2, 0x72, 0x14, 0x9A, 0x76, 0x52}}},
  };
  return classes;
}

const std::vector<ComComponent>& comInterfaces() {
  static const std::vector<ComComponent> interfaces{
      {L"IBolt", {0x5037D355, 0xE825, 0x46B1, {0x87, 0xDC, 0x44, 0x63, 0x18, 0xA1, 0x28, 0xDE}}},
      {L"IProf", {0x85E635CB, 0x2E4C, 0x4AD5, {0xBE, 0xAB, 0x72, 0x44, 0x5E, 0xEC, 0x8F, 0xA3}}},
      {L"IStruct", {0x00A67179, 0xE292, 0x43EA, {0x84, 0x52, 0xDA, 0xB5, 0xFF, 0x5A, 0xB5, 0xE1}}},
      {L"IPlate", {0xC4966C0B, 0xF4E2, 0x41ED, {0xB2, 0x54, 0x47, 0x6B, 0x05, 0x13, 0x1D, 0x82}}},
      {L"IMacro", {0x72A8E655, 0x612A, 0x4144, {0x89, 0xEE, 0xB9, 0x2A, 0x74, 0xB2, 0x30, 0x1E}}},
      {L"IArray", {0x8473328D, 0x4227, 0x4946, {0xB5, 0x80, 0x96, 0xFC, 0x40, 0x8C, 0xF3, 0x7D}}},
      {L"ICoordsys",
       {0x65221253, 0x3577, 0x4296, {0x89, 0x9F, 0xA8, 0xA3, 0x66, 0xA1, 0xC4, 0x33}}},
      {L"IPattern", {0x7F98A815, 0x0BA8, 0x491C, {0x8B, 0xF5, 0x73, 0x89, 0x75, 0x3F, 0x24, 0xA1}}},
      {L"IHelix", {0xB1E30D13, 0x48A7, 0x420B, {0x8C, 0x8C, 0x7B, 0xD9, 0x81, 0x7C, 0x1F, 0x29}}},
      {L"IPerInstanceFactory",
       {0x213B4068, 0xBC70, 0x4C41, {0xBA, 0xB8, 0xC2, 0x55, 0x2B, 0x28, 0x21, 0xD3}}},
      {L"IPerInstanceProperty",
       {0xC6393D65, 0xE336, 0x4D13, {0xBB, 0xAA, 0x0C, 0xA6, 0xAE, 0x04, 0xDB, 0x9C}}},
      {L"IBoltPerInstanceProperty",
       {0xF98CA018, 0xE287, 0x42B0, {0x9B, 0xF0, 0x82, 0x87, 0x40, 0xEC, 0x36, 0x80}}},
      {L"IBodyPerInstanceProperty",
       {0x0B0545FE, 0xBD42, 0x4849, {0x86, 0xC0, 0x9D, 0xFF, 0x1F, 0x1B, 0x86, 0xB3}}},
      {L"IOPMBody", {0xFD056682, 0x2994, 0x42D1, {0x94, 0x95, 0xB4, 0x50, 0xA4, 0x02, 0xCE, 0xF2}}},
  };
  return interfaces;
}

bool comGuidText(const GUID& guid, std::wstring& text) {
  LPOLESTR buffer = nullptr;
  if (StringFromCLSID(guid, &buffer) != S_OK || !buffer) {
    if (buffer) CoTaskMemFree(buffer);
    return false;
  }
  text = buffer;
  CoTaskMemFree(buffer);
  return true;
}

std::wstring guidInitializerText(const std::wstring& guidText) {
  std::wstring text = guidText;
  if (!text.empty() && text.front() == L'{') text.erase(0, 1);
  if (!text.empty() && text.back() == L'}') text.pop_back();
  std::vector<std::wstring> groups;
  size_t start = 0;
  for (;;) {
    const auto dash = text.find(L'-', start);
    groups.push_back(
        text.substr(start, dash == std::wstring::npos ? std::wstring::npos : dash - start));
    if (dash == std::wstring::npos) break;
    start = dash + 1;
  }
  if (groups.size() != 5 || groups[3].size() < 4 || groups[4].size() < 12) return {};
  std::wstring out = L"{0x" + groups[0] + L",0x" + groups[1] + L",0x" + groups[2] + L",{";
  out += twoHexDigits(groups[3], 0) + L"," + twoHexDigits(groups[3], 2);
  for (size_t i = 0; i < 12; i += 2) out += L"," + twoHexDigits(groups[4], i);
  out += L"}}";
  return out;
}

Krv_StringArray registryIdLines() {
  Krv_StringArray lines;
  std::wstring text;
  if (comGuidText(comTypeLibrary(), text)) lines.append(Krv_String(L"TypeLib_=" + text));
  for (const auto& c : comClasses())
    if (comGuidText(c.id, text))
      lines.append(Krv_String(L"Class_" + std::wstring(c.name) + L"=" + text));
  for (const auto& i : comInterfaces())
    if (comGuidText(i.id, text))
      lines.append(Krv_String(L"Interface_" + std::wstring(i.name) + L"=" + text));
  return lines;
}

}  // namespace krv::frame

Acad::ErrorStatus SSregisterOpmCLSIDs() {
  using namespace krv;
  using namespace krv::frame;
  const std::filesystem::path folder = moduleFolder();
  const std::filesystem::path server = folder / kComServerFileName;
  std::error_code ec;
  if (folder.empty() || !std::filesystem::is_regular_file(server, ec)) return Acad::eInvalidInput;
  const std::wstring serverPath = server.wstring();

  bool ok = true;
  std::wstring lib;
  if (comGuidText(comTypeLibrary(), lib)) {
    const std::wstring version = L"TypeLib\\" + lib + L"\\" + kTypeLibraryVersion;
    ok &= setDefaultValue(version, kTypeLibraryTitle);
    ok &= setDefaultValue(version + L"\\0\\win32", serverPath);
    ok &= setDefaultValue(version + L"\\9\\win32", serverPath);
  } else {
    ok = false;
  }
  for (const auto& c : comClasses()) {
    std::wstring id;
    if (!comGuidText(c.id, id)) {
      ok = false;
      continue;
    }
    const std::wstring key = L"CLSID\\" + id;
    ok &= setDefaultValue(key, std::wstring(c.name) + L" Class");
    ok &= setDefaultValue(key + L"\\InProcServer32", serverPath);
    ok &= setDefaultValue(key + L"\\Typelib", lib);
  }
  for (const auto& i : comInterfaces()) {
    std::wstring id;
    if (!comGuidText(i.id, id)) {
      ok = false;
      continue;
    }
    const std::wstring key = L"Interface\\" + id;
    ok &= setDefaultValue(key, std::wstring(i.name) + L" Interface");
    ok &= setDefaultValue(key + L"\\TypeLib", lib);
    ok &= setDefaultValue(key + L"\\ProxyStubClsid32", kAutomationMarshaller);
  }
  return ok ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus SScleanupComRegistry() {
  using namespace krv;
  using namespace krv::frame;
  bool ok = true;
  std::wstring id;
  if (comGuidText(comTypeLibrary(), id))
    ok &= removeKeyTree(L"TypeLib\\" + id);
  else
    ok = false;
  for (const auto& c : comClasses()) {
    if (comGuidText(c.id, id))
      ok &= removeKeyTree(L"CLSID\\" + id);
    else
      ok = false;
  }
  for (const auto& i : comInterfaces()) {
    if (comGuidText(i.id, id))
      ok &= removeKeyTree(L"Interface\\" + id);
    else
      ok = false;
  }
  return ok ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus SSprintCLSIDs() {
  using namespace krv;
  using namespace krv::frame;
  for (const auto& c : comClasses()) {
    std::wstring id;
    if (!comGuidText(c.id, id)) continue;
    const std::wstring initializer = guidInitializerText(id);
    if (initializer.empty()) continue;
    acutPrintf(L"\nconst cCLSID CLSID_%s = %s;", c.name, initializer.c_str());
  }
  const std::filesystem::path file = moduleFolder() / kRegistryIdsFileName;
  if (!ObjectExportWriteFile(krv::core::fromOsPath(file), registryIdLines()))
    acutPrintf(L"\nCould not write %s.", krv::core::fromOsPath(file).c_str());
  return Acad::eOk;
}
