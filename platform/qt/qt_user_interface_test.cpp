// The Qt user interface: modal dialogs and message boxes in nested loops,
// file dialogs, drags over a window, picks and popup menus, answered here
// the way a person answers them.
#include "platform/qt/qt_user_interface.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QInputDialog>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRubberBand>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/qt/qt_application.h"
#include "platform/qt/window_mirror.h"
#include "platform/win/button.h"
#include "platform/win/console_user_interface.h"
#include "platform/win/data_object.h"
#include "platform/win/dialog.h"
#include "platform/win/event_loop.h"
#include "platform/win/message_box.h"
#include "platform/win/rect_tracker.h"
#include "platform/win/resource_modules.h"

namespace {

using krv::qt::MirrorWidget;
using krv::qt::QtUserInterface;

// Runs `action` once the current nested loop runs, and again every few
// milliseconds until it says it is done (a dialog may not be up yet). After
// three seconds it gives up and closes what waits for the person, so that
// a failing test ends.
void whenReady(std::function<bool()> action) {
  auto* timer = new QTimer;
  auto* started = new QElapsedTimer;
  started->start();
  QObject::connect(timer, &QTimer::timeout, [timer, started, action] {
    bool done = action();
    if (!done && started->elapsed() > 3000) {
      ADD_FAILURE() << "what the test waited for did not come";
      if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
      done = true;
    }
    if (!done) return;
    timer->stop();
    timer->deleteLater();
    delete started;
  });
  timer->start(5);
}

// The widget of a window among the shown top-level widgets and their children.
MirrorWidget* findWidget(const CWnd* window) {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    auto* w = dynamic_cast<MirrorWidget*>(top);
    if (!w || !w->isVisible()) continue;
    if (w->cwnd() == window) return w;
    // findChildren cannot pick MirrorWidgets (they have no meta-object of
    // their own), so every child widget is checked for its class.
    for (QWidget* child : w->findChildren<QWidget*>())
      if (auto* m = dynamic_cast<MirrorWidget*>(child); m && m->cwnd() == window) return m;
  }
  return nullptr;
}

// A dialog whose "Delete..." button asks before it closes the dialog.
class DeleteDlg : public CDialog {
 public:
  DeleteDlg() : CDialog(4100) {}
  int answer = 0;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) != 1004) return CDialog::OnCommand(wParam, lParam);
    answer = AfxMessageBox(L"Delete the member?", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (answer == IDYES) EndDialog(IDOK);
    return TRUE;
  }
};

class QtUserInterfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(krv::qt::ensureApplication(krv::qt::Display::Offscreen));
    module = krv::win::ResourceModules::add(L"qt-ui-tests", KRV_TESTDATA_DIR);
    previous = AfxGetResourceHandle();
    AfxSetResourceHandle(module);
  }
  void TearDown() override {
    AfxSetResourceHandle(previous);
    krv::win::ResourceModules::remove(module);
    krv::win::EventLoop::instance().reset();
  }
  HINSTANCE module = nullptr;
  HINSTANCE previous = nullptr;
  QtUserInterface ui;
};

TEST_F(QtUserInterfaceTest, AMessageBoxInsideAModalDialogAnswersTheDialogsHandler) {
  krv::win::ScopedUserInterface use(ui);
  DeleteDlg dialog;
  QString boxText;
  int defaultId = 0;
  whenReady([&] {
    MirrorWidget* button = findWidget(dialog.GetDlgItem(1004));
    if (!button) return false;
    // The box opens inside this click; it is answered from a timer.
    whenReady([&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return false;
      boxText = box->text();
      defaultId = box->defaultButton() == box->button(QMessageBox::No) ? IDNO : IDYES;
      QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
      return true;
    });
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    return true;
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.answer, IDYES);
  EXPECT_EQ(boxText, "Delete the member?");
  EXPECT_EQ(defaultId, IDNO) << "MB_DEFBUTTON2 of Yes/No";
  EXPECT_EQ(findWidget(&dialog), nullptr) << "the dialog's own mirror went with it";
}

// A main window with a button that records its clicks.
class MainWindow : public CWnd {
 public:
  int clicks = 0;
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    clicks += HIWORD(wParam) == BN_CLICKED;
    return TRUE;
  }
};

