#include "platform/win/dialog.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/win/button.h"
#include "platform/win/combo_box.h"
#include "platform/win/edit.h"
#include "platform/win/event_loop.h"
#include "platform/win/file_dialog.h"
#include "platform/win/message_box.h"
#include "platform/win/person.h"
#include "platform/win/resource_modules.h"
#include "platform/win/temp_resource_override.h"
#include "platform/win/user_interface_test_support.h"

namespace {

using krv::win::Person;

class ConnectionDlg : public CDialog {
 public:
  ConnectionDlg() : CDialog(100) {}
  std::vector<std::string> events;
  std::wstring name;
  int kind = -1;
  int bolted = 0;
  int side = -1;

 protected:
  BOOL OnInitDialog() override {
    auto* combo = static_cast<CComboBox*>(GetDlgItem(1002));
    combo->AddString(L"Endplate");
    combo->AddString(L"Cleat");
    combo->AddString(L"Fin plate");
    combo->SetCurSel(0);          // the program's choice: no notification
    SetDlgItemText(1001, L"B1");  // sends EN_CHANGE, as the real system does
    events.push_back("init");
    return CDialog::OnInitDialog();
  }
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, 1001, name);
    DDX_CBIndex(dx, 1002, kind);
    DDX_Check(dx, 1003, bolted);
    DDX_Radio(dx, 1004, side);
  }
  void OnNameChanged() {
    std::wstring text = GetDlgItemText(1001);
    events.push_back("name:" + std::string(text.begin(), text.end()));
  }
  void OnKindChanged() {
    events.push_back("kind:" +
                     std::to_string(static_cast<CComboBox*>(GetDlgItem(1002))->GetCurSel()));
  }
  void OnBolted() { events.push_back("bolted:" + std::to_string(IsDlgButtonChecked(1003))); }
  void OnSide(UINT id) { events.push_back("side:" + std::to_string(id)); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ConnectionDlg, CDialog)
ON_EN_CHANGE(1001, &ConnectionDlg::OnNameChanged)
ON_CBN_SELCHANGE(1002, &ConnectionDlg::OnKindChanged)
ON_BN_CLICKED(1003, &ConnectionDlg::OnBolted)
ON_CONTROL_RANGE(BN_CLICKED, 1004, 1006, &ConnectionDlg::OnSide)
END_MESSAGE_MAP()

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module = krv::win::ResourceModules::add(L"tests", KRV_TESTDATA_DIR);
    override.SaveDefaultResource(module);
    switched = override.SetDefaultResource();
  }
  void TearDown() override {
    if (switched) override.RestoreOriginalResource();
    krv::win::ResourceModules::remove(module);
    krv::win::EventLoop::instance().reset();
  }
  HINSTANCE module = nullptr;
  VtTempResourceOverride override;
  bool switched = false;
};

TEST_F(DialogTest, PersonFillsInDialogAndPressesOk) {
  krv::win::ScriptedUserInterfaceGuard ui;
  ConnectionDlg dlg;
  ui->onModal(
      [](CDialog& d) {
        auto& c = static_cast<ConnectionDlg&>(d);
        EXPECT_TRUE(c.IsWindowVisible());
        Person::replaceText(c.GetDlgItem(1001), L"B22");
        Person::choose(c.GetDlgItem(1002), 2);
        Person::click(&c, 1003);
        Person::click(&c, 1005);
        Person::click(&c, IDOK);
      },
      100);
  const std::size_t windowsBefore = krv::win::liveWindowCount();
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.events, (std::vector<std::string>{"name:B1", "init", "name:", "name:B", "name:B2",
                                                  "name:B22", "kind:2", "bolted:1", "side:1005"}));
  EXPECT_EQ(dlg.name, L"B22");
  EXPECT_EQ(dlg.kind, 2);
  EXPECT_EQ(dlg.bolted, 1);
  EXPECT_EQ(dlg.side, 1);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_EQ(krv::win::liveWindowCount(), windowsBefore);
}

