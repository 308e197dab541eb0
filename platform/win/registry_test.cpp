#include "platform/win/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/base/file_io.h"

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { krv::win::Registry::resetInMemory(); }
  void TearDown() override { krv::win::Registry::resetInMemory(); }

  static LSTATUS setText(HKEY key, LPCWSTR name, const std::wstring& text) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  static LSTATUS getText(HKEY key, LPCWSTR name, std::wstring& text) {
    DWORD type = 0, size = 0;
    LSTATUS s = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
    if (s != ERROR_SUCCESS) return s;
    if (type != REG_SZ) return ERROR_INVALID_PARAMETER;
    std::wstring buffer(size / sizeof(wchar_t), L'\0');
    s = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    text = buffer.c_str();
    return s;
  }
  static HKEY create(HKEY root, LPCWSTR path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &key, disposition),
              ERROR_SUCCESS);
    return key;
  }
  static bool exists(HKEY root, LPCWSTR path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
};

TEST_F(RegistryTest, CreateSetQueryRoundTripWithCaseInsensitiveNames) {
  DWORD disposition = 0;
  HKEY key =
      create(HKEY_CLASSES_ROOT, L"CLSID\\{2CE559DB-0008-4AA7-8E1D-7DCEBAB7D2C4}", &disposition);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  EXPECT_EQ(setText(key, nullptr, L"Bolt Class"), ERROR_SUCCESS);
  EXPECT_EQ(setText(key, L"Language", L"EN"), ERROR_SUCCESS);
  const DWORD number = 0xDEADBEEF;
  EXPECT_EQ(RegSetValueExW(key, L"Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4),
            ERROR_SUCCESS);
  RegCloseKey(key);

  HKEY again =
      create(HKEY_CLASSES_ROOT, L"clsid\\{2ce559db-0008-4aa7-8e1d-7dcebab7d2c4}", &disposition);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  RegCloseKey(again);

  HKEY read = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{2CE559DB-0008-4AA7-8E1D-7DCEBAB7D2C4}", 0,
                          KEY_READ, &read),
            ERROR_SUCCESS);
  std::wstring text;
  EXPECT_EQ(getText(read, L"", text), ERROR_SUCCESS);
  EXPECT_EQ(text, L"Bolt Class");
  EXPECT_EQ(getText(read, L"LANGUAGE", text), ERROR_SUCCESS);
  EXPECT_EQ(text, L"EN");
  DWORD value = 0, size = sizeof value, type = 0;
  EXPECT_EQ(
      RegQueryValueExW(read, L"count", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
      ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(value, 0xDEADBEEF);
  // A buffer that is too small reports the size needed and copies nothing.
  wchar_t small[2] = {L'x', L'y'};
  size = sizeof small;
  EXPECT_EQ(RegQueryValueExW(read, L"", nullptr, nullptr, reinterpret_cast<BYTE*>(small), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, 11 * sizeof(wchar_t));
  EXPECT_EQ(small[0], L'x');
  EXPECT_EQ(getText(read, L"Missing", text), ERROR_FILE_NOT_FOUND);
  // A read-only handle may not write.
  EXPECT_EQ(setText(read, L"x", L"y"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegCloseKey(read), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(read), ERROR_INVALID_HANDLE);
  EXPECT_EQ(getText(read, L"", text), ERROR_INVALID_HANDLE);
  // Roots are separate trees.
  EXPECT_FALSE(exists(HKEY_LOCAL_MACHINE, L"CLSID"));
}

TEST_F(RegistryTest, NamesBeyondAsciiIgnoreCaseAsTheRestOfTheSystemDoes) {
  RegCloseKey(create(HKEY_CURRENT_USER, L"Software\\Stra\u00DFe\\\u00C9t\u00E9"));
  EXPECT_TRUE(exists(HKEY_CURRENT_USER, L"SOFTWARE\\STRA\u1E9EE\\\u00E9T\u00C9"));
  EXPECT_FALSE(exists(HKEY_CURRENT_USER, L"Software\\Strasse")) << "folding is one to one";
}

TEST_F(RegistryTest, MissingPathsAndBadArgumentsFailWithoutEffect) {
  HKEY key = reinterpret_cast<HKEY>(1);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Nothing", 0, KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(RegOpenKeyExW(reinterpret_cast<HKEY>(0x1234), L"a", 0, KEY_READ, &key),
            ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"\\lead", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_BAD_PATHNAME);
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"a\\\\b", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_BAD_PATHNAME);
  EXPECT_FALSE(exists(HKEY_CURRENT_USER, L"a"));
  EXPECT_EQ(SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Nothing"), ERROR_FILE_NOT_FOUND);
  HKEY k = create(HKEY_CURRENT_USER, L"Software");
  const BYTE three[3] = {1, 2, 3};
  EXPECT_EQ(RegSetValueExW(k, L"n", 0, REG_DWORD, three, 3), ERROR_INVALID_PARAMETER);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(k, L"n", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  RegCloseKey(k);
}

TEST_F(RegistryTest, DeleteRemovesTreesAndInvalidatesOpenHandles) {
  HKEY deep =
      create(HKEY_CLASSES_ROOT, L"TypeLib\\{76EF0D49-DD1E-4714-B6B9-E45EDE3C81DA}\\1.1\\0\\win32");
  ASSERT_EQ(setText(deep, nullptr, L"server"), ERROR_SUCCESS);
  create(HKEY_CLASSES_ROOT, L"TypeLib\\Other");

  // A key with subkeys is not deleted by the non-recursive call.
  EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, L"TypeLib\\{76EF0D49-DD1E-4714-B6B9-E45EDE3C81DA}"),
            ERROR_ACCESS_DENIED);
  HKEY parent = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"TypeLib", 0, KEY_ALL_ACCESS, &parent),
            ERROR_SUCCESS);
  EXPECT_EQ(SHDeleteKeyW(parent, L"{76ef0d49-dd1e-4714-b6b9-e45ede3c81da}"), ERROR_SUCCESS);
  EXPECT_FALSE(exists(HKEY_CLASSES_ROOT, L"TypeLib\\{76EF0D49-DD1E-4714-B6B9-E45EDE3C81DA}"));
  EXPECT_TRUE(exists(HKEY_CLASSES_ROOT, L"TypeLib\\Other"));
  std::wstring text;
  EXPECT_EQ(getText(deep, nullptr, text), ERROR_KEY_DELETED);
  EXPECT_EQ(RegCloseKey(deep), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyW(parent, L"Other"), ERROR_SUCCESS);
  RegCloseKey(parent);
}

