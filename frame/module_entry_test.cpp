#include "frame/module_entry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "frame/exported_functions.h"
#include "frame/macro_dialog_slots.h"
#include "frame/macro_editor_slot.h"
#include "frame/resource_guard.h"
#include "platform/acad/command_line.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/win/bitmap.h"
#include "platform/win/dialog.h"
#include "platform/win/resource_modules.h"

namespace {

const std::filesystem::path kShippedBitmaps =
    std::filesystem::path(KRV_SOURCE_DIR) / "resources" / "bitmaps";

std::string templateText(int id) {
  return "{\"id\": " + std::to_string(id) +
         ", \"caption\": \"Test\", \"style\": \"WS_POPUP | WS_CAPTION\", \"cx\": 100, \"cy\": 60, "
         "\"controls\": [{\"id\": 1, \"class\": \"BUTTON\", \"text\": \"OK\", "
         "\"style\": \"BS_DEFPUSHBUTTON\", \"x\": 40, \"y\": 40, \"cx\": 50, \"cy\": 14}]}";
}

int gLiveDialogs = 0;

class TestMacroDialog : public krv::frame::MacroDialogBase {
 public:
  TestMacroDialog() { ++gLiveDialogs; }
  ~TestMacroDialog() override { --gLiveDialogs; }
  bool isMacroBusy() const override { return false; }
  void copyMacroData(MacroData&) const override {}
};

class TestMacroEditor : public krv::frame::MacroEditorBase {
 public:
  TestMacroEditor() { ++gLiveDialogs; }
  ~TestMacroEditor() override { --gLiveDialogs; }
};

// A module folder with the shipped bitmaps and the two templates of the
// modeless dialogs.
class ModuleEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    acad::resetRuntime();
    std::filesystem::create_directories(mFolder.path() / "bitmaps");
    for (const char* name : {"8134.bmp", "8136.bmp"})
      std::filesystem::copy_file(kShippedBitmaps / name, mFolder.path() / "bitmaps" / name);
    mFolder.writeBytes("templates/8131.json", templateText(8131));
    mFolder.writeBytes("templates/8715.json", templateText(8715));
  }
  void TearDown() override {
    krv::frame::unloadModule();
    acad::resetRuntime();
  }

  TempFolder mFolder;
  int mAppId = 0;  // its address is the application id
};

TEST_F(ModuleEntry, AttachKeepsTheInstanceAndJoinsTheResourceChain) {
  HINSTANCE instance = krv::frame::loadModule(mFolder.path());
  ASSERT_NE(instance, nullptr);
  EXPECT_EQ(krv::frame::moduleInstance(), instance);
  EXPECT_EQ(krv::frame::moduleResourceOverride().defaultResource(), instance);
  EXPECT_THAT(krv::win::resourceChain(), ::testing::ElementsAre(instance));
  // The host's own lookup finds the module's resources through the chain.
  EXPECT_EQ(AfxFindResourceHandle(8134, krv::win::ResourceKind::Bitmap), instance);
  EXPECT_EQ(AfxFindResourceHandle(8715, krv::win::ResourceKind::DialogTemplate), instance);
  EXPECT_EQ(AfxFindResourceHandle(9999, krv::win::ResourceKind::Bitmap), nullptr);
  // Loading twice is refused without disturbing the loaded module.
  EXPECT_EQ(krv::frame::loadModule(mFolder.path()), nullptr);
  EXPECT_EQ(krv::frame::moduleInstance(), instance);

  krv::frame::unloadModule();
  EXPECT_EQ(krv::frame::moduleInstance(), nullptr);
  EXPECT_TRUE(krv::win::resourceChain().empty());
  EXPECT_EQ(krv::win::ResourceModules::find(instance), nullptr);
  EXPECT_EQ(krv::frame::moduleResourceOverride().defaultResource(), nullptr);
}

