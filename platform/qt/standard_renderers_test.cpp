// The standard controls as a person sees and uses them in Qt: a widget per
// control, drawn from the control's state, and clicks, choices and keys
// that reach the dialog as the same notifications the tests of the
// controls see.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "platform/qt/button_renderer.h"
#include "platform/qt/combo_box_renderer.h"
#include "platform/qt/control_paint.h"
#include "platform/qt/edit_renderer.h"
#include "platform/qt/list_box_renderer.h"
#include "platform/qt/list_view_renderer.h"
#include "platform/qt/picture.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/static_renderer.h"
#include "platform/qt/tab_renderer.h"
#include "platform/qt/tool_tip_renderer.h"
#include "platform/qt/window_mirror.h"
#include "platform/win/bitmap.h"
#include "platform/win/button.h"
#include "platform/win/combo_box.h"
#include "platform/win/dc.h"
#include "platform/win/edit.h"
#include "platform/win/event_loop.h"
#include "platform/win/list_box.h"
#include "platform/win/list_ctrl.h"
#include "platform/win/resource_modules.h"
#include "platform/win/static_ctrl.h"
#include "platform/win/tab_ctrl.h"
#include "platform/win/tool_tip_ctrl.h"

namespace {

using krv::qt::MirrorWidget;
using krv::qt::WindowMirror;

// A dialog that records the notifications of its controls: (id, code).
class Panel : public CWnd {
 public:
  std::vector<std::pair<int, UINT>> seen;
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    seen.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return TRUE;
  }
  BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT*) override {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    seen.emplace_back(static_cast<int>(header->idFrom), header->code);
    return TRUE;
  }
  // Mouse messages of the controls go to the tool tip, as a dialog relays them.
  CToolTipCtrl* tip = nullptr;
  BOOL PreTranslateMessage(MSG* msg) override {
    if (tip) tip->RelayEvent(msg);
    return FALSE;
  }
  int count(int id, UINT code) const {
    int n = 0;
    for (const auto& [i, c] : seen) n += i == id && c == code;
    return n;
  }
};

enum Id {
  kName = 100,
  kNameEdit,
  kRule,
  kGroup,
  kGalvanised,
  kPainted,
  kSteel,
  kTimber,
  kLocked,
  kGrade,
  kThickness,
  kFinish,
  kProfiles,
  kBolts,
  kNotes,
  kTabs,
  kGallery,
  kHelp,
  kPicture,
  kIconButton,
  kIcon,
};

class StandardRenderersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(krv::qt::ensureApplication(krv::qt::Display::Offscreen));
    resources = krv::win::ResourceModules::add(L"renderer-tests", KRV_SOURCE_DIR "/resources");
    font.CreatePointFont(90, L"DejaVu Sans");
    ASSERT_TRUE(panel.Create(L"#32770", L"Member properties",
                             WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                             CRect(100, 100, 566, 506), nullptr, 0));
    const DWORD child = WS_CHILD | WS_VISIBLE;
    make<CStatic>(L"&Name:", child | SS_LEFT, CRect(10, 12, 60, 28), kName);
    nameEdit = make<CEdit>(child | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, CRect(70, 8, 230, 30),
                           kNameEdit);
    nameEdit->SetWindowText(L"Beam HEA 200");
    make<CStatic>(L"", child | 0x10, CRect(10, 36, 450, 38), kRule);
    make<CButton>(L"Options", child | BS_GROUPBOX, CRect(10, 44, 230, 150), kGroup);
    galvanised = make<CButton>(L"Galvanised", child | BS_AUTOCHECKBOX | WS_TABSTOP,
                               CRect(20, 62, 200, 80), kGalvanised);
    galvanised->SetCheck(BST_CHECKED);
    make<CButton>(L"Painted", child | BS_AUTO3STATE, CRect(20, 82, 200, 100), kPainted)
        ->SetCheck(BST_INDETERMINATE);
    make<CButton>(L"Steel", child | BS_AUTORADIOBUTTON | WS_GROUP, CRect(20, 102, 110, 120), kSteel)
        ->SetCheck(BST_CHECKED);
    make<CButton>(L"Timber", child | BS_AUTORADIOBUTTON, CRect(110, 102, 200, 120), kTimber);
    make<CButton>(L"Locked", child | BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_GROUP,
                  CRect(20, 122, 110, 144), kLocked)
        ->SetCheck(BST_CHECKED);
    grade =
        make<CComboBox>(child | CBS_DROPDOWNLIST | WS_TABSTOP, CRect(240, 44, 450, 200), kGrade);
    for (auto* s : {L"S235", L"S275", L"S355"}) grade->AddString(s);
    grade->SetCurSel(1);
    auto* thickness = make<CComboBox>(child | CBS_DROPDOWN, CRect(240, 74, 450, 230), kThickness);
    for (auto* s : {L"10", L"12.5", L"15"}) thickness->AddString(s);
    thickness->SetWindowText(L"12.5");
    auto* finish = make<CComboBox>(child | CBS_SIMPLE, CRect(240, 104, 450, 190), kFinish);
    for (auto* s : {L"Mill", L"Blasted", L"Primed"}) finish->AddString(s);
    finish->SetCurSel(2);
    profiles = make<CListBox>(child | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, CRect(10, 156, 150, 250),
                              kProfiles);
    for (int i = 0; i < 12; ++i)
      profiles->AddString((L"HEA " + std::to_wstring(100 + 20 * i)).c_str());
    profiles->SetCurSel(2);
    auto* bolts = make<CListBox>(child | WS_BORDER | LBS_MULTIPLESEL | LBS_NOTIFY,
                                 CRect(160, 156, 230, 250), kBolts);
    for (auto* s : {L"M12", L"M16", L"M20", L"M24"}) bolts->AddString(s);
    bolts->SetSel(0), bolts->SetSel(2);
    auto* notes = make<CEdit>(child | WS_BORDER | ES_MULTILINE, CRect(240, 196, 450, 250), kNotes);
    notes->SetWindowText(L"First line\r\nSecond line\r\nThird line");
    tabs = make<CTabCtrl>(child, CRect(10, 256, 230, 330), kTabs);
    for (auto* s : {L"General", L"Bolts", L"Welds"}) tabs->InsertItem(tabs->GetItemCount(), s);
    tabs->SetCurSel(0);
    gallery = make<CListCtrl>(child | WS_BORDER | LVS_ICON, CRect(240, 256, 450, 330), kGallery);
    images.Create(24, 24, ILC_COLOR24, 3, 0);
    for (COLORREF c : {RGB(200, 40, 40), RGB(40, 160, 40), RGB(40, 40, 200)}) {
      CBitmap bitmap;
      bitmap.setImage(krv::win::BitmapImage(24, 24, c));
      images.Add(&bitmap, nullptr);
    }
    gallery->SetImageList(&images, LVSIL_NORMAL);
    for (auto* s : {L"Plate", L"Angle", L"Tube"})
      gallery->InsertItem(gallery->GetItemCount(), s, gallery->GetItemCount());
    ok = make<CButton>(L"OK", child | BS_DEFPUSHBUTTON | WS_TABSTOP, CRect(270, 340, 355, 364),
                       IDOK);
    make<CButton>(L"Cancel", child | BS_PUSHBUTTON, CRect(365, 340, 450, 364), IDCANCEL);
    make<CButton>(L"Help", child | WS_DISABLED, CRect(175, 340, 260, 364), kHelp);
    bitmap.setImage(krv::win::BitmapImage(32, 24, RGB(230, 160, 20)));
    make<CStatic>(L"", child | SS_BITMAP, CRect(10, 338, 42, 364), kPicture)->SetBitmap(bitmap);
    const HICON icon = LoadIcon(resources, 257);
    make<CButton>(L"", child | BS_ICON, CRect(50, 336, 86, 366), kIconButton)->SetIcon(icon);
    make<CStatic>(L"", child | SS_ICON, CRect(96, 336, 128, 366), kIcon)->SetIcon(icon);
    panel.SetFont(&font);
    for (CWnd* c : panel.children()) c->SetFont(&font);
  }
  void TearDown() override {
    if (IsWindow(panel.GetSafeHwnd())) panel.DestroyWindow();
    krv::win::ResourceModules::remove(resources);
    krv::win::EventLoop::instance().reset();
  }

  // A static or button with a text, and the other controls.
  template <class Control>
  Control* make(LPCWSTR text, DWORD style, CRect rect, int id) {
    auto* control = keep(std::make_unique<Control>());
    EXPECT_TRUE(control->Create(text, style, rect, &panel, id));
    return control;
  }
  template <class Control>
  Control* make(DWORD style, CRect rect, int id) {
    auto* control = keep(std::make_unique<Control>());
    EXPECT_TRUE(control->Create(style, rect, &panel, id));
    return control;
  }
  template <class Control>
  Control* keep(std::unique_ptr<Control> control) {
    Control* raw = control.get();
    controls.push_back(std::move(control));
    return raw;
  }

  // Shows the mirror of the panel, as the desktop does.
  MirrorWidget* show() {
    MirrorWidget* top = mirror.mirror(panel);
    top->show();
    return top;
  }
  MirrorWidget* widget(int id) { return mirror.widgetFor(panel.GetDlgItem(id)); }

  HINSTANCE resources = nullptr;
  CFont font;
  Panel panel;
  std::vector<std::unique_ptr<CWnd>> controls;
  CImageList images;
  CBitmap bitmap;
  CEdit* nameEdit = nullptr;
  CButton* galvanised = nullptr;
  CButton* ok = nullptr;
  CComboBox* grade = nullptr;
  CListBox* profiles = nullptr;
  CTabCtrl* tabs = nullptr;
  CListCtrl* gallery = nullptr;
  WindowMirror mirror;
};

