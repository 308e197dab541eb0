// Loads the built module the way the host does: dlopen, the entry point
// found by name, the application messages, and dlclose. The module keeps its
// own copy of the host runtime; the test reaches it through the library's
// symbols. The library stays mapped after dlclose while its objects are in
// use (the C++ runtime marks it so); its unload hook then runs at exit.
#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "frame/com_registration.h"
#include "frame/module_entry.h"
#include "frame/ss_dlgs_mgr.h"
#include "platform/acad/rx_system.h"
#include "platform/win/bitmap.h"

namespace {

using EntryPoint = AcRx::AppRetCode (*)(AcRx::AppMsgCode, void*);
using ApiVersion = int (*)();

class LoadedModule : public ::testing::Test {
 protected:
  void SetUp() override {
    mHandle = dlopen(KRV_MODULE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(mHandle, nullptr) << dlerror();
  }
  void TearDown() override {
    if (mHandle) {
      EXPECT_EQ(dlclose(mHandle), 0) << dlerror();
    }
  }
  template <typename F>
  F symbol(const char* name) {
    void* p = dlsym(mHandle, name);
    EXPECT_NE(p, nullptr) << name << ": " << dlerror();
    return reinterpret_cast<F>(p);
  }

  void* mHandle = nullptr;
  int mAppId = 0;
};

TEST_F(LoadedModule, ExportsTheEntryPointAndTheRegistrationFunctions) {
  EXPECT_EQ(symbol<ApiVersion>("acrxGetApiVersion")(), kAcadApiVersion);
  EXPECT_NE(symbol<EntryPoint>("acrxEntryPoint"), nullptr);
  // The exported functions keep their C++ names.
  for (const char* name :
       {"_Z19SSregisterOpmCLSIDsv", "_Z20SScleanupComRegistryv", "_Z13SSprintCLSIDsv",
        "_Z19DestroyAllMacroDlgsv", "_Z21EndDlgEditConstraintsv"})
    EXPECT_NE(dlsym(mHandle, name), nullptr) << name;
}

TEST_F(LoadedModule, AttachesOnLoadAndAnswersTheApplicationMessages) {
  auto moduleInstance = symbol<HINSTANCE (*)()>("_ZN3krv5frame14moduleInstanceEv");
  auto linker = symbol<AcRxDynamicLinker* (*)()>("_Z17acrxDynamicLinkerv");
  auto commands = symbol<AcEdCommandStack* (*)()>("_Z11acedRegCmdsv");
  auto bitmap = symbol<const CBitmap& (*)(UINT)>("_ZN3krv5frame12moduleBitmapEj");
  auto entry = symbol<EntryPoint>("acrxEntryPoint");
  ASSERT_TRUE(moduleInstance && linker && commands && bitmap && entry);

  // The load hook attached the module with its shipped resources.
  EXPECT_NE(moduleInstance(), nullptr);

  for (int code = AcRx::kNullMsg; code <= AcRx::kSuspendMsg; ++code) {
    if (code == AcRx::kInitAppMsg || code == AcRx::kUnloadAppMsg) continue;
    EXPECT_EQ(entry(static_cast<AcRx::AppMsgCode>(code), &mAppId), AcRx::kRetOK) << code;
  }
  EXPECT_EQ(linker()->record(&mAppId), nullptr);

  EXPECT_EQ(entry(AcRx::kInitAppMsg, &mAppId), AcRx::kRetOK);
  ASSERT_NE(linker()->record(&mAppId), nullptr);
  EXPECT_TRUE(linker()->isAppMDIAware(&mAppId));
  EXPECT_FALSE(linker()->isAppLocked(&mAppId));
  EXPECT_NE(bitmap(krv::frame::kCellButtonBitmapA).operator HBITMAP(), nullptr);
  EXPECT_NE(bitmap(krv::frame::kCellButtonBitmapB).operator HBITMAP(), nullptr);

  EXPECT_TRUE(commands()->removedGroups().empty());
  EXPECT_EQ(entry(AcRx::kUnloadAppMsg, &mAppId), AcRx::kRetOK);
  EXPECT_THAT(commands()->removedGroups(), ::testing::ElementsAre(L"KORVANE_SS"));
}

TEST_F(LoadedModule, ThePoolHandsOutAStandardsDialogBeforeAnyEvaluation) {
  // Another module of the product takes a pooled dialog without having run
  // an evaluation, and without switching the resource lookup to this module.
  auto* pool = symbol<VtSSDlgsMgr*>("gSSDlgsMgr");
  auto getDlg = symbol<void* (*)(VtSSDlgsMgr*)>("_ZN11VtSSDlgsMgr6getDlgEv");
  auto releaseDlg =
      symbol<Acad::ErrorStatus (*)(VtSSDlgsMgr*, void*)>("_ZN11VtSSDlgsMgr10releaseDlgEPv");
  ASSERT_TRUE(pool && getDlg && releaseDlg);

  void* dialog = getDlg(pool);
  ASSERT_NE(dialog, nullptr) << "the standards dialog's factory is installed when the module loads";
  EXPECT_EQ(static_cast<krv::frame::PooledStandardsDialog*>(dialog)->templateId(),
            krv::frame::PooledStandardsDialog::kTemplateId);
  EXPECT_EQ(releaseDlg(pool, dialog), Acad::eOk);
}

}  // namespace