TEST_F(DialogTest, RadioGroupIsExclusiveAndThreeStateCycles) {
  krv::win::ScriptedUserInterfaceGuard ui;
  ConnectionDlg dlg;
  ui->onModal([](CDialog& d) {
    Person::click(&d, 1004);
    Person::click(&d, 1006);
    EXPECT_EQ(d.IsDlgButtonChecked(1004), 0u);
    EXPECT_EQ(d.IsDlgButtonChecked(1006), 1u);
    EXPECT_EQ(d.GetCheckedRadioButton(1004, 1006), 1006);
    // The three-state box behind the group is not touched by the radios.
    std::vector<int> states;
    for (int i = 0; i < 4; ++i) {
      Person::click(&d, 1007);
      states.push_back(static_cast<int>(d.IsDlgButtonChecked(1007)));
    }
    EXPECT_EQ(states, (std::vector<int>{1, 2, 0, 1}));
    // A disabled check box ignores clicks.
    d.GetDlgItem(1003)->EnableWindow(FALSE);
    Person::click(&d, 1003);
    EXPECT_EQ(d.IsDlgButtonChecked(1003), 0u);
    d.EndDialog(IDCANCEL);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.side, -1);  // cancelled: no data exchange
}

TEST_F(DialogTest, EscapeCancelsAndEnterPressesDefaultButton) {
  krv::win::ScriptedUserInterfaceGuard ui;
  {
    ConnectionDlg dlg;
    ui->onModal([](CDialog& d) { Person::pressKey(d.GetDlgItem(1001), VK_ESCAPE); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  }
  {
    ConnectionDlg dlg;
    ui->onModal([](CDialog& d) {
      d.GetDlgItem(1001)->SetFocus();
      Person::pressKey(&d, VK_RETURN);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
  }
  {
    // Enter on a focused push button presses that button; a disabled
    // default button does nothing.
    ConnectionDlg dlg;
    ui->onModal([](CDialog& d) {
      d.GetDlgItem(IDOK)->EnableWindow(FALSE);
      d.GetDlgItem(1001)->SetFocus();
      Person::pressKey(&d, VK_RETURN);
      EXPECT_TRUE(static_cast<CDialog&>(d).isRunningModal());
      d.GetDlgItem(IDCANCEL)->SetFocus();
      Person::pressKey(&d, VK_RETURN);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  }
  {
    ConnectionDlg dlg;
    ui->onModal([](CDialog& d) { Person::close(&d); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  }
}

TEST_F(DialogTest, TabMovesFocusAlongTabStops) {
  krv::win::ScriptedUserInterfaceGuard ui;
  ConnectionDlg dlg;
  ui->onModal([](CDialog& d) {
    EXPECT_EQ(CWnd::GetFocus(), d.GetDlgItem(1001));  // first tab stop after init
    Person::pressKey(&d, VK_TAB);
    EXPECT_EQ(CWnd::GetFocus(), d.GetDlgItem(1002));
    Person::pressKey(&d, VK_TAB, /*shift=*/true);
    EXPECT_EQ(CWnd::GetFocus(), d.GetDlgItem(1001));
    Person::pressKey(&d, VK_TAB, true);  // wraps to the last one
    EXPECT_EQ(CWnd::GetFocus(), d.GetDlgItem(IDCANCEL));
    d.EndDialog(IDCANCEL);
  });
  dlg.DoModal();
}

TEST_F(DialogTest, ModelessDialogLivesUntilDestroyed) {
  krv::win::ScriptedUserInterfaceGuard ui;
  ConnectionDlg dlg;
  ASSERT_TRUE(dlg.Create(100));
  EXPECT_TRUE(IsWindow(&dlg));
  EXPECT_FALSE(dlg.IsWindowVisible());  // the template is not WS_VISIBLE
  dlg.ShowWindow(SW_SHOW);
  Person::click(&dlg, IDOK);  // ends (hides) it, does not destroy it
  EXPECT_TRUE(IsWindow(&dlg));
  EXPECT_FALSE(dlg.IsWindowVisible());
  EXPECT_EQ(dlg.result(), IDOK);
  CWnd* edit = dlg.GetDlgItem(1001);
  EXPECT_TRUE(dlg.DestroyWindow());
  EXPECT_FALSE(IsWindow(&dlg));
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(SendMessage(edit, WM_GETTEXTLENGTH), 0);  // a destroyed window answers nothing
  EXPECT_FALSE(dlg.DestroyWindow());
  EXPECT_EQ(dlg.GetDlgItem(1001), nullptr);
}

class NumberDlg : public CDialog {
 public:
  NumberDlg() : CDialog(100) {}
  double value = 2.5;

 protected:
  void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, 1001, value); }
};

TEST_F(DialogTest, NumberExchangeRefusesTextsBeyondTheDoubleRange) {
  krv::win::ScriptedUserInterfaceGuard ui;
  NumberDlg dlg;
  ASSERT_TRUE(dlg.Create(100));
  for (const wchar_t* text : {L"1E400", L"-1E400", L"inf", L"nan"}) {
    dlg.SetDlgItemText(1001, text);
    ui->answerMessageBox(IDOK, L"Please enter a number.");
    EXPECT_FALSE(dlg.UpdateData(TRUE)) << text;
    EXPECT_EQ(dlg.value, 2.5) << "the value is kept for " << text;
  }
  dlg.SetDlgItemText(1001, L"1E300");
  EXPECT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.value, 1e300);
  dlg.DestroyWindow();
}

TEST_F(DialogTest, BadTemplatesFailCleanly) {
  krv::win::ScriptedUserInterfaceGuard ui;
  for (UINT id : {101u, 102u, 103u, 4242u}) {
    CDialog dlg(id);
    EXPECT_EQ(dlg.DoModal(), -1) << id;
    EXPECT_FALSE(krv::win::lastResourceError().ok());
    EXPECT_FALSE(dlg.Create(id));
  }
  EXPECT_NE(krv::win::lastResourceError().text().find("no dialog template 4242"),
            std::string::npos);
  // Without the switch to the module, its templates are not found.
  override.RestoreOriginalResource();
  switched = false;
  CDialog dlg(100);
  EXPECT_EQ(dlg.DoModal(), -1);
}

TEST_F(DialogTest, ResourceSwitchNestsAndRestores) {
  HINSTANCE app = AfxGetInstanceHandle();
  override.RestoreOriginalResource();
  switched = false;
  EXPECT_EQ(AfxGetResourceHandle(), app);
  EXPECT_TRUE(override.SetDefaultResource());
  EXPECT_FALSE(override.SetDefaultResource());  // already current: no second switch
  EXPECT_EQ(AfxGetResourceHandle(), module);
  EXPECT_TRUE(override.RestoreOriginalResource());
  EXPECT_EQ(AfxGetResourceHandle(), app);
  EXPECT_FALSE(override.RestoreOriginalResource());
  VtTempResourceOverride empty;
  EXPECT_FALSE(empty.SetDefaultResource());
}

TEST_F(DialogTest, MessageBoxesAndFileDialogsAreAnsweredByScript) {
  krv::win::ScriptedUserInterfaceGuard ui;
  ui->answerMessageBox(IDCANCEL, L"Save changes");
  ui->answerMessageBox(IDNO);
  ui->answerFiles({L"/lib/designs/Beam"});
  ui->answerFiles({});
  EXPECT_EQ(AfxMessageBox(L"Save changes to <Beam>?", MB_YESNOCANCEL | MB_ICONQUESTION), IDCANCEL);
  EXPECT_EQ(MessageBox(nullptr, L"Overwrite?", L"Designer", MB_YESNO), IDNO);
  ASSERT_EQ(ui->messageBoxes().size(), 2u);
  EXPECT_EQ(ui->messageBoxes()[0].type, MB_YESNOCANCEL | MB_ICONQUESTION);
  EXPECT_EQ(ui->messageBoxes()[1].caption, L"Designer");

  CFileDialog open(TRUE, L"txt", nullptr, OFN_FILEMUSTEXIST, L"Designs (*.txt)|*.txt||");
  open.m_ofn.lpstrTitle = L"Open design";
  EXPECT_EQ(open.DoModal(), IDOK);
  EXPECT_EQ(open.GetPathName(), L"/lib/designs/Beam.txt");  // the default extension is added
  EXPECT_EQ(open.GetFileTitle(), L"Beam");
  EXPECT_EQ(ui->fileDialogs().at(0).title, L"Open design");
  CFileDialog save(FALSE, L"txt");
  EXPECT_EQ(save.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, UnplannedInteractionsAreRecordedAndAnsweredSafely) {
  krv::win::ScriptedUserInterface ui;
  krv::win::ScopedUserInterface use(ui);
  EXPECT_EQ(AfxMessageBox(L"Delete?", MB_YESNO), IDNO);
  EXPECT_EQ(AfxMessageBox(L"Really?", MB_YESNOCANCEL), IDCANCEL);
  ui.answerMessageBox(IDYES, L"sheet");
  EXPECT_EQ(AfxMessageBox(L"Delete the bill?", MB_YESNO), IDNO);  // wrong text: safe answer
  ConnectionDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  ui.onModal([](CDialog&) {});  // leaves the dialog open
  ConnectionDlg dlg2;
  EXPECT_EQ(dlg2.DoModal(), IDCANCEL);
  EXPECT_EQ(ui.errors().size(), 5u);
  EXPECT_TRUE(ui.allUsed());
}

}  // namespace

namespace {

TEST_F(DialogTest, ThrowingHandlerStillReenablesOwnerAndDestroysDialog) {
  krv::win::ScriptedUserInterfaceGuard ui;
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, L"#32770", L"Owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200),
                             nullptr, 0));
  ConnectionDlg dlg;
  dlg.m_pParentWnd = &owner;
  ui->onModal(
      [&](CDialog&) {
        EXPECT_FALSE(owner.IsWindowEnabled());
        throw std::runtime_error("handler failed");
      },
      100);
  const std::size_t windowsBefore = krv::win::liveWindowCount();
  EXPECT_THROW(dlg.DoModal(), std::runtime_error);
  EXPECT_TRUE(owner.IsWindowEnabled());
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_EQ(krv::win::liveWindowCount(), windowsBefore);
  owner.DestroyWindow();
}

}  // namespace

namespace {

// Template 100 and its controls, in tab order.
constexpr UINT kConnectionTemplate = 100;
constexpr int kNameEdit = 1001;
constexpr int kKindCombo = 1002;
constexpr int kBoltedCheck = 1003;
constexpr int kLeftRadio = 1004;
constexpr int kMixedCheck = 1007;

constexpr int kInitialCount = 7;
const wchar_t* const kIntegerMessage = L"Please enter an integer.";

// The template's name field exchanged as a whole number.
class CountDlg : public CDialog {
 public:
  CountDlg() : CDialog(kConnectionTemplate) {}
  int count = kInitialCount;

 protected:
  void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, kNameEdit, count); }
};

TEST_F(DialogTest, OkWithAValueThatFailsValidationKeepsTheDialogOpen) {
  // The person confirms with the OK button or with Enter; both run OnOK.
  const std::function<void(CDialog&)> confirmations[] = {
      [](CDialog& d) { Person::click(&d, IDOK); },
      [](CDialog& d) { Person::pressKey(d.GetDlgItem(kNameEdit), VK_RETURN); },
  };
  for (const auto& confirm : confirmations) {
    krv::win::ScriptedUserInterfaceGuard ui;
    CountDlg dlg;
    ui->answerMessageBox(IDOK, kIntegerMessage);
    ui->onModal(
        [&](CDialog& d) {
          Person::replaceText(d.GetDlgItem(kNameEdit), L"12abc");
          confirm(d);
          EXPECT_TRUE(d.isRunningModal()) << "a refused value must not end the dialog";
          EXPECT_TRUE(d.IsWindowVisible());
          EXPECT_EQ(ui->messageBoxes().size(), 1u) << "the person is told what is wrong";
          EXPECT_EQ(CWnd::GetFocus(), d.GetDlgItem(kNameEdit))
              << "the field to correct has the focus";
          Person::click(&d, IDCANCEL);
        },
        kConnectionTemplate);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.count, kInitialCount) << "the refused text leaves the value as it was";
    EXPECT_TRUE(ui->allUsed()) << ui->report();
  }
}

TEST_F(DialogTest, OkAfterTheValueIsCorrectedEndsTheDialog) {
  krv::win::ScriptedUserInterfaceGuard ui;
  CountDlg dlg;
  ui->answerMessageBox(IDOK, kIntegerMessage);
  ui->onModal(
      [](CDialog& d) {
        Person::replaceText(d.GetDlgItem(kNameEdit), L"3000000000");
        Person::click(&d, IDOK);
        Person::replaceText(d.GetDlgItem(kNameEdit), L"12");
        Person::click(&d, IDOK);
      },
      kConnectionTemplate);
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.count, 12);
  EXPECT_TRUE(ui->allUsed()) << ui->report();
}

TEST_F(DialogTest, WholeNumberExchangeRefusesTrailingTextAndValuesBeyondTheIntRange) {
  krv::win::ScriptedUserInterfaceGuard ui;
  CountDlg dlg;
  ASSERT_TRUE(dlg.Create(kConnectionTemplate));
  for (const wchar_t* text : {L"12abc", L"3000000000", L"-3000000000", L"1.5", L""}) {
    dlg.SetDlgItemText(kNameEdit, text);
    ui->answerMessageBox(IDOK, kIntegerMessage);
    EXPECT_FALSE(dlg.UpdateData(TRUE)) << text;
    EXPECT_EQ(dlg.count, kInitialCount) << "the value is kept for " << text;
  }
  EXPECT_TRUE(ui->allUsed()) << "every refusal shows its message: " << ui->report();
  dlg.SetDlgItemText(kNameEdit, L" -12 ");
  EXPECT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.count, -12);
  dlg.DestroyWindow();
}

