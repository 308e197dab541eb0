// Behaviour of the standard controls as a person and the program use them.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "platform/win/combo_box.h"
#include "platform/win/console_user_interface.h"
#include "platform/win/dialog.h"
#include "platform/win/edit.h"
#include "platform/win/event_loop.h"
#include "platform/win/list_box.h"
#include "platform/win/message_box.h"
#include "platform/win/person.h"
#include "platform/win/resource_modules.h"

namespace {

using krv::win::Person;

// A parent that records the notification codes its controls send.
class Recorder : public CWnd {
 public:
  std::vector<UINT> codes;
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    codes.push_back(HIWORD(wParam));
    return TRUE;
  }
  int count(UINT code) const {
    int n = 0;
    for (UINT c : codes) n += c == code;
    return n;
  }
};

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        parent.Create(L"#32770", L"", WS_POPUP | WS_VISIBLE, CRect(10, 20, 410, 320), nullptr, 0));
  }
  void TearDown() override {
    parent.DestroyWindow();
    krv::win::EventLoop::instance().reset();
  }
  Recorder parent;
};

TEST_F(ControlsTest, EditSelectionReplaceAndTyping) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &parent, 1));
  edit.SetWindowText(L"HEA 200");
  EXPECT_EQ(parent.count(EN_CHANGE), 1);  // program changes notify too
  EXPECT_FALSE(edit.GetModify());
  edit.SetSel(4, -1);
  int a = 0, b = 0;
  edit.GetSel(a, b);
  EXPECT_EQ(a, 4);
  EXPECT_EQ(b, 7);
  edit.ReplaceSel(L"300");
  EXPECT_EQ(edit.GetWindowText(), L"HEA 300");
  edit.SetSel(2, 2);
  edit.SetSel(-1, 0);  // removes the selection, caret stays
  edit.GetSel(a, b);
  EXPECT_EQ(a, b);
  edit.SetSel(0, 100);  // past the end: to the end
  edit.GetSel(a, b);
  EXPECT_EQ(b, 7);

  parent.codes.clear();
  Person::replaceText(&edit, L"IPE");
  EXPECT_EQ(edit.GetWindowText(), L"IPE");
  EXPECT_TRUE(edit.GetModify());
  EXPECT_EQ(parent.count(EN_CHANGE), 3);
  EXPECT_EQ(parent.count(EN_UPDATE), 3);
  Person::type(&edit, L"\b\b");
  EXPECT_EQ(edit.GetWindowText(), L"I");
  Person::pressKey(&edit, VK_HOME);
  Person::pressKey(&edit, VK_DELETE);
  EXPECT_EQ(edit.GetWindowText(), L"");
}

TEST_F(ControlsTest, EditCaseStylesBackspaceAtTheStartAndMissingLines) {
  CEdit lower;
  ASSERT_TRUE(lower.Create(WS_CHILD | WS_VISIBLE | ES_LOWERCASE, CRect(0, 0, 100, 20), &parent, 1));
  Person::type(&lower, L"HeA");
  EXPECT_EQ(lower.GetWindowText(), L"hea");
  Person::pressKey(&lower, VK_HOME);
  Person::type(&lower, L"\b");
  EXPECT_EQ(lower.GetWindowText(), L"hea") << "nothing lies before the caret at the start";
  Person::type(&lower, L"X");
  EXPECT_EQ(lower.GetWindowText(), L"xhea") << "the caret stayed at the start";

  CEdit multi;
  ASSERT_TRUE(
      multi.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(0, 30, 100, 90), &parent, 2));
  multi.SetWindowText(L"first\r\nsecond");
  EXPECT_EQ(multi.lineText(0), L"first");
  EXPECT_EQ(multi.lineText(-1), L"") << "there is no line before the first";
}

