#include "platform/core/dial_string.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/core/krv_settings.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/core/text_file.h"
#include "platform/core/text_functions.h"

namespace {
// Points the resources and folders at test values and restores them.
struct Environment {
  Environment() {
    if (const char* v = std::getenv("KRV_RESOURCES_DIR")) mOld = v, mHadOld = true;
  }
  ~Environment() {
    if (mHadOld)
      setenv("KRV_RESOURCES_DIR", mOld.c_str(), 1);
    else
      unsetenv("KRV_RESOURCES_DIR");
    unsetenv("KRV_LIBRARY_DIR");
    unsetenv("KRV_INSTALL_DIR");
    unsetenv("KRV_LANGUAGE");
    Krv_Settings::setLibDir(L"");
    Krv_Settings::setKrvDir(L"");
    Krv_Settings::setWorkLanguage(L"");
    krv::core::clearDialStringCache();
  }
  std::string mOld;
  bool mHadOld = false;
};
}  // namespace

TEST(DialString, WorkLanguageThenEnglishThenVisibleFallback) {
  Environment env;
  TempFolder dir;
  dir.writeBytes("strings/en.txt", "# comment\n1\tOK\n2\tCancel\n5\ttwo\\nlines\\\\\n9\t\n");
  dir.writeBytes("strings/nl.txt",
                 "\xEF\xBB\xBF"
                 "1\tOK\r\n2\tAnnuleren\r\nx\tbroken\r\n");
  setenv("KRV_RESOURCES_DIR", dir.path().c_str(), 1);
  krv::core::clearDialStringCache();

  Krv_Settings::setWorkLanguage(L"NL");
  EXPECT_EQ(dialString(2), L"Annuleren");
  EXPECT_EQ(dialString(5), L"two\nlines\\");  // from English
  EXPECT_EQ(dialString(9), L"");              // an empty text is a text
  EXPECT_EQ(dialString(1234), L"[#1234]");
  Krv_Settings::setWorkLanguage(L"fr");  // no file at all
  EXPECT_EQ(dialString(2), L"Cancel");
  EXPECT_EQ(krv::core::dialStringLanguages(), (Krv_StringArray{L"en", L"nl"}));
  EXPECT_EQ(dialStringAllLangs(2), (Krv_StringArray{L"Cancel", L"Annuleren"}));
}

TEST(DialString, ShippedFilesCoverTheSameIdentifiers) {
  Environment env;
  unsetenv("KRV_RESOURCES_DIR");
  krv::core::clearDialStringCache();
  Krv_StringArray en, nl;
  ASSERT_TRUE(ObjectExportReadFile(krv::core::resourcesDir() + L"/strings/en.txt", en));
  ASSERT_TRUE(ObjectExportReadFile(krv::core::resourcesDir() + L"/strings/nl.txt", nl));
  auto ids = [](const Krv_StringArray& lines) {
    Krv_StringArray out;
    for (const Krv_String& l : lines)
      if (!l.isEmpty() && l[0] != L'#') out.append(getSubstrBefore(l, L"\t"));
    return out;
  };
  const Krv_StringArray enIds = ids(en), nlIds = ids(nl);
  EXPECT_GT(enIds.length(), 150);
  EXPECT_EQ(enIds, nlIds);
  Krv_StringArray dups;
  EXPECT_FALSE(hasDuplicates(enIds, dups, true)) << arrToStr(dups).utf8();
  for (const Krv_String& id : enIds) EXPECT_TRUE(isNumber(id)) << id.utf8();
  Krv_Settings::setWorkLanguage(L"nl");
  EXPECT_EQ(dialString(1), L"OK");
}

TEST(Settings, FoldersFromSettersOrEnvironmentNeverFixed) {
  Environment env;
  unsetenv("KRV_LIBRARY_DIR");
  unsetenv("KRV_INSTALL_DIR");
  EXPECT_EQ(Krv_Settings::libDir(), L"");
  EXPECT_EQ(Krv_Settings::krvDir(), L"");
  setenv("KRV_LIBRARY_DIR", "/srv/lib", 1);
  setenv("KRV_INSTALL_DIR", "/opt/krv/", 1);
  EXPECT_EQ(Krv_Settings::libDir(), L"\\srv\\lib\\");
  EXPECT_EQ(Krv_Settings::krvDir(), L"\\opt\\krv\\");
  EXPECT_EQ(krv::core::osPath(Krv_Settings::libDir() + L"prof\\HEA.pr"), "/srv/lib/prof/HEA.pr");
  Krv_Settings::setLibDir(L"/work/library");
  EXPECT_EQ(Krv_Settings::libDir(), L"\\work\\library\\");
  Krv_Settings::setLibDir(L"");
  EXPECT_EQ(Krv_Settings::libDir(), L"\\srv\\lib\\");
  EXPECT_EQ(Krv_Settings::workLanguage(), L"en");
  setenv("KRV_LANGUAGE", "nl", 1);
  EXPECT_EQ(Krv_Settings::workLanguage(), L"nl");

  EXPECT_TRUE(Krv_Settings::current().calcMessages());
  Krv_Settings::current().setCalcMessages(false);
  EXPECT_FALSE(Krv_Settings::current().calcMessages());
  Krv_Settings::current().setCalcMessages(true);
}
