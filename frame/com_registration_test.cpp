#include "frame/com_registration.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "frame/module_entry_folder.h"
#include "platform/acad/command_line.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/core/text_file.h"
#include "platform/win/registry.h"

namespace {

// The identifiers as the product's documentation gives them, kept apart
// from the table in the code so that a mistyped byte is caught.
struct Expected {
  const wchar_t* name;
  const wchar_t* text;
};
const Expected kLibrary{L"", L"{76EF0D49-DD1E-4714-B6B9-E45EDE3C81DA}"};
const std::vector<Expected> kClasses{
    {L"Bolt", L"{2CE559DB-0008-4AA7-8E1D-7DCEBAB7D2C4}"},
    {L"Prof", L"{C56B631B-22FB-4142-AD73-37AD2CB5D18D}"},
    {L"Struct", L"{0131C632-D769-4F66-B455-EB87522AB6EE}"},
    {L"Plate", L"{4D3619EC-7068-4AF0-B5A9-A982CE747699}"},
    {L"DynProp", L"{E6078CBB-F82E-49B3-8062-FA0562C9B56A}"},
    {L"FuncPage", L"{5448D9C0-BCC5-47E5-949E-53359B22C365}"},
    {L"FuncPage2", L"{ADFA2B87-CB99-4F72-BE37-2F8B812F2444}"},
    {L"FuncPage3", L"{6755AD00-0490-45E1-88EC-300F824C3EF4}"},
    {L"ZoomPage", L"{5779C6DE-5F8C-4CFC-A9B5-1E1B720EA9E3}"},
    {L"Macro", L"{034405EA-388A-485D-B732-2254C423AA14}"},
    {L"Array", L"{2346B38A-6B19-4B31-8C34-64A046C42C7E}"},
    {L"Coordsys", L"{3579BCA1-6F5E-466A-950F-B3379E3F6232}"},
    {L"Pattern", L"{9C8CE529-EFD9-44FB-BF3C-5A35E2EA379A}"},
    {L"Helix", L"{B5F8E867-6A5F-46EA-BCBF-FFEDA9581AA3}"},
    {L"PerInstanceFactory", L"{BDC04F4A-53D8-4F8A-9432-E92C737CF59F}"},
    {L"PerInstanceProperty", L"{5A7062A1-444D-49E9-B21B-F78C83B38CA6}"},
    {L"BoltPerInstanceProperty", L"{97FB673D-488E-458C-A1BA-2B8FB3FFE2F0}"},
    {L"BodyPerInstanceProperty", L"{A0387E2F-6753-4A2A-9963-ADF78B87DE3F}"},
    {L"OPMBody", L"{99322C59-46B7-47EB-AAC6-E272149A7652}"},
};
const std::vector<Expected> kInterfaces{
    {L"IBolt", L"{5037D355-E825-46B1-87DC-446318A128DE}"},
    {L"IProf", L"{85E635CB-2E4C-4AD5-BEAB-72445EEC8FA3}"},
    {L"IStruct", L"{00A67179-E292-43EA-8452-DAB5FF5AB5E1}"},
    {L"IPlate", L"{C4966C0B-F4E2-41ED-B254-476B05131D82}"},
    {L"IMacro", L"{72A8E655-612A-4144-89EE-B92A74B2301E}"},
    {L"IArray", L"{8473328D-4227-4946-B580-96FC408CF37D}"},
    {L"ICoordsys", L"{65221253-3577-4296-899F-A8A366A1C433}"},
    {L"IPattern", L"{7F98A815-0BA8-491C-8BF5-7389753F24A1}"},
    {L"IHelix", L"{B1E30D13-48A7-420B-8C8C-7BD9817C1F29}"},
    {L"IPerInstanceFactory", L"{213B4068-BC70-4C41-BAB8-C2552B2821D3}"},
    {L"IPerInstanceProperty", L"{C6393D65-E336-4D13-BBAA-0CA6AE04DB9C}"},
    {L"IBoltPerInstanceProperty", L"{F98CA018-E287-42B0-9BF0-828740EC3680}"},
    {L"IBodyPerInstanceProperty", L"{0B0545FE-BD42-4849-86C0-9DFF1F1B86B3}"},
    {L"IOPMBody", L"{FD056682-2994-42D1-9495-B450A402CEF2}"},
};

std::vector<std::wstring> allTopKeys() {
  std::vector<std::wstring> keys{std::wstring(L"TypeLib\\") + kLibrary.text};
  for (const auto& c : kClasses) keys.push_back(std::wstring(L"CLSID\\") + c.text);
  for (const auto& i : kInterfaces) keys.push_back(std::wstring(L"Interface\\") + i.text);
  return keys;
}

bool keyExists(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

// The default value of a key as text; "<missing>" when key or value is absent.
std::wstring defaultValue(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return L"<missing>";
  DWORD type = 0;
  DWORD size = 0;
  std::wstring result = L"<missing>";
  if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      type == REG_SZ) {
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, 0);
    if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(buffer.data()),
                         &size) == ERROR_SUCCESS)
      result = buffer.data();
  }
  RegCloseKey(key);
  return result;
}