TEST_F(StandardRenderersTest, EveryControlHasAWidgetAtItsPlaceDrawnByItsKindsRenderer) {
  show();
  EXPECT_EQ(mirror.widgetCount(), panel.children().size() + 1);
  for (CWnd* control : panel.children()) {
    MirrorWidget* w = mirror.widgetFor(control);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->geometry(), krv::qt::toQRect(control->windowRectInParent()));
    EXPECT_EQ(w->windowText().toStdWString(), control->GetWindowText());
  }
  EXPECT_EQ(&krv::qt::rendererFor(*ok), &krv::qt::buttonRenderer());
  EXPECT_EQ(&krv::qt::rendererFor(*panel.GetDlgItem(kName)), &krv::qt::staticRenderer());
  EXPECT_EQ(&krv::qt::rendererFor(*nameEdit), &krv::qt::editRenderer());
  EXPECT_EQ(&krv::qt::rendererFor(*grade), &krv::qt::comboBoxRenderer());
  EXPECT_EQ(&krv::qt::rendererFor(*profiles), &krv::qt::listBoxRenderer());
  EXPECT_EQ(&krv::qt::rendererFor(*tabs), &krv::qt::tabRenderer());
  EXPECT_EQ(&krv::qt::rendererFor(*gallery), &krv::qt::listViewRenderer());
  EXPECT_EQ(&krv::qt::rendererFor(panel), &krv::qt::genericRenderer());
  // Class names are matched in any case, as the window system does.
  CWnd lower;
  ASSERT_TRUE(lower.Create(L"combobox", L"", WS_CHILD, CRect(0, 0, 10, 10), &panel, 999));
  EXPECT_EQ(&krv::qt::rendererFor(lower), &krv::qt::comboBoxRenderer());
  EXPECT_EQ(widget(kGrade)->windowText(), "S275") << "a drop-down list shows its selection";
  // A drop-down's window reaches over the controls below; they keep their clicks.
  MirrorWidget* top = mirror.widgetFor(&panel);
  EXPECT_EQ(top->childAt(QPoint(300, 50)), widget(kGrade));
  EXPECT_EQ(top->childAt(QPoint(300, 80)), widget(kThickness));
  EXPECT_EQ(top->childAt(QPoint(300, 160)), widget(kFinish)) << "a simple combo keeps its list";
}