TEST_F(QtUserInterfaceTest, AModalDialogOfTheDesktopIsItsOnlyWindowThatTakesInput) {
  krv::win::ScopedUserInterface use(ui);
  MainWindow main;
  ASSERT_TRUE(main.Create(L"frame", L"Korvane", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                          CRect(0, 0, 400, 300), nullptr, 0));
  CButton button;
  ASSERT_TRUE(button.Create(L"Run", WS_CHILD | WS_VISIBLE, CRect(10, 10, 90, 34), &main, 500));
  AfxSetMainWnd(&main);
  krv::qt::WindowMirror desktop;
  desktop.followAllWindows();
  EXPECT_TRUE(desktop.widgetFor(&main)->isEnabled());
  DeleteDlg dialog;
  int shown = -1;
  bool mainEnabled = true;
  whenReady([&] {
    if (!IsWindow(dialog.GetSafeHwnd()) || !findWidget(&dialog)) return false;
    shown = 0;
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* w = dynamic_cast<MirrorWidget*>(top); w && w->cwnd() == &dialog && w->isVisible())
        ++shown;
    mainEnabled = desktop.widgetFor(&main)->isEnabled();
    QTest::mouseClick(desktop.widgetFor(&button), Qt::LeftButton, {}, QPoint(5, 5));
    // Closing the window with its close box cancels it.
    findWidget(&dialog)->close();
    return true;
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(shown, 1) << "the desktop's window, no second one";
  EXPECT_FALSE(mainEnabled);
  EXPECT_EQ(main.clicks, 0) << "the owner took no click while the dialog ran";
  EXPECT_TRUE(desktop.widgetFor(&main)->isEnabled());
  QTest::mouseClick(desktop.widgetFor(&button), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(main.clicks, 1);
  AfxSetMainWnd(nullptr);
  main.DestroyWindow();
}

// A modeless window whose button closes it.
class ToolWindow : public CWnd {
 public:
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    if (HIWORD(wParam) == BN_CLICKED) DestroyWindow();
    return TRUE;
  }
};

TEST_F(QtUserInterfaceTest, AModelessWindowIsShownUntilItSaysItIsFinished) {
  ToolWindow tool;
  ASSERT_TRUE(tool.Create(L"#32770", L"Find", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                          CRect(50, 50, 250, 150), nullptr, 0));
  CButton close;
  ASSERT_TRUE(close.Create(L"Close", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 90, 35),
                           &tool, 7));
  bool modal = true;
  whenReady([&] {
    MirrorWidget* top = findWidget(&tool);
    MirrorWidget* button = findWidget(&close);
    if (!top || !button) return false;
    modal = top->isModal();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    return true;
  });
  bool gone = false;
  ui.runModeless(tool, [&] { return gone = !IsWindow(tool.GetSafeHwnd()); });
  EXPECT_TRUE(gone) << "the person's click closed it, which ended the run";
  EXPECT_FALSE(modal) << "other windows still take input";
  EXPECT_EQ(findWidget(&tool), nullptr);
}

TEST(QtMessageBoxButtons, ButtonsAnswersAndDefaultsFollowTheBoxType) {
  for (UINT kind = MB_OK; kind <= MB_RETRYCANCEL; ++kind)
    for (UINT def : {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3}) {
      const auto buttons = krv::qt::messageBoxButtons(kind | def);
      const int index = krv::qt::messageBoxDefaultIndex(kind | def);
      ASSERT_LT(index, static_cast<int>(buttons.size()));
      // The same default answer as the non-interactive interface gives.
      EXPECT_EQ(buttons[static_cast<std::size_t>(index)].second,
                krv::win::defaultMessageBoxAnswer(kind | def))
          << "type " << kind << " default " << (def >> 8);
    }
  const auto abort = krv::qt::messageBoxButtons(MB_ABORTRETRYIGNORE);
  ASSERT_EQ(abort.size(), 3u);
  EXPECT_EQ(abort[2].first, QMessageBox::Ignore);
  EXPECT_EQ(abort[2].second, IDIGNORE);
}