TEST_F(ControlsTest, EditReadOnlyLimitNumberAndMultiLine) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_NUMBER, CRect(0, 0, 100, 20), &parent, 1));
  Person::type(&edit, L"1a2");
  EXPECT_EQ(edit.GetWindowText(), L"12");

  edit.SetLimitText(4);
  parent.codes.clear();
  Person::type(&edit, L"345");
  EXPECT_EQ(edit.GetWindowText(), L"1234");
  EXPECT_EQ(parent.count(EN_MAXTEXT), 1);
  edit.SetWindowText(L"123456");  // the limit binds the person, not the program
  EXPECT_EQ(edit.GetWindowText(), L"123456");

  edit.SetReadOnly(TRUE);
  EXPECT_TRUE(edit.isReadOnly());
  Person::type(&edit, L"9\b");
  Person::pressKey(&edit, VK_DELETE);
  EXPECT_EQ(edit.GetWindowText(), L"123456");
  edit.SetReadOnly(FALSE);
  Person::type(&edit, L"7");
  EXPECT_EQ(edit.GetWindowText().size(), 6u);  // still over its limit: nothing fits

  CEdit single, multi;
  ASSERT_TRUE(single.Create(WS_CHILD | WS_VISIBLE, CRect(0, 30, 100, 50), &parent, 2));
  ASSERT_TRUE(
      multi.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(0, 60, 100, 120), &parent, 3));
  Person::type(&single, L"a\rb");
  EXPECT_EQ(single.GetWindowText(), L"ab");
  EXPECT_EQ(single.GetLineCount(), 1);
  Person::type(&multi, L"a\rb\rc");
  EXPECT_EQ(multi.GetWindowText(), L"a\r\nb\r\nc");
  EXPECT_EQ(multi.GetLineCount(), 3);
  EXPECT_EQ(multi.lineText(1), L"b");
  EXPECT_EQ(multi.lineText(3), L"");
}

TEST_F(ControlsTest, ComboKindsSearchesAndNotifications) {
  CComboBox list, drop, simple;
  ASSERT_TRUE(
      list.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, 0, 100, 100), &parent, 1));
  ASSERT_TRUE(drop.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_SORT, CRect(0, 0, 100, 100),
                          &parent, 2));
  ASSERT_TRUE(simple.Create(WS_CHILD | WS_VISIBLE | CBS_SIMPLE, CRect(0, 0, 100, 100), &parent, 3));
  EXPECT_FALSE(list.hasEdit());
  EXPECT_TRUE(drop.hasEdit());
  EXPECT_TRUE(simple.hasEdit());
  for (CComboBox* c : {&list, &drop, &simple})
    for (const wchar_t* t : {L"Plate", L"Bolt", L"plate 2", L"Anchor"}) c->AddString(t);
  EXPECT_EQ(drop.itemText(0), L"Anchor");  // sorted
  EXPECT_EQ(list.itemText(0), L"Plate");

  // Searches ignore case, start after an index and wrap around.
  EXPECT_EQ(list.FindStringExact(-1, L"PLATE"), 0);
  EXPECT_EQ(list.FindString(-1, L"pla"), 0);
  EXPECT_EQ(list.FindString(0, L"pla"), 2);
  EXPECT_EQ(list.FindString(2, L"pla"), 0);
  EXPECT_EQ(list.FindStringExact(0, L"plate"), 0);
  EXPECT_EQ(list.FindString(-1, L"x"), CB_ERR);
  EXPECT_EQ(list.SelectString(-1, L"zz"), CB_ERR);

  // The program's calls send nothing.
  list.SetCurSel(1);
  drop.SetCurSel(1);
  drop.SetWindowText(L"custom");
  EXPECT_TRUE(parent.codes.empty());
  EXPECT_EQ(list.GetWindowText(), L"Bolt");
  EXPECT_EQ(drop.GetCurSel(), 1);
  EXPECT_EQ(list.SetCurSel(10), CB_ERR);
  EXPECT_EQ(list.GetCurSel(), CB_ERR);

  // A person's choice sends the choice notifications.
  Person::choose(&list, 3);
  EXPECT_EQ(list.GetCurSel(), 3);
  EXPECT_EQ(list.GetWindowText(), L"Anchor");
  EXPECT_EQ(parent.count(CBN_SELCHANGE), 1);
  EXPECT_EQ(parent.count(CBN_SELENDOK), 1);
  EXPECT_TRUE(Person::choose(&list, std::wstring(L"bolt")));
  EXPECT_EQ(list.GetCurSel(), 1);
  EXPECT_FALSE(Person::choose(&list, std::wstring(L"none")));

  // Typing in the edit field of a drop-down changes the text, not the choice.
  parent.codes.clear();
  Person::replaceText(&drop, L"HE");
  EXPECT_EQ(drop.GetWindowText(), L"HE");
  EXPECT_EQ(parent.count(CBN_EDITCHANGE), 2);
  EXPECT_EQ(parent.count(CBN_SELCHANGE), 0);
  // Typing in a drop-down list jumps to the next item with that letter.
  parent.codes.clear();
  Person::type(&list, L"p");
  EXPECT_EQ(list.GetCurSel(), 2);
  EXPECT_EQ(parent.count(CBN_SELCHANGE), 1);
  EXPECT_EQ(parent.count(CBN_SETFOCUS), 1);  // the person's typing went to it

  // Deleting moves the selection with its item.
  list.SetCurSel(2);
  list.DeleteString(0);
  EXPECT_EQ(list.GetCurSel(), 1);
  EXPECT_EQ(list.DeleteString(10), CB_ERR);
}

