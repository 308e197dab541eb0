#include "designer/krv_dlg_designer_data.h"

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <set>
#include <system_error>

#include "designer/control_rect.h"
#include "designer/control_tracker.h"
#include "platform/acad/command_line.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/core/object_export_sort.h"
#include "platform/core/properties_list.h"
#include "platform/core/text_functions.h"
#include "platform/win/bitmap.h"
#include "platform/win/wnd.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// The path text with '\' as its only separator.
Krv_String backslashed(const Krv_String& path) {
  Krv_String text = path;
  text.replaceSubString(L"/", L"\\");
  return text;
}

bool isRegularFile(const Krv_String& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(krv::core::osPath(path), ec);
}

}  // namespace

int Krv_DlgDesignerData::controlIndexOfKey(const Krv_String& name) {
  for (const wchar_t* prefix : kControlKeys) {
    const Krv_String p(prefix);
    if (!name.startsWith(p) || name.length() == p.length()) continue;
    long long index = 0;
    for (int i = p.length(); i < name.length(); ++i) {
      const wchar_t c = name[i];
      if (c < L'0' || c > L'9') return -1;
      index = index * 10 + (c - L'0');
      if (index > Krv_DlgDesignerData::kMaxControlsRead) return -1;
    }
    // "type01" is not the key of control 1.
    if (name.length() - p.length() > 1 && name[p.length()] == L'0') return -1;
    return static_cast<int>(index);
  }
  return -1;
}

int Krv_DlgDesignerData::controlCountOf(const Krv_PropertiesList& list, int* named) {
  // Bound the count by what the file holds: no control past the highest
  // index any control key names, and never more than kMaxControlsRead.
  int present = 0;
  for (int i = 0; i < list.length(); ++i)
    present = std::max(present, controlIndexOfKey(list.nameAt(i)) + 1);
  if (named) *named = present;
  int count = 0;
  if (!list.getProperty(L"nrOfControls", count) || count < 0) count = 0;
  return std::min({count, present, kMaxControlsRead});
}

void Krv_DlgDesignerData::setControlsFromList(const Krv_PropertiesList& list) {
  mControls.removeAll();
  const int count = controlCountOf(list);
  for (int i = 0; i < count; ++i) {
    Krv_DesignerControl control;
    control.getFromPropList(list, i);
    append(control);
  }
}

Krv_String getDesignerRootFolder() {
  return Krv_Settings::libDir() + L"Dialog Templates\\Dialog Design\\";
}

void getModuleImages(Krv_StringArray& names) {
  names.removeAll();
  const Krv_String root = getDesignerRootFolder();
  Krv_StringArray files;
  if (!ObjectExportFindFilesRecursive(root, L"*.txt", files)) return;
  const Krv_String prefix = krv::core::withTrailingSeparator(root);
  for (const Krv_String& file : files) {
    Krv_String name = file.startsWith(prefix) ? file.substr(prefix.length()) : file;
    removeExtension(name);
    names.append(name);
  }
  sortArray(names);
}

bool GetImageDlgCtrlNames(const Krv_String& designPath, Krv_StringArray& names) {
  names.removeAll();
  try {
    Krv_DlgDesignerData design;
    if (!design.readFromFile(designPath, false)) return false;
    design.getAllCtrlNames(names);
    return true;
  } catch (...) {  // no exception leaves an exported function
    names.removeAll();
    return false;
  }
}

Krv_DlgDesignerData::Krv_DlgDesignerData() = default;

Krv_DlgDesignerData::Krv_DlgDesignerData(const Krv_DlgDesignerData&) : Krv_DlgDesignerData() {}

// The bitmaps go with their unique pointers.
Krv_DlgDesignerData::~Krv_DlgDesignerData() {
  removeRunTimeCtrls();
  removeAllDrawnCtrls();
  // Windows whose control left the list are not reached through it.
  for (CControlRect* drawn : mDrawnCtrls) delete drawn;
  mDrawnCtrls.removeAll();
  delete mTracker;
  mTracker = nullptr;
}

