#include "tools/desktop_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QThread>
#include <cmath>
#include <fstream>

#include "designer/krv_dlg_designer_data.h"
#include "frame/module_entry.h"
#include "platform/acad/acad_frame.h"
#include "platform/acad/command_line.h"
#include "platform/acad/dock_control_bar.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_user_interface.h"
#include "platform/win/dialog.h"
#include "platform/win/event_loop.h"
#include "platform/win/person.h"
#include "tools/desktop_script.h"
#include "tools/desktop_user_interface.h"
#include "tools/exit_codes.h"
#include "tools/standard_evaluation.h"

namespace krv::tools {
namespace {

namespace fs = std::filesystem;

class DesktopWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(krv::qt::ensureApplication(krv::qt::Display::Offscreen));
    acad::destroyHostFrame();
    folder = fs::temp_directory_path() / ("korvane-desktop-test-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    DesktopOptions options;
    options.library = libraryFolder("");
    options.records = folder;
    desktop = std::make_unique<DesktopWindow>(options);
    desktop->show();
    settle();
  }
  void TearDown() override {
    desktop.reset();
    acad::destroyHostFrame();
    CAcUiDockControlBar::forgetSavedStates();
    krv::win::EventLoop::instance().reset();
    fs::remove_all(folder);
  }
  // Lets Qt and the window system handle what is pending.
  static void settle() {
    for (int i = 0; i < 3; ++i) {
      QApplication::processEvents();
      QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      krv::win::EventLoop::instance().runPending();
    }
  }
  // Runs Qt's events until the script has finished (or 5 seconds passed).
  static void runUntilFinished(const int& code) {
    QElapsedTimer clock;
    clock.start();
    while (code < 0 && clock.elapsed() < 5000) {
      QApplication::processEvents();
      QThread::msleep(2);
    }
  }
  QString pane() const { return desktop->commandPane().toPlainText(); }

  fs::path folder;
  std::unique_ptr<DesktopWindow> desktop;
};

TEST_F(DesktopWindowTest, MenusOfferEveryLauncherTheToolsAndQuit) {
  for (const Launcher& launcher : launchers()) {
    const std::string title = launcher.title.empty() ? launcher.name : launcher.title;
    EXPECT_NE(desktop->findAction("Dialogs", QString::fromStdString(title)), nullptr) << title;
  }
  EXPECT_NE(desktop->findAction("Tools", "Evaluate standard..."), nullptr);
  EXPECT_NE(desktop->findAction("&Tools", "Formula window"), nullptr);
  EXPECT_NE(desktop->findAction("Tools", "Spreadsheet editor"), nullptr);
  EXPECT_NE(desktop->findAction("File", "Quit"), nullptr);
  EXPECT_EQ(desktop->findAction("File", "Evaluate standard"), nullptr);
  // The frame is the module's main window, but the desktop stands in for it.
  EXPECT_EQ(AfxGetMainWnd(), &desktop->hostFrame());
  ASSERT_NE(desktop->mirror().widgetFor(&desktop->hostFrame()), nullptr);
  EXPECT_FALSE(desktop->mirror().widgetFor(&desktop->hostFrame())->isVisible());
}

TEST_F(DesktopWindowTest, LauncherRunsOnTheChosenRecordAndThePaneTellsTheOutcome) {
  std::vector<fs::path> runs;
  const auto outcome = [](bool confirmed, bool written) {
    LaunchOutcome o;
    o.confirmed = confirmed;
    o.recordWritten = written;
    return o;
  };
  krv::base::Result<LaunchOutcome> answer = outcome(true, true);
  Launcher launcher;
  launcher.name = "StartTest";
  launcher.title = "Test dialog";
  launcher.run = [&](const fs::path& record) -> krv::base::Result<LaunchOutcome> {
    runs.push_back(record);
    return answer;
  };
  const fs::path record = folder / "test.json";
  desktop->answerFileChoices({record});
  EXPECT_TRUE(desktop->runLauncher(launcher));
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0], record);
  EXPECT_TRUE(pane().contains("Test dialog: OK, the record was written to " +
                              QString::fromStdString(record.string())));

  answer = outcome(false, false);
  desktop->answerFileChoices({record});
  EXPECT_TRUE(desktop->runLauncher(launcher));
  EXPECT_TRUE(pane().contains("Test dialog: cancelled, the record was not changed"));

  LaunchOutcome failed = outcome(false, false);
  failed.failure = "the evaluation failed: no Calc section";
  answer = failed;
  desktop->answerFileChoices({record});
  EXPECT_TRUE(desktop->runLauncher(launcher));
  EXPECT_TRUE(pane().contains(
      "Test dialog: failed, nothing was written: the evaluation failed: no Calc section"));

  LaunchOutcome unwritten = outcome(true, false);
  unwritten.writeFailure = krv::base::Status::error("test.json: disk full");
  answer = unwritten;
  desktop->answerFileChoices({record});
  EXPECT_TRUE(desktop->runLauncher(launcher));
  EXPECT_TRUE(pane().contains("Test dialog: OK, but writing failed: test.json: disk full"));

  answer = krv::base::Status::error("test.json: line 3: not a record");
  desktop->answerFileChoices({record});
  EXPECT_FALSE(desktop->runLauncher(launcher));
  EXPECT_TRUE(pane().contains("Test dialog: test.json: line 3: not a record"));

  // A cancelled file choice runs nothing.
  desktop->answerFileChoices({fs::path()});
  EXPECT_FALSE(desktop->runLauncher(launcher));
  EXPECT_EQ(runs.size(), 5u);
  EXPECT_TRUE(pane().contains("Test dialog: no record chosen"));
}