TEST_F(RegistryTest, EnumerationIsInNameOrderAndEnds) {
  HKEY root = create(HKEY_LOCAL_MACHINE, L"Software\\Vendor");
  for (LPCWSTR name : {L"beta", L"Alpha", L"gamma"}) RegCloseKey(create(root, name));
  std::vector<std::wstring> names;
  wchar_t buffer[64];
  for (DWORD i = 0;; ++i) {
    DWORD length = 64;
    const LSTATUS s = RegEnumKeyExW(root, i, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (s == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(s, ERROR_SUCCESS);
    EXPECT_EQ(length, std::wcslen(buffer));
    names.emplace_back(buffer);
  }
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Alpha", L"beta", L"gamma"}));
  DWORD tiny = 3;
  EXPECT_EQ(RegEnumKeyExW(root, 0, buffer, &tiny, nullptr, nullptr, nullptr, nullptr),
            ERROR_MORE_DATA);
  RegCloseKey(root);
}

TEST_F(RegistryTest, DeniedKeysCannotBeOpened) {
  RegCloseKey(create(HKEY_CLASSES_ROOT, L"Interface\\Locked"));
  krv::win::Registry::current().denyAccess(HKEY_CLASSES_ROOT, L"interface\\LOCKED");
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"Interface\\Locked", 0, KEY_READ, &key),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(SHDeleteKeyW(HKEY_CLASSES_ROOT, L"Interface\\Locked"), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"Interface", 0, KEY_READ, &key) == ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(RegistryTest, FailingValueWritesHitOnlyThatKey) {
  krv::win::Registry::current().failValueWrites(HKEY_CLASSES_ROOT, L"clsid\\BOLT");
  HKEY bolt = create(HKEY_CLASSES_ROOT, L"CLSID\\Bolt");
  HKEY below = create(HKEY_CLASSES_ROOT, L"CLSID\\Bolt\\InProcServer32");
  EXPECT_EQ(setText(bolt, nullptr, L"Bolt Class"), ERROR_WRITE_FAULT);
  std::wstring text;
  EXPECT_EQ(getText(bolt, nullptr, text), ERROR_FILE_NOT_FOUND) << "a failed write leaves no value";
  EXPECT_EQ(setText(below, nullptr, L"server"), ERROR_SUCCESS) << "a key below is not affected";
  RegCloseKey(bolt);
  RegCloseKey(below);
  krv::win::Registry::resetInMemory();
  bolt = create(HKEY_CLASSES_ROOT, L"CLSID\\Bolt");
  EXPECT_EQ(setText(bolt, nullptr, L"Bolt Class"), ERROR_SUCCESS)
      << "a fresh store forgets the failure";
  RegCloseKey(bolt);
}

class RegistryFileTest : public RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    dir = std::filesystem::temp_directory_path() /
          ("krv_registry_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    file = dir / "sub" / "registry.json";
  }
  void TearDown() override {
    std::filesystem::remove_all(dir);
    RegistryTest::TearDown();
  }
  static std::string read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::filesystem::path dir, file;
};

TEST_F(RegistryFileTest, ChangesPersistAndReadBackExactly) {
  ASSERT_TRUE(krv::win::Registry::current().attachFile(file).ok());
  HKEY key = create(HKEY_LOCAL_MACHINE, L"Software\\Vantorel\\Spreadsheet Editor v1.0");
  ASSERT_EQ(setText(key, L"Language", L"NL \u2022\u00BF\u0192"), ERROR_SUCCESS);
  ASSERT_EQ(setText(key, L"Default Settings", L""), ERROR_SUCCESS);
  const DWORD number = 7;
  ASSERT_EQ(RegSetValueExW(key, L"Width", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4),
            ERROR_SUCCESS);
  const BYTE blob[3] = {0, 0xFF, 0x10};
  ASSERT_EQ(RegSetValueExW(key, L"Blob", 0, REG_BINARY, blob, 3), ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_TRUE(std::filesystem::exists(file));
  const std::string saved = read(file);

  krv::win::Registry::resetInMemory();
  EXPECT_FALSE(exists(HKEY_LOCAL_MACHINE, L"Software\\Vantorel"));
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(krv::win::Registry::current().attachFile(file), error)) << error;
  HKEY read = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\vantorel\\Spreadsheet Editor v1.0", 0,
                          KEY_READ, &read),
            ERROR_SUCCESS);
  std::wstring text;
  EXPECT_EQ(getText(read, L"language", text), ERROR_SUCCESS);
  EXPECT_EQ(text, L"NL \u2022\u00BF\u0192");
  EXPECT_EQ(getText(read, L"Default Settings", text), ERROR_SUCCESS);
  EXPECT_EQ(text, L"");
  BYTE back[8];
  DWORD size = sizeof back, type = 0;
  EXPECT_EQ(RegQueryValueExW(read, L"Blob", nullptr, &type, back, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_BINARY);
  ASSERT_EQ(size, 3u);
  EXPECT_EQ(std::memcmp(back, blob, 3), 0);
  RegCloseKey(read);
  // The names keep the case they were created with.
  EXPECT_EQ(krv::win::Registry::current().toJson(), saved.substr(0, saved.size() - 1));
  EXPECT_NE(saved.find("\"Spreadsheet Editor v1.0\""), std::string::npos);
  // No temporary file is left beside the store.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 1);
}