TEST(QtFileFilters, FilterPairsBecomeQtNameFilters) {
  EXPECT_EQ(krv::qt::qtNameFilters(L"Text files (*.txt)|*.txt|All files (*.*)|*.*||"),
            QStringList({"Text files (*.txt)", "All files (*)"}));
  EXPECT_EQ(krv::qt::qtNameFilters(L"Sheets|*.xls; *.xlsx|Odd"),
            QStringList({"Sheets (*.xls *.xlsx)"}))
      << "several patterns; a description without patterns is dropped";
  EXPECT_EQ(krv::qt::qtNameFilters(L"Bitmaps (old)|*.bmp|"), QStringList({"Bitmaps (*.bmp)"}));
  EXPECT_TRUE(krv::qt::qtNameFilters(L"").isEmpty());
}

TEST_F(QtUserInterfaceTest, AFileDialogIsAskedForWhatTheRequestSaysAndGivesTheChosenFile) {
  const auto folder = std::filesystem::temp_directory_path() / "krv_qt_ui_files";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "beams.txt") << "x";
  FileDialogRequest request;
  request.open = false;
  request.title = L"Save the list";
  request.defaultExt = L"txt";
  request.filter = L"Text files (*.txt)|*.txt|All files (*.*)|*.*||";
  request.initialFolder = folder.wstring();
  request.initialFileName = L"plates";
  QStringList filters;
  bool saving = false;
  QString suffix;
  whenReady([&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return false;
    filters = dialog->nameFilters();
    saving = dialog->acceptMode() == QFileDialog::AcceptSave;
    suffix = dialog->defaultSuffix();
    static_cast<QDialog*>(dialog)->accept();
    return true;
  });
  std::vector<std::wstring> chosen;
  ASSERT_TRUE(ui.chooseFiles(request, chosen));
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(std::filesystem::path(chosen[0]), folder / "plates.txt");
  EXPECT_TRUE(saving);
  EXPECT_EQ(suffix, "txt");
  EXPECT_EQ(filters, QStringList({"Text files (*.txt)", "All files (*)"}));

  request.open = true;
  request.initialFileName.clear();
  whenReady([&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return false;
    static_cast<QDialog*>(dialog)->reject();
    return true;
  });
  EXPECT_FALSE(ui.chooseFiles(request, chosen));
  EXPECT_TRUE(chosen.empty());

  // With foldersToo, a file and a folder chosen together are both given.
  std::filesystem::create_directories(folder / "details");
  request.multiSelect = request.foldersToo = true;
  whenReady([&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return false;
    // Both picked in the list (as with Ctrl), once the folder is listed.
    auto* list = dialog->findChild<QListView*>("listView");
    if (!list || list->model()->rowCount(list->rootIndex()) < 2) return false;
    for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row) {
      const QModelIndex index = list->model()->index(row, 0, list->rootIndex());
      const QString shown = index.data().toString();
      if (shown == "beams.txt" || shown == "details")
        list->selectionModel()->select(index,
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    static_cast<QDialog*>(dialog)->accept();
    if (dialog->isVisible()) static_cast<QDialog*>(dialog)->reject();  // refused: no hang
    return true;
  });
  ASSERT_TRUE(ui.chooseFiles(request, chosen));
  ASSERT_EQ(chosen.size(), 2u);
  // In the order of the list, which may not be sorted yet when they are picked.
  std::sort(chosen.begin(), chosen.end());
  EXPECT_EQ(std::filesystem::path(chosen[0]), folder / "beams.txt");
  EXPECT_EQ(std::filesystem::path(chosen[1]), folder / "details");
  std::filesystem::remove_all(folder);
}

// A drawing area that lets the person drag a tracker or a rubber band.
class Canvas : public CWnd {
 public:
  const CRect initial{20, 20, 80, 60};
  CRectTracker tracker{&initial, CRectTracker::solidLine | CRectTracker::resizeOutside};
  bool banding = false;
  BOOL result = FALSE;
  void OnLButtonDown(UINT, CPoint point) override {
    result = banding ? tracker.TrackRubberBand(this, point) : tracker.Track(this, point);
  }
};

class QtDragTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(krv::qt::ensureApplication(krv::qt::Display::Offscreen));
    ASSERT_TRUE(frame.Create(L"#32770", L"Drawing", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                             CRect(50, 50, 350, 300), nullptr, 0));
    ASSERT_TRUE(canvas.Create(L"canvas", L"", WS_CHILD | WS_VISIBLE | WS_BORDER,
                              CRect(10, 10, 210, 160), &frame, 100));
    mirror.mirror(frame)->show();
    widget = mirror.widgetFor(&canvas);
  }
  void TearDown() override { frame.DestroyWindow(); }

  // Sends a mouse event as Qt delivers one (the drag follows global points).
  void send(QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  }
  // Presses at `from`; while the drag runs, moves to `to` and lets go
  // (or presses Escape). Widget coordinates, border included.
  void drag(QPoint from, QPoint to, bool cancel = false) {
    QTimer::singleShot(0, [this, to, cancel] {
      send(QEvent::MouseMove, to - QPoint(7, 7), Qt::LeftButton);
      send(QEvent::MouseMove, to, Qt::LeftButton);
      bandShown = false;
      for (auto* band : widget->findChildren<QRubberBand*>()) bandShown |= band->isVisible();
      if (cancel)
        QTest::keyClick(widget, Qt::Key_Escape);
      else
        send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    });
    QTest::mousePress(widget, Qt::LeftButton, {}, from);
  }

  CWnd frame;
  Canvas canvas;
  krv::qt::WindowMirror mirror;
  MirrorWidget* widget = nullptr;
  QtUserInterface ui;
  bool bandShown = false;
};

TEST_F(QtDragTest, ATrackerIsMovedAndResizedByAMouseDragOverItsWindow) {
  krv::win::ScopedUserInterface use(ui);
  const QPoint border(1, 1);
  drag(QPoint(50, 40) + border, QPoint(60, 45) + border);
  EXPECT_TRUE(canvas.result);
  EXPECT_TRUE(bandShown) << "the rectangle is seen while it moves";
  EXPECT_EQ(canvas.tracker.m_rect, CRect(30, 25, 90, 65));

  // The bottom-right handle lies just outside the corner.
  CRect handle;
  canvas.tracker.GetHandleRect(CRectTracker::hitBottomRight, &handle);
  drag(QPoint(handle.CenterPoint().x, handle.CenterPoint().y) + border,
       QPoint(handle.CenterPoint().x + 20, handle.CenterPoint().y + 10) + border);
  EXPECT_EQ(canvas.tracker.m_rect, CRect(30, 25, 110, 75));

  drag(QPoint(50, 40) + border, QPoint(150, 100) + border, true);
  EXPECT_FALSE(canvas.result) << "Escape cancels";
  EXPECT_EQ(canvas.tracker.m_rect, CRect(30, 25, 110, 75));
}

TEST_F(QtDragTest, ARubberBandIsDrawnFromThePressToTheRelease) {
  krv::win::ScopedUserInterface use(ui);
  canvas.banding = true;
  drag(QPoint(151, 121), QPoint(101, 31));
  EXPECT_TRUE(canvas.result);
  EXPECT_EQ(canvas.tracker.m_rect, CRect(100, 30, 150, 120)) << "normalized";
}

// A window that starts dragging a text when the mouse moves with the
// button held, and a target that takes texts.
class DragSource : public CWnd {
 public:
  DROPEFFECT effect = DROPEFFECT_NONE;
  int drags = 0;
  void OnMouseMove(UINT flags, CPoint) override {
    if (!(flags & MK_LBUTTON) || drags > 0) return;
    ++drags;
    COleDataSource data;
    data.CacheGlobalData(CF_UNICODETEXT, krv::win::globalFromText(L"HEA 200"));
    effect = data.DoDragDrop(DROPEFFECT_COPY);
  }
};
class TextDrop : public COleDropTarget {
 public:
  std::wstring text;
  CPoint at;
  DROPEFFECT OnDragEnter(CWnd* w, COleDataObject* data, DWORD keys, CPoint p) override {
    return OnDragOver(w, data, keys, p);
  }
  DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD, CPoint) override {
    return data->IsDataAvailable(CF_UNICODETEXT) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  }
  BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT, CPoint point) override {
    HGLOBAL h = data->GetGlobalData(CF_UNICODETEXT);
    text = krv::win::textFromGlobal(h);
    GlobalFree(h);
    at = point;
    return TRUE;
  }
};

