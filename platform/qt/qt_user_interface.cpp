#include "platform/qt/qt_user_interface.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QRubberBand>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "platform/qt/control_renderer.h"
#include "platform/qt/mirror_widget.h"
#include "platform/qt/mouse_drag.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/window_mirror.h"
#include "platform/win/dialog.h"
#include "platform/win/event_loop.h"
#include "platform/win/rect_tracker.h"

namespace krv::qt {

// Remembers the window widget that got the last mouse press and where: a
// drag started by that press follows the mouse over that widget.
class QtUserInterface::PressWatcher : public QObject {
 public:
  PressWatcher() { qApp->installEventFilter(this); }
  ~PressWatcher() override {
    if (qApp) qApp->removeEventFilter(this);
  }
  QPointer<MirrorWidget> widget;
  QPoint globalPoint;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
      if (auto* pressed = dynamic_cast<MirrorWidget*>(object)) {
        widget = pressed;
        globalPoint = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
      }
    return false;
  }
};

namespace {

// A file dialog that also accepts the folders chosen in it (a folder
// otherwise opens when it is accepted).
class FilesAndFoldersDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;
  bool foldersToo = false;

 protected:
  void accept() override {
    const QStringList chosen = selectedFiles();
    const bool allExist = !chosen.isEmpty() &&
                          std::all_of(chosen.begin(), chosen.end(),
                                      [](const QString& path) { return QFileInfo::exists(path); });
    const bool anyFolder = std::any_of(chosen.begin(), chosen.end(),
                                       [](const QString& path) { return QFileInfo(path).isDir(); });
    if (foldersToo && allExist && anyFolder) {
      QDialog::accept();
      return;
    }
    QFileDialog::accept();
  }
};

// The shown top-level widget of a window, if any.
MirrorWidget* shownWidgetOf(const CWnd* window) {
  for (QWidget* top : QApplication::topLevelWidgets())
    if (auto* w = dynamic_cast<MirrorWidget*>(top); w && w->cwnd() == window && w->isVisible())
      return w;
  return nullptr;
}