bool Krv_DlgDesignerData::initialize(CWnd* dialog, int firstResId, int lastResId, int idTypeCombo,
                                     int idContentsLabel, int idContents, int idExtLabel, int idExt,
                                     bool designMode) {
  if (!dialog) return false;
  mHDlg = dialog->GetSafeHwnd() ? dialog->GetSafeHwnd() : dialog;
  mFirstResId = firstResId;
  mLastResId = lastResId;
  mDesignMode = designMode;
  mInitialized = true;
  if (!designMode) return true;
  mIdTypeCombo = idTypeCombo;
  mIdContentsLabel = idContentsLabel;
  mIdContents = idContents;
  mIdExtLabel = idExtLabel;
  mIdExt = idExt;
  return initializeDesignMode();
}

// ---------------------------------------------------------------------------
// Files

bool Krv_DlgDesignerData::getNameFromFile(const Krv_String& path, Krv_String& name) {
  const Krv_String root = backslashed(getDesignerRootFolder());
  const Krv_String text = backslashed(path);
  if (root.isEmpty() || !text.startsWith(root, false) || text.length() == root.length())
    return false;
  name = text.substr(root.length());
  removeExtension(name);
  return true;
}

bool Krv_DlgDesignerData::readFromFile(const Krv_String& path, bool withBitmap) {
  return readDesign(path, withBitmap).ok();
}

krv::base::Status Krv_DlgDesignerData::readDesign(const Krv_String& path, bool withBitmap) {
  const auto osPath = krv::core::osPath(path);
  if (!isRegularFile(path)) return krv::base::Status::fileError(osPath, "no such design file");
  Krv_String name;
  if (!getNameFromFile(path, name))
    return krv::base::Status::fileError(
        osPath, "the design lies outside the designer folder " + getDesignerRootFolder().utf8());
  Krv_PropertiesList list;
  if (krv::base::Status read = list.readFromFile(path); !read) return read;

  mName = name;
  setControlsFromList(list);
  if (withBitmap) {
    Krv_String bitmap = path;
    changeExtension(bitmap, L"bmp");
    attachBitmap(bitmap);
  }
  return {};
}

bool Krv_DlgDesignerData::writeToFile(const Krv_String& path) { return writeDesign(path).ok(); }

krv::base::Status Krv_DlgDesignerData::writeDesign(const Krv_String& path) {
  Krv_String name;
  if (!getNameFromFile(path, name))
    return krv::base::Status::fileError(
        krv::core::osPath(path),
        "a design is saved only in the designer folder " + getDesignerRootFolder().utf8());
  const Krv_String oldName = mName;
  mName = name;
  if (!oldName.isEmpty()) {
    const Krv_String from = getDesignerRootFolder() + oldName + L".bmp";
    Krv_String to = path;
    changeExtension(to, L"bmp");
    if (!krv::core::samePath(from, to)) copyFile(from, to);  // a failed copy is no error
  }
  getSizeFromAllControls();
  Krv_PropertiesList list;
  list.setProperty(L"nrOfControls", mControls.length());
  for (int i = 0; i < mControls.length(); ++i) mControls[i].setToPropList(list, i);
  // A subfolder of the root folder is made when it is missing.
  std::error_code ec;
  std::filesystem::create_directories(krv::core::osPath(path).parent_path(), ec);
  krv::base::Status written = list.writeToFile(path);
  if (!written) mName = oldName;
  return written;
}

