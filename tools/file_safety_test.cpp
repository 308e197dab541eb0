// The program's files under hostile input and failing disks, run as a
// person runs the program: read-only targets, a file-size limit, devices and
// pipes given as files, and binary or damaged text files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/exit_codes.h"
#include "tools/program_run_test_support.h"

namespace fs = std::filesystem;

namespace {

using namespace krv::tools::test;

// A cap on the address space that stops a program reading without end. An
// AddressSanitizer build reserves terabytes of address space for its shadow
// memory and cannot start under such a cap; there the time limit alone has
// to stop a runaway read.
#if defined(__SANITIZE_ADDRESS__)
constexpr const char* kAddressSpaceLimit = "";
#else
constexpr const char* kAddressSpaceLimit = "ulimit -v 2000000";
#endif

unsigned modeOf(const fs::path& p) {
  struct stat st {};
  ::stat(p.c_str(), &st);
  return st.st_mode & 07777;
}

class FileSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("krv_file_safety_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  int entries() const {
    return static_cast<int>(std::distance(fs::directory_iterator(folder), {}));
  }
  void write(const fs::path& p, const std::string& bytes) const {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
  }

  const fs::path library = fs::path(KRV_SOURCE_DIR) / "examples" / "library";
  const fs::path sampleSheet = library / "Connection Standards" / "EndPlate.vts";
  fs::path folder;
};

TEST_F(FileSafety, SheetConvertRefusesAReadOnlyTargetAndKeepsAWritableOnesMode) {
  const fs::path locked = folder / "locked.csv", shared = folder / "shared.csv";
  write(locked, "previous");
  write(shared, "previous");
  fs::permissions(locked, fs::perms(0444));
  fs::permissions(shared, fs::perms(0640));
  ProgramRun run = korvane("sheet convert " + quoted(sampleSheet) + " " + quoted(locked));
  EXPECT_EQ(run.exitCode, krv::tools::kExitOutput) << run.output;
  EXPECT_NE(run.output.find("read-only"), std::string::npos) << run.output;
  EXPECT_EQ(readBytes(locked), "previous");
  EXPECT_EQ(modeOf(locked), 0444u);

  run = korvane("sheet convert " + quoted(sampleSheet) + " " + quoted(shared));
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(readBytes(shared), "previous");
  EXPECT_EQ(modeOf(shared), 0640u);
  EXPECT_EQ(entries(), 2) << "no temporary file is left";
}

TEST_F(FileSafety, EvaluateRefusesAReadOnlyOutputOrMacro) {
  const fs::path macro = folder / "macro.json", out = folder / "out.json";
  fs::copy_file(library / "Macros" / "EndPlateBeam.json", macro);
  write(out, "previous");
  fs::permissions(out, fs::perms(0444));
  ProgramRun run = korvane("evaluate EndPlate --macro " + quoted(macro) + " --out " + quoted(out));
  EXPECT_EQ(run.exitCode, krv::tools::kExitOutput) << run.output;
  EXPECT_NE(run.output.find("read-only"), std::string::npos) << run.output;
  EXPECT_EQ(readBytes(out), "previous");
  EXPECT_EQ(modeOf(out), 0444u);

  const std::string original = readBytes(macro);
  fs::permissions(macro, fs::perms(0444));
  run = korvane("evaluate EndPlate --macro " + quoted(macro));
  EXPECT_EQ(run.exitCode, krv::tools::kExitOutput) << run.output;
  EXPECT_EQ(readBytes(macro), original);
  EXPECT_EQ(modeOf(macro), 0444u);
  EXPECT_EQ(entries(), 2);
}

TEST_F(FileSafety, AFileSizeLimitFailsTheWriteInsteadOfKillingTheProgram) {
  // A sheet whose native form is far beyond the limit.
  std::string csv;
  for (int r = 0; r < 3000; ++r) csv += "some text in a cell," + std::to_string(r) + "\n";
  write(folder / "big.csv", csv);
  // 16 blocks: 8 KB or 16 KB, as the shell counts them.
  const ProgramRun run =
      korvane("sheet convert " + quoted(folder / "big.csv") + " " + quoted(folder / "big.vts"),
              "ulimit -f 16");
  EXPECT_TRUE(run.exited) << "the program ends by itself, not by the signal of the limit";
  EXPECT_EQ(run.exitCode, krv::tools::kExitOutput) << run.output;
  EXPECT_NE(run.output.find("big.vts"), std::string::npos) << run.output;
  EXPECT_EQ(entries(), 1) << "neither the target nor a temporary file is left";
}

TEST_F(FileSafety, RegisterWritesTheRegistryOnceAndAFailedWriteKeepsThePreviousFile) {
  const fs::path module = folder / "module", registry = folder / "registry.json";
  fs::create_directories(module);
  write(module / "ostrel.arx", "");
  const std::string moduleArg =
      " --module-dir " + quoted(module) + " --registry " + quoted(registry);
  // A registration removed again leaves a small registry file.
  ProgramRun run = korvane("register" + moduleArg);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_GT(readBytes(registry).size(), 16u * 1024u)
      << "the registration is larger than the limit below";
  run = korvane("unregister" + moduleArg);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string before = readBytes(registry);
  ASSERT_FALSE(before.empty());
  ASSERT_LT(before.size(), 4096u) << "the file fits under the limit below";

  run = korvane("register" + moduleArg, "ulimit -f 16");
  EXPECT_TRUE(run.exited) << "the program ends by itself, not by the signal of the limit";
  EXPECT_EQ(run.exitCode, krv::tools::kExitOutput) << run.output;
  EXPECT_EQ(readBytes(registry), before) << "no part of the registration was written";
  EXPECT_EQ(entries(), 2) << "no temporary file is left";
}

