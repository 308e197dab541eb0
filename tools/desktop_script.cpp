#include "tools/desktop_script.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <iostream>
#include <memory>

#include "platform/acad/acad_frame.h"
#include "platform/base/file_io.h"
#include "platform/qt/combo_box_renderer.h"
#include "platform/qt/mirror_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/win/combo_box.h"
#include "platform/win/dialog.h"
#include "platform/win/event_loop.h"
#include "tools/desktop_window.h"
#include "tools/exit_codes.h"

namespace krv::tools {

namespace {

struct ActionRule {
  const char* name;
  int minArgs;
  int maxArgs;  // -1: any number
};

const ActionRule kActions[] = {
    {"menu", 2, 2},   {"files", 1, -1},     {"click", 1, 1}, {"type", 2, -1}, {"replace", 1, -1},
    {"choose", 2, 2}, {"press", 2, 3},      {"drag", 4, 5},  {"key", 1, 1},   {"wait", 1, 1},
    {"resize", 2, 2}, {"screenshot", 1, 1}, {"quit", 0, 0},
};

// How many whole-number arguments a pointing step starts with; the one
// after them may name a key held.
int pointArgs(const QString& action) {
  if (action == "press") return 2;
  if (action == "drag") return 4;
  return 0;
}

// The keys a pointing step names as held ("shift" or "ctrl"); false for
// another word.
bool heldKeys(const QStringList& args, int from, Qt::KeyboardModifiers& held) {
  held = Qt::NoModifier;
  for (int i = from; i < args.size(); ++i) {
    if (args[i].compare("shift", Qt::CaseInsensitive) == 0)
      held |= Qt::ShiftModifier;
    else if (args[i].compare("ctrl", Qt::CaseInsensitive) == 0)
      held |= Qt::ControlModifier;
    else
      return false;
  }
  return true;
}

// Splits a line into blank-separated words; double quotes keep blanks, and
// a word that starts with '#' outside quotes starts a comment.
bool splitWords(const QString& line, QStringList& words) {
  QString word;
  bool inWord = false, quoted = false;
  for (const QChar c : line) {
    if (quoted) {
      if (c == '"')
        quoted = false;
      else
        word += c;
    } else if (c == '"') {
      quoted = inWord = true;
    } else if (c == '#' && !inWord) {
      break;  // a comment to the end of the line
    } else if (c.isSpace()) {
      if (inWord) words << word;
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words << word;
  return !quoted;
}

int namedButton(const QString& target) {
  const QString t = target.toUpper();
  if (t == "OK") return IDOK;
  if (t == "CANCEL") return IDCANCEL;
  if (t == "YES") return IDYES;
  if (t == "NO") return IDNO;
  bool ok = false;
  const int id = target.toInt(&ok);
  return ok ? id : -1;
}

int qtKeyOf(const QString& name) {
  static const std::pair<const char*, int> keys[] = {
      {"ENTER", Qt::Key_Return}, {"RETURN", Qt::Key_Return}, {"ESCAPE", Qt::Key_Escape},
      {"ESC", Qt::Key_Escape},   {"TAB", Qt::Key_Tab},       {"SPACE", Qt::Key_Space},
      {"UP", Qt::Key_Up},        {"DOWN", Qt::Key_Down},     {"LEFT", Qt::Key_Left},
      {"RIGHT", Qt::Key_Right},  {"DELETE", Qt::Key_Delete}, {"BACKSPACE", Qt::Key_Backspace},
      {"HOME", Qt::Key_Home},    {"END", Qt::Key_End},
  };
  for (const auto& [n, key] : keys)
    if (name.compare(n, Qt::CaseInsensitive) == 0) return key;
  return 0;
}

// The control `id` anywhere below `window`.
CWnd* findControl(CWnd& window, int id) {
  for (CWnd* child : window.children()) {
    if (child->GetDlgCtrlID() == id) return child;
    if (CWnd* found = findControl(*child, id)) return found;
  }
  return nullptr;
}

// The last made visible dialog; without one, the last made visible
// top-level window other than the host's frame (tool tips and other
// popups come after dialogs).
CWnd* topWindow(const DesktopWindow& desktop) {
  const std::vector<CWnd*> tops = krv::win::topLevelWindows();
  CWnd* other = nullptr;
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    if (*it == &desktop.hostFrame() || !((*it)->GetStyle() & WS_VISIBLE)) continue;
    if (dynamic_cast<CDialog*>(*it)) return *it;
    if (!other) other = *it;
  }
  return other;
}

// A mouse event at a global point, delivered to `widget` (which has the
// mouse: the one under the press, until the release).
void sendMouse(QWidget* widget, QEvent::Type type, const QPoint& global, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers held) {
  if (!widget) return;
  QMouseEvent event(type, QPointF(widget->mapFromGlobal(global)), QPointF(global), button, buttons,
                    held);
  QApplication::sendEvent(widget, &event);
}

void sendClick(QWidget& widget, const QPoint& at, Qt::KeyboardModifiers held = Qt::NoModifier) {
  const QPoint global = widget.mapToGlobal(at);
  QPointer<QWidget> guard(&widget);
  sendMouse(guard, QEvent::MouseButtonPress, global, Qt::LeftButton, Qt::LeftButton, held);
  sendMouse(guard, QEvent::MouseButtonRelease, global, Qt::LeftButton, Qt::NoButton, held);
}

// The widget a person's mouse reaches at client point `at` of the top
// window's widget: the topmost child there that takes the mouse.
QWidget* widgetUnder(krv::qt::MirrorWidget& top, const QPoint& at) {
  const QPoint local = at + top.clientOrigin();
  QWidget* child = top.childAt(local);
  return child ? child : &top;
}

void sendKey(QWidget& widget, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(&widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(&widget, &release);
}

}  // namespace

krv::base::Result<std::vector<DesktopStep>> parseDesktopScript(const QString& text,
                                                               const std::string& fileName) {
  std::vector<DesktopStep> steps;
  const QStringList lines = text.split('\n');
  for (int i = 0; i < lines.size(); ++i) {
    const auto error = [&](const QString& why) {
      return krv::base::Status::error(fileName + ":" + std::to_string(i + 1) + ": " +
                                      why.toStdString());
    };
    QString line = lines[i].trimmed();
    if (line.isEmpty() || line.startsWith('#')) continue;
    QStringList words;
    if (!splitWords(line, words)) return error("unclosed quote");
    DesktopStep step;
    step.line = i + 1;
    step.action = words.takeFirst().toLower();
    step.args = words;
    const ActionRule* rule = nullptr;
    for (const ActionRule& s : kActions)
      if (step.action == s.name) rule = &s;
    if (!rule) return error("unknown step \"" + step.action + "\"");
    const int n = static_cast<int>(step.args.size());
    if (n < rule->minArgs || (rule->maxArgs >= 0 && n > rule->maxArgs))
      return error("wrong number of arguments for \"" + step.action + "\"");
    bool numbersOk = true;
    if (step.action == "wait" || step.action == "resize")
      for (const QString& a : step.args) numbersOk = numbersOk && a.toInt() > 0;
    if (!numbersOk) return error("\"" + step.action + "\" needs positive whole numbers");
    const bool onControl = step.action == "click" || step.action == "type" ||
                           step.action == "replace" || step.action == "choose";
    if (onControl && namedButton(step.args[0]) < 0)
      return error("no control \"" + step.args[0] + "\": give an id or OK, CANCEL, YES, NO");
    if (step.action == "choose" && step.args[1].isEmpty())
      return error("\"choose\" needs an item index or text");
    if (const int points = pointArgs(step.action); points > 0) {
      for (int p = 0; p < points; ++p) {
        bool ok = false;
        step.args[p].toInt(&ok);
        if (!ok) return error("\"" + step.action + "\" needs whole numbers for its points");
      }
      Qt::KeyboardModifiers held;
      if (!heldKeys(step.args, points, held))
        return error("\"" + step.args.last() + "\" is neither shift nor ctrl");
    }
    if (step.action == "key" && !qtKeyOf(step.args[0]))
      return error("unknown key \"" + step.args[0] + "\"");
    steps.push_back(std::move(step));
  }
  return steps;
}

krv::base::Result<std::vector<DesktopStep>> readDesktopScript(const std::filesystem::path& file) {
  auto bytes = krv::base::readFile(file);
  if (!bytes) return bytes.status();
  return parseDesktopScript(QString::fromUtf8(bytes->data(), static_cast<qsizetype>(bytes->size())),
                            file.string());
}

DesktopScriptRunner::DesktopScriptRunner(DesktopWindow& desktop, std::vector<DesktopStep> steps,
                                         std::string fileName, std::function<void(int)> finished)
    : mDesktop(desktop),
      mSteps(std::move(steps)),
      mFileName(std::move(fileName)),
      mFinished(std::move(finished)) {}

void DesktopScriptRunner::start(int delayMs) {
  QTimer::singleShot(delayMs, &mContext, [this] { runStep(0, 0); });
}

void DesktopScriptRunner::fail(const DesktopStep& step, const QString& error) {
  mStopped = true;
  std::cerr << "korvane desktop: " << mFileName << ":" << step.line << ": " << error.toStdString()
            << "\n";
  if (mFinished) mFinished(kExitFailed);
}

void DesktopScriptRunner::runStep(std::size_t index, int waitedMs) {
  if (mStopped || index >= mSteps.size()) return;
  const DesktopStep& step = mSteps[index];
  // The next step is due before this one acts: an action that opens a
  // modal dialog returns only when the dialog ends, and the steps that
  // work in the dialog run meanwhile.
  bool nextScheduled = false;
  auto scheduleNext = [&](int delayMs) {
    if (nextScheduled) return;
    nextScheduled = true;
    QTimer::singleShot(delayMs, &mContext, [this, index] { runStep(index + 1, 0); });
  };
  QString error;
  const auto target = [&]() -> CWnd* {
    CWnd* top = topWindow(mDesktop);
    if (!top) {
      error = "no window is open";
      return nullptr;
    }
    const int id = namedButton(step.args[0]);
    CWnd* control = findControl(*top, id);
    if (!control || !(control->GetStyle() & WS_VISIBLE) || !control->IsWindowEnabled() ||
        !mDesktop.mirror().widgetFor(control)) {
      error = QString("no visible, enabled control %1 in \"%2\"")
                  .arg(step.args[0], krv::qt::toQString(top->GetWindowText()));
      return nullptr;
    }
    return control;
  };
  const auto retry = [&] {
    if (waitedMs >= retryForMs) return fail(step, error);
    QTimer::singleShot(50, &mContext, [this, index, waitedMs] { runStep(index, waitedMs + 50); });
  };

  const QString& a = step.action;
  if (a == "wait") {
    scheduleNext(step.args[0].toInt());
  } else if (a == "files") {
    std::vector<std::filesystem::path> answers;
    for (const QString& p : step.args)
      answers.push_back(p == "-" ? std::filesystem::path()
                                 : std::filesystem::path(p.toStdString()));
    mDesktop.answerFileChoices(answers);
    scheduleNext(0);
  } else if (a == "menu") {
    QAction* action = mDesktop.findAction(step.args[0], step.args[1]);
    if (!action || !action->isEnabled()) {
      error = QString("no menu entry \"%1\" > \"%2\"").arg(step.args[0], step.args[1]);
      return retry();
    }
    scheduleNext(stepIntervalMs);
    action->trigger();
  } else if (a == "click" || a == "type") {
    CWnd* control = target();
    if (!control) return retry();
    QWidget* widget = mDesktop.mirror().widgetFor(control);
    scheduleNext(stepIntervalMs);
    const HWND handle = control;
    // Typing goes on where the caret is when the control has the focus
    // already; otherwise a click gives it the focus.
    CWnd* focus = CWnd::GetFocus();
    if (a == "click" || !(focus == control || control->IsChild(focus)))
      sendClick(*widget, widget->rect().center());
    if (a == "type" && IsWindow(handle))
      for (const QChar c : step.args.mid(1).join(' ')) {
        if (!IsWindow(handle)) break;
        sendKey(*widget, 0, QString(c));
      }
  } else if (a == "replace") {
    CWnd* control = target();
    if (!control) return retry();
    QPointer<QWidget> widget = mDesktop.mirror().widgetFor(control);
    scheduleNext(stepIntervalMs);
    const HWND handle = control;
    CWnd* focus = CWnd::GetFocus();
    if (!(focus == control || control->IsChild(focus))) sendClick(*widget, widget->rect().center());
    // The caret goes to the end and the old text is deleted key by key.
    if (widget && IsWindow(handle)) sendKey(*widget, Qt::Key_End, QString());
    for (int n = IsWindow(handle) ? control->GetWindowTextLength() : 0;
         n > 0 && widget && IsWindow(handle); --n)
      sendKey(*widget, Qt::Key_Backspace, QString());
    for (const QChar c : step.args.mid(1).join(' ')) {
      if (!widget || !IsWindow(handle)) break;
      sendKey(*widget, 0, QString(c));
    }
  } else if (a == "choose") {
    CWnd* control = target();
    if (!control) return retry();
    auto* combo = dynamic_cast<CComboBox*>(control);
    if (!combo) return fail(step, QString("control %1 is no combo box").arg(step.args[0]));
    bool isIndex = false;
    int index = step.args[1].toInt(&isIndex);
    if (!isIndex) {
      index = -1;
      for (int i = 0; i < combo->GetCount() && index < 0; ++i)
        if (krv::qt::toQString(combo->itemText(i)).compare(step.args[1], Qt::CaseInsensitive) == 0)
          index = i;
    }
    if (index < 0 || index >= combo->GetCount())
      return fail(step, QString("combo box %1 has no item %2").arg(step.args[0], step.args[1]));
    krv::qt::MirrorWidget* widget = mDesktop.mirror().widgetFor(control);
    scheduleNext(stepIntervalMs);
    // The click on the arrow opens the list, a popup menu that keeps the
    // click from returning until an item is clicked: the click on the item
    // is made from a timer, set before.
    auto picked = std::make_shared<bool>(false);
    auto tries = std::make_shared<int>(0);
    QPointer<QTimer> poll = new QTimer(&mContext);
    QObject::connect(poll, &QTimer::timeout, &mContext, [poll, picked, tries, index] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QAction* item = nullptr;
      if (menu && menu->objectName() == "combo-popup")
        for (QAction* action : menu->actions())
          if (action->data().toInt() == index) item = action;
      if (!item && ++*tries < 100) return;
      if (poll) poll->stop();
      if (!item) return;
      *picked = true;
      sendClick(*menu, menu->actionGeometry(item).center());
    });
    poll->start(20);
    const int field = krv::qt::comboFieldHeight(*widget);
    sendClick(*widget, QPoint(widget->width() - 6, field / 2));
    if (poll) {
      poll->stop();
      poll->deleteLater();
    }
    if (!*picked)
      return fail(step, QString("the list of combo box %1 did not open").arg(step.args[0]));
  } else if (a == "press" || a == "drag") {
    CWnd* top = topWindow(mDesktop);
    krv::qt::MirrorWidget* widget = top ? mDesktop.mirror().widgetFor(top) : nullptr;
    if (!widget) {
      error = "no window is open";
      return retry();
    }
    const auto pointAt = [&](int i) {
      return QPoint(step.args[i].toInt(), step.args[i + 1].toInt()) + widget->clientOrigin();
    };
    Qt::KeyboardModifiers held;
    heldKeys(step.args, pointArgs(a), held);
    const QPoint from = pointAt(0);
    QPointer<QWidget> pressed = widgetUnder(*widget, from - widget->clientOrigin());
    const QPoint fromGlobal = widget->mapToGlobal(from);
    // The press's handler may follow the mouse in a loop of its own until
    // the release (a tracker rectangle, a rubber band): the moves and the
    // release are set on timers first. They go to the pressed widget, which
    // has the mouse while the button is held.
    const QPoint toGlobal = a == "drag" ? widget->mapToGlobal(pointAt(2)) : fromGlobal;
    const int moves = a == "drag" ? 8 : 0;
    constexpr int kMoveMs = 15;
    for (int i = 1; i <= moves; ++i) {
      const QPoint at = fromGlobal + (toGlobal - fromGlobal) * i / moves;
      QTimer::singleShot(i * kMoveMs, &mContext, [pressed, at, held] {
        sendMouse(pressed, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton, held);
      });
    }
    QTimer::singleShot((moves + 1) * kMoveMs, &mContext, [pressed, toGlobal, held] {
      sendMouse(pressed, QEvent::MouseButtonRelease, toGlobal, Qt::LeftButton, Qt::NoButton, held);
    });
    scheduleNext((moves + 1) * kMoveMs + stepIntervalMs);
    sendMouse(pressed, QEvent::MouseButtonPress, fromGlobal, Qt::LeftButton, Qt::LeftButton, held);
  } else if (a == "key") {
    CWnd* top = topWindow(mDesktop);
    QWidget* widget = top ? mDesktop.mirror().widgetFor(top) : nullptr;
    if (!widget) {
      error = "no window is open";
      return retry();
    }
    scheduleNext(stepIntervalMs);
    sendKey(*widget, qtKeyOf(step.args[0]), QString());
  } else if (a == "resize") {
    mDesktop.resize(step.args[0].toInt(), step.args[1].toInt());
    scheduleNext(stepIntervalMs);
  } else if (a == "screenshot") {
    QApplication::processEvents();
    const QRect area = mDesktop.frameGeometry();
    QPixmap shot;
    if (QScreen* screen = mDesktop.screen())
      shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    // Platforms that cannot read the screen back get the window's own
    // drawing.
    if (shot.isNull()) shot = mDesktop.grab();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!shot.save(&buffer, "PNG")) return fail(step, "the screenshot could not be encoded");
    const std::filesystem::path file = step.args[0].toStdString();
    const krv::base::Status written = krv::base::writeFileAtomic(file, png.toStdString());
    if (!written) return fail(step, QString::fromStdString(written.message()));
    mDesktop.commandPane().say(
        QString("Screenshot %1 x %2: %3").arg(shot.width()).arg(shot.height()).arg(step.args[0]));
    scheduleNext(stepIntervalMs);
  } else if (a == "quit") {
    mStopped = true;
    if (mFinished) mFinished(kExitOk);
  }
}

}  // namespace krv::tools