bool Krv_DlgDesignerData::attachBitmap(const Krv_String& path) {
  if (!isRegularFile(path)) return false;
  mImageWidth = 0;
  mImageHeight = 0;
  mBitmap.reset();
  mMaskBitmap.reset();
  auto bitmap = std::make_unique<CBitmap>();
  if (!bitmap->loadFile(krv::core::osPath(path))) return false;
  krv::win::BitmapImage image = bitmap->image();
  auto mask = std::make_unique<CBitmap>();
  mask->setImage(krv::win::makeTransparencyMask(image, kWhite));
  krv::win::clearTransparentPixels(image, kWhite);
  mImageWidth = image.width();
  mImageHeight = image.height();
  bitmap->setImage(std::move(image));
  mBitmap = std::move(bitmap);
  mMaskBitmap = std::move(mask);
  return true;
}

// ---------------------------------------------------------------------------
// The control list

int Krv_DlgDesignerData::append(const Krv_DesignerControl& control) {
  // With n controls, one of the first n + 1 identifiers of the range is
  // free: mark the used ones among those and take the lowest unmarked.
  const long long range = static_cast<long long>(mLastResId) - mFirstResId + 1;
  const long long window = std::min<long long>(range, mControls.length() + 1LL);
  int id = 0;
  if (window > 0) {
    std::vector<char> used(static_cast<size_t>(window), 0);
    for (const Krv_DesignerControl& c : mControls) {
      const long long offset = static_cast<long long>(c.mResId) - mFirstResId;
      if (offset >= 0 && offset < window) used[static_cast<size_t>(offset)] = 1;
    }
    for (long long offset = 0; offset < window; ++offset) {
      if (!used[static_cast<size_t>(offset)]) {
        id = static_cast<int>(mFirstResId + offset);
        break;
      }
    }
  }
  Krv_DesignerControl copy = control;
  copy.mResId = id;
  mControls.append(copy);
  return id;
}

const Krv_DesignerControl* Krv_DlgDesignerData::getControl(int index) const {
  return mControls.isValid(index) ? &mControls[index] : nullptr;
}

Krv_DesignerControl* Krv_DlgDesignerData::getControlWrite(int index) {
  return mControls.isValid(index) ? &mControls[index] : nullptr;
}

Krv_DesignerControl* Krv_DlgDesignerData::getControlFromRes(int resId) {
  if (resId <= 0) return nullptr;
  for (Krv_DesignerControl& c : mControls)
    if (c.mResId == resId) return &c;
  return nullptr;
}

bool Krv_DlgDesignerData::removeControl(int index) {
  if (!mControls.isValid(index)) return false;
  mControls.removeAt(index);
  return true;
}

void Krv_DlgDesignerData::getAllCtrlNames(Krv_StringArray& names) const {
  names.removeAll();
  for (const Krv_DesignerControl& c : mControls)
    if (c.mType == ctVarEdit) names.append(c.mContents);
}

void Krv_DlgDesignerData::getImageSize(int& width, int& height) const {
  width = mInitialized ? mImageWidth : 0;
  height = mInitialized ? mImageHeight : 0;
}

// ---------------------------------------------------------------------------
// Coordinates

double Krv_DlgDesignerData::pixelsToFactor(bool horizontal, double pixels) const {
  const int size = horizontal ? mImageWidth : mImageHeight;
  return size == 0 ? 0.0 : pixels / size;
}

double Krv_DlgDesignerData::factorToPixels(bool horizontal, double factor) const {
  return factor * (horizontal ? mImageWidth : mImageHeight);
}

double Krv_DlgDesignerData::getTopLeftX(const Krv_DesignerControl& c) const {
  return factorToPixels(true, c.mTopLeftX);
}
double Krv_DlgDesignerData::getTopLeftY(const Krv_DesignerControl& c) const {
  return factorToPixels(false, c.mTopLeftY);
}
double Krv_DlgDesignerData::getBottomRightX(const Krv_DesignerControl& c) const {
  return factorToPixels(true, c.mBottomRightX);
}
double Krv_DlgDesignerData::getBottomRightY(const Krv_DesignerControl& c) const {
  return factorToPixels(false, c.mBottomRightY);
}
void Krv_DlgDesignerData::setTopLeftX(Krv_DesignerControl& c, double pixels) const {
  c.mTopLeftX = pixelsToFactor(true, pixels);
}
void Krv_DlgDesignerData::setTopLeftY(Krv_DesignerControl& c, double pixels) const {
  c.mTopLeftY = pixelsToFactor(false, pixels);
}
void Krv_DlgDesignerData::setBottomRightX(Krv_DesignerControl& c, double pixels) const {
  c.mBottomRightX = pixelsToFactor(true, pixels);
}
void Krv_DlgDesignerData::setBottomRightY(Krv_DesignerControl& c, double pixels) const {
  c.mBottomRightY = pixelsToFactor(false, pixels);
}