TEST_F(DialogTest, NumberExchangeRefusesTrailingText) {
  krv::win::ScriptedUserInterfaceGuard ui;
  NumberDlg dlg;
  const double initial = dlg.value;
  ASSERT_TRUE(dlg.Create(kConnectionTemplate));
  for (const wchar_t* text : {L"12abc", L"12 abc", L"12,5", L""}) {
    dlg.SetDlgItemText(kNameEdit, text);
    ui->answerMessageBox(IDOK, L"Please enter a number.");
    EXPECT_FALSE(dlg.UpdateData(TRUE)) << text;
    EXPECT_EQ(dlg.value, initial) << "the value is kept for " << text;
  }
  dlg.SetDlgItemText(kNameEdit, L" 12.5 ");
  EXPECT_TRUE(dlg.UpdateData(TRUE)) << "blanks around a number are no trailing text";
  EXPECT_EQ(dlg.value, 12.5);
  dlg.DestroyWindow();
}

TEST_F(DialogTest, TabSkipsHiddenAndDisabledControls) {
  krv::win::ScriptedUserInterfaceGuard ui;
  ConnectionDlg dlg;
  ui->onModal(
      [](CDialog& d) {
        auto focusIs = [&](int id) { return CWnd::GetFocus() == d.GetDlgItem(id); };
        d.GetDlgItem(kKindCombo)->ShowWindow(SW_HIDE);
        d.GetDlgItem(kBoltedCheck)->EnableWindow(FALSE);
        d.GetDlgItem(kNameEdit)->SetFocus();
        Person::pressKey(&d, VK_TAB);
        EXPECT_TRUE(focusIs(kLeftRadio))
            << "the hidden combo box and the disabled check box lie between";
        Person::pressKey(&d, VK_TAB, /*shift=*/true);
        EXPECT_TRUE(focusIs(kNameEdit)) << "backwards they are skipped as well";

        // At the ends of the order the focus wraps, past hidden and disabled ones.
        d.GetDlgItem(IDOK)->ShowWindow(SW_HIDE);
        d.GetDlgItem(IDCANCEL)->EnableWindow(FALSE);
        Person::pressKey(&d, VK_TAB, /*shift=*/true);
        EXPECT_TRUE(focusIs(kMixedCheck)) << "OK and Cancel follow it but cannot take the focus";
        Person::pressKey(&d, VK_TAB);
        EXPECT_TRUE(focusIs(kNameEdit));

        // With no other tab stop left the focus stays where it is.
        d.GetDlgItem(kLeftRadio)->EnableWindow(FALSE);
        d.GetDlgItem(kMixedCheck)->ShowWindow(SW_HIDE);
        Person::pressKey(&d, VK_TAB);
        EXPECT_TRUE(focusIs(kNameEdit));
        Person::pressKey(&d, VK_TAB, /*shift=*/true);
        EXPECT_TRUE(focusIs(kNameEdit));
        d.EndDialog(IDCANCEL);
      },
      kConnectionTemplate);
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_TRUE(ui->allUsed()) << ui->report();
}

