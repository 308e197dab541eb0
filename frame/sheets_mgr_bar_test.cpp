#include "frame/sheets_mgr_bar.h"

#include <vector>

#include "frame/frame_test_fixture.h"
#include "platform/win/person.h"

namespace krv::frame {
namespace {

class TestSheetsMgr : public SheetsMgrDialogBase {
 public:
  TestSheetsMgr() { ++sLive; }
  ~TestSheetsMgr() override { --sLive; }
  void actionNotify(VtSheetAction action) override { sActions.push_back(static_cast<int>(action)); }
  void OnBarClosing() override { ++sBarClosings; }
  static int sLive, sBarClosings;
  static std::vector<int> sActions;
};
int TestSheetsMgr::sLive = 0;
int TestSheetsMgr::sBarClosings = 0;
std::vector<int> TestSheetsMgr::sActions;

class SheetsMgrBarTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    previous = setSheetsMgrDialogFactory([] { return new TestSheetsMgr; });
    TestSheetsMgr::sBarClosings = 0;
    TestSheetsMgr::sActions.clear();
    windows = krv::win::liveWindowCount();
  }
  void TearDown() override {
    EndModelessDlgSheetsMgr();
    setSheetsMgrDialogFactory(previous);
    EXPECT_EQ(TestSheetsMgr::sLive, 0);
    EXPECT_EQ(krv::win::liveWindowCount(), windows);
    FrameTest::TearDown();
  }
  static CFrameWnd* frame() { return acedGetAcadFrame(); }
  SheetsMgrDialogFactory previous;
  std::size_t windows = 0;
};

CRect clientOf(CWnd* w) {
  CRect r;
  w->GetClientRect(&r);
  return r;
}

TEST_F(SheetsMgrBarTest, StartDocksTheManagerAtTheLeftEdge) {
  EXPECT_FALSE(isSheetsMgrDlgActive());
  ASSERT_TRUE(StartModelessDlgSheetsMgr());
  EXPECT_TRUE(isSheetsMgrDlgActive());
  CVtDockControlBar* bar = sheetsMgrBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetWindowText(), L"Sheets manager");
  EXPECT_EQ(bar->GetParent(), frame());
  EXPECT_EQ(bar->toolId(), kSheetsMgrToolId);
  EXPECT_EQ(bar->dockingSides(), CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
  EXPECT_EQ(bar->dockSide(), AFX_IDW_DOCKBAR_LEFT);
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());

  // The hosted window comes from template 267 and fills the bar.
  VtDockedDlgChild* dialog = bar->mChildDlg;
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->templateId(), 267u);
  EXPECT_EQ(dialog->GetParent(), bar);
  EXPECT_NE(dialog->GetDlgItem(1401), nullptr);
  EXPECT_EQ(clientOf(dialog).Size(), clientOf(bar).Size());
  // Floating size: the template's 240 x 300 dialog units.
  EXPECT_EQ(bar->mFloatingWidth, krv::win::dialogUnitsToPixelsX(240));
  EXPECT_EQ(bar->mFloatingHeight, krv::win::dialogUnitsToPixelsY(300));
}

TEST_F(SheetsMgrBarTest, SecondStartShowsTheExistingBarAndCreatesNothing) {
  ASSERT_TRUE(StartModelessDlgSheetsMgr());
  CVtDockControlBar* bar = sheetsMgrBar();
  frame()->ShowControlBar(bar, FALSE, FALSE);
  EXPECT_FALSE(bar->IsVisible());
  const std::size_t live = krv::win::liveWindowCount();
  int built = 0;
  setSheetsMgrDialogFactory([&built] {
    ++built;
    return new TestSheetsMgr;
  });
  EXPECT_TRUE(StartModelessDlgSheetsMgr());
  EXPECT_EQ(sheetsMgrBar(), bar);
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_EQ(built, 0);
  EXPECT_EQ(krv::win::liveWindowCount(), live);
  EXPECT_EQ(TestSheetsMgr::sLive, 1);

  frame()->ShowControlBar(bar, FALSE, FALSE);
  restoreSheetsMgrDlgVisibility();
  EXPECT_TRUE(bar->IsVisible());
}

