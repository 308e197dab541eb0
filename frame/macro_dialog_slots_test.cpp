#include "frame/macro_dialog_slots.h"

#include "frame/exported_functions.h"
#include "frame/frame_test_fixture.h"
#include "platform/core/macro_data.h"
#include "platform/win/event_loop.h"
#include "platform/win/person.h"

namespace krv::frame {
namespace {

// A macro dialog for the tests: its macro's busy flag is a plain member.
class TestMacroDialog : public MacroDialogBase {
 public:
  explicit TestMacroDialog(CWnd* parent) : mParent(parent) { ++sLive; }
  ~TestMacroDialog() override { --sLive; }
  bool isMacroBusy() const override { return mBusy; }
  // The tests read the dialog itself; no MacroData record exists here.
  void copyMacroData(MacroData&) const override {}

  CWnd* mParent;
  bool mBusy = false;
  static int sLive;

 protected:
  // As the macro dialog does: closing it ends its own slot.
  void OnCancel() override { EndDlgMacroModeless(mSlot); }
};
int TestMacroDialog::sLive = 0;

class MacroDialogSlotsTest : public FrameTest {
 protected:
  void TearDown() override {
    for (int i = 0; i < modelessMacroSlotCount(); ++i)
      if (auto* d = dialog(i)) d->mBusy = false, d->refuseDestroy(false);
    DestroyAllMacroDlgs();
    EXPECT_EQ(modelessMacroSlotCount(), 0);
    EXPECT_EQ(TestMacroDialog::sLive, 0);
    FrameTest::TearDown();
  }