int rootSubkeyCount() {
  int n = 0;
  wchar_t name[256];
  for (;;) {
    DWORD length = 256;
    if (RegEnumKeyExW(HKEY_CLASSES_ROOT, static_cast<DWORD>(n), name, &length, nullptr, nullptr,
                      nullptr, nullptr) != ERROR_SUCCESS)
      return n;
    ++n;
  }
}

class ComRegistration : public ::testing::Test {
 protected:
  void SetUp() override {
    krv::win::Registry::resetInMemory();
    krv::frame::setModuleFolder(mFolder.path());
  }
  void TearDown() override {
    krv::frame::setModuleFolder({});
    krv::win::Registry::resetInMemory();
  }
  void placeServer() { mFolder.writeBytes("ostrel.arx", "server"); }
  std::wstring serverPath() const { return (mFolder.path() / "ostrel.arx").wstring(); }

  TempFolder mFolder;
};

TEST_F(ComRegistration, TableMatchesTheDocumentedIdentifiers) {
  std::wstring text;
  ASSERT_TRUE(krv::frame::comGuidText(krv::frame::comTypeLibrary(), text));
  EXPECT_EQ(text, kLibrary.text);
  ASSERT_EQ(krv::frame::comClasses().size(), kClasses.size());
  ASSERT_EQ(krv::frame::comInterfaces().size(), kInterfaces.size());
  for (size_t i = 0; i < kClasses.size(); ++i) {
    ASSERT_TRUE(krv::frame::comGuidText(krv::frame::comClasses()[i].id, text));
    EXPECT_EQ(std::wstring(krv::frame::comClasses()[i].name), kClasses[i].name);
    EXPECT_EQ(text, kClasses[i].text) << i;
  }
  for (size_t i = 0; i < kInterfaces.size(); ++i) {
    ASSERT_TRUE(krv::frame::comGuidText(krv::frame::comInterfaces()[i].id, text));
    EXPECT_EQ(std::wstring(krv::frame::comInterfaces()[i].name), kInterfaces[i].name);
    EXPECT_EQ(text, kInterfaces[i].text) << i;
  }
}

TEST_F(ComRegistration, CleanupWithNothingRegisteredSucceeds) {
  EXPECT_EQ(SScleanupComRegistry(), Acad::eOk);
  // Parents present but the keys themselves missing: still nothing to do.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyW(HKEY_CLASSES_ROOT, L"CLSID", &key), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(SScleanupComRegistry(), Acad::eOk);
  EXPECT_TRUE(keyExists(L"CLSID"));
}

TEST_F(ComRegistration, RegisterWritesTheLayoutAndCleanupRemovesEveryKey) {
  placeServer();
  // Someone else's class under the same parent must survive the clean-up.
  HKEY other = nullptr;
  ASSERT_EQ(
      RegCreateKeyW(HKEY_CLASSES_ROOT, L"CLSID\\{11111111-2222-3333-4444-555555555555}", &other),
      ERROR_SUCCESS);
  RegCloseKey(other);
  for (const auto& k : allTopKeys()) EXPECT_FALSE(keyExists(k)) << k;

  ASSERT_EQ(SSregisterOpmCLSIDs(), Acad::eOk);
  for (const auto& k : allTopKeys()) EXPECT_TRUE(keyExists(k)) << k;

  const std::wstring lib = kLibrary.text;
  const std::wstring version = L"TypeLib\\" + lib + L"\\1.1";
  EXPECT_EQ(defaultValue(version), L"Vantorel 1.0 Type Library");
  EXPECT_EQ(defaultValue(version + L"\\0\\win32"), serverPath());
  EXPECT_EQ(defaultValue(version + L"\\9\\win32"), serverPath());
  for (const auto& c : kClasses) {
    const std::wstring key = std::wstring(L"CLSID\\") + c.text;
    EXPECT_EQ(defaultValue(key), std::wstring(c.name) + L" Class");
    EXPECT_EQ(defaultValue(key + L"\\InProcServer32"), serverPath());
    EXPECT_EQ(defaultValue(key + L"\\Typelib"), lib);
  }
  for (const auto& i : kInterfaces) {
    const std::wstring key = std::wstring(L"Interface\\") + i.text;
    EXPECT_EQ(defaultValue(key), std::wstring(i.name) + L" Interface");
    EXPECT_EQ(defaultValue(key + L"\\TypeLib"), lib);
    EXPECT_EQ(defaultValue(key + L"\\ProxyStubClsid32"), L"{00020424-0000-0000-C000-000000000046}");
  }

  // Registering twice rewrites the same values.
  EXPECT_EQ(SSregisterOpmCLSIDs(), Acad::eOk);

  ASSERT_EQ(SScleanupComRegistry(), Acad::eOk);
  for (const auto& k : allTopKeys()) EXPECT_FALSE(keyExists(k)) << k;
  EXPECT_TRUE(keyExists(L"CLSID\\{11111111-2222-3333-4444-555555555555}"));
}