TEST_F(ControlsTest, ListBoxSingleAndMultipleSelection) {
  CListBox single, multi;
  ASSERT_TRUE(single.Create(WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_SORT, CRect(0, 0, 100, 100),
                            &parent, 1));
  ASSERT_TRUE(
      multi.Create(WS_CHILD | WS_VISIBLE | LBS_MULTIPLESEL, CRect(0, 0, 100, 100), &parent, 2));
  for (CListBox* l : {&single, &multi})
    for (const wchar_t* t : {L"c", L"a", L"b"}) l->AddString(t);
  EXPECT_EQ(single.itemText(0), L"a");
  EXPECT_EQ(multi.itemText(0), L"c");

  single.SetCurSel(1);
  EXPECT_TRUE(parent.codes.empty());
  single.InsertString(0, L"first");
  EXPECT_EQ(single.GetCurSel(), 2);  // the selection follows its item
  EXPECT_EQ(single.SetSel(0), LB_ERR);
  EXPECT_EQ(single.GetSelCount(), LB_ERR);

  Person::doubleClickItem(&single, 3);
  EXPECT_EQ(single.GetCurSel(), 3);
  EXPECT_EQ(parent.codes, (std::vector<UINT>{LBN_SELCHANGE, LBN_DBLCLK}));

  // Without LBS_NOTIFY a person's choice is silent; choosing toggles.
  parent.codes.clear();
  Person::choose(&multi, 0);
  Person::choose(&multi, 2);
  EXPECT_EQ(multi.GetSelCount(), 2);
  Person::choose(&multi, 0);
  EXPECT_EQ(multi.selectedItems(), std::vector<int>{2});
  EXPECT_TRUE(parent.codes.empty());
  EXPECT_EQ(multi.SetCurSel(1), LB_ERR);
  multi.SetSel(-1, TRUE);
  EXPECT_EQ(multi.GetSelCount(), 3);
  multi.DeleteString(1);
  EXPECT_EQ(multi.GetCount(), 2);
  EXPECT_EQ(multi.GetSelCount(), 2);
}