// The widget a box or dialog of `owner` is shown over.
QWidget* parentFor(HWND owner) {
  if (CWnd* window = CWnd::FromHandle(owner))
    if (MirrorWidget* w =
            shownWidgetOf(window->GetTopLevelParent() ? window->GetTopLevelParent() : window))
      return w;
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

QMessageBox::Icon iconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONASTERISK:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

std::vector<std::pair<QMessageBox::StandardButton, int>> messageBoxButtons(UINT type) {
  using B = QMessageBox;
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {{B::Ok, IDOK}, {B::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
      return {{B::Abort, IDABORT}, {B::Retry, IDRETRY}, {B::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
      return {{B::Yes, IDYES}, {B::No, IDNO}, {B::Cancel, IDCANCEL}};
    case MB_YESNO:
      return {{B::Yes, IDYES}, {B::No, IDNO}};
    case MB_RETRYCANCEL:
      return {{B::Retry, IDRETRY}, {B::Cancel, IDCANCEL}};
    default:
      return {{B::Ok, IDOK}};
  }
}

int messageBoxDefaultIndex(UINT type) {
  const int index = static_cast<int>((type & MB_DEFMASK) >> 8);
  return std::min(index, static_cast<int>(messageBoxButtons(type).size()) - 1);
}

QStringList qtNameFilters(const std::wstring& filter) {
  const QStringList parts = toQString(filter).split(QChar('|'));
  QStringList out;
  static const QRegularExpression trailingPatterns(R"(\s*\([^()]*\)\s*$)");
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (QString p : parts[i + 1].split(QChar(';'), Qt::SkipEmptyParts)) {
      p = p.trimmed();
      if (p == "*.*") p = "*";
      if (!p.isEmpty()) patterns << p;
    }
    if (patterns.isEmpty()) continue;
    QString name = parts[i].trimmed();
    name.remove(trailingPatterns);
    out << (name.isEmpty() ? patterns.join(' ') : name + " (" + patterns.join(' ') + ")");
  }
  return out;
}

std::optional<PickedPoint> parsePoint(const QString& text) {
  static const QRegularExpression separators(R"([,;\s]+)");
  const QStringList parts = text.trimmed().split(separators, Qt::SkipEmptyParts);
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  double values[3] = {0, 0, 0};
  for (int i = 0; i < parts.size(); ++i) {
    bool ok = false;
    values[i] = parts[i].toDouble(&ok);
    if (!ok) return std::nullopt;
  }
  return PickedPoint{values[0], values[1], values[2]};
}

std::optional<std::int64_t> parseHandle(const QString& text) {
  const QString t = text.trimmed();
  bool ok = false;
  const qlonglong value = t.startsWith("0x", Qt::CaseInsensitive) ? t.mid(2).toLongLong(&ok, 16)
                                                                  : t.toLongLong(&ok, 10);
  if (!ok) return std::nullopt;
  return static_cast<std::int64_t>(value);
}

QtUserInterface::QtUserInterface() {
  ensureApplication(Display::Offscreen);
  mPresses = std::make_unique<PressWatcher>();
  krv::win::setDropChooser([](const COleDataObject&, DROPEFFECT) { return chooseDropPoint(); });
}

QtUserInterface::~QtUserInterface() { krv::win::setDropChooser(nullptr); }

std::optional<krv::win::DropPoint> chooseDropPoint() {
  QApplication::setOverrideCursor(Qt::DragCopyCursor);
  MouseDrag drag;
  QPoint last;
  const bool done = drag.run(QCursor::pos(), last);
  QApplication::restoreOverrideCursor();
  if (!done) return std::nullopt;
  MirrorWidget* widget = mirrorWidgetAt(last);
  if (!widget || !widget->cwnd()) return std::nullopt;
  const Qt::KeyboardModifiers held = QApplication::keyboardModifiers();
  krv::win::DropPoint point;
  point.window = widget->cwnd();
  point.point = clientPointOf(*widget, widget->mapFromGlobal(last));
  point.keyState =
      ((held & Qt::ControlModifier) ? MK_CONTROL : 0) | ((held & Qt::ShiftModifier) ? MK_SHIFT : 0);
  return point;
}

namespace {

// Runs a nested loop while `window` waits for the person, until `over`;
// the window is shown by the desktop's mirror, or by one of its own for
// the run (modal when asked).
void runWindow(CWnd& window, const std::function<bool()>& over, bool modal) {
  std::unique_ptr<WindowMirror> own;
  if (!over() && !shownWidgetOf(&window)) {
    own = std::make_unique<WindowMirror>();
    MirrorWidget* top = own->mirror(window);
    top->setWindowTitle(toQString(window.GetWindowText()));
    if (modal) top->setWindowModality(Qt::ApplicationModal);
    CPoint origin(0, 0);
    window.ClientToScreen(&origin);
    top->move(origin.x, origin.y);
    top->show();
  }
  QEventLoop loop;
  QTimer watch;
  watch.setInterval(5);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    krv::win::EventLoop::instance().runPending();
    if (over()) loop.quit();
  });
  watch.start();
  if (!over()) loop.exec();
}

}  // namespace

void QtUserInterface::runModal(CDialog& dialog) {
  runWindow(
      dialog, [&] { return dialog.hasEnded() || !IsWindow(dialog.GetSafeHwnd()); }, true);
}

void QtUserInterface::runModeless(CWnd& window, const std::function<bool()>& finished) {
  // `finished` is asked first: the window may be gone once it says so.
  runWindow(
      window, [&] { return finished() || !IsWindow(window.GetSafeHwnd()); }, false);
}

int QtUserInterface::messageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                                UINT type) {
  QMessageBox box(iconOf(type), toQString(caption), toQString(text), QMessageBox::NoButton,
                  parentFor(owner));
  const auto buttons = messageBoxButtons(type);
  std::vector<QPushButton*> made;
  for (const auto& [button, id] : buttons) made.push_back(box.addButton(button));
  box.setDefaultButton(made[static_cast<std::size_t>(messageBoxDefaultIndex(type))]);
  box.exec();
  const QAbstractButton* clicked = box.clickedButton();
  for (std::size_t i = 0; i < made.size(); ++i)
    if (made[i] == clicked) return buttons[i].second;
  // Closed without a button: as Escape would answer.
  for (const auto& [button, id] : buttons)
    if (id == IDCANCEL) return IDCANCEL;
  return buttons.size() == 1 ? buttons.front().second : IDCANCEL;
}

