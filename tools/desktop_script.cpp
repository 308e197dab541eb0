#include "tools/desktop_script.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <iostream>

#include "platform/acad/acad_frame.h"
#include "platform/base/file_io.h"
#include "platform/qt/qt_convert.h"
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
    {"menu", 2, 2}, {"files", 1, -1}, {"click", 1, 1},      {"type", 2, -1}, {"key", 1, 1},
    {"wait", 1, 1}, {"resize", 2, 2}, {"screenshot", 1, 1}, {"quit", 0, 0},
};

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

void sendClick(QWidget& widget, const QPoint& at) {
  const QPointF local(at);
  const QPointF global(widget.mapToGlobal(at));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(&widget, &release);
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
    if ((step.action == "click" || step.action == "type") && namedButton(step.args[0]) < 0)
      return error("no control \"" + step.args[0] + "\": give an id or OK, CANCEL, YES, NO");
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
