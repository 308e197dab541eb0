#include "designer/cdlg_designer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "designer/control_tracker.h"
#include "platform/core/dial_string.h"
#include "platform/core/krv_settings.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/win/button.h"
#include "platform/win/combo_box.h"
#include "platform/win/person.h"
#include "platform/win/registry.h"
#include "platform/win/resource_modules.h"
#include "platform/win/scripted_user_interface.h"

namespace {

using krv::win::Person;

// The designer on the sample designs of the source tree (only read).
class DesignerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    krv::win::Registry::resetInMemory();
    static HINSTANCE module =
        krv::win::ResourceModules::add(L"korvane_ss", KRV_SOURCE_DIR "/resources");
    previousResources = AfxGetResourceHandle();
    AfxSetResourceHandle(module);
    Krv_Settings::setLibDir(Krv_String(KRV_SOURCE_DIR "/examples/library/"));
  }
  void TearDown() override {
    Krv_Settings::setLibDir(L"");
    AfxSetResourceHandle(previousResources);
  }
  static Krv_String general() { return getDesignerRootFolder() + L"EndPlate\\General.txt"; }
  // The centre of a designed control's window in the dialog's client area.
  static CPoint centreOf(CDialog& d, int id) {
    CRect r;
    d.GetDlgItem(id)->GetWindowRect(&r);
    d.ScreenToClient(&r);
    return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  HINSTANCE previousResources = nullptr;
  krv::win::ScriptedUserInterface ui;
  krv::win::ScopedUserInterface scoped{ui};
};

TEST_F(DesignerWindowTest, OpensTheDesignAndClicksSelectAndShowProperties) {
  ui.onModal(
      [](CDialog& d) {
        auto& w = dynamic_cast<CDlgDesigner&>(d);
        Krv_DlgDesignerData& data = w.design();
        EXPECT_EQ(Krv_String(w.GetWindowText()), dialString(843) + L" - <EndPlate\\General>");
        ASSERT_EQ(data.getNrControls(), 13);
        EXPECT_EQ(data.mDrawnCtrls.length(), 13);
        EXPECT_FALSE(w.modified());
        EXPECT_EQ(Krv_String(w.GetDlgItemText(CDlgDesigner::kTypeGroup)), dialString(836));

        // A click on the variable field selects it; its properties show.
        const int field = data.mControls[1].mResId;
        Person::clickAt(&w, centreOf(w, field));
        EXPECT_EQ(data.getCurSel(), 1);
        auto* combo = dynamic_cast<CComboBox*>(w.GetDlgItem(CDlgDesigner::kTypeCombo));
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->GetCurSel(), int(ctVarEdit));
        EXPECT_EQ(Krv_String(w.GetDlgItemText(CDlgDesigner::kContents)), L"Gap");
        EXPECT_TRUE(w.modified());

        // Typing new contents reaches the control and its window.
        Person::replaceText(w.GetDlgItem(CDlgDesigner::kContents), L"Gap2");
        EXPECT_EQ(data.mControls[1].mContents, L"Gap2");
        EXPECT_EQ(Krv_String(w.GetDlgItem(field)->GetWindowText()), L"Gap2");

        // Shift+click adds the text label; several selected empty the
        // properties.
        Person::clickAt(&w, centreOf(w, data.mControls[0].mResId), true, false);
        EXPECT_EQ(data.mTracker->selectedIds().length(), 2);
        EXPECT_FALSE(combo->IsWindowEnabled());

        // Add puts a new variable field in the design.
        Person::click(&w, CDlgDesigner::kAdd);
        EXPECT_EQ(data.getNrControls(), 14);
        EXPECT_EQ(data.mControls[13].mType, ctVarEdit);

        // Escape does nothing; closing asks, and Cancel keeps it open.
        Person::pressKey(&w, VK_ESCAPE);
        EXPECT_TRUE(IsWindow(&w) && w.IsWindowVisible());
        Person::close(&w);
        EXPECT_TRUE(IsWindow(&w) && w.IsWindowVisible());
        // OK asks again; No closes without writing.
        Person::click(&w, IDOK);
      },
      CDlgDesigner::IDD);
  ui.answerTrack(false);  // the click on the field is a press without a drag
  ui.answerMessageBox(IDCANCEL, dialString(838).c_str());
  ui.answerMessageBox(IDNO, L"<EndPlate\\General>");
  EXPECT_TRUE(StartDlgDesigner(general()));
  EXPECT_TRUE(ui.allUsed()) << ui.report();
  EXPECT_TRUE(ui.errors().empty()) << ui.report();
}

