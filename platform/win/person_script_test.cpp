#include "platform/win/person_script.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/win/combo_box.h"
#include "platform/win/dialog.h"
#include "platform/win/event_loop.h"
#include "platform/win/message_box.h"
#include "platform/win/rect_tracker.h"
#include "platform/win/resource_modules.h"
#include "platform/win/temp_resource_override.h"

namespace {

using krv::base::Status;
using krv::win::PersonScript;

// The test template 100 (name edit 1001, kind combo 1002, check box 1003,
// radio buttons 1004 to 1006, OK, Cancel). "Bolted" asks a question and
// choosing a file follows a double click on the kind; a timer counts.
class ConnectionDlg : public CDialog {
 public:
  ConnectionDlg() : CDialog(100) {}
  std::wstring name;
  int kind = -1;
  int bolted = 0;
  int answer = 0;
  std::vector<std::wstring> files;
  int ticks = 0;
  // "Right" opens another of these, modal.
  std::unique_ptr<ConnectionDlg> inner;
  INT_PTR innerResult = 0;

 protected:
  BOOL OnInitDialog() override {
    auto* combo = static_cast<CComboBox*>(GetDlgItem(1002));
    for (const wchar_t* k : {L"Endplate", L"Cleat", L"Fin plate"}) combo->AddString(k);
    SetTimer(7, 100);
    return CDialog::OnInitDialog();
  }
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, 1001, name);
    DDX_CBIndex(dx, 1002, kind);
    DDX_Check(dx, 1003, bolted);
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) == 1003 && HIWORD(wParam) == BN_CLICKED &&
        IsDlgButtonChecked(1003) == BST_CHECKED) {
      answer = ::MessageBox(m_hWnd, L"Bolt it?", L"Connection", MB_YESNO);
      return TRUE;
    }
    if (LOWORD(wParam) == 1005 && HIWORD(wParam) == BN_CLICKED && !inner) {
      inner = std::make_unique<ConnectionDlg>();
      innerResult = inner->DoModal();
      return TRUE;
    }
    if (LOWORD(wParam) == 1001 && HIWORD(wParam) == EN_CHANGE && GetDlgItemText(1001) == L"?") {
      FileDialogRequest request;
      request.multiSelect = true;
      UserInterface::current().chooseFiles(request, files);
      return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
  }
  void OnTimer(UINT_PTR) override { ++ticks; }
};

// The same dialog with a tracker rectangle in its client area: a press on
// the tracker moves or resizes it, a press elsewhere drags a rubber band,
// a press with Ctrl held only toggles a flag.
class TrackerDlg : public ConnectionDlg {
 public:
  const CRect initial{200, 20, 260, 60};
  CRectTracker tracker{&initial, CRectTracker::solidLine | CRectTracker::resizeOutside};
  CRect band;
  int bands = 0;
  bool toggled = false;
  bool trackTwice = false;
  std::vector<UINT> pressFlags;
  std::vector<CPoint> releases;

 protected:
  void OnLButtonDown(UINT flags, CPoint point) override {
    pressFlags.push_back(flags);
    if (flags & MK_CONTROL) {
      toggled = !toggled;
      return;
    }
    if (tracker.HitTest(point) != CRectTracker::hitNothing) {
      tracker.Track(this, point);
      if (trackTwice) tracker.Track(this, point);
      return;
    }
    CRectTracker rubber;
    if (rubber.TrackRubberBand(this, point)) {
      band = rubber.m_rect;
      ++bands;
    }
  }
  void OnLButtonUp(UINT, CPoint point) override { releases.push_back(point); }
};

class PersonScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module = krv::win::ResourceModules::add(L"person_script_tests", KRV_TESTDATA_DIR);
    override.SaveDefaultResource(module);
    switched = override.SetDefaultResource();
  }
  void TearDown() override {
    if (switched) override.RestoreOriginalResource();
    krv::win::ResourceModules::remove(module);
    krv::win::EventLoop::instance().reset();
  }
  // Loads `text` and runs the dialog with it; gives DoModal's result.
  INT_PTR run(const std::string& text) {
    EXPECT_TRUE(script.load(text, "/scripts/steps.txt").ok());
    krv::win::ScopedUserInterface use(script);
    return dlg.DoModal();
  }
  std::string failure() const { return script.failure().text(); }

  HINSTANCE module = nullptr;
  VtTempResourceOverride override;
  bool switched = false;
  PersonScript script;
  ConnectionDlg dlg;
};

