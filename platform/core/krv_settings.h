#pragma once
#include "platform/core/krv_string.h"

// Krv_Settings: the product's folders and language, and the settings of the
// current document.
//
// Folders come from configuration, never from a fixed path: a value set by
// the program (setLibDir, setKrvDir, usually from its options) wins; else
// the environment variables KRV_LIBRARY_DIR and KRV_INSTALL_DIR; else the
// folder is empty. A folder text uses '\' as separator and ends with
// exactly one '\', so that sub-folders are appended directly
// (libDir() + "prof\"); the operating system path is krv::core::osPath of it.
// An unconfigured folder is the empty text, without separator.
//
// The work language is a language code ("en", "nl"): setWorkLanguage, else
// the environment variable KRV_LANGUAGE, else "en".
class Krv_Settings {
 public:
  Krv_Settings() = default;
  virtual ~Krv_Settings() = default;
  Krv_Settings(const Krv_Settings&) = default;
  Krv_Settings& operator=(const Krv_Settings&) = default;

  static Krv_String libDir();
  static Krv_String krvDir();
  static Krv_String workLanguage();
  // An empty text returns to the environment's value.
  static void setLibDir(const Krv_String& folder);
  static void setKrvDir(const Krv_String& folder);
  static void setWorkLanguage(const Krv_String& language);

  // The settings of the current document (one document in this program).
  static Krv_Settings& current();

  // Whether the standards engine shows its calculation messages; on by
  // default.
  bool calcMessages() const { return mCalcMessages; }
  void setCalcMessages(bool on) { mCalcMessages = on; }

 private:
  bool mCalcMessages = true;
};