TEST_F(DialogTest, ModalDialogOpensCentredOverTheTopLevelWindowOfItsParent) {
  krv::win::ScriptedUserInterfaceGuard ui;
  CWnd top;
  ASSERT_TRUE(top.CreateEx(0, L"#32770", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           CRect(100, 100, 700, 500), nullptr, 0));
  CWnd inner;
  ASSERT_TRUE(inner.Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(5, 5, 50, 50), &top, 1));
  ConnectionDlg dlg;
  dlg.m_pParentWnd = &inner;  // a child window: its top-level window owns the dialog
  ui->onModal(
      [&](CDialog& d) {
        EXPECT_FALSE(top.IsWindowEnabled()) << "the top-level window waits for the dialog";
        CRect over, dialog;
        top.GetWindowRect(&over);
        d.GetWindowRect(&dialog);
        // The template has no DS_CENTER; a modal dialog is centred all the same.
        EXPECT_NEAR(dialog.left + dialog.Width() / 2, over.left + over.Width() / 2, 1);
        EXPECT_NEAR(dialog.top + dialog.Height() / 2, over.top + over.Height() / 2, 1);
        d.EndDialog(IDCANCEL);
      },
      kConnectionTemplate);
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_TRUE(top.IsWindowEnabled());
  top.DestroyWindow();
}