TEST_F(ControlsTest, PositionsClientAndScreenCoordinates) {
  // A framed child inside a framed popup.
  CWnd child;
  ASSERT_TRUE(child.CreateEx(WS_EX_CLIENTEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_BORDER,
                             CRect(30, 40, 130, 90), &parent, 5));
  CRect client;
  child.GetClientRect(&client);
  EXPECT_EQ(client, CRect(0, 0, 100 - 6, 50 - 6));  // 1 border + 2 client edge each side
  CRect window;
  child.GetWindowRect(&window);
  EXPECT_EQ(window, CRect(40, 60, 140, 110));  // the popup has no frame: client = window
  CPoint p(0, 0);
  child.ClientToScreen(&p);
  EXPECT_EQ(p, CPoint(43, 63));
  child.ScreenToClient(&p);
  EXPECT_EQ(p, CPoint(0, 0));

  struct Sizes : CWnd {
    std::vector<CSize> sizes;
    std::vector<CPoint> moves;
    void OnSize(UINT, int cx, int cy) override { sizes.emplace_back(cx, cy); }
    void OnMove(int x, int y) override { moves.emplace_back(x, y); }
  } sized;
  ASSERT_TRUE(sized.Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 6));
  sized.sizes.clear();
  sized.SetWindowPos(nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(sized.sizes.empty());
  EXPECT_EQ(sized.moves.back(), CPoint(5, 6));
  EXPECT_EQ(sized.windowRectInParent(), CRect(5, 6, 15, 16));
  sized.MoveWindow(1, 2, 30, 40);
  EXPECT_EQ(sized.sizes.back(), CSize(30, 40));
  sized.SetWindowPos(nullptr, 0, 0, -5, 20, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(sized.windowRectInParent(), CRect(1, 2, 1, 22));  // negative sizes become 0

  // Z-order: HWND_TOP brings the window first among its siblings.
  ASSERT_EQ(parent.children().front(), &child);
  sized.SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(parent.children().front(), &sized);
  sized.SetWindowPos(HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(parent.children().back(), &sized);
  sized.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW | SWP_NOZORDER);
  EXPECT_FALSE(sized.IsWindowVisible());
}

TEST(ConsoleUserInterface, AnswersWithDefaultsAndWritesBoxesToItsStream) {
  EXPECT_EQ(krv::win::defaultMessageBoxAnswer(MB_OK), IDOK);
  EXPECT_EQ(krv::win::defaultMessageBoxAnswer(MB_YESNO), IDYES);
  EXPECT_EQ(krv::win::defaultMessageBoxAnswer(MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(krv::win::defaultMessageBoxAnswer(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(krv::win::defaultMessageBoxAnswer(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDRETRY);
  EXPECT_EQ(krv::win::defaultMessageBoxAnswer(0xE | MB_DEFBUTTON3 | 0x300), IDOK);  // unknown kinds

  std::ostringstream out;
  krv::win::ConsoleUserInterface console(&out);
  krv::win::ScopedUserInterface use(console);
  EXPECT_EQ(AfxMessageBox(L"Bestand \u00bfniet\u00bf gevonden",
                          MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION),
            IDNO);
  EXPECT_NE(out.str().find("Bestand \xC2\xBFniet\xC2\xBF gevonden"), std::string::npos);
  std::vector<std::wstring> files{L"x"};
  FileDialogRequest request;
  EXPECT_FALSE(console.chooseFiles(request, files));
  EXPECT_TRUE(files.empty());
  PickedPoint point;
  EXPECT_FALSE(console.pickPoint(L"Point", point));
}

TEST(ConsoleUserInterface, RunsADialogWithItsDefaultButton) {
  HINSTANCE module = krv::win::ResourceModules::add(L"console", KRV_TESTDATA_DIR);
  const HINSTANCE previous = AfxGetResourceHandle();
  AfxSetResourceHandle(module);
  {
    std::ostringstream out;
    krv::win::ConsoleUserInterface console(&out);
    krv::win::ScopedUserInterface use(console);
    struct Dlg : CDialog {
      Dlg() : CDialog(100) {}
      int oks = 0;
      void OnOK() override {
        ++oks;
        CDialog::OnOK();
      }
    } dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);  // the template's default button is OK
    EXPECT_EQ(dlg.oks, 1);

    struct Refusing : CDialog {
      Refusing() : CDialog(100) {}
      void OnOK() override {}      // never ends with OK
      void OnCancel() override {}  // nor with Escape
    } refusing;
    EXPECT_EQ(refusing.DoModal(), IDCANCEL);
  }
  AfxSetResourceHandle(previous);
  krv::win::ResourceModules::remove(module);
  krv::win::EventLoop::instance().reset();
}

}  // namespace