TEST_F(RegistryFileTest, KeysNestOnlyAsDeepAsAFileCanHoldAndReload) {
  ASSERT_TRUE(krv::win::Registry::current().attachFile(file).ok());
  std::wstring path = L"k";
  for (int i = 1; i < 500; ++i) path += L"\\k";
  HKEY deep = create(HKEY_CURRENT_USER, path.c_str());
  HKEY more = nullptr;
  std::wstring longer = L"m";
  for (int i = 1; i < 12; ++i) longer += L"\\m";
  EXPECT_EQ(
      RegCreateKeyExW(deep, longer.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &more, nullptr),
      ERROR_SUCCESS);  // 511 levels
  RegCloseKey(more);
  EXPECT_EQ(RegCreateKeyExW(deep, (longer + L"\\m\\m").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &more, nullptr),
            ERROR_BAD_PATHNAME);  // 513 levels
  RegCloseKey(deep);
  krv::win::Registry::resetInMemory();
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(krv::win::Registry::current().attachFile(file), error)) << error;
  EXPECT_TRUE(exists(HKEY_CURRENT_USER, (path + L"\\" + longer).c_str()));
}

TEST_F(RegistryFileTest, MalformedFilesAreRefusedAndChangeNothing) {
  HKEY key = create(HKEY_CURRENT_USER, L"Kept");
  RegCloseKey(key);
  std::filesystem::create_directories(file.parent_path());
  const std::string deep = std::string(5000, '[') + std::string(5000, ']');
  for (const std::string& bad :
       {std::string("{not json"), std::string("[]"),
        std::string(R"({"format":"other","version":1,"roots":{}})"),
        std::string(R"({"format":"korvane registry","version":99,"roots":{}})"),
        std::string(R"({"format":"korvane registry","version":1,"roots":{"HKEY_NOWHERE":{}}})"),
        std::string(R"({"format":"korvane registry","version":1,"roots":{"HKEY_CURRENT_USER":)"
                    R"({"keys":[{"name":"a\\b"}]}}})"),
        std::string(R"({"format":"korvane registry","version":1,"roots":{"HKEY_CURRENT_USER":)"
                    R"({"values":[{"name":"x","type":4,"hex":"zz"}]}}})"),
        std::string(R"({"format":"korvane registry","version":1,"roots":{"HKEY_CURRENT_USER":)"
                    R"({"keys":[{"name":"a"},{"name":"A"}]}}})"),
        std::string(
            "{\"format\":\"korvane registry\",\"version\":1,\"roots\":{\"HKEY_CURRENT_USER\":"
            "{\"keys\":[{\"name\":\"\xff\xfe\"}]}}}"),
        deep}) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bad;
    std::string error;
    EXPECT_FALSE(krv::base::reportTo(krv::win::Registry::current().attachFile(file), error))
        << bad.substr(0, 80);
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(exists(HKEY_CURRENT_USER, L"Kept"));
    EXPECT_TRUE(krv::win::Registry::current().file().empty());
  }
  // The message names the file and the place in it.
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      << R"({"format":"korvane registry","version":1,"roots":{"HKEY_CURRENT_USER":)"
         R"({"keys":[{"name":"a","keys":[{"name":"b","values":[{"name":"x","type":3,"hex":"zz"}]}]}]}}})";
  EXPECT_EQ(krv::win::Registry::current().attachFile(file).text(),
            file.string() +
                ": roots.HKEY_CURRENT_USER.keys[0].keys[0].values[0].hex: "
                "hexadecimal bytes are expected");
}

