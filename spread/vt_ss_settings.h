#pragma once
// VtSSSettings: the settings of one sheet document — default font and text
// height, the header and footer picture files and margins of printing, the
// print switches, and a list of named document variables with their values.
//
// A document carries its settings in the tag text of its corner cell
// (column 0, row 0), in the text form of VtSSPropertyList; named settings
// sets are kept as files "<installation folder><name>.vtd" in the same form.
// The keys of the form are those of the k* constants below; a bool is an int
// property of 0 or 1, and the variables are the string properties
// "varNames0", "varNames1", ... and "varValues0", ..., read from index 0 up
// to the first missing one.
//
// A set is a value. It becomes valid through readFromSheet or load, and
// writeToSheet and save refuse a set that is not valid.
#include <filesystem>

#include "platform/base/status.h"
#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"
#include "platform/sheet/sheet_printer.h"
#include "platform/win/win_types.h"
#include "spread/vt_ss_property_list.h"

class Krv_Spread;

class VtSSSettings {
 public:
  static constexpr const wchar_t* kHeaderFile = L"headerFile";
  static constexpr const wchar_t* kFooterFile = L"footerFile";
  static constexpr const wchar_t* kDefaultFont = L"defaultFont";
  static constexpr const wchar_t* kDefaultTextHeight = L"defaultTextHeight";
  static constexpr const wchar_t* kMarginLeft = L"marginLeft";
  static constexpr const wchar_t* kMarginRight = L"marginRight";
  static constexpr const wchar_t* kMarginTop = L"marginTop";
  static constexpr const wchar_t* kMarginBottom = L"marginBottom";
  static constexpr const wchar_t* kSmartPrint = L"smartPrint";
  static constexpr const wchar_t* kColors = L"colors";
  static constexpr const wchar_t* kColHeader = L"colHeader";
  static constexpr const wchar_t* kRowHeader = L"rowHeader";
  static constexpr const wchar_t* kCellSeparators = L"cellSeperators";
  static constexpr const wchar_t* kBorder = L"border";
  static constexpr const wchar_t* kVarNames = L"varNames";
  static constexpr const wchar_t* kVarValues = L"varValues";
  // The extension of settings set files.
  static constexpr const wchar_t* kFileExtension = L".vtd";

  VtSSSettings();
  virtual ~VtSSSettings() = default;
  VtSSSettings(const VtSSSettings&) = default;
  VtSSSettings& operator=(const VtSSSettings&) = default;

  // The defaults: font "Tahoma" of height 13, margins 9, 5, 5, 5, every
  // print switch on, not valid. The variables and the header and footer
  // files stay as they are.
  void reset();

  // Resets, remembers the sheet's window and takes the properties of the
  // tag of its corner cell; valid afterwards. A null sheet only resets.
  void readFromSheet(Krv_Spread* sheet);
  // Writes the text form into the tag of the sheet's corner cell. False
  // for a set that is not valid, a null sheet, or a set that cannot be
  // written (a text holding the separator ¤).
  bool writeToSheet(Krv_Spread* sheet);
  // Resets, becomes valid, and takes the properties of the file of settings
  // set `name`; false (with the defaults in place) when the file cannot be
  // read. Properties missing from the file keep their defaults.
  bool load(const Krv_String& name);
  // Writes the file of settings set `name` (created or replaced). False
  // when the set is not valid, or when the file could not be written (the
  // reason in lastError()), or when a name or value holds the separator ¤.
  bool save(const Krv_String& name);
  // Why the last save or writeToSheet failed; empty after a success.
  const std::string& lastError() const { return mLastError; }

  // The settings set file of `name`: the installation folder, the name
  // and ".vtd".
  static Krv_String settingsFileName(const Krv_String& name);
  // The names of the settings sets in the installation folder, sorted.
  static Krv_StringArray settingsSetNames();

  // The set as properties, and the set from properties (a key that is
  // missing leaves its member unchanged; the variables are rebuilt).
  VtSSPropertyList toProperties() const;
  void takeProperties(const VtSSPropertyList& list);

  // What acts on printing. A header or footer file named without a folder
  // is taken from the installation folder.
  krv::sheet::PrintSettings printSettings() const;

  HWND sheetWindow() const { return mSheetWindow; }
  bool isValid() const { return mValid; }
  void setValid(bool valid) { mValid = valid; }

  const Krv_String& headerFile() const { return mHeaderFile; }
  void setHeaderFile(const Krv_String& v) { mHeaderFile = v; }
  const Krv_String& footerFile() const { return mFooterFile; }
  void setFooterFile(const Krv_String& v) { mFooterFile = v; }
  const Krv_String& defaultFont() const { return mDefaultFont; }
  void setDefaultFont(const Krv_String& v) { mDefaultFont = v; }
  int defaultTextHeight() const { return mDefaultTextHeight; }
  void setDefaultTextHeight(int v) { mDefaultTextHeight = v; }
  int marginLeft() const { return mMarginLeft; }
  void setMarginLeft(int v) { mMarginLeft = v; }
  int marginRight() const { return mMarginRight; }
  void setMarginRight(int v) { mMarginRight = v; }
  int marginTop() const { return mMarginTop; }
  void setMarginTop(int v) { mMarginTop = v; }
  int marginBottom() const { return mMarginBottom; }
  void setMarginBottom(int v) { mMarginBottom = v; }
  bool smartPrint() const { return mSmartPrint; }
  void setSmartPrint(bool v) { mSmartPrint = v; }
  bool colors() const { return mColors; }
  void setColors(bool v) { mColors = v; }
  bool colHeader() const { return mColHeader; }
  void setColHeader(bool v) { mColHeader = v; }
  bool rowHeader() const { return mRowHeader; }
  void setRowHeader(bool v) { mRowHeader = v; }
  bool cellSeparators() const { return mCellSeparators; }
  void setCellSeparators(bool v) { mCellSeparators = v; }
  bool border() const { return mBorder; }
  void setBorder(bool v) { mBorder = v; }
  const Krv_StringArray& varNames() const { return mVarNames; }
  void setVarNames(const Krv_StringArray& v) { mVarNames = v; }
  const Krv_StringArray& varValues() const { return mVarValues; }
  void setVarValues(const Krv_StringArray& v) { mVarValues = v; }

 private:
  HWND mSheetWindow = nullptr;
  bool mValid = false;
  Krv_String mHeaderFile;
  Krv_String mFooterFile;
  Krv_String mDefaultFont;
  int mDefaultTextHeight = 0;
  int mMarginLeft = 0, mMarginRight = 0, mMarginTop = 0, mMarginBottom = 0;
  bool mSmartPrint = true, mColors = true, mColHeader = true, mRowHeader = true;
  bool mCellSeparators = true, mBorder = true;
  Krv_StringArray mVarNames;
  Krv_StringArray mVarValues;
  std::string mLastError;
};
