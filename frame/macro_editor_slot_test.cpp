#include "frame/macro_editor_slot.h"

#include "frame/exported_functions.h"
#include "frame/frame_test_fixture.h"

namespace krv::frame {
namespace {

class TestEditor : public MacroEditorBase {
 public:
  explicit TestEditor(CWnd* parent) : mParent(parent) { ++sLive; }
  ~TestEditor() override { --sLive; }
  CWnd* mParent;
  static int sLive;
};
int TestEditor::sLive = 0;

class MacroEditorSlotTest : public FrameTest {
 protected:
  void TearDown() override {
    EndDlgEditConstraints();
    EXPECT_EQ(TestEditor::sLive, 0);
    FrameTest::TearDown();
  }
  int builds = 0;
  void open() {
    openModelessMacroEditor([this](CWnd* parent) {
      ++builds;
      return new TestEditor(parent);
    });
  }
};

TEST_F(MacroEditorSlotTest, OneEditorOpenAtATime) {
  open();
  auto* editor = static_cast<TestEditor*>(modelessMacroEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->mModeless);
  EXPECT_EQ(editor->mParent, mainWindow);
  EXPECT_EQ(editor->templateId(), 8715u);
  EXPECT_TRUE(editor->IsWindowVisible());
  EXPECT_EQ(CWnd::GetFocus(), mainWindow);

  const std::size_t windows = krv::win::liveWindowCount();
  open();  // already open: nothing is built, nothing changes
  EXPECT_EQ(builds, 1);
  EXPECT_EQ(modelessMacroEditor(), editor);
  EXPECT_EQ(krv::win::liveWindowCount(), windows);
  EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());

  EndDlgEditConstraints();
  EXPECT_EQ(modelessMacroEditor(), nullptr);
  EXPECT_EQ(TestEditor::sLive, 0);
  EXPECT_EQ(acad::postedCommandPrompts(), 1);
  open();
  EXPECT_EQ(builds, 2);
}

TEST_F(MacroEditorSlotTest, FailuresLeaveTheSlotEmpty) {
  acad::CommandLineCapture out;
  EndDlgEditConstraints();  // nothing open
  EXPECT_EQ(out.text(), L"");

  openModelessMacroEditor([](CWnd*) -> MacroEditorBase* { return nullptr; });
  EXPECT_EQ(modelessMacroEditor(), nullptr);
  moduleResourceOverride().SaveDefaultResource(nullptr);  // template not found
  open();
  EXPECT_EQ(modelessMacroEditor(), nullptr);
  EXPECT_EQ(TestEditor::sLive, 0);

  moduleResourceOverride().SaveDefaultResource(module);
  open();
  modelessMacroEditor()->refuseDestroy(true);
  EndDlgEditConstraints();
  EXPECT_EQ(out.text(), L"Erase window failed\n");
  EXPECT_EQ(modelessMacroEditor(), nullptr);
  EXPECT_EQ(TestEditor::sLive, 0);
}

}  // namespace
}  // namespace krv::frame
