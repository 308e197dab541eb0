#include "tools/library_scan.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class LibraryScan : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("krv_libscan_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "connection standards" / "Childs");
    fs::create_directories(root / "connection standards" / "DATA");
    fs::create_directories(root / "PROF");
    fs::create_directories(root / "Dialog Templates" / "Dialog Design" / "Beam");
  }
  void TearDown() override { fs::remove_all(root); }
  void write(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
  }
  fs::path root;
};

TEST_F(LibraryScan, FindsEveryKindIgnoringFolderCase) {
  auto cs = root / "connection standards";
  write(cs / "Endplate.vts", "{}");
  write(cs / "Childs" / "Bolts.VTS", "{}");
  write(cs / "Endplate.map",
        "\xEF\xBB\xBFMapping version 1.0\r\nM1=L1\xC6\x92Plate\xE2\x80\xA2"
        "Distance Len\r\nM2=G\xC6\x92\xE2\x80\xA2GenVar gen_x\r\nbroken line\r\n");
  write(root / "connection standards" / "DATA" / "bolts.txt", "x");
  write(root / "connection standards" / "DATA" / ".keep", "");
  write(root / "PROF" / "IPE.pr", "x");
  write(root / "PROF" / "notes.txt", "x");
  write(root / "Dialog Templates" / "Dialog Design" / "Beam" / "Endplate.txt", "x");

  const auto scanned = krv::tools::scanLibrary(root.string());
  ASSERT_TRUE(scanned) << scanned.status().text();
  const krv::tools::LibraryContents& c = *scanned;
  EXPECT_EQ(c.standards, (std::vector<std::string>{"Childs\\Bolts.VTS", "Endplate.vts"}));
  ASSERT_EQ(c.mappings.size(), 1u);
  EXPECT_EQ(c.mappings[0].keys, (std::vector<std::string>{"M1", "M2", ""}));
  EXPECT_EQ(c.dataFiles, (std::vector<std::string>{"bolts.txt"}));
  EXPECT_EQ(c.sectionTables, (std::vector<std::string>{"IPE.pr"}));
  EXPECT_EQ(c.designs, (std::vector<std::string>{"Beam\\Endplate.txt"}));
}

TEST_F(LibraryScan, MissingFolderOrFileIsRefused) {
  const auto missing = krv::tools::scanLibrary((root / "nope").string());
  EXPECT_FALSE(missing);
  EXPECT_NE(missing.status().message().find("does not exist"), std::string::npos);
  write(root / "plain", "x");
  const auto plain = krv::tools::scanLibrary((root / "plain").string());
  EXPECT_FALSE(plain);
  EXPECT_NE(plain.status().message().find("not a folder"), std::string::npos);
}

TEST(KorvaneProgram, LibraryCommandListsSampleAndFailsOnMissingFolder) {
  std::string cmd =
      std::string(KORVANE_EXE) + " library " + KRV_SOURCE_DIR + "/examples/library > /dev/null";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  cmd = std::string(KORVANE_EXE) + " library /nonexistent/folder 2> /dev/null";
  EXPECT_NE(std::system(cmd.c_str()), 0);
}

}  // namespace
