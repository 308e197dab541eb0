// The document settings of a sheet, in its corner cell and in settings set files.
#include "spread/vt_ss_settings.h"

#include <algorithm>
#include <system_error>

#include "platform/core/code_page.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/sheet/ss_api.h"
#include "spread/krv_spread.h"

namespace {

void takeString(const VtSSPropertyList& list, const wchar_t* key, Krv_String& member) {
  list.getString(key, member);
}
void takeInt(const VtSSPropertyList& list, const wchar_t* key, int& member) {
  list.getInt(key, member);
}
void takeBool(const VtSSPropertyList& list, const wchar_t* key, bool& member) {
  int v = 0;
  if (list.getInt(key, v)) member = v != 0;
}
// The variables "key0", "key1", ... up to the first missing index.
Krv_StringArray takeIndexed(const VtSSPropertyList& list, const wchar_t* key) {
  Krv_StringArray out;
  for (int i = 0;; ++i) {
    Krv_String v;
    if (!list.getString(Krv_String(key) + Krv_String(std::to_wstring(i)), v)) break;
    out.append(v);
  }
  return out;
}

// A header or footer picture as an operating system path; a name without a
// folder is taken from the installation folder, where the settings sets are.
std::wstring pictureFile(const Krv_String& name) {
  if (name.isEmpty()) return {};
  std::filesystem::path p = krv::core::osPath(name);
  if (p.is_relative() && !Krv_Settings::krvDir().isEmpty())
    p = krv::core::osPath(Krv_Settings::krvDir()) / p;
  return p.wstring();
}

}  // namespace

VtSSSettings::VtSSSettings() { reset(); }

void VtSSSettings::reset() {
  mValid = false;
  mDefaultFont = L"Tahoma";
  mDefaultTextHeight = 13;
  mMarginLeft = 9;
  mMarginRight = 5;
  mMarginTop = 5;
  mMarginBottom = 5;
  mSmartPrint = mColors = mColHeader = mRowHeader = mCellSeparators = mBorder = true;
}

VtSSPropertyList VtSSSettings::toProperties() const {
  VtSSPropertyList list;
  list.setString(kHeaderFile, mHeaderFile);
  list.setString(kFooterFile, mFooterFile);
  list.setString(kDefaultFont, mDefaultFont);
  list.setInt(kDefaultTextHeight, mDefaultTextHeight);
  list.setInt(kMarginLeft, mMarginLeft);
  list.setInt(kMarginRight, mMarginRight);
  list.setInt(kMarginTop, mMarginTop);
  list.setInt(kMarginBottom, mMarginBottom);
  list.setInt(kSmartPrint, mSmartPrint ? 1 : 0);
  list.setInt(kColors, mColors ? 1 : 0);
  list.setInt(kColHeader, mColHeader ? 1 : 0);
  list.setInt(kRowHeader, mRowHeader ? 1 : 0);
  list.setInt(kCellSeparators, mCellSeparators ? 1 : 0);
  list.setInt(kBorder, mBorder ? 1 : 0);
  for (int i = 0; i < mVarNames.length(); ++i)
    list.setString(Krv_String(kVarNames) + Krv_String(std::to_wstring(i)), mVarNames[i]);
  for (int i = 0; i < mVarValues.length(); ++i)
    list.setString(Krv_String(kVarValues) + Krv_String(std::to_wstring(i)), mVarValues[i]);
  return list;
}

void VtSSSettings::takeProperties(const VtSSPropertyList& list) {
  takeString(list, kHeaderFile, mHeaderFile);
  takeString(list, kFooterFile, mFooterFile);
  takeString(list, kDefaultFont, mDefaultFont);
  takeInt(list, kDefaultTextHeight, mDefaultTextHeight);
  takeInt(list, kMarginLeft, mMarginLeft);
  takeInt(list, kMarginRight, mMarginRight);
  takeInt(list, kMarginTop, mMarginTop);
  takeInt(list, kMarginBottom, mMarginBottom);
  takeBool(list, kSmartPrint, mSmartPrint);
  takeBool(list, kColors, mColors);
  takeBool(list, kColHeader, mColHeader);
  takeBool(list, kRowHeader, mRowHeader);
  takeBool(list, kCellSeparators, mCellSeparators);
  takeBool(list, kBorder, mBorder);
  mVarNames = takeIndexed(list, kVarNames);
  mVarValues = takeIndexed(list, kVarValues);
}

void VtSSSettings::readFromSheet(Krv_Spread* sheet) {
  reset();
  if (!sheet) return;
  mSheetWindow = sheet->GetSafeHwnd();
  Krv_String tag;
  sheet->getCellString(0, 0, tag, Tag);
  VtSSPropertyList list;
  list.addFromWideText(tag);
  takeProperties(list);
  mValid = true;
}

bool VtSSSettings::writeToSheet(Krv_Spread* sheet) {
  mLastError.clear();
  if (!mValid || !sheet) return false;
  const VtSSPropertyList list = toProperties();
  if (krv::base::Status s = list.checkWritable(); !s) {
    mLastError = s.text();
    return false;
  }
  const Krv_String tag = list.toWideText();
  return SSSetCellTag(sheet->GetSafeHwnd(), 0, 0, tag.c_str()) != FALSE;
}

Krv_String VtSSSettings::settingsFileName(const Krv_String& name) {
  std::wstring folder = Krv_Settings::krvDir().str();
  std::replace(folder.begin(), folder.end(), L'/', L'\\');
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return Krv_String(folder) + name + kFileExtension;
}

Krv_StringArray VtSSSettings::settingsSetNames() {
  std::vector<Krv_String> names;
  const Krv_String folder = Krv_Settings::krvDir();
  std::error_code ec;
  if (!folder.isEmpty()) {
    for (const auto& entry : std::filesystem::directory_iterator(krv::core::osPath(folder), ec)) {
      const auto& p = entry.path();
      if (p.extension() == ".vtd" && entry.is_regular_file(ec)) names.push_back(p.stem().wstring());
    }
  }
  std::sort(names.begin(), names.end());
  Krv_StringArray out;
  for (const auto& n : names) out.append(n);
  return out;
}

bool VtSSSettings::load(const Krv_String& name) {
  reset();
  mValid = true;
  VtSSPropertyList list;
  if (!list.readFile(krv::core::osPath(settingsFileName(name)))) return false;
  takeProperties(list);
  return true;
}

bool VtSSSettings::save(const Krv_String& name) {
  mLastError.clear();
  if (!mValid) {
    mLastError = "the settings are not valid";
    return false;
  }
  krv::base::Status s = toProperties().writeFile(krv::core::osPath(settingsFileName(name)));
  if (!s) mLastError = s.text();
  return s.ok();
}

krv::sheet::PrintSettings VtSSSettings::printSettings() const {
  krv::sheet::PrintSettings p;
  p.headerFile = pictureFile(mHeaderFile);
  p.footerFile = pictureFile(mFooterFile);
  p.fontName = mDefaultFont.str();
  p.fontHeight = mDefaultTextHeight;
  p.marginLeft = mMarginLeft;
  p.marginRight = mMarginRight;
  p.marginTop = mMarginTop;
  p.marginBottom = mMarginBottom;
  p.smartPrint = mSmartPrint;
  p.colors = mColors;
  p.colHeader = mColHeader;
  p.rowHeader = mRowHeader;
  p.cellSeparators = mCellSeparators;
  p.border = mBorder;
  return p;
}