// Pixels of `image` inside `r` that differ from `background`.
int inkIn(const QImage& image, const QRect& r, QColor background) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (QColor(image.pixel(x, y)) != background) ++n;
  return n;
}

TEST_F(StandardRenderersTest, APictureShowsEveryControlAndTheStateChangesItsPixels) {
  const QImage picture = krv::qt::renderPicture(panel);
  ASSERT_FALSE(picture.isNull());
  // Kept for a person to look at.
  const auto file = std::filesystem::temp_directory_path() / "krv_standard_controls.png";
  ASSERT_TRUE(krv::qt::savePicture(panel, file).ok());
  const QColor face = krv::qt::toQColor(GetSysColor(COLOR_BTNFACE));
  const CRect in = panel.nonClientInsets();
  for (CWnd* control : panel.children()) {
    const QRect r = krv::qt::toQRect(control->windowRectInParent()).translated(in.left, in.top);
    EXPECT_GT(inkIn(picture, r, face), r.width() * r.height() / 50)
        << "control " << control->GetDlgCtrlID() << " is drawn";
  }

  // Each state a person can see is drawn: check, selection, focus, text.
  show();
  auto grab = [&](int id) { return widget(id)->grab().toImage(); };
  const QImage checked = grab(kGalvanised);
  galvanised->SetCheck(BST_UNCHECKED);
  EXPECT_NE(grab(kGalvanised), checked);
  const QImage list = grab(kProfiles);
  profiles->SetCurSel(5);
  EXPECT_NE(grab(kProfiles), list);
  const QImage unfocused = grab(kNameEdit);
  nameEdit->SetFocus();
  EXPECT_NE(grab(kNameEdit), unfocused) << "the caret shows";
  const QImage tab0 = grab(kTabs);
  tabs->SetCurSel(2);
  EXPECT_NE(grab(kTabs), tab0);
}

// An owner-drawn button that paints itself red.
class SwatchButton : public CButton {
 public:
  void OnPaint() override {
    CPaintDC dc(this);
    dc.FillSolidRect(0, 0, 20, 10, RGB(255, 0, 0));
  }
};

TEST_F(StandardRenderersTest, AnOwnerDrawnButtonShowsWhatItDrewAndIsStillClicked) {
  SwatchButton swatch;
  ASSERT_TRUE(swatch.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(240, 8, 270, 28),
                            &panel, 130));
  show();
  const QImage shown = mirror.widgetFor(&swatch)->grab().toImage();
  EXPECT_EQ(QColor(shown.pixel(5, 5)), QColor(255, 0, 0));
  EXPECT_NE(QColor(shown.pixel(25, 15)), QColor(255, 0, 0)) << "only where it drew";
  QTest::mouseClick(mirror.widgetFor(&swatch), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(panel.count(130, BN_CLICKED), 1);
  swatch.DestroyWindow();
}

// A dialog that paints a picture as its background in OnEraseBkgnd, as a
// dialog with a drawing under its controls does: a blue block at the top
// left of its client area.
class PaintedBackground : public CWnd {
 public:
  int erased = 0;
  BOOL OnEraseBkgnd(CDC* dc) override {
    ++erased;
    dc->FillSolidRect(0, 0, 60, 40, RGB(0, 0, 255));
    return TRUE;
  }
};