TEST_F(QtDragTest, DataDraggedWithTheMouseIsDroppedOnTheWindowWhereItIsLetGo) {
  DragSource source;
  CWnd tray;
  ASSERT_TRUE(
      source.Create(L"source", L"", WS_CHILD | WS_VISIBLE, CRect(220, 10, 290, 60), &frame, 101));
  ASSERT_TRUE(
      tray.Create(L"tray", L"", WS_CHILD | WS_VISIBLE, CRect(220, 80, 290, 150), &frame, 102));
  TextDrop target;
  ASSERT_TRUE(target.Register(&tray));
  MirrorWidget* from = mirror.widgetFor(&source);
  MirrorWidget* to = mirror.widgetFor(&tray);
  ASSERT_TRUE(from && to);
  auto dragTo = [&](QPoint onTray, bool cancel) {
    QTest::mousePress(from, Qt::LeftButton, {}, QPoint(5, 5));
    QTimer::singleShot(0, [&, onTray, cancel] {
      const QPoint global = to->mapToGlobal(onTray);
      QMouseEvent move(QEvent::MouseMove, from->mapFromGlobal(global), global, Qt::NoButton,
                       Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(from, &move);
      if (cancel) {
        QTest::keyClick(from, Qt::Key_Escape);
        return;
      }
      QMouseEvent release(QEvent::MouseButtonRelease, from->mapFromGlobal(global), global,
                          Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(from, &release);
    });
    // The first move with the button held starts the drag.
    QMouseEvent start(QEvent::MouseMove, QPointF(9, 9), from->mapToGlobal(QPointF(9, 9)),
                      Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(from, &start);
  };
  dragTo(QPoint(10, 12), true);
  EXPECT_EQ(source.drags, 1);
  EXPECT_EQ(source.effect, DROPEFFECT_NONE) << "Escape cancels";
  EXPECT_TRUE(target.text.empty());
  QTest::mouseRelease(from, Qt::LeftButton, {}, QPoint(5, 5));

  source.drags = 0;
  dragTo(QPoint(10, 12), false);
  EXPECT_EQ(source.effect, DROPEFFECT_COPY);
  EXPECT_EQ(target.text, L"HEA 200");
  EXPECT_EQ(target.at, CPoint(10, 12));
  EXPECT_FALSE(GetKeyState(VK_LBUTTON) < 0) << "the drop let the button go";
  target.Revoke();
}

TEST_F(QtUserInterfaceTest, PopupMenusAndPicksAreAnsweredInQtDialogs) {
  whenReady([&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return false;
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[1]).center());
    return true;
  });
  EXPECT_EQ(ui.choosePopupMenuItem({L"Copy", L"Paste", L"Delete"}, CPoint(100, 100)), 1);
  whenReady([&] {
    QWidget* menu = QApplication::activePopupWidget();
    if (!menu) return false;
    QTest::keyClick(menu, Qt::Key_Escape);
    return true;
  });
  EXPECT_EQ(ui.choosePopupMenuItem({L"Copy"}, CPoint(100, 100)), -1);

  // A point that is not one is asked for again.
  int asked = 0;
  whenReady([&] {
    auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (!input) return false;
    input->setTextValue(++asked == 1 ? "12 apples" : "1, 2.5;-3");
    input->accept();
    return asked == 2;
  });
  PickedPoint point;
  ASSERT_TRUE(ui.pickPoint(L"Base point", point));
  EXPECT_EQ(asked, 2);
  EXPECT_DOUBLE_EQ(point.x, 1);
  EXPECT_DOUBLE_EQ(point.y, 2.5);
  EXPECT_DOUBLE_EQ(point.z, -3);

  EXPECT_EQ(krv::qt::parseHandle("0x2A"), 42);
  EXPECT_EQ(krv::qt::parseHandle(" 17 "), 17);
  EXPECT_FALSE(krv::qt::parseHandle("2A").has_value());
  EXPECT_FALSE(krv::qt::parsePoint("1").has_value());
}

}  // namespace
