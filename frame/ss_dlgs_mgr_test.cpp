#include "frame/ss_dlgs_mgr.h"

#include <cstdio>
#include <cstdlib>

#include "frame/frame_test_fixture.h"

namespace krv::frame {
namespace {

class TestStandardsDialog : public PooledStandardsDialog {
 public:
  explicit TestStandardsDialog(CWnd* parent) : mParent(parent) { ++sLive; }
  ~TestStandardsDialog() override {
    --sLive;
    if (sReportDeletion) std::fprintf(stderr, "pooled dialog deleted\n");
  }
  static bool sReportDeletion;
  CWnd* mParent;
  static int sLive;
};
int TestStandardsDialog::sLive = 0;
bool TestStandardsDialog::sReportDeletion = false;

class SSDlgsMgrTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    previous =
        setStandardsDialogFactory([](CWnd* parent) { return new TestStandardsDialog(parent); });
  }
  void TearDown() override {
    setStandardsDialogFactory(previous);
    EXPECT_EQ(TestStandardsDialog::sLive, 0);
    FrameTest::TearDown();
  }
  StandardsDialogFactory previous;
};

TEST_F(SSDlgsMgrTest, DialogsInUseAreNeverHandedOutTwice) {
  ResourceGuard guard;
  VtSSDlgsMgr pool;
  void* first = pool.getDlg();
  void* second = pool.getDlg();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  auto* d = static_cast<TestStandardsDialog*>(first);
  EXPECT_EQ(d->mParent, mainWindow);
  EXPECT_TRUE(IsWindow(d));
  EXPECT_FALSE(d->IsWindowVisible());  // created, never shown
  EXPECT_EQ(d->templateId(), 253u);

  EXPECT_EQ(pool.releaseDlg(first), Acad::eOk);
  EXPECT_EQ(pool.getDlg(), first);
  EXPECT_EQ(pool.dialogCount(), 2);
  EXPECT_EQ(pool.inUseCount(), 2);
  void* third = pool.getDlg();  // all in use: a new one
  EXPECT_NE(third, first);
  EXPECT_NE(third, second);
  EXPECT_EQ(pool.dialogCount(), 3);
}

TEST_F(SSDlgsMgrTest, ReleaseOfAnUnknownDialogIsInvalidInput) {
  ResourceGuard guard;
  VtSSDlgsMgr pool;
  int notADialog = 0;
  EXPECT_EQ(pool.releaseDlg(&notADialog), Acad::eInvalidInput);
  EXPECT_EQ(pool.releaseDlg(nullptr), Acad::eInvalidInput);
  void* held = pool.getDlg();
  VtSSDlgsMgr other;
  EXPECT_EQ(other.releaseDlg(held), Acad::eInvalidInput);
  EXPECT_EQ(pool.releaseDlg(held), Acad::eOk);
  EXPECT_EQ(pool.releaseDlg(held), Acad::eOk);  // releasing twice is harmless
}

TEST_F(SSDlgsMgrTest, DialogsThatCannotBeBuiltGiveNull) {
  VtSSDlgsMgr pool;
  // Without the switch to this module the template is not found.
  EXPECT_EQ(pool.getDlg(), nullptr);
  EXPECT_EQ(TestStandardsDialog::sLive, 0);
  ResourceGuard guard;
  setStandardsDialogFactory([](CWnd*) -> PooledStandardsDialog* { return nullptr; });
  EXPECT_EQ(pool.getDlg(), nullptr);
  setStandardsDialogFactory(nullptr);
  EXPECT_EQ(pool.getDlg(), nullptr);
  EXPECT_EQ(pool.dialogCount(), 0);
}

TEST_F(SSDlgsMgrTest, DestroyAllAndTheDestructorTakeDownEveryDialog) {
  ResourceGuard guard;
  const std::size_t windows = krv::win::liveWindowCount();
  {
    VtSSDlgsMgr pool;
    pool.getDlg(), pool.getDlg(), pool.getDlg();
    EXPECT_EQ(TestStandardsDialog::sLive, 3);
    pool.destroyAll();
    EXPECT_EQ(TestStandardsDialog::sLive, 0);
    EXPECT_EQ(pool.dialogCount(), 0);
    EXPECT_EQ(pool.inUseCount(), 0);
    EXPECT_EQ(krv::win::liveWindowCount(), windows);
    pool.getDlg();
    pool.getDlg();
  }
  EXPECT_EQ(TestStandardsDialog::sLive, 0);
  EXPECT_EQ(krv::win::liveWindowCount(), windows);
}

TEST_F(SSDlgsMgrTest, CopiesShareTheDialogs) {
  ResourceGuard guard;
  VtSSDlgsMgr pool;
  void* a = pool.getDlg();
  void* b = pool.getDlg();
  pool.releaseDlg(a);
  {
    VtSSDlgsMgr copy(pool);
    EXPECT_EQ(copy.getDlg(), a);  // the flags were copied
    EXPECT_EQ(copy.releaseDlg(b), Acad::eOk);
    EXPECT_EQ(pool.inUseCount(), 1);  // ...but not shared
  }
  // The copy destroyed the shared dialogs; the pool forgets them instead of
  // handing them out or deleting them again.
  EXPECT_EQ(TestStandardsDialog::sLive, 0);
  void* fresh = pool.getDlg();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(pool.dialogCount(), 1);
  EXPECT_EQ(TestStandardsDialog::sLive, 1);
  pool.destroyAll();
  EXPECT_EQ(TestStandardsDialog::sLive, 0);
}

TEST_F(SSDlgsMgrTest, ModulePoolIsDestroyedWithTheModule) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // The module's static objects go at unload: the pooled dialogs with them,
  // while the window system still exists.
  EXPECT_EXIT(
      {
        ResourceGuard guard;
        gSSDlgsMgr.getDlg();
        gSSDlgsMgr.getDlg();
        TestStandardsDialog::sReportDeletion = true;
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "pooled dialog deleted\npooled dialog deleted\n");
}

}  // namespace
}  // namespace krv::frame