TEST_F(StandardRenderersTest, APictureShowsTheBackgroundADialogPaintsUnderItsControls) {
  PaintedBackground dialog;
  ASSERT_TRUE(dialog.Create(L"#32770", L"Background", WS_POPUP | WS_VISIBLE, CRect(0, 0, 120, 80),
                            nullptr, 0));
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(30, 10, 100, 30), &dialog, 1));
  const QImage picture = krv::qt::renderPicture(dialog);
  ASSERT_EQ(picture.size(), QSize(120, 80));
  EXPECT_GE(dialog.erased, 1) << "the window was asked to erase its background";
  EXPECT_EQ(QColor(picture.pixel(5, 5)), QColor(0, 0, 255)) << "the painted background";
  EXPECT_NE(QColor(picture.pixel(45, 20)), QColor(0, 0, 255)) << "the edit lies over it";
  EXPECT_EQ(QColor(picture.pixel(110, 70)), krv::qt::toQColor(GetSysColor(COLOR_BTNFACE)))
      << "the dialog's face where nothing was painted";
  dialog.DestroyWindow();
}

TEST_F(StandardRenderersTest, ClicksOnButtonsReachTheDialogAndToggleCheckBoxes) {
  show();
  QTest::mouseClick(widget(IDOK), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(panel.count(IDOK, BN_CLICKED), 1);

  QTest::mouseClick(widget(kGalvanised), Qt::LeftButton, {}, QPoint(8, 9));
  EXPECT_EQ(galvanised->GetCheck(), BST_UNCHECKED);
  EXPECT_EQ(panel.count(kGalvanised, BN_CLICKED), 1);
  EXPECT_EQ(CWnd::GetFocus(), galvanised);

  // A press released outside the button is no click; a disabled one ignores it.
  QTest::mousePress(widget(IDCANCEL), Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(widget(IDCANCEL), Qt::LeftButton, {}, QPoint(200, 5));
  QTest::mouseClick(widget(kHelp), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(panel.count(IDCANCEL, BN_CLICKED), 0);
  EXPECT_EQ(panel.count(kHelp, BN_CLICKED), 0);

  QTest::mouseClick(widget(kTimber), Qt::LeftButton, {}, QPoint(8, 9));
  EXPECT_EQ(panel.IsDlgButtonChecked(kTimber), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(panel.IsDlgButtonChecked(kSteel), static_cast<UINT>(BST_UNCHECKED));
}

TEST_F(StandardRenderersTest, ChoosingInTheRenderedListsSendsTheirNotifications) {
  show();
  // The drop-down list opens a popup of its items; a click chooses one.
  QTimer::singleShot(0, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_TRUE(menu->actions()[1]->isChecked()) << "the selection is marked";
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[2]).center());
  });
  QTest::mouseClick(widget(kGrade), Qt::LeftButton, {}, QPoint(20, 8));
  EXPECT_EQ(grade->GetCurSel(), 2);
  EXPECT_EQ(panel.count(kGrade, CBN_SELCHANGE), 1);
  EXPECT_EQ(panel.count(kGrade, CBN_SELENDOK), 1);

  // A dismissed popup changes nothing.
  QTimer::singleShot(0, [] {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  });
  QTest::mouseClick(widget(kGrade), Qt::LeftButton, {}, QPoint(20, 8));
  EXPECT_EQ(panel.count(kGrade, CBN_SELCHANGE), 1);

  // List box rows lie one font height plus two apart, from the top.
  MirrorWidget* list = widget(kProfiles);
  const int row = QFontMetrics(list->font()).height() + 2;
  QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(20, 1 + 3 * row + row / 2));
  EXPECT_EQ(profiles->GetCurSel(), 3);
  EXPECT_EQ(panel.count(kProfiles, LBN_SELCHANGE), 1);
  QTest::mouseDClick(list, Qt::LeftButton, {}, QPoint(20, 1 + row / 2));
  EXPECT_EQ(profiles->GetCurSel(), 0);
  EXPECT_EQ(panel.count(kProfiles, LBN_DBLCLK), 1);

  // The simple combo's list lies under its edit field.
  auto* finish = static_cast<CComboBox*>(panel.GetDlgItem(kFinish));
  MirrorWidget* simple = widget(kFinish);
  const int field = krv::qt::comboFieldHeight(*simple);
  QTest::mouseClick(simple, Qt::LeftButton, {}, QPoint(20, field + 1 + row / 2));
  EXPECT_EQ(finish->GetCurSel(), 0);
  EXPECT_EQ(finish->GetWindowText(), L"Mill");
}

