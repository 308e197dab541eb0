#include "frame/modal_frame.h"

#include <stdexcept>

#include "frame/frame_test_fixture.h"
#include "platform/win/combo_box.h"
#include "platform/win/person.h"
#include "platform/win/user_interface_test_support.h"

namespace krv::frame {
namespace {

struct PlateRecord {
  std::wstring name;
  int grade = 0;
  int galvanized = 0;
  bool operator==(const PlateRecord&) const = default;
};

class PlateDialog : public CDialog {
 public:
  PlateDialog() : CDialog(900) {}
  PlateRecord mData;
  bool mLocked = false;
  std::vector<std::string> mEvents;
  static bool sThrowOnInit;

 protected:
  BOOL OnInitDialog() override {
    if (sThrowOnInit) throw std::runtime_error("plate dialog failed");
    auto* grades = static_cast<CComboBox*>(GetDlgItem(1002));
    for (const wchar_t* g : {L"S235", L"S275", L"S355"}) grades->AddString(g);
    GetDlgItem(1003)->EnableWindow(!mLocked);
    return CDialog::OnInitDialog();
  }
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, 1001, mData.name);
    DDX_CBIndex(dx, 1002, mData.grade);
    DDX_Check(dx, 1003, mData.galvanized);
  }
  void OnNameChanged() {
    std::wstring text = GetDlgItemText(1001);
    mEvents.push_back("name:" + std::string(text.begin(), text.end()));
  }
  void OnGradeChanged() {
    mEvents.push_back("grade:" +
                      std::to_string(static_cast<CComboBox*>(GetDlgItem(1002))->GetCurSel()));
  }
  void OnGalvanized() {
    mEvents.push_back("galvanized:" + std::to_string(IsDlgButtonChecked(1003)));
  }
  DECLARE_MESSAGE_MAP()
};
bool PlateDialog::sThrowOnInit = false;

BEGIN_MESSAGE_MAP(PlateDialog, CDialog)
ON_EN_CHANGE(1001, &PlateDialog::OnNameChanged)
ON_CBN_SELCHANGE(1002, &PlateDialog::OnGradeChanged)
ON_BN_CLICKED(1003, &PlateDialog::OnGalvanized)
END_MESSAGE_MAP()

class ModalFrameTest : public FrameTest {};

TEST_F(ModalFrameTest, PersonEditsTheCopyAndConfirms) {
  krv::win::ScriptedUserInterfaceGuard ui;
  const HINSTANCE host = AfxGetResourceHandle();
  PlateRecord record{L"PL10", 0, 0};
  std::vector<std::string> events;
  ui->onModal(
      [&](CDialog& d) {
        auto& dlg = static_cast<PlateDialog&>(d);
        EXPECT_EQ(AfxGetResourceHandle(), module);   // templates come from this module
        EXPECT_EQ(d.GetDlgItemText(1001), L"PL10");  // the caller's record was copied in
        EXPECT_EQ(dlg.m_pParentWnd, nullptr);
        dlg.mEvents.clear();
        krv::win::Person::replaceText(d.GetDlgItem(1001), L"P2");
        krv::win::Person::choose(d.GetDlgItem(1002), 2);
        krv::win::Person::click(&d, 1003);
        EXPECT_EQ(record.name, L"PL10");  // nothing reaches the caller before OK
        krv::win::Person::click(&d, IDOK);
        events = dlg.mEvents;
      },
      900);
  EXPECT_TRUE(runModalFrame<PlateDialog>(record, &PlateDialog::mData));
  EXPECT_EQ(events, (std::vector<std::string>{"name:P", "name:P2", "grade:2", "galvanized:1"}));
  EXPECT_EQ(record, (PlateRecord{L"P2", 2, 1}));
  EXPECT_EQ(AfxGetResourceHandle(), host);
}

