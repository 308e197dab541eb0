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

bool isFile(const Krv_String& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(krv::core::osPath(path), ec);
}

// The file as a properties list. Lines that are no property are left out,
// each with a warning, and the run time's refusal of such a file is told.
krv::base::Result<Krv_PropertiesList> readList(const Krv_String& file,
                                               std::vector<std::string>& warnings) {
  Krv_PropertiesList list;
  std::vector<Krv_PropertiesList::SkippedLine> skipped;
  if (const Status read = list.readFromFile(file, &skipped); !read) return read;
  if (!skipped.empty())
    warnings.push_back("the designer and the macro dialog refuse this file (line " +
                       std::to_string(skipped.front().line) +
                       ": not a property (type, name and value)); shown is what its other lines "
                       "hold");
  for (const Krv_PropertiesList::SkippedLine& line : skipped)
    warnings.push_back("line " + std::to_string(line.line) + " is no property and is left out: " +
                       krv::base::displayText(line.text.str(), 60));
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
  for (const wchar_t* key : Krv_DlgDesignerData::kControlKeys) {
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
  data.setControlsFromList(*list);
  const int count = data.getNrControls();

  // The count as the designer reads it, and why it differs from the file's.
  int present = 0;
  Krv_DlgDesignerData::controlCountOf(*list, &present);
  int stated = 0;
  const bool hasCount = list->getProperty(L"nrOfControls", stated);
  if (!hasCount)
    out.warnings.push_back("the file has no nrOfControls, so no control is loaded");
  else if (stated < 0)
    out.warnings.push_back("nrOfControls is " + std::to_string(stated) +
                           ", so no control is loaded");
  if (hasCount && stated > present)
    out.warnings.push_back("nrOfControls is " + std::to_string(stated) +
                           " but the keys name only " + std::to_string(present) + " controls");
  if (present > count)
    out.warnings.push_back((present - count == 1 ? "the keys of control " + std::to_string(count)
                                                 : "the keys of controls " + std::to_string(count) +
                                                       " to " + std::to_string(present - 1)) +
                           " lie past the controls loaded (" + std::to_string(count) +
                           ") and are left out");

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