TEST_F(DialogTest, SetDefIdMovesTheDefaultLookToThatPushButtonOnly) {
  krv::win::ScriptedUserInterfaceGuard ui;
  ConnectionDlg dlg;
  ASSERT_TRUE(dlg.Create(kConnectionTemplate));
  auto* ok = static_cast<CButton*>(dlg.GetDlgItem(IDOK));
  auto* cancel = static_cast<CButton*>(dlg.GetDlgItem(IDCANCEL));
  auto* bolted = static_cast<CButton*>(dlg.GetDlgItem(kBoltedCheck));
  dlg.SetDefID(IDCANCEL);
  EXPECT_TRUE(cancel->isDefaultButton());
  EXPECT_FALSE(ok->isDefaultButton()) << "one default button at a time";
  EXPECT_EQ(LOWORD(dlg.GetDefID()), IDCANCEL);
  dlg.SetDefID(kBoltedCheck);
  EXPECT_EQ(bolted->buttonType(), static_cast<UINT>(BS_AUTOCHECKBOX))
      << "a check box never looks like a default button";
  EXPECT_FALSE(cancel->isDefaultButton());
  dlg.DestroyWindow();
}

TEST_F(DialogTest, RadioExchangeCountsOnlyTheRadioButtonsOfTheGroup) {
  constexpr int kFirstRadio = 10, kCheckInGroup = 11, kSecondRadio = 12;
  CWnd parent;
  ASSERT_TRUE(
      parent.Create(L"#32770", L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
  CButton first, check, second;
  ASSERT_TRUE(first.Create(L"A", WS_CHILD | WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON,
                           CRect(0, 0, 50, 10), &parent, kFirstRadio));
  ASSERT_TRUE(check.Create(L"C", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(0, 15, 50, 25),
                           &parent, kCheckInGroup));
  ASSERT_TRUE(second.Create(L"B", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(0, 30, 50, 40),
                            &parent, kSecondRadio));
  check.SetCheck(BST_CHECKED);
  second.SetCheck(BST_CHECKED);
  int side = -1;
  CDataExchange save(&parent, TRUE);
  DDX_Radio(&save, kFirstRadio, side);
  EXPECT_EQ(side, 1) << "the check box between the radios is no choice of the group";
  side = 0;
  CDataExchange load(&parent, FALSE);
  DDX_Radio(&load, kFirstRadio, side);
  EXPECT_EQ(first.GetCheck(), BST_CHECKED);
  EXPECT_EQ(second.GetCheck(), BST_UNCHECKED);
  EXPECT_EQ(check.GetCheck(), BST_CHECKED) << "the check box is left alone";
  parent.DestroyWindow();
}

}  // namespace