TEST_F(ComRegistration, RegisterWithoutServerWritesNothing) {
  EXPECT_EQ(SSregisterOpmCLSIDs(), Acad::eInvalidInput);
  EXPECT_EQ(rootSubkeyCount(), 0);
  // A folder of that name is not the server either.
  std::filesystem::create_directories(mFolder.path() / "ostrel.arx");
  EXPECT_EQ(SSregisterOpmCLSIDs(), Acad::eInvalidInput);
  EXPECT_EQ(rootSubkeyCount(), 0);
}

TEST_F(ComRegistration, FailedWritesAreCollectedAndDoNotStopTheOthers) {
  placeServer();
  const std::wstring prof = std::wstring(L"CLSID\\") + kClasses[1].text;
  krv::win::Registry::current().denyAccess(HKEY_CLASSES_ROOT, prof);
  EXPECT_EQ(SSregisterOpmCLSIDs(), Acad::eInvalidInput);
  EXPECT_EQ(defaultValue(std::wstring(L"CLSID\\") + kClasses[0].text), L"Bolt Class");
  EXPECT_EQ(defaultValue(std::wstring(L"CLSID\\") + kClasses[2].text), L"Struct Class");
  EXPECT_EQ(defaultValue(std::wstring(L"Interface\\") + kInterfaces.back().text),
            L"IOPMBody Interface");
}

// Every key registration writes, in the order it writes them, with the
// default value it gives the key.
std::vector<std::pair<std::wstring, std::wstring>> registeredLayout(const std::wstring& server) {
  const std::wstring lib = kLibrary.text;
  const std::wstring version = L"TypeLib\\" + lib + L"\\1.1";
  std::vector<std::pair<std::wstring, std::wstring>> layout{
      {version, L"Vantorel 1.0 Type Library"},
      {version + L"\\0\\win32", server},
      {version + L"\\9\\win32", server},
  };
  for (const auto& c : kClasses) {
    const std::wstring key = std::wstring(L"CLSID\\") + c.text;
    layout.insert(layout.end(), {{key, std::wstring(c.name) + L" Class"},
                                 {key + L"\\InProcServer32", server},
                                 {key + L"\\Typelib", lib}});
  }
  for (const auto& i : kInterfaces) {
    const std::wstring key = std::wstring(L"Interface\\") + i.text;
    layout.insert(layout.end(),
                  {{key, std::wstring(i.name) + L" Interface"},
                   {key + L"\\TypeLib", lib},
                   {key + L"\\ProxyStubClsid32", L"{00020424-0000-0000-C000-000000000046}"}});
  }
  return layout;
}

TEST_F(ComRegistration, AnySingleFailedWriteIsReportedAndTheOthersAreStillWritten) {
  const auto layout = registeredLayout(serverPath());
  // A write fails either because the key cannot be created or opened, or
  // because its value cannot be set; both must be reported wherever they
  // happen, not only when the first write fails.
  enum class Failure { KeyRefused, ValueRefused };
  struct Place {
    const char* name;
    std::size_t index;
  };
  const Place places[] = {{"the first key", 0},
                          {"a class in the middle", layout.size() / 2},
                          {"the last key", layout.size() - 1}};
  for (Failure failure : {Failure::KeyRefused, Failure::ValueRefused}) {
    for (const auto& place : places) {
      const std::wstring& failing = layout[place.index].first;
      SCOPED_TRACE(
          std::string(failure == Failure::KeyRefused ? "key refused at " : "value refused at ") +
          place.name);
      krv::win::Registry::resetInMemory();
      placeServer();
      if (failure == Failure::KeyRefused)
        krv::win::Registry::current().denyAccess(HKEY_CLASSES_ROOT, failing);
      else
        krv::win::Registry::current().failValueWrites(HKEY_CLASSES_ROOT, failing);
      EXPECT_EQ(SSregisterOpmCLSIDs(), Acad::eInvalidInput);
      for (const auto& [path, value] : layout)
        EXPECT_EQ(defaultValue(path), path == failing ? L"<missing>" : value) << path;
    }
  }
}

