#include "tools/desktop_window.h"

#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <sstream>

#include "frame/host_window.h"
#include "frame/resource_guard.h"
#include "platform/acad/acad_frame.h"
#include "platform/qt/qt_convert.h"
#include "platform/win/dialog.h"
#include "platform/win/event_loop.h"
#include "spread/cformula.h"
#include "spread/dlg_ss_as_tool.h"
#include "tools/desktop_docks.h"
#include "tools/standard_evaluation.h"

namespace krv::tools {

namespace fs = std::filesystem;
using krv::qt::toQString;

namespace {

// A menu text without its '&' marks and trailing dots.
QString plainMenuText(QString text) {
  text.remove('&');
  if (text.endsWith(QChar(0x2026)))
    text.chop(1);
  else if (text.endsWith("..."))
    text.chop(3);
  return text.trimmed();
}

// Whether a menu text ends with the dots of an entry that asks for more.
bool asks(const QString& text) { return text.endsWith("...") || text.endsWith(QChar(0x2026)); }

// The filter of a QFileDialog for a window-system filter
// ("Text files (*.txt)|*.txt|All files (*.*)|*.*||"): the descriptions,
// which name their patterns.
QString qtFilter(const std::wstring& filter) {
  const QStringList parts = toQString(filter).split('|', Qt::SkipEmptyParts);
  QStringList descriptions;
  for (int i = 0; i + 1 < parts.size(); i += 2) descriptions << parts[i];
  return descriptions.join(";;");
}

QString shown(const fs::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

DesktopWindow::DesktopWindow(DesktopOptions options, QWidget* parent)
    : QMainWindow(parent), mOptions(std::move(options)) {
  setObjectName("desktop");
  setWindowTitle("korvane desktop");
  mFrame = acedGetAcadFrame();

  mHolder = new QWidget(this);
  mHolder->setObjectName("frameHolder");
  mHolder->hide();

  auto* splitter = new QSplitter(Qt::Vertical, this);
  auto* work = new QLabel(
      "Open a dialog from the Dialogs menu, or evaluate a standard from the Tools menu.", splitter);
  work->setObjectName("workArea");
  work->setAlignment(Qt::AlignCenter);
  work->setAutoFillBackground(true);
  work->setMinimumHeight(120);
  QPalette palette = work->palette();
  palette.setColor(QPalette::Window, QColor(58, 64, 72));
  palette.setColor(QPalette::WindowText, QColor(200, 205, 210));
  work->setPalette(palette);
  mPane = new DesktopCommandPane(splitter);
  splitter->addWidget(work);
  splitter->addWidget(mPane);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 1);
  setCentralWidget(splitter);

  buildMenus();
  resize(1100, 760);

  mMirror = std::make_unique<krv::qt::WindowMirror>();
  mMirror->onTopLevelCreated = [this](CWnd& window, krv::qt::MirrorWidget& widget) {
    adoptTopLevel(window, widget);
  };
  mMirror->followAllWindows();
  mDocks = std::make_unique<DesktopDocks>(*this, *mMirror, *mFrame);
  mDocks->onLayoutChanged = [this] { syncFrameGeometry(); };
  mFrame->addObserver(this);
  syncFrameGeometry();
  mPane->say("Library: " + shown(mOptions.library));
}

DesktopWindow::~DesktopWindow() {
  if (IsWindow(mFrame)) mFrame->removeObserver(this);
  mDocks.reset();
  mMirror.reset();
}

QDockWidget* DesktopWindow::dockFor(const CWnd* bar) const { return mDocks->dockFor(bar); }

void DesktopWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  QAction* quit = file->addAction("&Quit", this, [this] { close(); });
  quit->setShortcut(QKeySequence::Quit);

  QMenu* dialogs = menuBar()->addMenu("&Dialogs");
  for (const Launcher& launcher : launchers()) {
    const QString title =
        QString::fromStdString(launcher.title.empty() ? launcher.name : launcher.title);
    const Launcher* entry = &launcher;
    QAction* action = dialogs->addAction(asks(title) ? title : title + QChar(0x2026), this,
                                         [this, entry] { runLauncher(*entry); });
    action->setToolTip(QString::fromStdString(launcher.name));
  }
  if (launchers().empty()) dialogs->addAction("(no dialogs)")->setEnabled(false);

