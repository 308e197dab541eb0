#include "platform/core/dlg_open_multi.h"

#include <gtest/gtest.h>

#include "platform/win/user_interface_test_support.h"

namespace {

TEST(DlgOpenMulti, AsksForFilesAndFoldersOfOneTypeAndGivesPathTexts) {
  krv::win::ScriptedUserInterfaceGuard ui;
  ui->answerFiles({L"/lib/Macros/Beam/a.dwg", L"", L"/lib/Macros/Columns"});
  Krv_StringArray paths{L"left over"};
  ASSERT_TRUE(DlgOpenMulti(L"\\lib\\Macros", L"Drawing", L".dwg", L"Pick drawings", paths));
  EXPECT_EQ(paths, (Krv_StringArray{L"\\lib\\Macros\\Beam\\a.dwg", L"\\lib\\Macros\\Columns"}));

  ASSERT_EQ(ui->fileDialogs().size(), 1u);
  const FileDialogRequest& r = ui->fileDialogs()[0];
  EXPECT_TRUE(r.open);
  EXPECT_TRUE(r.multiSelect);
  EXPECT_TRUE(r.foldersToo);
  EXPECT_EQ(r.title, L"Pick drawings");
  EXPECT_EQ(r.filter, L"Drawing (*.dwg)|*.dwg||");
  EXPECT_EQ(r.defaultExt, L"dwg");
  EXPECT_EQ(r.initialFolder, L"\\lib\\Macros\\");
}

TEST(DlgOpenMulti, CancelledOrEmptyChoiceGivesFalseAndNoPaths) {
  krv::win::ScriptedUserInterfaceGuard ui;
  ui->answerFiles({});
  ui->answerFiles({L""});
  Krv_StringArray paths{L"left over"};
  EXPECT_FALSE(DlgOpenMulti(L"C:\\lib\\Macros\\", L"Drawing", L"dwg", L"Pick", paths));
  EXPECT_EQ(paths.length(), 0);
  paths.append(L"left over");
  EXPECT_FALSE(DlgOpenMulti(L"C:\\lib\\Macros\\", L"Drawing", L"dwg", L"Pick", paths));
  EXPECT_EQ(paths.length(), 0);
}

}  // namespace