double Krv_DlgDesignerData::getWidth(const Krv_DesignerControl& c) const {
  return getBottomRightX(c) - getTopLeftX(c);
}
void Krv_DlgDesignerData::setWidth(Krv_DesignerControl& c, double pixels) const {
  setBottomRightX(c, getTopLeftX(c) + pixels);
}
double Krv_DlgDesignerData::getHeight(const Krv_DesignerControl& c) const {
  return getBottomRightY(c) - getTopLeftY(c);
}
void Krv_DlgDesignerData::setHeight(Krv_DesignerControl& c, double pixels) const {
  setTopLeftY(c, getBottomRightY(c) - pixels);
}

void Krv_DlgDesignerData::getSizeFromAllControls() {
  for (int i = 0; i < mControls.length(); ++i) getSizeFromControl(i);
}

bool Krv_DlgDesignerData::getSizeFromControl(int index) {
  if (!mControls.isValid(index) || mDrawnCtrls.length() != mControls.length()) return false;
  CWnd* window = nullptr;
  if (!mHDlg || !mControls[index].getCtrlPtr(mHDlg, window)) return false;
  CRect rect;
  window->GetWindowRect(&rect);
  mHDlg->ScreenToClient(&rect);
  Krv_DesignerControl& c = mControls[index];
  setTopLeftX(c, rect.left);
  setTopLeftY(c, rect.top);
  setBottomRightX(c, rect.right);
  setBottomRightY(c, rect.bottom);
  return true;
}

// ---------------------------------------------------------------------------
// Tab order

void Krv_DlgDesignerData::sortAllControls() {
  AcArray<Krv_DesignerControl*> candidates;
  for (Krv_DesignerControl& c : mControls)
    if (!c.mReadOnly && c.mType != ctText && c.mType != ctGroupBox) candidates.append(&c);
  int counter = 1;
  while (!candidates.isEmpty()) sortNextRow(candidates, counter);
}

void Krv_DlgDesignerData::sortNextRow(AcArray<Krv_DesignerControl*>& candidates, int& counter) {
  if (candidates.isEmpty()) return;
  int leader = -1;
  double top = 100.0;  // above any factor
  for (int i = 0; i < candidates.length(); ++i) {
    if (candidates[i]->mTopLeftY < top) {
      top = candidates[i]->mTopLeftY;
      leader = i;
    }
  }
  // A top below -100 or not a number is never smaller: take the first.
  if (leader < 0) leader = 0;
  const Krv_DesignerControl* lead = candidates[leader];
  const double bottom = lead->mBottomRightY;
  Krv_Array<Krv_DesignerControl*> row;
  for (int i = 0; i < candidates.length();) {
    if (candidates[i] == lead || candidates[i]->mTopLeftY <= bottom) {
      row.append(candidates[i]);
      candidates.removeAt(i);
    } else {
      ++i;
    }
  }
  ObjectExportSort(row, [](const Krv_DesignerControl* c) { return c->mTopLeftX; });
  for (Krv_DesignerControl* c : row) c->mTabOrder = counter++;
}

bool Krv_DlgDesignerData::findCtrlWithTabOrder(int tabOrder, int& index) const {
  for (int i = 0; i < mControls.length(); ++i) {
    if (mControls[i].mTabOrder == tabOrder) {
      index = i;
      return true;
    }
  }
  return false;
}

