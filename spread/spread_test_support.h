#pragma once
// Test fixtures of the spreadsheet window: a dialog-like parent window with
// a placeholder item, the module's resources and dialog strings, an empty
// registry and a scripted user interface; and a scripted popup menu choice.
#include <gtest/gtest.h>

#include <memory>

#include "platform/core/dial_string.h"
#include "platform/win/registry.h"
#include "platform/win/resource_modules.h"
#include "platform/win/user_interface_test_support.h"
#include "spread/dyn_menu.h"
#include "spread/krv_spread.h"

namespace krv::test {

class SheetOnDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    krv::win::Registry::resetInMemory();
    static HINSTANCE module =
        krv::win::ResourceModules::add(L"korvane_ss", KRV_SOURCE_DIR "/resources");
    previousResources = AfxGetResourceHandle();
    AfxSetResourceHandle(module);
    ASSERT_TRUE(dialogWnd.Create(L"#32770", L"Dialog", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                 CRect(100, 100, 600, 400), nullptr, 0));
    placeholder = std::make_unique<CWnd>();
    ASSERT_TRUE(placeholder->Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(40, 60, 340, 260),
                                    &dialogWnd, 500));
  }
  void TearDown() override {
    sheet.DestroyWindow();
    dialogWnd.DestroyWindow();
    AfxSetResourceHandle(previousResources);
  }
  void attach(int cols, int rows) {
    ASSERT_TRUE(sheet.attachToDlgItem(&dialogWnd, 500, false));
    sheet.setMaxCols(cols);
    sheet.setMaxRows(rows);
  }

  krv::win::ScriptedUserInterfaceGuard ui;
  CWnd dialogWnd;
  std::unique_ptr<CWnd> placeholder;
  Krv_Spread sheet;
  HINSTANCE previousResources = nullptr;
};

}  // namespace krv::test