bool QtUserInterface::chooseFiles(const FileDialogRequest& request,
                                  std::vector<std::wstring>& chosen) {
  chosen.clear();
  FilesAndFoldersDialog dialog(parentFor(request.owner), toQString(request.title),
                               toQString(request.initialFolder));
  dialog.foldersToo = request.open && request.foldersToo;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  if (!request.open)
    dialog.setFileMode(QFileDialog::AnyFile);
  else
    dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles
                                           : QFileDialog::ExistingFile);
  if (!request.open && !(request.flags & OFN_OVERWRITEPROMPT))
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  const QStringList filters = qtNameFilters(request.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!request.defaultExt.empty()) dialog.setDefaultSuffix(toQString(request.defaultExt));
  if (!request.initialFileName.empty()) dialog.selectFile(toQString(request.initialFileName));
  if (dialog.exec() != QDialog::Accepted) return false;
  for (const QString& file : dialog.selectedFiles()) chosen.push_back(toWide(file));
  if (!request.multiSelect && chosen.size() > 1) chosen.resize(1);
  return !chosen.empty();
}

namespace {

// Drags over the widget last pressed: `rectAt` gives the rectangle for the
// mouse's client point, shown as a rubber band; the final one is `result`.
bool dragRectangle(MirrorWidget* widget, const QPoint& pressGlobal,
                   const std::function<CRect(CPoint pressed, CPoint now)>& rectAt, CRect& result) {
  if (!widget || !widget->cwnd()) return false;
  const QPointer<MirrorWidget> guard(widget);
  auto clientOf = [&](QPoint global) {
    return clientPointOf(*widget, widget->mapFromGlobal(global));
  };
  const CPoint pressed = clientOf(pressGlobal);
  QRubberBand band(QRubberBand::Rectangle, widget);
  band.setObjectName("tracker-band");
  auto show = [&](const CRect& r) {
    CRect n = r;
    n.NormalizeRect();
    band.setGeometry(toQRect(n).translated(widget->clientOrigin()));
    band.show();
  };
  result = rectAt(pressed, pressed);
  show(result);
  MouseDrag drag([&](QPoint global) {
    if (!guard) return;
    result = rectAt(pressed, clientOf(global));
    show(result);
  });
  QPoint last;
  const bool done = drag.run(pressGlobal, last);
  if (!guard || !guard->cwnd()) return false;
  result = rectAt(pressed, clientOf(last));
  return done;
}

}  // namespace

bool QtUserInterface::trackRectangle(const CRect& start, int handle, CRect& result) {
  const bool done = dragRectangle(
      mPresses->widget, mPresses->globalPoint,
      [&](CPoint pressed, CPoint now) {
        return krv::win::draggedRect(start, handle, now - pressed);
      },
      result);
  if (!done) result = start;
  return done && result != start;
}

bool QtUserInterface::trackRubberBand(CPoint start, CRect& result) {
  const bool done = dragRectangle(
      mPresses->widget, mPresses->globalPoint,
      [&](CPoint, CPoint now) { return CRect(start.x, start.y, now.x, now.y); }, result);
  result.NormalizeRect();
  return done;
}

bool QtUserInterface::pickPoint(const std::wstring& prompt, PickedPoint& point) {
  QString label = toQString(prompt) + "\nx, y or x, y, z:";
  for (;;) {
    bool ok = false;
    const QString typed = QInputDialog::getText(parentFor(nullptr), "Pick a point", label,
                                                QLineEdit::Normal, QString(), &ok);
    if (!ok) return false;
    if (auto picked = parsePoint(typed)) {
      point = *picked;
      return true;
    }
    label = "\"" + typed + "\" is not a point.\n" + toQString(prompt) + "\nx, y or x, y, z:";
  }
}

bool QtUserInterface::pickObject(const std::wstring& prompt, std::int64_t& handle) {
  QString label = toQString(prompt) + "\nObject handle:";
  for (;;) {
    bool ok = false;
    const QString typed = QInputDialog::getText(parentFor(nullptr), "Pick an object", label,
                                                QLineEdit::Normal, QString(), &ok);
    if (!ok) return false;
    if (auto picked = parseHandle(typed)) {
      handle = *picked;
      return true;
    }
    label = "\"" + typed + "\" is not an object handle.\n" + toQString(prompt) + "\nObject handle:";
  }
}

int QtUserInterface::choosePopupMenuItem(const std::vector<std::wstring>& commands,
                                         CPoint screenPoint) {
  if (commands.empty()) return -1;
  QMenu menu(parentFor(nullptr));
  menu.setObjectName("popup-menu");
  for (std::size_t i = 0; i < commands.size(); ++i)
    menu.addAction(toQString(commands[i]))->setData(static_cast<int>(i));
  QAction* chosen = menu.exec(QPoint(screenPoint.x, screenPoint.y));
  return chosen ? chosen->data().toInt() : -1;
}

}  // namespace krv::qt