bool Krv_DlgDesignerData::containsEditableCtrls() const {
  return std::any_of(mControls.begin(), mControls.end(),
                     [](const Krv_DesignerControl& c) { return !c.mReadOnly; });
}

// ---------------------------------------------------------------------------
// Flex buttons

void Krv_DlgDesignerData::getFlexBtnsGroups(Krv_StringArray& groups) const {
  groups.removeAll();
  for (const Krv_DesignerControl& c : mControls)
    if (c.mType == ctFlexButton && !groups.contains(c.mFlexGroup, true))
      groups.append(c.mFlexGroup);
}

bool Krv_DlgDesignerData::getFlexBtnsInGroup(const Krv_String& group, AcArray<int>& buttons,
                                             AcArray<int>& buttonsWithPart3) const {
  buttons.removeAll();
  buttonsWithPart3.removeAll();
  if (group.isEmpty()) return true;
  for (int i = 0; i < mControls.length(); ++i) {
    const Krv_DesignerControl& c = mControls[i];
    if (c.mType != ctFlexButton || !(c.mFlexGroup == group)) continue;
    buttons.append(i);
    if (!c.mFlexPart3.isEmpty()) buttonsWithPart3.append(i);
  }
  return true;
}

bool Krv_DlgDesignerData::findFlexButton(const Krv_String& group, const Krv_String& contents,
                                         int& index) const {
  for (int i = 0; i < mControls.length(); ++i) {
    const Krv_DesignerControl& c = mControls[i];
    if (c.mType == ctFlexButton && c.mFlexGroup == group && c.mContents == contents) {
      index = i;
      return true;
    }
  }
  return false;
}

bool Krv_DlgDesignerData::getAllFlexVarsOfGroup(const Krv_String& group,
                                                Krv_StringArray& names) const {
  names.removeAll();
  for (const Krv_DesignerControl& c : mControls)
    if (c.mType == ctFlexButton && c.mFlexGroup == group) names.append(c.mContents);
  return !names.isEmpty();
}

bool Krv_DlgDesignerData::getFlexBtnGroupName(int resId, Krv_String& group,
                                              Krv_String& contents) const {
  if (resId <= 0) return false;
  for (const Krv_DesignerControl& c : mControls) {
    if (c.mResId != resId) continue;
    if (c.mType != ctFlexButton) return false;
    group = c.mFlexGroup;
    contents = c.mContents;
    return true;
  }
  return false;
}

void Krv_DlgDesignerData::printPositions() const {
  for (const Krv_DesignerControl& c : mControls) {
    acutPrintf(L"**** Control %s ****\n", c.mContents.c_str());
    acutPrintf(L"Left: %f - Right: %f\n", c.mTopLeftX, c.mBottomRightX);
    acutPrintf(L"Top: %f - Bottom: %f\n", c.mTopLeftY, c.mBottomRightY);
  }
  acutPrintf(L"********\n");
}

bool Krv_DlgDesignerData::findMostLeftCtrl(const AcArray<int>& resIds, int& index) const {
  double left = 100000.0;
  bool found = false;
  for (int resId : resIds) {
    for (int i = 0; i < mControls.length(); ++i) {
      if (resId <= 0 || mControls[i].mResId != resId) continue;
      const double x = getTopLeftX(mControls[i]);
      if (x < left) {
        left = x;
        index = i;
        found = true;
      }
    }
  }
  return found;
}

void Krv_DlgDesignerData::changeCtrlSize(int index, bool horizontal, double pixels) {
  if (!mControls.isValid(index)) return;
  Krv_DesignerControl& c = mControls[index];
  if (horizontal)
    setBottomRightX(c, getTopLeftX(c) + pixels);
  else
    setBottomRightY(c, getTopLeftY(c) + pixels);
}