TEST_F(RegistryFileTest, AFailedSaveIsReportedAndKeepsThePreviousFile) {
  ASSERT_TRUE(krv::win::Registry::current().attachFile(file).ok());
  RegCloseKey(create(HKEY_CURRENT_USER, L"First"));
  const std::string before = read(file);
  // The temporary file cannot replace the registry file.
  const krv::base::RenameStep previous =
      krv::base::setRenameStep([](const auto&, const auto&) { return false; });
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Second", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_WRITE_FAULT);
  krv::base::setRenameStep(previous);
  RegCloseKey(key);
  EXPECT_FALSE(krv::win::Registry::current().lastError().ok());
  EXPECT_EQ(read(file), before);
}

TEST_F(RegistryFileTest, OnlyRegularFilesOfBoundedSizeAreRead) {
  RegCloseKey(create(HKEY_CURRENT_USER, L"Kept"));
  std::filesystem::create_directories(dir);
  const auto fifo = dir / "fifo.json", huge = dir / "huge.json";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // A sparse file larger than any registry the program writes.
  { std::ofstream(huge, std::ios::binary) << "{"; }
  std::filesystem::resize_file(huge, 100u * 1024u * 1024u);
  const auto start = std::chrono::steady_clock::now();
  for (const std::filesystem::path& bad : {std::filesystem::path("/dev/zero"), fifo, huge, dir}) {
    std::string error;
    EXPECT_FALSE(krv::base::reportTo(krv::win::Registry::current().attachFile(bad), error)) << bad;
    EXPECT_NE(error.find(bad.string()), std::string::npos) << error;
    EXPECT_TRUE(exists(HKEY_CURRENT_USER, L"Kept"));
    EXPECT_TRUE(krv::win::Registry::current().file().empty());
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5))
      << "neither the pipe nor the device is read from";
}