TEST_F(ModuleEntry, ResourcesOfTheAttachedModuleAreFoundWhileTheHostsModuleIsCurrent) {
  mFolder.writeBytes("icons/257.ico", "an icon file");
  ASSERT_NE(krv::frame::loadModule(mFolder.path()), nullptr);
  ASSERT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle())
      << "no resource guard: the host's module is current";

  CDialog dialog;
  EXPECT_TRUE(dialog.Create(8715))
      << "the template is found through the chain: " << krv::win::lastResourceError().text();
  dialog.DestroyWindow();
  CBitmap bitmap;
  EXPECT_TRUE(bitmap.LoadBitmap(krv::frame::kCellButtonBitmapA));
  EXPECT_NE(krv::win::ResourceModules::loadIcon(257), nullptr);

  krv::frame::unloadModule();
  CBitmap gone;
  EXPECT_FALSE(gone.LoadBitmap(krv::frame::kCellButtonBitmapA))
      << "a detached module has left the chain";
}

TEST_F(ModuleEntry, AttachIsRefusedWhenTheResourcesAreMissing) {
  EXPECT_EQ(krv::frame::loadModule(mFolder.path() / "missing"), nullptr);
  EXPECT_EQ(krv::frame::moduleInstance(), nullptr);
  EXPECT_TRUE(krv::win::resourceChain().empty());
  EXPECT_EQ(krv::frame::moduleResourceOverride().defaultResource(), nullptr);
  // Thread notifications and a detach without attach are harmless.
  EXPECT_EQ(DllMain(nullptr, DLL_THREAD_ATTACH, nullptr), TRUE);
  EXPECT_EQ(DllMain(nullptr, DLL_PROCESS_ATTACH, nullptr), FALSE);
  // A later load with the resources in place works.
  EXPECT_NE(krv::frame::loadModule(mFolder.path()), nullptr);
}

TEST_F(ModuleEntry, InitUnlocksRegistersMdiAwareAndLoadsTheBitmaps) {
  ASSERT_NE(krv::frame::loadModule(mFolder.path()), nullptr);
  EXPECT_EQ(krv::frame::moduleBitmap(krv::frame::kCellButtonBitmapA).operator HBITMAP(), nullptr);
  EXPECT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, &mAppId), AcRx::kRetOK);

  const auto* record = acrxDynamicLinker()->record(&mAppId);
  ASSERT_NE(record, nullptr);
  EXPECT_TRUE(record->unlocked);
  EXPECT_TRUE(record->mdiAware);
  for (UINT id : {krv::frame::kCellButtonBitmapA, krv::frame::kCellButtonBitmapB}) {
    BITMAP info;
    ASSERT_NE(krv::frame::moduleBitmap(id).operator HBITMAP(), nullptr) << id;
    krv::frame::moduleBitmap(id).GetBitmap(&info);
    EXPECT_EQ(info.bmWidth, 16);
    EXPECT_EQ(info.bmHeight, 15);
  }
  EXPECT_NE(krv::frame::moduleBitmap(krv::frame::kCellButtonBitmapA).image().pixels(),
            krv::frame::moduleBitmap(krv::frame::kCellButtonBitmapB).image().pixels());
  EXPECT_EQ(krv::frame::moduleBitmap(1).operator HBITMAP(), nullptr);
}

TEST_F(ModuleEntry, InitWithoutBitmapFilesSaysSoAndStillRegisters) {
  std::filesystem::remove_all(mFolder.path() / "bitmaps");
  mFolder.writeBytes("bitmaps/8136.bmp", "BM not really a bitmap");
  ASSERT_NE(krv::frame::loadModule(mFolder.path()), nullptr);
  acad::CommandLineCapture capture;
  EXPECT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, &mAppId), AcRx::kRetOK);
  EXPECT_THAT(capture.text(), ::testing::HasSubstr(L"Bitmap 8134 of korvane_ss not loaded"));
  EXPECT_THAT(capture.text(), ::testing::HasSubstr(L"Bitmap 8136 of korvane_ss not loaded"));
  EXPECT_EQ(krv::frame::moduleBitmap(krv::frame::kCellButtonBitmapA).operator HBITMAP(), nullptr);
  EXPECT_EQ(krv::frame::moduleBitmap(krv::frame::kCellButtonBitmapB).operator HBITMAP(), nullptr);
  EXPECT_TRUE(acrxDynamicLinker()->isAppMDIAware(&mAppId));
}