TEST_F(DesignerWindowTest, OpenAsksAboutChangesFirstAndShowsTheChosenDesign) {
  ui.onModal(
      [](CDialog& d) {
        auto& w = dynamic_cast<CDlgDesigner&>(d);
        Person::click(&w, CDlgDesigner::kAdd);
        Person::click(&w, CDlgDesigner::kOpen);  // the prompt is cancelled: nothing opens
        EXPECT_EQ(w.design().getNrControls(), 14);
        Person::click(&w, CDlgDesigner::kOpen);
        EXPECT_EQ(Krv_String(w.GetWindowText()), dialString(843) + L" - <EndPlate\\Bolts>");
        EXPECT_EQ(w.design().mDrawnCtrls.length(), w.design().getNrControls());
        EXPECT_FALSE(w.modified());
        Person::click(&w, IDOK);
      },
      CDlgDesigner::IDD);
  ui.answerMessageBox(IDCANCEL);
  ui.answerMessageBox(IDNO);
  ui.answerFiles({(getDesignerRootFolder() + L"EndPlate\\Bolts.txt").c_str()});
  EXPECT_TRUE(StartDlgDesigner(general()));
  ASSERT_EQ(ui.fileDialogs().size(), 1u);
  EXPECT_TRUE(ui.fileDialogs()[0].open);
  EXPECT_EQ(Krv_String(ui.fileDialogs()[0].initialFolder), getDesignerRootFolder() + L"EndPlate\\");
  EXPECT_TRUE(ui.allUsed()) << ui.report();
  EXPECT_TRUE(ui.errors().empty()) << ui.report();
}

TEST_F(DesignerWindowTest, AMissingDesignLeavesTheWindowEmptyAndUnmodified) {
  ui.onModal(
      [](CDialog& d) {
        auto& w = dynamic_cast<CDlgDesigner&>(d);
        EXPECT_EQ(w.design().getNrControls(), 0);
        EXPECT_EQ(Krv_String(w.GetWindowText()), dialString(843));
        // The tool buttons show icons; "_ _" and "| |" their captions.
        auto* open = dynamic_cast<CButton*>(w.GetDlgItem(CDlgDesigner::kOpen));
        ASSERT_NE(open, nullptr);
        EXPECT_NE(open->GetIcon(), nullptr);
        EXPECT_TRUE(open->GetStyle() & BS_ICON);
        EXPECT_EQ(Krv_String(w.GetDlgItemText(CDlgDesigner::kAlignBottom)), L"_ _");
        Person::close(&w);  // not modified: closes without asking
      },
      CDlgDesigner::IDD);
  EXPECT_FALSE(StartDlgDesigner(getDesignerRootFolder() + L"EndPlate\\Missing.txt"));
  EXPECT_TRUE(ui.allUsed()) << ui.report();
  EXPECT_TRUE(ui.errors().empty()) << ui.report();
}

TEST_F(DesignerWindowTest, ASaveThatCannotWriteSaysWhyAndKeepsTheChanges) {
  bool stillOpen = false;
  ui.onModal(
      [&](CDialog& d) {
        auto& w = dynamic_cast<CDlgDesigner&>(d);
        Person::click(&w, CDlgDesigner::kAdd);
        EXPECT_TRUE(w.modified());
        // Outside the designer's folder nothing is written, and the person
        // is told why; the design stays modified and unnamed.
        Person::click(&w, CDlgDesigner::kSave);
        EXPECT_TRUE(w.modified());
        EXPECT_EQ(w.design().mName, L"");
        // OK on a new design: Yes asks for a name, and cancelling that keeps
        // the window open instead of writing a file without a name.
        Person::click(&w, IDOK);
        stillOpen = ::IsWindow(w.GetSafeHwnd()) && w.modified();
        Person::click(&w, IDOK);  // No: closes without saving
      },
      CDlgDesigner::IDD);
  const std::wstring outside = L"/nonexistent-folder/Design.txt";
  ui.answerFiles({outside});
  ui.answerMessageBox(IDOK, L"only in the designer folder");
  ui.answerMessageBox(IDYES, L"<>");
  ui.answerFiles({});
  ui.answerMessageBox(IDNO, L"<>");
  EXPECT_TRUE(StartDlgDesigner(L""));
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(ui.fileDialogs().size(), 2u);
  EXPECT_FALSE(ui.fileDialogs()[0].open);
  EXPECT_EQ(ui.fileDialogs()[0].defaultExt, L"txt");
  EXPECT_EQ(Krv_String(ui.fileDialogs()[0].title), dialString(842));
  EXPECT_FALSE(std::filesystem::exists(getDesignerRootFolder().utf8() + ".txt"));
  EXPECT_TRUE(ui.allUsed()) << ui.report();
}

TEST_F(DesignerWindowTest, ADesignThatCannotBeReadIsRefusedAndTheShownOneStays) {
  TempFolder lib;
  Krv_Settings::setLibDir(lib.text());
  const std::filesystem::path root = lib.path() / "Dialog Templates" / "Dialog Design";
  std::filesystem::create_directories(root);
  // A design elsewhere than the designer's folder cannot be opened.
  const std::filesystem::path elsewhere = lib.path() / "Elsewhere.txt";
  std::filesystem::copy_file(KRV_SOURCE_DIR
                             "/examples/library/Dialog Templates/Dialog Design/EndPlate/Bolts.txt",
                             elsewhere);
  ui.onModal(
      [](CDialog& d) {
        auto& w = dynamic_cast<CDlgDesigner&>(d);
        Person::click(&w, CDlgDesigner::kAdd);
        Person::click(&w, CDlgDesigner::kOpen);
        EXPECT_EQ(w.design().getNrControls(), 1);
        EXPECT_TRUE(w.modified());
        Person::click(&w, IDOK);
      },
      CDlgDesigner::IDD);
  ui.answerMessageBox(IDNO, L"<>");
  ui.answerFiles({elsewhere.wstring()});
  ui.answerMessageBox(IDOK, L"not opened");
  ui.answerMessageBox(IDNO, L"<>");
  EXPECT_TRUE(StartDlgDesigner(L""));
  EXPECT_TRUE(ui.allUsed()) << ui.report();
}