  int open(bool keepFocus = true) {
    int slot = -2;
    EXPECT_TRUE(openModelessMacroDialog(keepFocus, slot,
                                        [](CWnd* parent) { return new TestMacroDialog(parent); }));
    return slot;
  }
  static TestMacroDialog* dialog(int slot) {
    return static_cast<TestMacroDialog*>(modelessMacroDialog(slot));
  }
};

TEST_F(MacroDialogSlotsTest, OpenedDialogIsShownInItsSlot) {
  const int slot = open(false);
  ASSERT_EQ(slot, 0);
  TestMacroDialog* d = dialog(0);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->mSlot, 0);
  EXPECT_EQ(d->mParent, mainWindow);
  EXPECT_EQ(d->templateId(), 8131u);
  EXPECT_TRUE(d->IsWindowVisible());
  EXPECT_EQ(CWnd::GetFocus(), mainWindow);  // focus given back to the host
}

TEST_F(MacroDialogSlotsTest, EmptySlotsAreReusedHighestFirst) {
  EXPECT_EQ(open(), 0);
  EXPECT_EQ(open(), 1);
  EXPECT_TRUE(EndDlgMacroModeless(0));
  EXPECT_EQ(dialog(0), nullptr);
  EXPECT_EQ(modelessMacroSlotCount(), 2);
  EXPECT_EQ(open(), 0);

  EXPECT_EQ(open(), 2);
  EXPECT_EQ(open(), 3);
  EXPECT_TRUE(EndDlgMacroModeless(0));
  EXPECT_TRUE(EndDlgMacroModeless(2));
  EXPECT_EQ(open(), 2);
  EXPECT_EQ(open(), 0);
  EXPECT_EQ(open(), 4);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(dialog(i)->mSlot, i);
}

TEST_F(MacroDialogSlotsTest, EndingTheLastSlotDropsTrailingEmptySlots) {
  open(), open(), open();
  EXPECT_TRUE(EndDlgMacroModeless(1));
  EXPECT_EQ(modelessMacroSlotCount(), 3);  // a middle slot stays
  EXPECT_TRUE(EndDlgMacroModeless(0));
  EXPECT_EQ(modelessMacroSlotCount(), 3);
  EXPECT_EQ(acad::postedCommandPrompts(), 2);
  EXPECT_TRUE(EndDlgMacroModeless(2));
  EXPECT_EQ(modelessMacroSlotCount(), 0);
  EXPECT_EQ(TestMacroDialog::sLive, 0);

  open(), open(), open();
  EXPECT_TRUE(EndDlgMacroModeless(1));
  EXPECT_TRUE(EndDlgMacroModeless(2));
  EXPECT_EQ(modelessMacroSlotCount(), 1);  // stops at the filled slot 0
}

TEST_F(MacroDialogSlotsTest, BadSlotsAndFailuresGiveFalse) {
  EXPECT_FALSE(EndDlgMacroModeless(0));
  open();
  EXPECT_FALSE(EndDlgMacroModeless(-1));
  EXPECT_FALSE(EndDlgMacroModeless(1));
  EXPECT_EQ(modelessMacroDialog(7), nullptr);

  dialog(0)->refuseDestroy(true);
  EXPECT_FALSE(EndDlgMacroModeless(0));
  EXPECT_NE(dialog(0), nullptr);  // still in its slot
  EXPECT_EQ(acad::postedCommandPrompts(), 0);

  int slot = 5;
  EXPECT_FALSE(
      openModelessMacroDialog(true, slot, [](CWnd*) -> MacroDialogBase* { return nullptr; }));
  EXPECT_EQ(slot, -1);
  EXPECT_EQ(modelessMacroDialog(1), nullptr);

  // A dialog whose template cannot be found is deleted, not kept.
  moduleResourceOverride().SaveDefaultResource(nullptr);
  EXPECT_FALSE(openModelessMacroDialog(true, slot, [](CWnd* p) { return new TestMacroDialog(p); }));
  EXPECT_EQ(slot, -1);
  EXPECT_EQ(TestMacroDialog::sLive, 1);
  // The entry appended for the failed start stays empty and is used next.
  moduleResourceOverride().SaveDefaultResource(module);
  EXPECT_EQ(modelessMacroSlotCount(), 2);
  EXPECT_EQ(open(), 1);
}

TEST_F(MacroDialogSlotsTest, BusyDialogClosesOnTheFirstTickAfterItIsFree) {
  acad::CommandLineCapture out;
  open();
  open();
  TestMacroDialog* d = dialog(1);
  d->mBusy = true;
  EXPECT_TRUE(EndDlgMacroModeless(1));
  EXPECT_TRUE(EndDlgMacroModeless(1));  // a retry is pending already: no second timer
  EXPECT_EQ(krv::win::EventLoop::instance().timerCount(), 1u);
  EXPECT_EQ(pendingMacroDialogCloses(), 1);
  EXPECT_EQ(dialog(1), d);

  krv::win::EventLoop::instance().advance(49);
  EXPECT_EQ(out.text(), L"");
  krv::win::EventLoop::instance().advance(1);
  EXPECT_EQ(out.text(), L"Delayed timer called.\n");
  EXPECT_EQ(dialog(1), d);  // still busy: deferred once more
  krv::win::EventLoop::instance().advance(100);
  EXPECT_EQ(out.text(), L"Delayed timer called.\nDelayed timer called.\nDelayed timer called.\n");
  EXPECT_EQ(acad::postedCommandPrompts(), 0);

  d->mBusy = false;
  krv::win::EventLoop::instance().advance(49);
  EXPECT_EQ(dialog(1), d);
  krv::win::EventLoop::instance().advance(1);
  EXPECT_EQ(dialog(1), nullptr);
  EXPECT_EQ(modelessMacroSlotCount(), 1);
  EXPECT_EQ(acad::postedCommandPrompts(), 1);
  EXPECT_EQ(krv::win::EventLoop::instance().timerCount(), 0u);
  EXPECT_EQ(pendingMacroDialogCloses(), 0);
}

TEST_F(MacroDialogSlotsTest, PendingRetryDoesNotReachALaterDialogInTheSlot) {
  open();
  dialog(0)->mBusy = true;
  EXPECT_TRUE(EndDlgMacroModeless(0));
  dialog(0)->mBusy = false;
  EXPECT_TRUE(EndDlgMacroModeless(0));  // closed directly before the timer fired
  EXPECT_EQ(open(), 0);
  krv::win::EventLoop::instance().advance(200);
  EXPECT_NE(dialog(0), nullptr);
}

TEST_F(MacroDialogSlotsTest, DialogClosedByThePersonEndsItsOwnSlot) {
  open(), open();
  krv::win::Person::click(dialog(1), IDCANCEL);
  EXPECT_EQ(modelessMacroSlotCount(), 1);
  EXPECT_EQ(TestMacroDialog::sLive, 1);
  dialog(0)->mBusy = true;
  krv::win::Person::close(dialog(0));
  EXPECT_NE(dialog(0), nullptr);
  dialog(0)->mBusy = false;
  krv::win::EventLoop::instance().advance(50);
  EXPECT_EQ(modelessMacroSlotCount(), 0);
}

TEST_F(MacroDialogSlotsTest, DestroyAllEndsEverySlotAndDefersBusyOnes) {
  acad::CommandLineCapture out;
  open(), open(), open();
  dialog(1)->mBusy = true;
  DestroyAllMacroDlgs();
  EXPECT_EQ(modelessMacroSlotCount(), 2);
  EXPECT_EQ(dialog(0), nullptr);
  ASSERT_NE(dialog(1), nullptr);
  EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());
  dialog(1)->mBusy = false;
  krv::win::EventLoop::instance().advance(50);
  EXPECT_EQ(modelessMacroSlotCount(), 0);
  EXPECT_EQ(out.text(), L"Delayed timer called.\n");
}

}  // namespace
}  // namespace krv::frame