TEST_F(PersonScriptTest, MalformedScriptsAreRefusedNamingTheLine) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"click OK\n\njump 3\n", "steps.txt: line 3: unknown action \"jump\""},
      {"# fill in\ntype 1001\n", "line 2: \"type\" takes at least 2 word(s) after it, not 1"},
      {"click Apply\n", "line 1: \"Apply\" is no control identifier in \"click Apply\""},
      {"type 1001 \"open\n", "line 1: a quote is not closed"},
      {"key F13\n", "unknown key \"F13\""},
      {"key TAB alt\n", "\"alt\" is neither shift nor ctrl"},
      {"answer MAYBE\n", "\"MAYBE\" is no button of a message box"},
      {"wait -5\n", "milliseconds are expected"},
      {"choose 1002 1 2\n", "\"choose\" takes 2 word(s) after it, not 3"},
      {"at 0 4 5 alt\n", "\"alt\" is neither shift nor ctrl"},
      {"drag 0 4 5 6\n", "\"drag\" takes 5 to 7 word(s) after it, not 4"},
      {"drag 0 4 5 6 x\n", "two points X1 Y1 X2 Y2 in pixels are expected"},
      {"drag 0 1 2 3 4 shift meta\n", "\"meta\" is neither shift nor ctrl"},
  };
  for (const Case& c : cases) {
    PersonScript s;
    const Status loaded = s.load(c.text, "steps.txt");
    ASSERT_FALSE(loaded.ok()) << c.text;
    EXPECT_NE(loaded.text().find(c.error), std::string::npos) << loaded.text();
    EXPECT_TRUE(s.steps().empty());
  }
}

TEST_F(PersonScriptTest, WordsQuotesCommentsAndTheTextToType) {
  ASSERT_TRUE(script
                  .load("  # a comment\n"
                        "type 1001   HEA 200   # the section\n"
                        "type 1001 \"  two  \"\n"
                        "replace 1001\n"
                        "files a.dwg \"b \\\"c\\\".dwg\" # two files\n"
                        "\r\n",
                        "steps.txt")
                  .ok());
  const auto& steps = script.steps();
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[0].line, 2);
  EXPECT_EQ(steps[0].rest, "HEA 200") << "inner blanks kept, the comment dropped";
  EXPECT_EQ(steps[0].text, "type 1001   HEA 200");
  EXPECT_EQ(steps[1].rest, "  two  ");
  EXPECT_EQ(steps[2].rest, "") << "replace with nothing deletes the text";
  EXPECT_EQ(steps[3].words, (std::vector<std::string>{"a.dwg", "b \"c\".dwg"}));
}

TEST_F(PersonScriptTest, StepsFillTheDialogAndOkEndsIt) {
  EXPECT_EQ(run("type 1001 B1\n"
                "type 1001 2\n"
                "choose 1002 \"Cleat\"\n"
                "check 1003\n"
                "answer YES \"Bolt\"\n"
                "wait 250\n"
                "click OK\n"),
            IDOK)
      << failure();
  EXPECT_FALSE(script.failed());
  EXPECT_EQ(dlg.name, L"B12");
  EXPECT_EQ(dlg.kind, 1);
  EXPECT_EQ(dlg.bolted, 1);
  EXPECT_EQ(dlg.answer, IDYES);
  EXPECT_EQ(dlg.ticks, 2) << "the clock moved 250 ms: the 100 ms timer fired twice";
  EXPECT_EQ(script.messageBoxes(), (std::vector<std::string>{"Connection: Bolt it?"}));
  EXPECT_EQ(script.unusedSteps(), 0u);
}

TEST_F(PersonScriptTest, ReplacingChoosingByIndexKeysAndUnchecking) {
  EXPECT_EQ(run("type 1001 old\n"
                "replace 1001 new\n"
                "choose 1002 2\n"
                "check 1003\n"
                "answer NO\n"
                "uncheck 1003\n"
                "key ENTER\n"),
            IDOK)
      << failure();
  EXPECT_EQ(dlg.name, L"new");
  EXPECT_EQ(dlg.kind, 2);
  EXPECT_EQ(dlg.bolted, 0);
  EXPECT_EQ(dlg.answer, IDNO);
}

TEST_F(PersonScriptTest, AStepOnAMissingOrDisabledControlStopsAndCancels) {
  EXPECT_EQ(run("type 1001 B1\nclick 1099\nclick OK\n"), IDCANCEL);
  EXPECT_NE(failure().find("/scripts/steps.txt: line 2: there is no control 1099 in the dialog "
                           "\"Connection\" (\"click 1099\")"),
            std::string::npos)
      << failure();
  EXPECT_EQ(script.unusedSteps(), 1u) << "nothing after the failed step is played";

  // OK disabled by an action the program added: the click is refused.
  PersonScript second;
  ConnectionDlg other;
  EXPECT_FALSE(second.load("disable\nclick OK\n", "b.txt").ok()) << "not an action yet";
  second.addAction("disable", 0, 0, [](CWnd& d, const std::vector<std::string>&) {
    d.GetDlgItem(IDOK)->EnableWindow(FALSE);
    return Status();
  });
  krv::win::ScopedUserInterface use(second);
  ASSERT_TRUE(second.load("disable\nclick OK\n", "b.txt").ok());
  EXPECT_EQ(other.DoModal(), IDCANCEL);
  EXPECT_EQ(second.failure().text(), "b.txt: line 2: control OK is disabled (\"click OK\")");
}

