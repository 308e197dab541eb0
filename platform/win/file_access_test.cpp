#include "platform/win/file_access.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;

class FileAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("krv_file_access_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path file(const std::string& name, const std::string& bytes, mode_t mode = 0644) const {
    const fs::path p = dir / name;
    std::ofstream(p, std::ios::binary) << bytes;
    ::chmod(p.c_str(), mode);
    return p;
  }
  fs::path dir;
};

TEST_F(FileAccess, ReplaceTargetsAreJudgedByTheirPermissionBits) {
  krv::ReplaceTarget target;
  std::string error;
  EXPECT_TRUE(krv::checkReplaceTarget(dir / "new.txt", target, error));
  EXPECT_FALSE(target.exists);
  EXPECT_TRUE(krv::checkReplaceTarget(file("group.txt", "x", 0640), target, error));
  EXPECT_TRUE(target.exists);
  EXPECT_EQ(target.mode, 0640u);
  EXPECT_FALSE(krv::checkReplaceTarget(file("locked.txt", "x", 0444), target, error))
      << "read-only for everyone, the superuser included";
  EXPECT_EQ(error, "the file is read-only");
  EXPECT_FALSE(krv::checkReplaceTarget(dir, target, error));
  EXPECT_EQ(error, "it is a folder");
  const fs::path lockedFolder = dir / "locked";
  fs::create_directories(lockedFolder);
  ::chmod(lockedFolder.c_str(), 0555);
  const bool refused = !krv::checkReplaceTarget(lockedFolder / "new.txt", target, error);
  ::chmod(lockedFolder.c_str(), 0755);
  // Everyone else is refused by the system when the temporary file is made.
  if (::geteuid() == 0) {
    EXPECT_TRUE(refused) << "a read-only folder stays protected from the superuser";
  }
  EXPECT_FALSE(krv::checkReplaceTarget("/dev/null", target, error));
  EXPECT_EQ(error, "it is not a regular file");
}

TEST_F(FileAccess, KeepTargetModeGivesTheNewFileTheOldBits) {
  krv::ReplaceTarget target;
  std::string error;
  ASSERT_TRUE(krv::checkReplaceTarget(file("old.txt", "x", 0604), target, error));
  const fs::path temp = file("temp.txt", "y", 0600);
  ASSERT_TRUE(krv::keepTargetMode(temp, target));
  struct stat st;
  ASSERT_EQ(::stat(temp.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
}

TEST_F(FileAccess, ReadsOnlyRegularFilesUpToTheLimit) {
  std::string bytes, error;
  ASSERT_TRUE(krv::readRegularFile(file("ten.txt", "0123456789"), bytes, 10, error)) << error;
  EXPECT_EQ(bytes, "0123456789");
  EXPECT_FALSE(krv::readRegularFile(dir / "ten.txt", bytes, 9, error));
  EXPECT_NE(error.find("too large (10 bytes; at most 9 bytes)"), std::string::npos) << error;
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(krv::readRegularFile(dir / "missing.txt", bytes, 10, error));
  EXPECT_NE(error.find("no such file"), std::string::npos) << error;
  EXPECT_FALSE(krv::readRegularFile(dir, bytes, 10, error));
  EXPECT_NE(error.find("is a folder"), std::string::npos) << error;
  EXPECT_FALSE(krv::readRegularFile("/dev/zero", bytes, 1u << 20, error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
  const fs::path fifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(krv::readRegularFile(fifo, bytes, 10, error))
      << "refused without waiting for a writer";
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
}

}  // namespace