  QMenu* tools = menuBar()->addMenu("&Tools");
  tools->addAction(QString("&Evaluate standard") + QChar(0x2026), this,
                   [this] { evaluateStandard(); });
  tools->addAction(QString("&Formula window") + QChar(0x2026), this,
                   [this] { openFormulaWindow(); });
  tools->addAction(QString("&Spreadsheet editor") + QChar(0x2026), this,
                   [this] { openSheetEditor(); });
}

QAction* DesktopWindow::findAction(const QString& menu, const QString& entry) const {
  for (QAction* top : menuBar()->actions()) {
    if (!top->menu() ||
        plainMenuText(top->text()).compare(plainMenuText(menu), Qt::CaseInsensitive))
      continue;
    for (QAction* action : top->menu()->actions())
      if (!action->isSeparator() &&
          plainMenuText(action->text()).compare(plainMenuText(entry), Qt::CaseInsensitive) == 0)
        return action;
  }
  return nullptr;
}

void DesktopWindow::answerFileChoices(const std::vector<fs::path>& paths) {
  mFileAnswers.insert(mFileAnswers.end(), paths.begin(), paths.end());
}

std::optional<fs::path> DesktopWindow::takeFileAnswer() {
  if (mFileAnswers.empty()) return std::nullopt;
  fs::path answer = mFileAnswers.front();
  mFileAnswers.pop_front();
  return answer;
}

fs::path DesktopWindow::chooseFile(const FileDialogRequest& request) {
  if (std::optional<fs::path> answer = takeFileAnswer())
    return answer->empty() ? *answer : fs::absolute(*answer);
  const QString folder = toQString(request.initialFolder);
  const QString start = request.initialFileName.empty()
                            ? folder
                            : QDir(folder).filePath(toQString(request.initialFileName));
  const QString chosen = request.open
                             ? QFileDialog::getOpenFileName(this, toQString(request.title), start,
                                                            qtFilter(request.filter))
                             : QFileDialog::getSaveFileName(this, toQString(request.title), start,
                                                            qtFilter(request.filter));
  return chosen.isEmpty() ? fs::path() : fs::path(chosen.toStdString());
}

bool DesktopWindow::runLauncher(const Launcher& launcher) {
  const QString title = plainMenuText(
      QString::fromStdString(launcher.title.empty() ? launcher.name : launcher.title));
  FileDialogRequest request;
  request.title = L"Record for " + krv::qt::toWide(title);
  // A launcher whose records are sheet files (the spreadsheet editor) is
  // offered sheets.
  const std::string extension = fs::path(launcher.sampleRecord).extension().string();
  request.filter = extension == ".vts" ? L"Sheets (*.vts)|*.vts|All files (*)|*||"
                                       : L"Records (*.json)|*.json|All files (*)|*||";
  request.initialFolder = mOptions.records.wstring();
  const fs::path record = chooseFile(request);
  if (record.empty()) {
    mPane->say(title + ": no record chosen");
    return false;
  }
  mPane->say(title + ": " + shown(record));
  LaunchOptions options;
  options.library = mOptions.library;
  // The library of the desktop, for launchers that take one.
  const krv::base::Result<LaunchOutcome> outcome =
      launcher.runWith ? launcher.runWith(record, options) : launcher.run(record);
  krv::win::EventLoop::instance().runPending();
  if (!outcome) {
    mPane->say(title + ": " + QString::fromStdString(outcome.status().message()));
    return false;
  }
  if (!outcome->failure.empty()) {
    mPane->say(title +
               ": failed, nothing was written: " + QString::fromStdString(outcome->failure));
    return true;
  }
  if (!outcome->writeFailure.ok()) {
    mPane->say(title + ": OK, but writing failed: " +
               QString::fromStdString(outcome->writeFailure.message()));
    return true;
  }
  if (outcome->recordWritten)
    mPane->say(title + ": OK, the record was written to " + shown(record));
  else if (outcome->confirmed)
    mPane->say(title + ": OK, the record was not written");
  else
    mPane->say(title + ": cancelled, the record was not changed");
  for (const fs::path& other : outcome->alsoWritten)
    mPane->say(title + ": also written: " + shown(other));
  return true;
}

std::optional<int> DesktopWindow::evaluateStandard() {
  FileDialogRequest standard;
  standard.title = L"Standard to evaluate";
  standard.filter = L"Standards (*.vts)|*.vts|All files (*)|*||";
  standard.initialFolder = (mOptions.library / "Connection Standards").wstring();
  const fs::path sheet = chooseFile(standard);
  if (sheet.empty()) return std::nullopt;

  FileDialogRequest macro;
  macro.title = L"Macro to evaluate it for";
  macro.filter = L"Macros (*.json)|*.json|All files (*)|*||";
  macro.initialFolder = (mOptions.library / "Macros").wstring();
  const fs::path macroFile = chooseFile(macro);
  if (macroFile.empty()) return std::nullopt;

  FileDialogRequest result;
  result.open = false;
  result.title = L"Write the evaluated macro to";
  result.filter = macro.filter;
  result.defaultExt = L"json";
  result.initialFolder = macroFile.parent_path().wstring();
  result.initialFileName = macroFile.filename().wstring();
  const fs::path out = chooseFile(result);
  if (out.empty()) return std::nullopt;

  EvaluateOptions options;
  options.standard = sheet.string();
  options.macro = macroFile.string();
  options.library = mOptions.library.string();
  options.out = out.string();
  options.trace = true;
  mPane->say("Evaluating " + shown(sheet) + " for " + shown(macroFile));
  std::ostringstream report, refusals;
  const int code = krv::tools::evaluateStandard(options, report, refusals);
  mPane->print(QString::fromStdString(report.str() + refusals.str()));
  mPane->say(code == 0 ? QString("Evaluation done")
                       : QString("Evaluation ended with exit code %1").arg(code));
  return code;
}

bool DesktopWindow::openSheetEditor(const fs::path& file) {
  krv::frame::ResourceGuard guard;
  CDlgSSAsTool editor(krv::frame::hostMainWindow());
  if (!editor.create(krv::frame::hostMainWindow())) {
    mPane->say("The spreadsheet editor could not be made");
    return false;
  }
  editor.CenterWindow();
  editor.ShowWindow(SW_SHOW);
  if (!file.empty()) {
    if (editor.loadFile(file))
      mPane->say("Spreadsheet editor: " + shown(file));
    else
      mPane->say("Spreadsheet editor: " + shown(file) + " could not be opened");
  } else {
    mPane->say("Spreadsheet editor: a new document");
  }
  const auto closed = [&editor] { return editor.GetSafeHwnd() == nullptr; };
  UserInterface::current().runModeless(editor, closed);
  krv::win::EventLoop::instance().runPending();
  if (!closed()) editor.DestroyWindow();
  mPane->say("Spreadsheet editor closed");
  return true;
}

bool DesktopWindow::openFormulaWindow() {
  FileDialogRequest request;
  request.title = L"Sheet for the formula window";
  request.filter = L"Sheets (*.vts)|*.vts|All files (*)|*||";
  request.initialFolder = (mOptions.library / "Connection Standards").wstring();
  const fs::path sheet = chooseFile(request);
  if (sheet.empty()) return false;
  krv::frame::ResourceGuard guard;
  CFormula window(krv::frame::hostMainWindow());
  window.mFile = sheet.wstring();
  const INT_PTR result = window.DoModal();
  krv::win::EventLoop::instance().runPending();
  if (result == -1) {
    mPane->say("The formula window could not be made");
    return false;
  }
  mPane->say("Formula window closed");
  return true;
}

void DesktopWindow::adoptTopLevel(CWnd& window, krv::qt::MirrorWidget& widget) {
  if (&window == mFrame) {
    // The main window stands in for the frame; its docked bars are shown
    // as dock widgets, taken from the hidden frame widget.
    widget.setParent(mHolder);
    return;
  }
  // Dialogs and floating bars stay above the desktop.
  const bool captioned = (window.GetStyle() & WS_CAPTION) == WS_CAPTION;
  widget.setParent(this, captioned ? Qt::Dialog : (Qt::Tool | Qt::FramelessWindowHint));
}

void DesktopWindow::windowChanged(CWnd& window, WindowChange change) {
  if (&window != mFrame || change != WindowChange::Enabled) return;
  const bool enabled = mFrame->IsWindowEnabled();
  menuBar()->setEnabled(enabled);
  for (QDockWidget* dock : findChildren<QDockWidget*>()) dock->setEnabled(enabled);
}

void DesktopWindow::syncFrameGeometry() {
  if (!mFrame || !IsWindow(mFrame)) return;
  const int top = menuBar()->isVisible() ? menuBar()->height() : 0;
  int height = this->height() - top;
  if (const int side = mDocks ? mDocks->sideContentHeight() : 0; side > 0) height = side;
  const QPoint origin = mapToGlobal(QPoint(0, top));
  const CRect in = mFrame->nonClientInsets();
  CRect wanted(origin.x() - in.left, origin.y() - in.top, origin.x() + width() + in.right,
               origin.y() + std::max(height, 1) + in.bottom);
  CRect now;
  mFrame->GetWindowRect(&now);
  if (now != wanted) mFrame->MoveWindow(&wanted);
}

void DesktopWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  syncFrameGeometry();
}

void DesktopWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  syncFrameGeometry();
}

void DesktopWindow::closeEvent(QCloseEvent* event) {
  // A modal dialog still running is cancelled, so that every nested loop
  // can end.
  for (CWnd* window : krv::win::topLevelWindows())
    if (auto* dialog = dynamic_cast<CDialog*>(window); dialog && dialog->isRunningModal())
      dialog->EndDialog(IDCANCEL);
  QMainWindow::closeEvent(event);
}

}  // namespace krv::tools