TEST_F(PersonScriptTest, MessageBoxesNeedTheirAnswerAndAnswersNeedABox) {
  EXPECT_EQ(run("check 1003\nclick OK\n"), IDCANCEL);
  EXPECT_NE(failure().find("line 1: a message box \"Connection: Bolt it?\" appeared, but the next "
                           "step (line 2) is not \"answer\""),
            std::string::npos)
      << failure();
  EXPECT_EQ(dlg.answer, IDNO) << "an unanswered question is answered safely";

  PersonScript s2;
  ConnectionDlg d2;
  ASSERT_TRUE(s2.load("answer OK\n", "a.txt").ok());
  {
    krv::win::ScopedUserInterface use(s2);
    EXPECT_EQ(d2.DoModal(), IDCANCEL);
  }
  EXPECT_EQ(s2.failure().text(),
            "a.txt: line 1: no message box is showing to answer (\"answer OK\")");

  PersonScript s3;
  ConnectionDlg d3;
  ASSERT_TRUE(s3.load("check 1003\nanswer OK\nclick OK\n", "c.txt").ok());
  {
    krv::win::ScopedUserInterface use(s3);
    EXPECT_EQ(d3.DoModal(), IDCANCEL);
  }
  EXPECT_NE(s3.failure().text().find("line 2: the message box \"Connection: Bolt it?\" has no "
                                     "button OK (only YES, NO)"),
            std::string::npos)
      << s3.failure().text();
}

TEST_F(PersonScriptTest, ADialogAStepOpensTakesTheFollowingStepsUntilItEnds) {
  EXPECT_EQ(run("click 1005\n"
                "type 1001 inner\n"
                "click OK\n"
                "type 1001 outer\n"
                "click OK\n"),
            IDOK)
      << failure();
  ASSERT_NE(dlg.inner, nullptr);
  EXPECT_EQ(dlg.innerResult, IDOK);
  EXPECT_EQ(dlg.inner->name, L"inner");
  EXPECT_EQ(dlg.name, L"outer");

  // A failure inside cancels both.
  PersonScript s2;
  ConnectionDlg d2;
  ASSERT_TRUE(s2.load("click 1005\nclick 1099\nclick OK\nclick OK\n", "n.txt").ok());
  krv::win::ScopedUserInterface use(s2);
  EXPECT_EQ(d2.DoModal(), IDCANCEL);
  EXPECT_EQ(d2.innerResult, IDCANCEL);
  EXPECT_EQ(s2.unusedSteps(), 2u);
}

TEST_F(PersonScriptTest, TheScriptRunningOutCancelsTheDialog) {
  EXPECT_EQ(run("type 1001 B1\n"), IDCANCEL);
  EXPECT_FALSE(script.failed());
  EXPECT_TRUE(script.endedWhileRunning());
  EXPECT_EQ(dlg.name, L"") << "a cancelled dialog gives nothing back";
}

TEST_F(PersonScriptTest, FilesComeFromTheScriptsFolderAndPicturesGoToTheTaker) {
  std::vector<std::pair<std::wstring, std::filesystem::path>> taken;
  script.setPictureTaker([&](CWnd& w, const std::filesystem::path& file) {
    taken.emplace_back(w.GetWindowText(), file);
    return Status();
  });
  script.pictureOfFirstDialog("/out/first.png");
  EXPECT_EQ(run("type 1001 ?\nfiles a.dwg /abs/b.dwg\npicture shots/two.png\nclick CANCEL\n"),
            IDCANCEL);
  EXPECT_FALSE(script.failed()) << failure();
  EXPECT_EQ(dlg.files, (std::vector<std::wstring>{L"/scripts/a.dwg", L"/abs/b.dwg"}));
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(taken[0],
            std::make_pair(std::wstring(L"Connection"), std::filesystem::path("/out/first.png")));
  EXPECT_EQ(taken[1].second, std::filesystem::path("/scripts/shots/two.png"));

  // Without a taker a picture step fails.
  PersonScript bare;
  ConnectionDlg other;
  ASSERT_TRUE(bare.load("picture x.png\n", "p.txt").ok());
  krv::win::ScopedUserInterface use(bare);
  EXPECT_EQ(other.DoModal(), IDCANCEL);
  EXPECT_EQ(bare.failure().text(),
            "p.txt: line 1: pictures cannot be taken here (\"picture x.png\")");
}

