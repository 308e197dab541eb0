#include "tools/design_loader.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cwchar>
#include <filesystem>
#include <system_error>

#include "platform/base/display_text.h"
#include "platform/core/c_number_text.h"
#include "platform/core/file_paths.h"
#include "platform/core/properties_list.h"
#include "platform/core/text_file.h"
#include "platform/core/text_functions.h"
#include "tools/shell_quote.h"

namespace krv::tools {

namespace {

using krv::base::Status;

const wchar_t* const kKeys[] = {L"type",         L"topLeftX", L"topLeftY", L"bottomRightX",
                                L"bottomRightY", L"contents", L"comboList"};

// The index of the control a key belongs to ("topLeftX12" gives 12); -1 for
// other keys. Written as the designer writes them: decimal, no leading zero.
int controlIndexOfKey(const Krv_String& name) {
  for (const wchar_t* prefix : kKeys) {
    const Krv_String p(prefix);
    if (!name.startsWith(p) || name.length() == p.length()) continue;
    if (name.length() - p.length() > 1 && name[p.length()] == L'0') return -1;
    long long index = 0;
    for (int i = p.length(); i < name.length(); ++i) {
      const wchar_t c = name[i];
      if (c < L'0' || c > L'9') return -1;
      index = index * 10 + (c - L'0');
      if (index > Krv_DlgDesignerData::kMaxControlsRead) return -1;
    }
    return static_cast<int>(index);
  }
  return -1;
}

bool isFile(const Krv_String& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(krv::core::osPath(path), ec);
}

// One line of a properties list ("i", "d" or "s", a tab, the name, a tab,
// the value) added to `list`; false when the line is no such property.
bool addPropertyLine(const Krv_String& line, Krv_PropertiesList& list) {
  Krv_StringArray f;
  splitStringAtSymbol(line, L'\t', f, false);
  if (f.length() != 3 || f[0].length() != 1) return false;
  const Krv_String name(krv::core::unescapeField(f[1].str()));
  switch (f[0][0]) {
    case L'i': {
      wchar_t* end = nullptr;
      const long long v = std::wcstoll(f[2].c_str(), &end, 10);
      if (!isNumber(f[2]) || !end || *end != L'\0' || v < INT_MIN || v > INT_MAX) return false;
      list.setProperty(name, static_cast<int>(v));
      return true;
    }
    case L'd': {
      double v = 0;
      if (!krv::core::parseDouble(f[2].utf8(), v)) return false;
      list.setProperty(name, v);
      return true;
    }
    case L's':
      list.setProperty(name, Krv_String(krv::core::unescapeField(f[2].str())));
      return true;
    default:
      return false;
  }
}

// The file as a properties list. When the list reader refuses a line, the
// lines that are properties are kept and each other one gives a warning.
krv::base::Result<Krv_PropertiesList> readList(const Krv_String& file,
                                               std::vector<std::string>& warnings) {
  Krv_PropertiesList list;
  const Status read = list.readFromFile(file);
  if (read) return list;
  Krv_StringArray lines;
  if (!ObjectExportReadFile(file, lines) || lines.isEmpty() ||
      lines[0] != Krv_String(L"Krv properties version 1"))
    return read;
  warnings.push_back("the designer and the macro dialog refuse this file (" + read.place() + ": " +
                     read.message() + "); shown is what its other lines hold");
  for (int i = 1; i < lines.length(); ++i)
    if (!lines[i].isEmpty() && !addPropertyLine(lines[i], list))
      warnings.push_back("line " + std::to_string(i + 1) + " is no property and is left out: " +
                         krv::base::displayText(lines[i].str(), 60));
  return list;
}

// A path text as the program prints paths: the system's spelling, quoted
// for a shell when needed.
std::string shownPath(const Krv_String& path) { return shellQuoted(krv::core::osPath(path)); }

std::string controlName(int index) { return "control " + std::to_string(index); }

// What is wrong with one loaded control.
void checkControl(const Krv_DlgDesignerData& data, const Krv_PropertiesList& list, int index,
                  bool hasImage, std::vector<std::string>& warnings) {
  std::string missing;
  for (const wchar_t* key : kKeys) {
    const Krv_String name = Krv_String(key) + Krv_String(index, 0);
    if (!list.hasProperty(name)) missing += (missing.empty() ? "" : ", ") + name.utf8();
  }
  if (!missing.empty()) warnings.push_back(controlName(index) + " lacks " + missing);
  const Krv_DesignerControl& c = *data.getControl(index);
  const int type = static_cast<int>(c.mType);
  if (type < 0 || type >= kDesignerControlTypeCount)
    warnings.push_back(controlName(index) + " has type " + std::to_string(type) +
                       ", which is no control type; it shows as a text");
  if (c.mBottomRightX <= c.mTopLeftX || c.mBottomRightY <= c.mTopLeftY)
    warnings.push_back(controlName(index) + " has no area (its right or bottom edge is not past" +
                       " its left or top edge)");
  else if (hasImage && (c.mTopLeftX < 0.0 || c.mTopLeftY < 0.0 || c.mBottomRightX > 1.0 ||
                        c.mBottomRightY > 1.0))
    warnings.push_back(controlName(index) + " reaches outside the picture");
  if (c.mResId == 0)
    warnings.push_back(controlName(index) + " gets no window: the identifiers " +
                       std::to_string(data.mFirstResId) + " to " + std::to_string(data.mLastResId) +
                       " are all taken");
  if (c.kind() == ckComboBox && c.mType != ctCutCombo && c.mType != ctTabListCombo &&
      !c.mComboList.isEmpty() && !isFile(c.comboItemFilePath()))
    warnings.push_back(controlName(index) + "'s item file " + shownPath(c.comboItemFilePath()) +
                       " does not exist; its list stays empty");
}

}  // namespace

krv::base::Result<DesignLoad> loadDesignForShow(const Krv_String& file, Krv_DlgDesignerData& data) {
  if (!isFile(file)) return Status::fileError(krv::core::osPath(file), "no such design file");
  DesignLoad out;
  out.file = file;
  auto list = readList(file, out.warnings);
  if (!list) return list.status();

  if (!Krv_DlgDesignerData::getNameFromFile(file, out.name)) {
    out.name = getFileName(file);
    removeExtension(out.name);
  }
  data.mName = out.name;
  data.mControls.removeAll();

  // The count as the designer reads it: "nrOfControls", bounded by the
  // controls the keys name and by kMaxControlsRead.
  int present = 0;
  for (int i = 0; i < list->length(); ++i)
    present = std::max(present, controlIndexOfKey(list->nameAt(i)) + 1);
  int stated = 0;
  const bool hasCount = list->getProperty(L"nrOfControls", stated);
  if (!hasCount)
    out.warnings.push_back("the file has no nrOfControls, so no control is loaded");
  else if (stated < 0)
    out.warnings.push_back("nrOfControls is " + std::to_string(stated) +
                           ", so no control is loaded");
  const int count = std::min(
      {std::max(stated, 0), present, static_cast<int>(Krv_DlgDesignerData::kMaxControlsRead)});
  if (hasCount && stated > present)
    out.warnings.push_back("nrOfControls is " + std::to_string(stated) +
                           " but the keys name only " + std::to_string(present) + " controls");
  if (present > count)
    out.warnings.push_back((present - count == 1 ? "the keys of control " + std::to_string(count)
                                                 : "the keys of controls " + std::to_string(count) +
                                                       " to " + std::to_string(present - 1)) +
                           " lie past the controls loaded (" + std::to_string(count) +
                           ") and are left out");

  for (int i = 0; i < count; ++i) {
    Krv_DesignerControl control;
    control.getFromPropList(*list, i);
    data.append(control);
  }

  out.bitmap = file;
  changeExtension(out.bitmap, L"bmp");
  out.bitmapExists = isFile(out.bitmap);
  out.bitmapLoaded = out.bitmapExists && data.attachBitmap(out.bitmap);
  if (!out.bitmapExists)
    out.warnings.push_back("there is no picture " + shownPath(out.bitmap) +
                           "; without its size every control lies at the top left corner");
  else if (!out.bitmapLoaded)
    out.warnings.push_back("the picture " + shownPath(out.bitmap) + " cannot be read as a bitmap");

  for (int i = 0; i < count; ++i) checkControl(data, *list, i, out.bitmapLoaded, out.warnings);
  return out;
}

}  // namespace krv::tools