TEST_F(SheetsMgrBarTest, BarKeepsItsDialogFitted) {
  ASSERT_TRUE(StartModelessDlgSheetsMgr());
  CVtDockControlBar* bar = sheetsMgrBar();
  VtDockedDlgChild* dialog = bar->mChildDlg;
  bar->setDockedSize(320);
  frame()->RecalcLayout();
  EXPECT_EQ(clientOf(dialog).Width(), clientOf(bar).Width());
  EXPECT_EQ(clientOf(dialog).Height(), clientOf(bar).Height());

  // A reported place puts the dialog 4 pixels inside it.
  bar->SizeChanged(CRect(10, 20, 210, 320), false, 0);
  EXPECT_EQ(dialog->windowRectInParent(), CRect(14, 24, 214, 324));
  // A size change fills the client area from the origin again.
  bar->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(150, 260));
  EXPECT_EQ(dialog->windowRectInParent(), CRect(0, 0, 150, 260));
}

TEST_F(SheetsMgrBarTest, ClosingTheBarByHandDeletesIt) {
  ASSERT_TRUE(StartModelessDlgSheetsMgr());
  krv::win::Person::close(sheetsMgrBar());
  EXPECT_EQ(TestSheetsMgr::sBarClosings, 1);
  EXPECT_FALSE(isSheetsMgrDlgActive());
  EXPECT_EQ(TestSheetsMgr::sLive, 0);
  EXPECT_EQ(krv::win::liveWindowCount(), windows);
  // Its place is remembered for the next start.
  auto saved = CAcUiDockControlBar::savedState(kSheetsMgrToolId);
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->dockBarId, AFX_IDW_DOCKBAR_LEFT);

  // A floating bar closes through its floating frame's close box.
  ASSERT_TRUE(StartModelessDlgSheetsMgr());
  sheetsMgrBar()->floatAt(CRect(100, 100, 500, 600));
  krv::win::Person::close(sheetsMgrBar()->floatingFrame());
  EXPECT_FALSE(isSheetsMgrDlgActive());
  EXPECT_EQ(TestSheetsMgr::sLive, 0);
  ASSERT_TRUE(StartModelessDlgSheetsMgr());
  EXPECT_TRUE(sheetsMgrBar()->IsFloating());  // restored where it was
}

TEST_F(SheetsMgrBarTest, EndAndNotifyOnlyWithABar) {
  EXPECT_FALSE(EndModelessDlgSheetsMgr());
  actionNotifyToSheetsMgrDlg(static_cast<VtSheetAction>(4));  // no bar: nothing
  restoreSheetsMgrDlgVisibility();
  EXPECT_TRUE(TestSheetsMgr::sActions.empty());

  ASSERT_TRUE(StartModelessDlgSheetsMgr());
  actionNotifyToSheetsMgrDlg(static_cast<VtSheetAction>(4));
  actionNotifyToSheetsMgrDlg(static_cast<VtSheetAction>(0));
  EXPECT_EQ(TestSheetsMgr::sActions, (std::vector<int>{4, 0}));

  sheetsMgrBar()->refuseDestroy(true);
  EXPECT_FALSE(EndModelessDlgSheetsMgr());
  EXPECT_TRUE(isSheetsMgrDlgActive());
  sheetsMgrBar()->refuseDestroy(false);
  EXPECT_TRUE(EndModelessDlgSheetsMgr());
  EXPECT_FALSE(isSheetsMgrDlgActive());
  EXPECT_EQ(TestSheetsMgr::sLive, 0);
  EXPECT_EQ(TestSheetsMgr::sBarClosings, 0);  // an ending by the program is no closing
}

TEST_F(SheetsMgrBarTest, FailedStartLeavesNothingBehind) {
  setSheetsMgrDialogFactory(nullptr);
  EXPECT_FALSE(StartModelessDlgSheetsMgr());
  EXPECT_FALSE(isSheetsMgrDlgActive());

  setSheetsMgrDialogFactory([] { return new TestSheetsMgr; });
  moduleResourceOverride().SaveDefaultResource(nullptr);  // template 267 not found
  EXPECT_FALSE(StartModelessDlgSheetsMgr());
  EXPECT_FALSE(isSheetsMgrDlgActive());
  EXPECT_EQ(TestSheetsMgr::sLive, 0);
  EXPECT_EQ(krv::win::liveWindowCount(), windows);

  CVtDockControlBar* empty = nullptr;
  TestSheetsMgr dialog;
  EXPECT_FALSE(startDockedDlg(empty, &dialog, 267, kSheetsMgrToolId, nullptr, L"x"));
}

}  // namespace
}  // namespace krv::frame