TEST_F(StandardRenderersTest, TabsAndGalleryItemsAreChosenWhereTheyAreDrawn) {
  show();
  CRect r;
  tabs->GetItemRect(1, &r);
  QTest::mouseClick(widget(kTabs), Qt::LeftButton, {}, krv::qt::toQRect(r).center());
  EXPECT_EQ(tabs->GetCurSel(), 1);
  EXPECT_EQ(panel.count(kTabs, TCN_SELCHANGE), 1);

  gallery->GetItemRect(2, &r, LVIR_ICON);
  const QPoint item = krv::qt::toQRect(r).center() + QPoint(1, 1);  // inside the border
  QTest::mouseClick(widget(kGallery), Qt::LeftButton, {}, item);
  EXPECT_EQ(gallery->GetNextItem(-1, LVNI_SELECTED), 2);
  EXPECT_EQ(panel.count(kGallery, NM_CLICK), 1);
  QTest::mouseDClick(widget(kGallery), Qt::LeftButton, {}, item);
  EXPECT_EQ(panel.count(kGallery, NM_DBLCLK), 1);
  EXPECT_EQ(gallery->GetSelectedCount(), 1u);
}

TEST_F(StandardRenderersTest, TypingIntoARenderedEditChangesItsTextWhereTheCaretWasPut) {
  show();
  MirrorWidget* edit = widget(kNameEdit);
  // A click at the left end puts the caret before the first character.
  QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(3, 10));
  EXPECT_EQ(CWnd::GetFocus(), nameEdit);
  const int changes = panel.count(kNameEdit, EN_CHANGE);
  QTest::keyClicks(edit, "New ");
  EXPECT_EQ(nameEdit->GetWindowText(), L"New Beam HEA 200");
  EXPECT_EQ(panel.count(kNameEdit, EN_CHANGE), changes + 4);
  QTest::keyClick(edit, Qt::Key_End);
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(nameEdit->GetWindowText(), L"New Beam HEA 20");

  // Dragging selects; typing replaces the selection.
  QTest::mousePress(edit, Qt::LeftButton, {}, QPoint(3, 10));
  QMouseEvent drag(QEvent::MouseMove, QPointF(155, 10), edit->mapToGlobal(QPointF(155, 10)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(edit, &drag);
  QTest::mouseRelease(edit, Qt::LeftButton, {}, QPoint(155, 10));
  int start = -1, end = -1;
  nameEdit->GetSel(start, end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 15);
  QTest::keyClicks(edit, "X");
  EXPECT_EQ(nameEdit->GetWindowText(), L"X");
}

TEST_F(StandardRenderersTest, TheToolTipShowsTheTipOfTheToolUnderTheMouse) {
  CToolTipCtrl tip;
  ASSERT_TRUE(tip.Create(&panel));
  ASSERT_TRUE(tip.AddTool(ok, L"Accept the changes"));
  panel.tip = &tip;
  EXPECT_EQ(&krv::qt::rendererFor(tip), &krv::qt::toolTipRenderer());
  show();
  // The mouse comes to rest on the button: the move reaches the dialog.
  MirrorWidget* button = widget(IDOK);
  QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(button, &move);
  krv::win::EventLoop::instance().advance(500);
  ASSERT_TRUE(tip.isShowing());
  const QImage shown = krv::qt::renderPicture(tip);
  const QColor base = krv::qt::controlStyle().standardPalette().color(QPalette::ToolTipBase);
  EXPECT_GT(inkIn(shown, shown.rect().adjusted(2, 2, -2, -2), base), 20) << "the text is drawn";
  panel.tip = nullptr;
  tip.DestroyWindow();
}

}  // namespace