TEST_F(DesktopWindowTest, PaneShowsTheCommandLineUntilTheDesktopGoes) {
  acutPrintf(L"Loading spreadsheet:%s", L"a.vts");
  acutPrintf(L" (%d rows)\n", 12);
  desktop->commandPane().say("Program message");
  acutPrintf(L"Result is long: %d", 5);
  desktop->commandPane().say("Next message");
  EXPECT_TRUE(pane().endsWith(
      "Loading spreadsheet:a.vts (12 rows)\nProgram message\nResult is long: 5\nNext message\n"))
      << pane().toStdString();

  // Afterwards the command line goes where it went before.
  acad::CommandLineCapture capture;
  {
    DesktopOptions options;
    DesktopWindow second(options);
    acutPrintf(L"inside");
    EXPECT_TRUE(second.commandPane().toPlainText().endsWith("inside"));
  }
  acutPrintf(L"after");
  EXPECT_EQ(capture.text(), L"after");
}

TEST_F(DesktopWindowTest, FrameFollowsTheMainWindowAndDialogsHangFromIt) {
  desktop->resize(900, 600);
  settle();
  CRect client;
  desktop->hostFrame().GetClientRect(&client);
  EXPECT_EQ(client.Width(), 900);
  EXPECT_EQ(client.Height(), 600 - desktop->menuBar()->height());
  CPoint origin(0, 0);
  desktop->hostFrame().ClientToScreen(&origin);
  EXPECT_EQ(krv::qt::toQPoint(origin),
            desktop->mapToGlobal(QPoint(0, desktop->menuBar()->height())));

  // While a modal dialog disables the frame, the menus take no input.
  desktop->hostFrame().EnableWindow(FALSE);
  EXPECT_FALSE(desktop->menuBar()->isEnabled());
  desktop->hostFrame().EnableWindow(TRUE);
  EXPECT_TRUE(desktop->menuBar()->isEnabled());

  // A window the module opens becomes a Qt window above the desktop.
  CWnd popup;
  ASSERT_TRUE(popup.CreateEx(0, L"STATIC", L"Popup", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                             CRect(200, 150, 500, 350), &desktop->hostFrame(), 0));
  settle();
  krv::qt::MirrorWidget* widget = desktop->mirror().widgetFor(&popup);
  ASSERT_NE(widget, nullptr);
  EXPECT_TRUE(widget->isWindow());
  EXPECT_TRUE(widget->isVisible());
  EXPECT_EQ(widget->parentWidget(), desktop.get());
  EXPECT_EQ(widget->windowTitle(), "Popup");
  popup.DestroyWindow();
}