TEST_F(RegistryFileTest, AReadOnlyFileIsNotReplacedAndAWritableOneKeepsItsMode) {
  ASSERT_TRUE(krv::win::Registry::current().attachFile(file).ok());
  RegCloseKey(create(HKEY_CURRENT_USER, L"First"));
  const std::string before = read(file);
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Second", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_WRITE_FAULT)
      << "refused also when the tests run as the superuser";
  RegCloseKey(key);
  EXPECT_NE(krv::win::Registry::current().lastError().text().find("read-only"), std::string::npos)
      << krv::win::Registry::current().lastError().text();
  EXPECT_EQ(read(file), before);
  struct stat st;
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);

  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  RegCloseKey(create(HKEY_CURRENT_USER, L"Third"));
  EXPECT_NE(read(file).find("Third"), std::string::npos);
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(RegistryFileTest, HeldSavesWriteEveryChangeAtOnceOrNothing) {
  ASSERT_TRUE(krv::win::Registry::current().attachFile(file).ok());
  RegCloseKey(create(HKEY_CURRENT_USER, L"First"));
  const std::string before = read(file);
  krv::win::Registry::current().holdSaves(true);
  RegCloseKey(create(HKEY_CURRENT_USER, L"Second"));
  RegCloseKey(create(HKEY_CURRENT_USER, L"Third"));
  EXPECT_EQ(read(file), before) << "held changes stay in memory";
  EXPECT_TRUE(krv::win::Registry::current().hasUnsavedChanges());

  // A save that fails leaves the file as it was and the changes unsaved.
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  std::string error;
  EXPECT_FALSE(krv::base::reportTo(krv::win::Registry::current().save(), error));
  EXPECT_NE(error.find("read-only"), std::string::npos) << error;
  EXPECT_EQ(read(file), before);
  EXPECT_TRUE(krv::win::Registry::current().hasUnsavedChanges());

  ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
  ASSERT_TRUE(krv::base::reportTo(krv::win::Registry::current().save(), error)) << error;
  EXPECT_FALSE(krv::win::Registry::current().hasUnsavedChanges());
  krv::win::Registry::current().holdSaves(false);
  krv::win::Registry::resetInMemory();
  ASSERT_TRUE(krv::base::reportTo(krv::win::Registry::current().attachFile(file), error)) << error;
  EXPECT_TRUE(exists(HKEY_CURRENT_USER, L"Second"));
  EXPECT_TRUE(exists(HKEY_CURRENT_USER, L"Third"));
}

// Keys and values of every kind the file keeps.
void fillRegistry() {
  HKEY key = nullptr, sub = nullptr;
  ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Korvane\\Sheet", &key), ERROR_SUCCESS);
  const std::wstring text = L"L\u00e4nge \"mm\"";
  RegSetValueExW(key, L"Caption", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegSetValueExW(key, L"", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(L"%HOME%"),
                 7 * sizeof(wchar_t));
  const DWORD number = 4000000000u;
  RegSetValueExW(key, L"Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
  const BYTE bytes[] = {0, 1, 0xAB, 0xFF};
  RegSetValueExW(key, L"Bytes", 0, REG_BINARY, bytes, 4);
  RegSetValueExW(key, L"Odd", 0, REG_SZ, bytes, 3);  // no whole wide characters: kept as hex
  RegSetValueExW(key, L"Empty", 0, REG_NONE, nullptr, 0);
  ASSERT_EQ(RegCreateKeyW(key, L"b\\Deeper", &sub), ERROR_SUCCESS);
  RegCloseKey(sub);
  ASSERT_EQ(RegCreateKeyW(HKEY_LOCAL_MACHINE, L"A", &sub), ERROR_SUCCESS);
  RegCloseKey(sub);
  RegCloseKey(key);
}

// testdata/written_registry.json is what the writer has always written;
// not one byte may change, and reading it gives the same store.
TEST(RegistryDocument, KeepsItsBytesAndReadsBackTheSame) {
  krv::win::Registry::resetInMemory();
  fillRegistry();
  const krv::base::Result<std::string> expected =
      krv::base::readFile(std::filesystem::path(KRV_TESTDATA_DIR) / "written_registry.json");
  ASSERT_TRUE(expected.ok()) << expected.status().text();
  const std::string written = krv::win::Registry::current().toJson();
  EXPECT_EQ(written, *expected);
  krv::win::Registry::resetInMemory();
  ASSERT_TRUE(krv::win::Registry::current().fromJson(*expected).ok());
  EXPECT_EQ(krv::win::Registry::current().toJson(), written);
  krv::win::Registry::resetInMemory();
}

}  // namespace
