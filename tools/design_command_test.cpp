// korvane design show, run as a person runs it: the table of a sample
// design, names that are no design, malformed design files, and pictures of
// designs as the macro dialog shows them.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "platform/core/temp_folder_for_tests.h"
#include "platform/qt/qt_convert.h"
#include "platform/win/gdi.h"
#include "platform/win/win_messages.h"
#include "tools/exit_codes.h"
#include "tools/program_run_test_support.h"

namespace fs = std::filesystem;

namespace {

using namespace krv::tools::test;

const fs::path kDesigns =
    fs::path(KRV_SOURCE_DIR) / "examples/library/Dialog Templates/Dialog Design/EndPlate";

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The cells of the table row of control `index`, split at runs of two or
// more blanks; empty when there is no such row.
std::vector<std::string> row(const std::string& output, int index) {
  const std::regex line("(^|\n)  " + std::to_string(index) + " [^\n]*");
  std::smatch m;
  if (!std::regex_search(output, m, line)) return {};
  std::string text = m.str();
  if (text.front() == '\n') text.erase(0, 1);
  std::vector<std::string> cells;
  const std::regex gap(" {2,}");
  for (std::sregex_token_iterator it(text.begin(), text.end(), gap, -1), end; it != end; ++it)
    if (!it->str().empty()) cells.push_back(*it);
  return cells;
}

TEST(DesignShow, ASampleDesignIsListedControlByControl) {
  const ProgramRun run = korvane("design show EndPlate/Bolts");
  ASSERT_EQ(run.exitCode, krv::tools::kExitOk) << run.output;
  EXPECT_TRUE(contains(run.output, "Design EndPlate\\Bolts\n")) << run.output;
  EXPECT_TRUE(contains(run.output, "Bolts.bmp', 360 x 320 pixels\n")) << run.output;
  EXPECT_TRUE(contains(run.output, "Controls (19)\n")) << run.output;
  EXPECT_FALSE(contains(run.output, "warning")) << "the sample is sound\n" << run.output;

  // #, type, pixels, factors, tab order, read-only, contents, extended list.
  EXPECT_EQ(row(run.output, 2),
            (std::vector<std::string>{"2", "2 Variable field", "(255,95)-(311,115)",
                                      "0.708333 0.296875 0.863889 0.359375", "1", "no", "Pitch"}));
  // Texts and group boxes take no part in the tab order.
  const auto text = row(run.output, 0);
  ASSERT_GE(text.size(), 7u) << run.output;
  EXPECT_EQ(text[1], "0 Text");
  EXPECT_EQ(text[4], "-");
  EXPECT_EQ(row(run.output, 11).at(4), "-");
  // The item file is the merged extended list of a bolt data combo box.
  const auto grade = row(run.output, 13);
  ASSERT_GE(grade.size(), 7u) << run.output;
  EXPECT_EQ(grade[1], "7 Bolt data 1");
  EXPECT_EQ(grade.back(), "Dialog Templates\\Dialog Design\\EndPlate\\BoltGrades.lst");
  // The tab order goes row by row from the top: Pitch, the two bolt counts,
  // the grade, diameter and clearance, then the edge fields at the bottom
  // (left to right), and the bolt button whose top lies below them.
  EXPECT_EQ(row(run.output, 8).at(4), "7");
  EXPECT_EQ(row(run.output, 9).at(4), "8");
  EXPECT_EQ(row(run.output, 18).at(4), "9");

  // The same design by its other spellings: a backslash name, ".txt", a path.
  const std::string table = run.output.substr(run.output.find("Controls"));
  for (const std::string& name :
       {std::string("'EndPlate\\Bolts'"), std::string("EndPlate/Bolts.txt"),
        quoted(kDesigns / "Bolts.txt")}) {
    const ProgramRun again = korvane("design show " + name);
    EXPECT_EQ(again.exitCode, krv::tools::kExitOk) << name << "\n" << again.output;
    EXPECT_TRUE(contains(again.output, table)) << name << "\n" << again.output;
  }
}

TEST(DesignShow, ANameThatIsNoDesignIsAnInputErrorNamingTheDesigns) {
  const ProgramRun run = korvane("design show EndPlate/Nope");
  EXPECT_EQ(run.exitCode, krv::tools::kExitInput) << run.output;
  EXPECT_TRUE(contains(run.output, "there is no design EndPlate/Nope")) << run.output;
  EXPECT_TRUE(contains(run.output, "there are EndPlate\\Bolts, EndPlate\\General")) << run.output;
  EXPECT_FALSE(contains(run.output, "Controls")) << run.output;

  TempFolder empty;
  const ProgramRun noLibrary =
      korvane("design show EndPlate/Bolts --library " + quoted(empty.path() / "missing"));
  EXPECT_EQ(noLibrary.exitCode, krv::tools::kExitInput) << noLibrary.output;
  EXPECT_TRUE(contains(noLibrary.output, "no library folder")) << noLibrary.output;

  const ProgramRun usage = korvane("design show");
  EXPECT_EQ(usage.exitCode, krv::tools::kExitUsage) << usage.output;
}

TEST(DesignShow, AMalformedDesignShowsWhatLoadsAndWarnsOfTheRest) {
  TempFolder dir;
  // Three controls promised, two present; control 1 lacks its contents and
  // has no type 45; a line that is no property; an item file that is missing.
  dir.writeBytes("Broken.txt",
                 "Krv properties version 1\n"
                 "i\tnrOfControls\t3\n"
                 "i\ttype0\t3\n"
                 "d\ttopLeftX0\t0.1\nd\ttopLeftY0\t0.1\nd\tbottomRightX0\t0.3\n"
                 "d\tbottomRightY0\t0.2\ns\tcontents0\tThick\ns\tcomboList0\tLists\\\\None.lst\n"
                 "this line is broken\n"
                 "i\ttype1\t45\n"
                 "d\ttopLeftX1\t0.5\nd\ttopLeftY1\t0.5\nd\tbottomRightX1\t1.2\n"
                 "d\tbottomRightY1\t0.6\ns\tcomboList1\t\n");
  fs::copy_file(kDesigns / "General.bmp", dir.path() / "Broken.bmp");
  const ProgramRun run = korvane("design show " + quoted(dir.path() / "Broken.txt"));
  EXPECT_EQ(run.exitCode, krv::tools::kExitOk) << run.output;
  EXPECT_TRUE(contains(run.output, "Design Broken\n")) << run.output;
  EXPECT_TRUE(contains(run.output, "Controls (2)\n")) << run.output;
  EXPECT_EQ(row(run.output, 0).at(1), "3 Variable list") << run.output;
  EXPECT_EQ(row(run.output, 1).at(1), "45 (no type, a text)") << run.output;
  for (const char* warning :
       {"warning: the designer and the macro dialog refuse this file (line 10",
        "warning: line 10 is no property and is left out: this line is broken",
        "warning: nrOfControls is 3 but the keys name only 2 controls",
        "warning: control 1 lacks contents1",
        "warning: control 1 has type 45, which is no control type",
        "warning: control 1 reaches outside the picture", "warning: control 0's item file"})
    EXPECT_TRUE(contains(run.output, warning)) << warning << "\n" << run.output;

  // Without its picture the design has no size.
  fs::remove(dir.path() / "Broken.bmp");
  const ProgramRun bare = korvane("design show " + quoted(dir.path() / "Broken.txt"));
  EXPECT_EQ(bare.exitCode, krv::tools::kExitOk) << bare.output;
  EXPECT_TRUE(contains(bare.output, "Broken.bmp (missing)")) << bare.output;
  EXPECT_TRUE(contains(bare.output, "warning: there is no picture")) << bare.output;

  // A file that is no properties list at all is refused.
  dir.writeBytes("Other.txt", "Gap;Thickness\n");
  const ProgramRun other = korvane("design show " + quoted(dir.path() / "Other.txt"));
  EXPECT_EQ(other.exitCode, krv::tools::kExitInput) << other.output;
  EXPECT_TRUE(contains(other.output, "not a properties list")) << other.output;
  EXPECT_FALSE(contains(other.output, "Controls")) << other.output;
}

TEST(DesignShow, TheSamplesItemFilesAreFoundInTheLibraryGiven) {
  // A copy of the library without the bolt grades: the grade list is empty.
  TempFolder lib;
  const fs::path designs = lib.path() / "Dialog Templates/Dialog Design/EndPlate";
  fs::create_directories(designs);
  for (const char* f : {"Bolts.txt", "Bolts.bmp"}) fs::copy_file(kDesigns / f, designs / f);
  const ProgramRun run = korvane("design show EndPlate/Bolts --library " + quoted(lib.path()));
  EXPECT_EQ(run.exitCode, krv::tools::kExitOk) << run.output;
  EXPECT_TRUE(contains(run.output, "warning: control 13's item file")) << run.output;
  EXPECT_TRUE(contains(run.output, "EndPlate/BoltGrades.lst' does not exist")) << run.output;
}

// The picture's colour at a point of the design's image, as the macro
// dialog shows it: white is transparent and shows the dialog's face.
QColor shownColour(const QImage& bitmap, QPoint p, QColor face) {
  const QColor c = bitmap.pixelColor(p);
  return c == QColor(Qt::white) ? face : c;
}

TEST(DesignShow, APictureShowsTheDesignOverItsImageWithWhiteTransparent) {
  TempFolder dir;
  const ProgramRun run =
      korvane("design show EndPlate/General --picture " + quoted(dir.path() / "general.png"));
  ASSERT_EQ(run.exitCode, krv::tools::kExitOk) << run.output;
  EXPECT_TRUE(contains(run.output, "picture: ")) << run.output;
  const QImage png(QString::fromStdString((dir.path() / "general.png").string()));
  const QImage bitmap(QString::fromStdString((kDesigns / "General.bmp").string()));
  ASSERT_FALSE(png.isNull());
  ASSERT_EQ(bitmap.size(), QSize(420, 300));

  // The client area is the image; around it the same frame for every design.
  const ProgramRun bolts =
      korvane("design show EndPlate/Bolts --picture " + quoted(dir.path() / "bolts.png"));
  ASSERT_EQ(bolts.exitCode, krv::tools::kExitOk) << bolts.output;
  const QImage other(QString::fromStdString((dir.path() / "bolts.png").string()));
  const QSize frame = png.size() - bitmap.size();
  EXPECT_EQ(other.size() - QSize(360, 320), frame);
  ASSERT_GT(frame.width(), 0);
  ASSERT_LT(frame.height(), 60);
  const int border = frame.width() / 2;
  const QPoint origin(border, frame.height() - border);  // the client area's top left

  // Where no control lies the image shows, its white as the dialog's face.
  const QColor face = krv::qt::toQColor(GetSysColor(COLOR_BTNFACE));
  int dark = 0, white = 0;
  for (int y = 150; y < 250; ++y)
    for (int x = 10; x < 100; ++x) {
      const QPoint p(x, y);
      ASSERT_EQ(png.pixelColor(origin + p), shownColour(bitmap, p, face)) << x << "," << y;
      (bitmap.pixelColor(p) == QColor(Qt::white) ? white : dark) += 1;
    }
  EXPECT_GT(dark, 100) << "the image's drawing lies in the area compared";
  EXPECT_GT(white, 100);
  EXPECT_NE(face, QColor(Qt::white));

  // The edit field "Gap" at (139,18)-(195,38) covers the background.
  int differing = 0;
  for (int y = 22; y < 34; ++y)
    for (int x = 145; x < 190; ++x)
      differing += png.pixelColor(origin + QPoint(x, y)) != shownColour(bitmap, QPoint(x, y), face);
  EXPECT_GT(differing, 45 * 12 / 2) << "the edit field is drawn over the picture";
}

TEST(DesignShow, AFlexButtonShowsTheFlexIcon) {
  TempFolder dir;
  // A flex button of group G on a white part of the sample image.
  dir.writeBytes("Flex.txt",
                 "Krv properties version 1\ni\tnrOfControls\t1\ni\ttype0\t30\n"
                 "d\ttopLeftX0\t0.75\nd\ttopLeftY0\t0.75\nd\tbottomRightX0\t0.85\n"
                 "d\tbottomRightY0\t0.85\ns\tcontents0\tFlexGap\ns\tcomboList0\tG;A\n");
  fs::copy_file(kDesigns / "General.bmp", dir.path() / "Flex.bmp");
  const ProgramRun run = korvane("design show " + quoted(dir.path() / "Flex.txt") + " --picture " +
                                 quoted(dir.path() / "flex.png"));
  ASSERT_EQ(run.exitCode, krv::tools::kExitOk) << run.output;
  EXPECT_EQ(row(run.output, 0).at(1), "30 Toggle button") << run.output;
  EXPECT_EQ(row(run.output, 0).back(), "G;A;;") << run.output;
  const QImage png(QString::fromStdString((dir.path() / "flex.png").string()));
  ASSERT_FALSE(png.isNull());
  // The icon's spring is drawn in (40, 90, 170); nothing else in the
  // picture has that colour.
  const int border = (png.width() - 420) / 2;
  const QRect button(QPoint(border + 315, png.height() - border - 300 + 225), QSize(42, 30));
  int spring = 0, elsewhere = 0;
  for (int y = 0; y < png.height(); ++y)
    for (int x = 0; x < png.width(); ++x)
      if (png.pixelColor(x, y) == QColor(40, 90, 170))
        ++(button.contains(x, y) ? spring : elsewhere);
  EXPECT_GT(spring, 20) << "the icon lies on the button";
  EXPECT_EQ(elsewhere, 0);
}

// The designer window's script selects designed controls by identifier;
// the picture then shows their handles.
TEST(DesignerScript, SelectShowsTheHandlesOfTheSelectedControls) {
  TempFolder dir;
  const auto run = [&](const std::string& steps) {
    dir.writeBytes("steps.txt", steps);
    return korvane("dialog CDlgDesigner --record examples/records/CDlgDesigner.json --script " +
                   quoted(dir.path() / "steps.txt"));
  };
  const ProgramRun plain = run("picture plain.png\nclose\n");
  ASSERT_EQ(plain.exitCode, krv::tools::kExitOk) << plain.output;
  const ProgramRun selected = run("select 33003\npicture selected.png\nclose\n");
  ASSERT_EQ(selected.exitCode, krv::tools::kExitOk) << selected.output;
  const QImage a(QString::fromStdString((dir.path() / "plain.png").string()));
  const QImage b(QString::fromStdString((dir.path() / "selected.png").string()));
  ASSERT_EQ(a.size(), b.size());
  // The thickness list lies at (193,40)-(249,60) of the client area; its
  // handles lie just outside it. The rest of the design stays as it was
  // (the property fields below it fill).
  int changedNear = 0, changedFar = 0;
  for (int y = 0; y < 330; ++y)
    for (int x = 0; x < 420; ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        ++(y < 120 && x > 150 && x < 280 ? changedNear : changedFar);
  EXPECT_GT(changedNear, 20) << "the handles show";
  EXPECT_LT(changedFar, 20) << "only the selection changed in the design";

  const ProgramRun unknown = run("select 33003 33999\nclose\n");
  EXPECT_EQ(unknown.exitCode, krv::tools::kExitFailed) << unknown.output;
  EXPECT_TRUE(contains(unknown.output, "the design has no control 33999")) << unknown.output;
}

}  // namespace