namespace krv::frame {
namespace {

// A macro dialog holding a real record, as the macro subsystem's dialog does.
class RecordMacroDialog : public MacroDialogBase {
 public:
  explicit RecordMacroDialog(const MacroData& data) : mData(data) {}
  bool isMacroBusy() const override { return mData.isBusy(); }
  void copyMacroData(MacroData& data) const override { data = mData; }
  MacroData mData;
};

class ExportedMacroDialogTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    previous = setMacroDialogFactory([](CWnd*, const MacroData& data) -> MacroDialogBase* {
      return new RecordMacroDialog(data);
    });
  }
  void TearDown() override {
    for (int i = 0; i < modelessMacroSlotCount(); ++i)
      if (auto* d = static_cast<RecordMacroDialog*>(modelessMacroDialog(i)))
        d->mData.setBusy(false);
    DestroyAllMacroDlgs();
    setMacroDialogFactory(std::move(previous));
    FrameTest::TearDown();
  }
  MacroDialogFactory previous;
};

TEST_F(ExportedMacroDialogTest, StartReuseAndReadBackThroughTheExportedFunctions) {
  MacroData first, second, third;
  first.mCaption = L"Base plate";
  second.mCaption = L"End plate";
  third.mCaption = L"Fin plate";
  int a = -2, b = -2, c = -2;
  ASSERT_TRUE(StartDlgMacroModeless(true, first, a));
  ASSERT_TRUE(StartDlgMacroModeless(false, second, b));
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 1);

  // The caller reads the dialog's own copy of the record back by slot.
  static_cast<RecordMacroDialog*>(modelessMacroDialog(1))->mData.mCaption = L"End plate, edited";
  MacroData read;
  ASSERT_TRUE(GetDlgMacroData(1, read));
  EXPECT_EQ(read.mCaption, L"End plate, edited");
  EXPECT_EQ(second.mCaption, L"End plate");  // the caller's record is not touched by the dialog
  EXPECT_FALSE(GetDlgMacroData(2, read));
  EXPECT_FALSE(GetDlgMacroData(-1, read));

  // Two starts, the first ended, a third start takes slot 0.
  ASSERT_TRUE(EndDlgMacroModeless(0));
  EXPECT_FALSE(GetDlgMacroData(0, read));
  ASSERT_TRUE(StartDlgMacroModeless(true, third, c));
  EXPECT_EQ(c, 0);
  ASSERT_TRUE(GetDlgMacroData(0, read));
  EXPECT_EQ(read.mCaption, L"Fin plate");

  // A busy record defers the close: the slot stays filled until the flag clears.
  auto* busy = static_cast<RecordMacroDialog*>(modelessMacroDialog(1));
  busy->mData.setBusy(true);
  EXPECT_TRUE(EndDlgMacroModeless(1));
  EXPECT_TRUE(GetDlgMacroData(1, read));
  busy->mData.setBusy(false);
  krv::win::EventLoop::instance().advance(50);
  EXPECT_FALSE(GetDlgMacroData(1, read));
  EXPECT_EQ(modelessMacroSlotCount(), 1);
}

TEST_F(ExportedMacroDialogTest, WithoutAFactoryNothingStarts) {
  setMacroDialogFactory(nullptr);
  MacroData data;
  int slot = 7;
  EXPECT_FALSE(StartDlgMacroModeless(true, data, slot));
  EXPECT_EQ(slot, -1);
  EXPECT_FALSE(GetDlgMacroData(0, data));
}

}  // namespace
}  // namespace krv::frame