TEST_F(ModuleEntry, UnloadRemovesTheCommandGroupEvenWhenEmpty) {
  ASSERT_NE(krv::frame::loadModule(mFolder.path()), nullptr);
  AcEdCommandStack* commands = acedRegCmds();
  ASSERT_EQ(commands->addCommand(L"OTHER", L"KEEPME", L"KEEPME", 0, [] {}), Acad::eOk);
  EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, &mAppId), AcRx::kRetOK);
  EXPECT_THAT(commands->removedGroups(), ::testing::ElementsAre(L"KORVANE_SS"));
  EXPECT_NE(commands->lookupCmd(L"KEEPME"), nullptr);

  ASSERT_EQ(commands->addCommand(L"KORVANE_SS", L"SSTEST", L"SSTEST", 0, [] {}), Acad::eOk);
  EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, &mAppId), AcRx::kRetOK);
  EXPECT_EQ(commands->lookupCmd(L"SSTEST"), nullptr);
  EXPECT_EQ(commands->commandCount(L"OTHER"), 1);
}

TEST_F(ModuleEntry, UnloadClosesEveryModelessMacroDialogAndTheEditor) {
  ASSERT_NE(krv::frame::loadModule(mFolder.path()), nullptr);
  ASSERT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, &mAppId), AcRx::kRetOK);
  gLiveDialogs = 0;
  int slots[3];
  for (int& slot : slots)
    ASSERT_TRUE(krv::frame::openModelessMacroDialog(false, slot,
                                                    [](CWnd*) { return new TestMacroDialog; }));
  krv::frame::openModelessMacroEditor([](CWnd*) { return new TestMacroEditor; });
  // A hole in the middle of the table must not stop the rest from closing.
  ASSERT_TRUE(EndDlgMacroModeless(slots[1]));
  ASSERT_EQ(gLiveDialogs, 3);
  ASSERT_NE(krv::frame::modelessMacroEditor(), nullptr);

  EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, &mAppId), AcRx::kRetOK);
  EXPECT_EQ(gLiveDialogs, 0);
  EXPECT_EQ(krv::frame::modelessMacroSlotCount(), 0);
  EXPECT_EQ(krv::frame::modelessMacroDialog(0), nullptr);
  EXPECT_EQ(krv::frame::modelessMacroEditor(), nullptr);
  // A second unload finds nothing left to close.
  EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, &mAppId), AcRx::kRetOK);
}

TEST_F(ModuleEntry, EveryOtherMessageIsIgnored) {
  ASSERT_NE(krv::frame::loadModule(mFolder.path()), nullptr);
  gLiveDialogs = 0;
  int slot = -1;
  ASSERT_TRUE(
      krv::frame::openModelessMacroDialog(true, slot, [](CWnd*) { return new TestMacroDialog; }));
  for (int code = AcRx::kNullMsg; code <= AcRx::kSuspendMsg; ++code) {
    if (code == AcRx::kInitAppMsg || code == AcRx::kUnloadAppMsg) continue;
    EXPECT_EQ(acrxEntryPoint(static_cast<AcRx::AppMsgCode>(code), &mAppId), AcRx::kRetOK) << code;
  }
  EXPECT_EQ(acrxDynamicLinker()->record(&mAppId), nullptr);
  EXPECT_TRUE(acedRegCmds()->removedGroups().empty());
  EXPECT_EQ(krv::frame::moduleBitmap(krv::frame::kCellButtonBitmapA).operator HBITMAP(), nullptr);
  EXPECT_EQ(gLiveDialogs, 1);
  EXPECT_EQ(acrxGetApiVersion(), kAcadApiVersion);
  EXPECT_TRUE(EndDlgMacroModeless(slot));
}

}  // namespace