TEST_F(ComRegistration, CleanupFailsWhenAParentCannotBeOpenedButRemovesTheRest) {
  placeServer();
  ASSERT_EQ(SSregisterOpmCLSIDs(), Acad::eOk);
  krv::win::Registry::current().denyAccess(HKEY_CLASSES_ROOT, L"Interface");
  EXPECT_EQ(SScleanupComRegistry(), Acad::eInvalidInput);
  EXPECT_FALSE(keyExists(std::wstring(L"TypeLib\\") + kLibrary.text));
  for (const auto& c : kClasses) EXPECT_FALSE(keyExists(std::wstring(L"CLSID\\") + c.text));
}

TEST(GuidInitializer, SplitsTheTextIntoItsGroups) {
  EXPECT_EQ(krv::frame::guidInitializerText(L"{2CE559DB-0008-4AA7-8E1D-7DCEBAB7D2C4}"),
            L"{0x2CE559DB,0x0008,0x4AA7,{0x8E,0x1D,0x7D,0xCE,0xBA,0xB7,0xD2,0xC4}}");
  EXPECT_EQ(krv::frame::guidInitializerText(L"2CE559DB-0008-4AA7-8E1D-7DCEBAB7D2C4"),
            L"{0x2CE559DB,0x0008,0x4AA7,{0x8E,0x1D,0x7D,0xCE,0xBA,0xB7,0xD2,0xC4}}");
  EXPECT_EQ(krv::frame::guidInitializerText(L"{2CE559DB-0008-4AA7-8E1D}"), L"");
  EXPECT_EQ(krv::frame::guidInitializerText(L"{2CE559DB-0008-4AA7-8E1-7DCEBAB7D2C4}"), L"");
  EXPECT_EQ(krv::frame::guidInitializerText(L"{2CE559DB-0008-4AA7-8E1D-7DCEBAB7D2}"), L"");
  EXPECT_EQ(krv::frame::guidInitializerText(L"{2CE559DB-0008-4AA7-8E1D-7DCE-BAB7D2C4}"), L"");
  EXPECT_EQ(krv::frame::guidInitializerText(L""), L"");
}

TEST_F(ComRegistration, ListingPrintsEveryClassAndWritesTheIdentifierFile) {
  acad::CommandLineCapture capture;
  ASSERT_EQ(SSprintCLSIDs(), Acad::eOk);
  const std::wstring& out = capture.text();
  EXPECT_EQ(std::count(out.begin(), out.end(), L'\n'), 19);
  EXPECT_THAT(out, ::testing::StartsWith(
                       L"\nconst cCLSID CLSID_Bolt = "
                       L"{0x2CE559DB,0x0008,0x4AA7,{0x8E,0x1D,0x7D,0xCE,0xBA,0xB7,0xD2,0xC4}};\n"));
  EXPECT_THAT(out, ::testing::EndsWith(
                       L"\nconst cCLSID CLSID_OPMBody = "
                       L"{0x99322C59,0x46B7,0x47EB,{0xAA,0xC6,0xE2,0x72,0x14,0x9A,0x76,0x52}};"));
  // Registry untouched by the listing.
  EXPECT_EQ(rootSubkeyCount(), 0);

  Krv_StringArray lines;
  ASSERT_TRUE(ObjectExportReadFile(mFolder.text("RegistryIDs.dat"), lines));
  ASSERT_EQ(lines.length(), 34);
  EXPECT_EQ(lines[0].str(), std::wstring(L"TypeLib_=") + kLibrary.text);
  for (size_t i = 0; i < kClasses.size(); ++i)
    EXPECT_EQ(lines[static_cast<int>(1 + i)].str(),
              std::wstring(L"Class_") + kClasses[i].name + L"=" + kClasses[i].text);
  for (size_t i = 0; i < kInterfaces.size(); ++i)
    EXPECT_EQ(lines[static_cast<int>(20 + i)].str(),
              std::wstring(L"Interface_") + kInterfaces[i].name + L"=" + kInterfaces[i].text);
  const std::string bytes = mFolder.readBytes("RegistryIDs.dat");
  EXPECT_EQ(bytes.substr(0, 48), "TypeLib_={76EF0D49-DD1E-4714-B6B9-E45EDE3C81DA}\n");
}

TEST_F(ComRegistration, ListingIntoAMissingFolderReportsTheFile) {
  krv::frame::setModuleFolder(mFolder.path() / "gone");
  acad::CommandLineCapture capture;
  EXPECT_EQ(SSprintCLSIDs(), Acad::eOk);
  EXPECT_THAT(capture.text(), ::testing::HasSubstr(L"Could not write"));
  EXPECT_FALSE(std::filesystem::exists(mFolder.path() / "gone"));
}

}  // namespace