// A bar with a static content, as the module's docked windows have.
class ContentBar : public CAcUiDockControlBar {
 protected:
  BOOL CreateControlBar(LPCREATESTRUCT cs) override {
    content = new CWnd;
    content->setSystemOwned(true);
    return content->Create(L"STATIC", L"content", WS_CHILD | WS_VISIBLE,
                           CRect(0, 0, cs->cx, cs->cy), this, 100);
  }
  CWnd* content = nullptr;
};

TEST_F(DesktopWindowTest, DockedBarsBecomeDockWidgetsThatFollowTheBar) {
  ContentBar bar;
  ASSERT_TRUE(bar.Create(&desktop->hostFrame(), L"Sheets"));
  bar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
  ASSERT_TRUE(bar.RestoreControlBar(AFX_IDW_DOCKBAR_LEFT));
  settle();
  QDockWidget* dock = desktop->dockFor(&bar);
  ASSERT_NE(dock, nullptr);
  EXPECT_EQ(dock->windowTitle(), "Sheets");
  EXPECT_TRUE(dock->isVisible());
  EXPECT_EQ(desktop->dockWidgetArea(dock), Qt::LeftDockWidgetArea);
  EXPECT_EQ(dock->allowedAreas(), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  krv::qt::MirrorWidget* barWidget = desktop->mirror().widgetFor(&bar);
  ASSERT_NE(barWidget, nullptr);
  EXPECT_TRUE(dock->isAncestorOf(barWidget));
  EXPECT_TRUE(barWidget->isVisible());
  EXPECT_EQ(barWidget->pos(), QPoint(0, 0));
  // The dock lies below the menu bar, beside the pane.
  EXPECT_GE(dock->geometry().top(), desktop->menuBar()->geometry().bottom());
  EXPECT_LE(dock->geometry().right(), desktop->centralWidget()->geometry().left());

  // Docking at the other edge moves the dock; hiding the bar hides it.
  bar.dockAt(AFX_IDW_DOCKBAR_RIGHT);
  settle();
  EXPECT_EQ(desktop->dockWidgetArea(dock), Qt::RightDockWidgetArea);
  desktop->hostFrame().ShowControlBar(&bar, FALSE, FALSE);
  settle();
  EXPECT_FALSE(dock->isVisible());
  desktop->hostFrame().ShowControlBar(&bar, TRUE, FALSE);
  settle();
  EXPECT_TRUE(dock->isVisible());

  // The dock's close button is the bar's close box: the bar hides.
  dock->close();
  settle();
  EXPECT_FALSE(bar.IsVisible());
  EXPECT_FALSE(dock->isVisible());
  desktop->hostFrame().ShowControlBar(&bar, TRUE, FALSE);
  settle();

  // A floating bar is a window of its own, without a dock.
  ASSERT_TRUE(bar.floatAt(CRect(300, 300, 600, 600)));
  settle();
  EXPECT_EQ(desktop->dockFor(&bar), nullptr);
  krv::qt::MirrorWidget* floating = desktop->mirror().widgetFor(bar.floatingFrame());
  ASSERT_NE(floating, nullptr);
  EXPECT_TRUE(floating->isWindow());
  EXPECT_TRUE(floating->isAncestorOf(desktop->mirror().widgetFor(&bar)));

  // Docked again: a dock again; destroyed: the dock goes.
  bar.dockAt(AFX_IDW_DOCKBAR_LEFT);
  settle();
  ASSERT_NE(desktop->dockFor(&bar), nullptr);
  EXPECT_TRUE(desktop->dockFor(&bar)->isAncestorOf(desktop->mirror().widgetFor(&bar)));
  bar.DestroyWindow();
  settle();
  EXPECT_EQ(desktop->dockFor(&bar), nullptr);
  EXPECT_TRUE(desktop->findChildren<QDockWidget*>().isEmpty());
}

TEST_F(DesktopWindowTest, ScriptClicksKeysAndTypesInAModalDialog) {
  // The formula window on a copy of a sheet: the file name is typed on at
  // its end and the window's own Save button writes the sheet there.
  const fs::path sheet = folder / "plate.vts";
  fs::copy_file(libraryFolder("") / "Connection Standards" / "EndPlate.vts", sheet);
  auto steps = parseDesktopScript(QString("files \"%1\"\n"
                                          "menu Tools \"Formula window\"\n"
                                          "click 1000\nkey END\ntype 1000 .copy\n"
                                          "click 1001\nclick OK\nquit\n")
                                      .arg(QString::fromStdString(sheet.string())),
                                  "formula.txt");
  ASSERT_TRUE(steps) << steps.status().message();
  krv::qt::QtUserInterface ui;
  krv::win::ScopedUserInterface useUi(ui);
  // The window's template comes from the module's resources.
  const bool loaded = krv::frame::loadModule(krv::frame::moduleResourceFolder()) != nullptr;
  int code = -1;
  DesktopScriptRunner runner(*desktop, std::move(*steps), "formula.txt", [&](int c) { code = c; });
  runner.stepIntervalMs = 5;
  runner.start(0);
  runUntilFinished(code);
  EXPECT_EQ(code, kExitOk);
  EXPECT_TRUE(fs::exists(folder / "plate.vts.copy"));
  EXPECT_TRUE(pane().contains("Loading spreadsheet:" + QString::fromStdString(sheet.string())));
  EXPECT_TRUE(pane().endsWith("Formula window closed\n")) << pane().toStdString();
  if (loaded) krv::frame::unloadModule();
}

// In the designer, presses with shift and ctrl select and deselect controls
// and drags move the selection, through real Qt mouse events on the
// controls' widgets (which let the mouse through to the designer).
TEST_F(DesktopWindowTest, ScriptPressesAndDragsSelectAndMoveDesignedControls) {
  const fs::path library = folder / "library";
  const fs::path designs = fs::path("Dialog Templates") / "Dialog Design" / "EndPlate";
  fs::create_directories(library / designs);
  for (const char* file : {"General.txt", "General.bmp"})
    fs::copy_file(libraryFolder("") / designs / file, library / designs / file);
  desktop.reset();
  acad::destroyHostFrame();
  DesktopOptions options;
  options.library = library;
  options.records = folder;
  desktop = std::make_unique<DesktopWindow>(options);
  desktop->show();
  settle();
  const fs::path record = folder / "general.json";
  std::ofstream(record) << R"({"format": "korvane dialog design", "version": 1,)"
                        << R"( "design": "EndPlate\\General.txt"})";
  const fs::path design = library / designs / "General.txt";
  // Overhang's field (362,69 to 412,89) and Height's (348,152 to 398,172)
  // move by -10,20 together; Height's is then deselected and Overhang's
  // moves up by 10 alone.
  auto steps = parseDesktopScript(
      QString("files \"%1\"\nmenu Dialogs \"Dialog designer\"\n"
              "press 387 79\npress 373 162 shift\n"
              "drag 387 79 377 99\n"
              "press 363 182 ctrl\ndrag 377 99 377 89\n"
              "files \"%2\"\nclick 1302\nclick OK\nquit\n")
          .arg(QString::fromStdString(record.string()), QString::fromStdString(design.string())),
      "designer.txt");
  ASSERT_TRUE(steps) << steps.status().message();
  DesktopUserInterface ui;
  ui.takeAnswersFrom([this] { return desktop->takeFileAnswer(); });
  krv::win::ScopedUserInterface useUi(ui);
  const bool loaded = krv::frame::loadModule(krv::frame::moduleResourceFolder()) != nullptr;
  int code = -1;
  DesktopScriptRunner runner(*desktop, std::move(*steps), "designer.txt", [&](int c) { code = c; });
  runner.stepIntervalMs = 20;
  runner.start(0);
  runUntilFinished(code);
  EXPECT_EQ(code, kExitOk) << pane().toStdString();
  if (loaded) krv::frame::unloadModule();

  Krv_DlgDesignerData saved;
  const Krv_String previous = Krv_Settings::libDir();
  Krv_Settings::setLibDir(krv::core::fromOsPath(library) + L"\\");
  ASSERT_TRUE(saved.readFromFile(getDesignerRootFolder() + L"EndPlate\\General.txt", false));
  Krv_Settings::setLibDir(previous);
  const auto pixels = [&](int index) {
    const Krv_DesignerControl& c = *saved.getControl(index);
    return CRect(static_cast<int>(std::lround(c.mTopLeftX * 420)),
                 static_cast<int>(std::lround(c.mTopLeftY * 300)),
                 static_cast<int>(std::lround(c.mBottomRightX * 420)),
                 static_cast<int>(std::lround(c.mBottomRightY * 300)));
  };
  ASSERT_EQ(saved.getNrControls(), 13);
  EXPECT_EQ(pixels(5), CRect(352, 79, 402, 99)) << "Overhang's field";
  EXPECT_EQ(pixels(7), CRect(338, 172, 388, 192)) << "Height's field";
  EXPECT_EQ(pixels(1), CRect(139, 18, 195, 38)) << "an unselected field stays";
}

TEST(DesktopScript, ParseErrorsNameTheFileAndLine) {
  const auto error = [](const char* text) {
    auto parsed = parseDesktopScript(text, "s.txt");
    return parsed ? std::string("parsed") : parsed.status().message();
  };
  EXPECT_EQ(error("# comment\n\nfly away"), "s.txt:3: unknown step \"fly\"");
  EXPECT_EQ(error("menu Dialogs"), "s.txt:1: wrong number of arguments for \"menu\"");
  EXPECT_EQ(error("quit now"), "s.txt:1: wrong number of arguments for \"quit\"");
  EXPECT_EQ(error("menu \"Dialogs\" \"General"), "s.txt:1: unclosed quote");
  EXPECT_EQ(error("wait soon"), "s.txt:1: \"wait\" needs positive whole numbers");
  EXPECT_EQ(error("resize 800 -1"), "s.txt:1: \"resize\" needs positive whole numbers");
  EXPECT_EQ(error("click Apply"),
            "s.txt:1: no control \"Apply\": give an id or OK, CANCEL, YES, NO");
  EXPECT_EQ(error("key F13"), "s.txt:1: unknown key \"F13\"");
  EXPECT_EQ(error("press 10"), "s.txt:1: wrong number of arguments for \"press\"");
  EXPECT_EQ(error("press 10 y"), "s.txt:1: \"press\" needs whole numbers for its points");
  EXPECT_EQ(error("press 10 20 alt"), "s.txt:1: \"alt\" is neither shift nor ctrl");
  EXPECT_EQ(error("drag 1 2 3"), "s.txt:1: wrong number of arguments for \"drag\"");
  EXPECT_EQ(error("drag 1 2 3 4.5"), "s.txt:1: \"drag\" needs whole numbers for its points");
  EXPECT_EQ(error("drag 1 2 3 4 ctrl shift"), "s.txt:1: wrong number of arguments for \"drag\"");
  EXPECT_EQ(error("choose 1005"), "s.txt:1: wrong number of arguments for \"choose\"");
  EXPECT_EQ(error("choose Types 3"),
            "s.txt:1: no control \"Types\": give an id or OK, CANCEL, YES, NO");
  EXPECT_EQ(error("choose 1005 \"\""), "s.txt:1: \"choose\" needs an item index or text");
  EXPECT_EQ(error("replace"), "s.txt:1: wrong number of arguments for \"replace\"");

  auto parsed = parseDesktopScript(
      "  menu Tools \"Evaluate standard...\"  # a comment \"after\" the step\n"
      "files \"/a b/c.json\" - x \"#1\"\nCLICK ok\ntype 1207 HEA 200\nkey Enter\n",
      "s.txt");
  ASSERT_TRUE(parsed) << parsed.status().message();
  ASSERT_EQ(parsed->size(), 5u);
  EXPECT_EQ((*parsed)[0].args, QStringList({"Tools", "Evaluate standard..."}));
  EXPECT_EQ((*parsed)[1].args, QStringList({"/a b/c.json", "-", "x", "#1"}));
  EXPECT_EQ((*parsed)[2].action, "click");
  EXPECT_EQ((*parsed)[2].line, 3);
  EXPECT_EQ((*parsed)[3].args, QStringList({"1207", "HEA", "200"}));
}

TEST(DesktopScript, PointingStepsTakeClientPointsAndAHeldKey) {
  auto parsed = parseDesktopScript(
      "press 40 25\npress -3 0 CTRL\ndrag 80 70 212 56 shift\ndrag 0 0 10 10\n"
      "choose 1005 \"Bolt data 1\"\nchoose 1005 3\nreplace 1304\nreplace 1304 End distance\n",
      "s.txt");
  ASSERT_TRUE(parsed) << parsed.status().message();
  ASSERT_EQ(parsed->size(), 8u);
  EXPECT_EQ((*parsed)[1].args, QStringList({"-3", "0", "CTRL"}));
  EXPECT_EQ((*parsed)[2].action, "drag");
  EXPECT_EQ((*parsed)[2].args, QStringList({"80", "70", "212", "56", "shift"}));
  EXPECT_EQ((*parsed)[4].args, QStringList({"1005", "Bolt data 1"}));
  EXPECT_TRUE((*parsed)[6].args == QStringList({"1304"})) << "replace alone empties";
  EXPECT_EQ((*parsed)[7].args, QStringList({"1304", "End", "distance"}));
}

TEST_F(DesktopWindowTest, ScriptEvaluatesAStandardAndFailsOnAMissingControl) {
  const fs::path library = libraryFolder("");
  const fs::path result = folder / "evaluated.json";
  auto steps = parseDesktopScript(
      QString("files \"%1\" \"%2\" \"%3\"\n"
              "menu Tools \"Evaluate standard\"\nquit\n")
          .arg(QString::fromStdString((library / "Connection Standards" / "EndPlate.vts").string()),
               QString::fromStdString((library / "Macros" / "EndPlateBeam.json").string()),
               QString::fromStdString(result.string())),
      "eval.txt");
  ASSERT_TRUE(steps) << steps.status().message();
  int code = -1;
  DesktopScriptRunner runner(*desktop, std::move(*steps), "eval.txt", [&](int c) { code = c; });
  runner.stepIntervalMs = 1;
  runner.start(0);
  runUntilFinished(code);
  EXPECT_EQ(code, kExitOk);
  EXPECT_TRUE(fs::exists(result));
  EXPECT_TRUE(pane().contains("row ")) << "the trace of the equations";
  EXPECT_TRUE(pane().contains("Evaluation done")) << pane().toStdString();

  auto failing = parseDesktopScript("wait 1\nclick 4711\nquit\n", "fail.txt");
  ASSERT_TRUE(failing);
  code = -1;
  DesktopScriptRunner second(*desktop, std::move(*failing), "fail.txt", [&](int c) { code = c; });
  second.retryForMs = 100;
  testing::internal::CaptureStderr();
  second.start(0);
  runUntilFinished(code);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(code, kExitFailed);
  EXPECT_NE(err.find("fail.txt:2: no window is open"), std::string::npos) << err;
}

}  // namespace
}  // namespace krv::tools