TEST_F(ModalFrameTest, CancelLeavesTheCallersRecordUntouched) {
  krv::win::ScriptedUserInterfaceGuard ui;
  const std::size_t windows = krv::win::liveWindowCount();
  PlateRecord record{L"PL10", 1, 1};
  ui->onModal([](CDialog& d) {
    krv::win::Person::replaceText(d.GetDlgItem(1001), L"changed");
    krv::win::Person::click(&d, 1003);
    krv::win::Person::pressKey(&d, VK_ESCAPE);
  });
  EXPECT_FALSE(runModalFrame<PlateDialog>(record, &PlateDialog::mData));
  EXPECT_EQ(record, (PlateRecord{L"PL10", 1, 1}));
  EXPECT_EQ(krv::win::liveWindowCount(), windows);
}

TEST_F(ModalFrameTest, CopyBackChoicesAndSetup) {
  krv::win::ScriptedUserInterfaceGuard ui;
  PlateRecord record{L"A", 0, 0};
  // Always: the record comes back after Cancel too (a dialog that writes its
  // record as the person works).
  ui->onModal([](CDialog& d) {
    static_cast<PlateDialog&>(d).mData.name = L"B";
    krv::win::Person::click(&d, IDCANCEL);
  });
  EXPECT_FALSE(runModalFrame<PlateDialog>(record, &PlateDialog::mData, CopyBack::Always));
  EXPECT_EQ(record.name, L"B");
  // Never: confirmed, but the record is only copied in.
  ui->onModal([](CDialog& d) {
    krv::win::Person::replaceText(d.GetDlgItem(1001), L"C");
    krv::win::Person::click(&d, IDOK);
  });
  EXPECT_TRUE(runModalFrame<PlateDialog>(record, &PlateDialog::mData, CopyBack::Never));
  EXPECT_EQ(record.name, L"B");
  // The setup step hands the dialog an extra argument before it runs.
  ui->onModal([](CDialog& d) {
    EXPECT_FALSE(d.GetDlgItem(1003)->IsWindowEnabled());
    krv::win::Person::click(&d, 1003);  // disabled: ignored
    krv::win::Person::click(&d, IDOK);
  });
  EXPECT_TRUE(runModalFrame<PlateDialog>(record, &PlateDialog::mData, CopyBack::OnOk,
                                         [](PlateDialog& d) { d.mLocked = true; }));
  EXPECT_EQ(record.galvanized, 0);
}

TEST_F(ModalFrameTest, ExceptionFromTheDialogStopsAtTheFrame) {
  krv::win::ScriptedUserInterfaceGuard ui;
  acad::CommandLineCapture out;
  const HINSTANCE host = AfxGetResourceHandle();
  const std::size_t windows = krv::win::liveWindowCount();
  PlateRecord record{L"PL10", 1, 0};
  PlateDialog::sThrowOnInit = true;
  const bool result = runModalFrame<PlateDialog>(record, &PlateDialog::mData, CopyBack::Always);
  PlateDialog::sThrowOnInit = false;
  EXPECT_FALSE(result);
  EXPECT_EQ(record, (PlateRecord{L"PL10", 1, 0}));
  EXPECT_EQ(AfxGetResourceHandle(), host);
  EXPECT_EQ(krv::win::liveWindowCount(), windows);
  EXPECT_EQ(out.text(), L"***Error*** plate dialog failed\n");
  EXPECT_TRUE(mainWindow->IsWindowEnabled());
}

TEST_F(ModalFrameTest, GuardRestoresOnlyTheSwitchItMade) {
  const HINSTANCE host = AfxGetResourceHandle();
  {
    ResourceGuard outer;
    EXPECT_TRUE(outer.switched());
    {
      ResourceGuard inner;  // a nested launch: already this module
      EXPECT_FALSE(inner.switched());
    }
    EXPECT_EQ(AfxGetResourceHandle(), module);
  }
  EXPECT_EQ(AfxGetResourceHandle(), host);
  try {
    ResourceGuard guard;
    EXPECT_EQ(AfxGetResourceHandle(), module);
    throw std::runtime_error("leaving early");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(AfxGetResourceHandle(), host);
  // Before the module entry saved the instance there is nothing to switch to.
  VtTempResourceOverride unsaved;
  ResourceGuard none(unsaved);
  EXPECT_FALSE(none.switched());
  EXPECT_EQ(AfxGetResourceHandle(), host);
}

}  // namespace
}  // namespace krv::frame
