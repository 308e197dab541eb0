#pragma once
// VtSSRegistrySets: the two machine-wide choices of the spreadsheet editor,
// kept in the registry under the key kKey of HKEY_LOCAL_MACHINE: its language ("Language", default
// "EN") and the settings set a new document gets when its own cannot be loaded ("Default Settings",
// default empty). Both values are REG_SZ.
#include "platform/core/krv_string.h"

class VtSSRegistrySets {
 public:
  static constexpr const wchar_t* kKey = L"Software\\Vantorel\\Spreadsheet Editor v1.0";
  static constexpr const wchar_t* kLanguageValue = L"Language";
  static constexpr const wchar_t* kDefaultSettingsValue = L"Default Settings";

  // The language codes of the language dialog's entries, in its order
  // ("Nederlands", "English", "Français").
  static constexpr const wchar_t* kLanguageCodes[3] = {L"NL", L"EN", L"FR"};
  // The entry of a language code (any case), 1 (English) for an unknown one.
  static int languageIndex(const Krv_String& code);
  // The code of an entry; "EN" for an index outside the list.
  static Krv_String languageCode(int index);

  VtSSRegistrySets() = default;
  virtual ~VtSSRegistrySets() = default;

  // Reads both values; true only when both were read. A value that cannot
  // be read leaves its member unchanged.
  bool read();
  // Creates the key when needed and writes both values; true only when
  // both were written.
  bool write() const;

  Krv_String language = L"EN";
  Krv_String defaultSettings;
};