TEST_F(FileSafety, RegisterRefusesAReadOnlyRegistryFile) {
  const fs::path module = folder / "module", registry = folder / "registry.json";
  fs::create_directories(module);
  write(module / "ostrel.arx", "");
  const std::string moduleArg =
      " --module-dir " + quoted(module) + " --registry " + quoted(registry);
  ASSERT_EQ(korvane("register" + moduleArg).exitCode, 0);
  ASSERT_EQ(korvane("unregister" + moduleArg).exitCode, 0);
  const std::string before = readBytes(registry);
  ASSERT_FALSE(before.empty());
  fs::permissions(registry, fs::perms(0444));
  const ProgramRun run = korvane("register" + moduleArg);
  EXPECT_EQ(run.exitCode, krv::tools::kExitOutput) << run.output;
  EXPECT_NE(run.output.find("read-only"), std::string::npos) << run.output;
  EXPECT_EQ(readBytes(registry), before);
  EXPECT_EQ(modeOf(registry), 0444u);
}

TEST_F(FileSafety, ARegistryThatIsADeviceOrAPipeIsRefusedAtOnce) {
  const fs::path module = folder / "module", fifo = folder / "fifo";
  fs::create_directories(module);
  write(module / "ostrel.arx", "");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const fs::path& bad : {fs::path("/dev/zero"), fifo}) {
    // The limits stop a run that would read without end or wait for a writer.
    const ProgramRun run =
        korvane("register --module-dir " + quoted(module) + " --registry " + quoted(bad),
                kAddressSpaceLimit, "timeout 20");
    EXPECT_TRUE(run.exited) << bad;
    EXPECT_EQ(run.exitCode, krv::tools::kExitInput) << run.output;
    EXPECT_NE(run.output.find("not a regular file"), std::string::npos) << run.output;
  }
}

TEST_F(FileSafety, LibraryShowsKeysOfAGarbageMappingFileEscapedAndCut) {
  fs::create_directories(folder / "Connection Standards");
  std::string garbage;
  for (int i = 0; i < 40; ++i) garbage += "\x1B[2J\x07\x9B" + std::string(200, 'k') + "=x\n";
  write(folder / "Connection Standards" / "Garbage.map", garbage);
  const ProgramRun run = korvane("library " + quoted(folder));
  EXPECT_EQ(run.exitCode, 0) << run.output;
  for (char raw : {'\x1B', '\x07', '\x9B'})
    EXPECT_EQ(run.output.find(raw), std::string::npos)
        << "no raw control or invalid byte is printed";
  // The file is no UTF-8, so it was read as Windows-1252, as the engine reads it.
  EXPECT_NE(run.output.find("\\x1B[2J\\x07\u203A"), std::string::npos) << run.output.substr(0, 400);
  EXPECT_NE(run.output.find("Windows-1252: byte 0x9B at line 1"), std::string::npos)
      << run.output.substr(0, 400);
  EXPECT_NE(run.output.find("…"), std::string::npos) << "long keys are cut";
  EXPECT_EQ(run.output.find(std::string(100, 'k')), std::string::npos) << "long keys are cut";
}

TEST_F(FileSafety, MappingShowSaysWhenAFileWasReadInTheFallbackCodePage) {
  const fs::path standards = folder / "Connection Standards";
  fs::create_directories(standards);
  fs::copy_file(sampleSheet, standards / "EndPlate.vts");
  std::string map = readBytes(library / "Connection Standards" / "EndPlate.map");
  const auto at = map.find("\n", map.find("\n") + 1);  // the end of the first key line
  ASSERT_NE(at, std::string::npos);
  map.insert(at, "\xE9");
  write(standards / "EndPlate.map", map);
  const ProgramRun run = korvane("mapping show EndPlate --library " + quoted(folder));
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("Windows-1252: byte 0xE9 at line 2 is not valid UTF-8"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(run.output.find("(0 couplings)"), std::string::npos) << run.output;
}

TEST_F(FileSafety, Utf16SheetsAndMacrosAreRead) {
  // The sample sheet and macro (both ASCII) in UTF-16 little endian.
  auto utf16 = [](const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
  };
  write(folder / "sheet.vts", utf16(readBytes(sampleSheet)));
  write(folder / "macro.json", utf16(readBytes(library / "Macros" / "EndPlateBeam.json")));
  ProgramRun run =
      korvane("sheet convert " + quoted(folder / "sheet.vts") + " " + quoted(folder / "sheet.csv"));
  EXPECT_EQ(run.exitCode, 0) << run.output;
  run = korvane("macro show " + quoted(folder / "macro.json"));
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("variable Width = 200"), std::string::npos) << run.output;
}

}  // namespace