TEST_F(DesignerWindowTest, ResizingKeepsTheStripAtTheBottomAndStretchesTheContentsGroup) {
  ui.onModal(
      [](CDialog& d) {
        const auto rectOf = [&d](int id) {
          CRect r;
          d.GetDlgItem(id)->GetWindowRect(&r);
          d.ScreenToClient(&r);
          return r;
        };
        const CRect open = rectOf(CDlgDesigner::kOpen), ok = rectOf(IDOK);
        const CRect type = rectOf(CDlgDesigner::kTypeGroup);
        const CRect contents = rectOf(CDlgDesigner::kContentsGroup);
        const CRect ext = rectOf(CDlgDesigner::kExtGroup), extEdit = rectOf(CDlgDesigner::kExt);
        const CRect edit = rectOf(CDlgDesigner::kContents);
        CRect window;
        d.GetWindowRect(&window);
        d.MoveWindow(window.left, window.top, window.Width() + 100, window.Height() + 50);
        const auto moved = [](CRect r, int dx, int dy) {
          r.OffsetRect(dx, dy);
          return r;
        };
        EXPECT_EQ(rectOf(CDlgDesigner::kOpen), moved(open, 0, 50));
        EXPECT_EQ(rectOf(IDOK), moved(ok, 100, 50));
        EXPECT_EQ(rectOf(CDlgDesigner::kTypeGroup), moved(type, 0, 50));
        EXPECT_EQ(rectOf(CDlgDesigner::kExtGroup), moved(ext, 100, 50));
        EXPECT_EQ(rectOf(CDlgDesigner::kExt), moved(extEdit, 100, 50));
        const CRect c = rectOf(CDlgDesigner::kContentsGroup);
        EXPECT_EQ(c.left, contents.left);
        EXPECT_EQ(c.Width(), contents.Width() + 100);
        EXPECT_EQ(c.top, contents.top + 50);
        EXPECT_EQ(rectOf(CDlgDesigner::kContents).Width(), edit.Width() + 100);
        Person::click(&d, IDOK);
      },
      CDlgDesigner::IDD);
  EXPECT_TRUE(StartDlgDesigner(L""));
  EXPECT_TRUE(ui.errors().empty()) << ui.report();
}

TEST_F(DesignerWindowTest, APictureNeedsANamedDesignAndIsCopiedBesideIt) {
  TempFolder lib;
  Krv_Settings::setLibDir(lib.text());
  const std::filesystem::path root = lib.path() / "Dialog Templates" / "Dialog Design";
  std::filesystem::create_directories(root);
  const std::wstring picture = std::filesystem::path(KRV_SOURCE_DIR
                                                     "/examples/library/Dialog Templates/Dialog "
                                                     "Design/EndPlate/General.bmp")
                                   .wstring();
  ui.onModal(
      [](CDialog& d) {
        auto& w = dynamic_cast<CDlgDesigner&>(d);
        // Without a name the picture waits for Save, which is cancelled.
        Person::click(&w, CDlgDesigner::kPicture);
        EXPECT_FALSE(w.modified());
        int width = 0, height = 0;
        w.design().getImageSize(width, height);
        EXPECT_EQ(width, 0);
        // Now Save names it and the picture is attached.
        Person::click(&w, CDlgDesigner::kPicture);
        EXPECT_EQ(w.design().mName, L"Plate");
        w.design().getImageSize(width, height);
        EXPECT_GT(width, 0);
        EXPECT_TRUE(w.modified());
        EXPECT_EQ(Krv_String(w.GetWindowText()), dialString(843) + L" - <Plate>");
        Person::click(&w, IDOK);
      },
      CDlgDesigner::IDD);
  ui.answerFiles({picture});
  ui.answerFiles({});  // the Save is cancelled
  ui.answerFiles({picture});
  ui.answerFiles({(root / "Plate.txt").wstring()});
  ui.answerMessageBox(IDYES, L"<Plate>");
  EXPECT_TRUE(StartDlgDesigner(L""));
  EXPECT_TRUE(std::filesystem::is_regular_file(root / "Plate.bmp"));
  EXPECT_TRUE(std::filesystem::is_regular_file(root / "Plate.txt"));
  EXPECT_EQ(std::filesystem::file_size(root / "Plate.bmp"), std::filesystem::file_size(picture));
  EXPECT_TRUE(ui.allUsed()) << ui.report();
  EXPECT_TRUE(ui.errors().empty()) << ui.report();
}

}  // namespace
