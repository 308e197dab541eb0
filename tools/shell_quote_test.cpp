#include "tools/shell_quote.h"

#include <gtest/gtest.h>

namespace krv::tools {
namespace {

TEST(ShellQuoted, PlainPathsStayAsTheyAre) {
  EXPECT_EQ(shellQuoted(std::string_view("/work/lib/Macros/End-Plate_2.json")),
            "/work/lib/Macros/End-Plate_2.json");
  EXPECT_EQ(shellQuoted(std::string_view("a=b,c:d@e%f+g")), "a=b,c:d@e%f+g");
}

TEST(ShellQuoted, BlanksAndShellCharactersAreQuoted) {
  EXPECT_EQ(shellQuoted(std::filesystem::path("/lib/Connection Standards/EndPlate.vts")),
            "'/lib/Connection Standards/EndPlate.vts'");
  for (const char* special :
       {"a$b", "a*b", "a;b", "a&b", "a(b", "a\\b", "~a", "a\"b", "a\tb", "a\nb", "a!b"})
    EXPECT_EQ(shellQuoted(std::string_view(special)), std::string("'") + special + "'") << special;
  EXPECT_EQ(shellQuoted(std::string_view("")), "''") << "an empty argument must stay one argument";
  EXPECT_EQ(shellQuoted(std::string_view("Pl\xC3\xA4tte")), "'Pl\xC3\xA4tte'")
      << "non-ASCII letters are quoted";
}

TEST(ShellQuoted, SingleQuotesInsideAreClosedEscapedAndReopened) {
  EXPECT_EQ(shellQuoted(std::string_view("it's")), "'it'\\''s'");
}

TEST(WithQuotedPaths, QuotesEveryOccurrenceOfTheGivenPathsOnly) {
  const std::string file = "/lib/Connection Standards/Bad.vts";
  EXPECT_EQ(withQuotedPaths("cannot open " + file + ": no such file; " + file, {file}),
            "cannot open '" + file + "': no such file; '" + file + "'");
  EXPECT_EQ(withQuotedPaths("/plain/path: broken", {"/plain/path"}), "/plain/path: broken");
  EXPECT_EQ(withQuotedPaths("folder \"/a b\" is missing", {"/a b"}), "folder \"/a b\" is missing")
      << "a path a message already quotes stays as it is";
}

TEST(WithQuotedPaths, AFolderInsideAFilePathDoesNotSplitIt) {
  const std::string folder = "/my lib", file = "/my lib/x.vts";
  EXPECT_EQ(withQuotedPaths(file + " in " + folder, {folder, file}),
            "'/my lib/x.vts' in '/my lib'");
}

}  // namespace
}  // namespace krv::tools