TEST_F(PersonScriptTest, AModelessWindowRunsUntilItIsFinished) {
  ConnectionDlg modeless;
  ASSERT_TRUE(modeless.Create(100));
  modeless.ShowWindow(SW_SHOW);
  ASSERT_TRUE(script.load("type 1001 X\nclose\ntype 1001 never\n", "m.txt").ok());
  bool closed = false;
  script.runModeless(modeless, [&] {
    closed = !modeless.IsWindowVisible();
    return closed;
  });
  EXPECT_TRUE(closed) << "the close box sends IDCANCEL, which hides a modeless dialog";
  EXPECT_EQ(modeless.GetDlgItemText(1001), L"X");
  EXPECT_EQ(script.unusedSteps(), 1u);
  EXPECT_FALSE(script.endedWhileRunning());
  modeless.DestroyWindow();
}

}  // namespace

TEST_F(PersonScriptTest, ADragMovesOrResizesTheTrackerItPressesAndTakesTheRelease) {
  TrackerDlg d;
  ASSERT_TRUE(script
                  .load("drag 0 230 40 250 70      # the middle: moved by 20, 30\n"
                        "drag 0 282 92 272 82 shift  # the bottom-right handle, 10 back\n"
                        "click OK\n",
                        "steps.txt")
                  .ok());
  {
    krv::win::ScopedUserInterface use(script);
    EXPECT_EQ(d.DoModal(), IDOK) << failure();
  }
  EXPECT_FALSE(script.failed()) << failure();
  // The same rectangles the desktop computes for these drags.
  const CRect moved = krv::win::draggedRect(d.initial, -1, CPoint(20, 30));
  EXPECT_EQ(moved, CRect(220, 50, 280, 90));
  EXPECT_EQ(d.tracker.m_rect,
            krv::win::draggedRect(moved, CRectTracker::hitBottomRight, CPoint(-10, -10)));
  ASSERT_EQ(d.pressFlags.size(), 2u);
  EXPECT_EQ(d.pressFlags[0], static_cast<UINT>(MK_LBUTTON));
  EXPECT_EQ(d.pressFlags[1], static_cast<UINT>(MK_LBUTTON | MK_SHIFT));
  EXPECT_TRUE(d.releases.empty()) << "the tracking takes the release";
  EXPECT_FALSE(krv::win::KeyboardState::isDown(VK_LBUTTON));
}

TEST_F(PersonScriptTest, ADragElsewhereDrawsABandAndAPressThatTracksNothingIsAClick) {
  TrackerDlg d;
  ASSERT_TRUE(script
                  .load("drag 0 150 90 100 30      # up and left: the band is normalized\n"
                        "drag 0 230 40 300 90 ctrl # ctrl: no tracking, a plain click\n"
                        "at 0 10 12 ctrl\n"
                        "click OK\n",
                        "steps.txt")
                  .ok());
  {
    krv::win::ScopedUserInterface use(script);
    EXPECT_EQ(d.DoModal(), IDOK) << failure();
  }
  EXPECT_EQ(d.bands, 1);
  EXPECT_EQ(d.band, CRect(100, 30, 150, 90));
  EXPECT_EQ(d.tracker.m_rect, d.initial);
  EXPECT_FALSE(d.toggled) << "toggled twice";
  ASSERT_EQ(d.releases.size(), 2u);
  EXPECT_EQ(d.releases[0], CPoint(230, 40)) << "released where it was pressed";
  EXPECT_EQ(d.releases[1], CPoint(10, 12));
  ASSERT_EQ(d.pressFlags.size(), 3u);
  EXPECT_EQ(d.pressFlags[2], static_cast<UINT>(MK_LBUTTON | MK_CONTROL));
}

TEST_F(PersonScriptTest, TrackingOutsideADragStepOrTwiceInOneFails) {
  {
    TrackerDlg d;
    ASSERT_TRUE(script.load("at 0 230 40\nclick OK\n", "steps.txt").ok());
    krv::win::ScopedUserInterface use(script);
    EXPECT_EQ(d.DoModal(), IDCANCEL);
    EXPECT_EQ(failure(),
              "steps.txt: line 1: a drag can only be scripted with a drag step (\"at 0 230 40\")");
    EXPECT_EQ(d.tracker.m_rect, d.initial);
  }
  PersonScript second;
  TrackerDlg d;
  d.trackTwice = true;
  ASSERT_TRUE(second.load("drag 0 230 40 240 40\nclick OK\n", "b.txt").ok());
  krv::win::ScopedUserInterface use(second);
  EXPECT_EQ(d.DoModal(), IDCANCEL);
  EXPECT_NE(second.failure().text().find("b.txt: line 1: the press asked for a second drag"),
            std::string::npos)
      << second.failure().text();
}
