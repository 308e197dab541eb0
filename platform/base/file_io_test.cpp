#include "platform/base/file_io.h"

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
  using krv::base::checkReplaceable;
  EXPECT_TRUE(checkReplaceable(dir / "new.txt").ok());
  EXPECT_TRUE(checkReplaceable(file("group.txt", "x", 0640)).ok());
  const krv::base::Status locked = checkReplaceable(file("locked.txt", "x", 0444));
  EXPECT_FALSE(locked.ok()) << "read-only for everyone, the superuser included";
  EXPECT_EQ(locked.message(), "the file is read-only");
  EXPECT_EQ(locked.path(), dir / "locked.txt");
  EXPECT_EQ(checkReplaceable(dir).message(), "it is a folder");
  const fs::path lockedFolder = dir / "locked";
  fs::create_directories(lockedFolder);
  ::chmod(lockedFolder.c_str(), 0555);
  const bool refused = !checkReplaceable(lockedFolder / "new.txt").ok();
  ::chmod(lockedFolder.c_str(), 0755);
  // Everyone else is refused by the system when the temporary file is made.
  if (::geteuid() == 0) {
    EXPECT_TRUE(refused) << "a read-only folder stays protected from the superuser";
  }
  EXPECT_EQ(checkReplaceable("/dev/null").message(), "it is not a regular file");
}

TEST_F(FileAccess, TheWriterReplacesWholeAndKeepsTheOldBits) {
  const fs::path target = file("old.txt", "old", 0604);
  ASSERT_TRUE(krv::base::writeFileAtomic(target, "new bytes").ok());
  EXPECT_EQ(krv::base::readFile(target).value(), "new bytes");
  struct stat st;
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
  ASSERT_TRUE(krv::base::writeFileAtomic(dir / "empty.txt", "").ok());
  EXPECT_EQ(fs::file_size(dir / "empty.txt"), 0u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2)
      << "no temporary file is left";
}

TEST_F(FileAccess, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  const fs::path target = file("keep.txt", "old");
  const krv::base::RenameStep previous =
      krv::base::setRenameStep([](const fs::path&, const fs::path&) { return false; });
  const krv::base::Status s = krv::base::writeFileAtomic(target, "new");
  krv::base::setRenameStep(previous);
  EXPECT_EQ(s.message(), "cannot replace the file");
  EXPECT_EQ(s.text(), target.string() + ": cannot replace the file");
  EXPECT_EQ(krv::base::readFile(target).value(), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  EXPECT_FALSE(krv::base::writeFileAtomic(dir / "missing" / "x.txt", "x").ok());
  EXPECT_FALSE(krv::base::writeFileAtomic(file("ro.txt", "old", 0444), "x").ok());
  EXPECT_EQ(krv::base::readFile(dir / "ro.txt").value(), "old");
  if (fs::exists("/dev/full")) {
    // A full disk: the bytes cannot be flushed.
    EXPECT_FALSE(krv::base::writeFileAtomic("/dev/full", "x").ok());
  }
}

TEST_F(FileAccess, ReadsOnlyRegularFilesUpToTheLimit) {
  using krv::base::readFile;
  ASSERT_EQ(readFile(file("ten.txt", "0123456789"), 10).value(), "0123456789");
  auto message = [](const krv::base::Result<std::string>& r) { return r.status().message(); };
  EXPECT_NE(message(readFile(dir / "ten.txt", 9)).find("too large (10 bytes; at most 9 bytes)"),
            std::string::npos);
  EXPECT_NE(message(readFile(dir / "missing.txt", 10)).find("no such file"), std::string::npos);
  EXPECT_NE(message(readFile(dir, 10)).find("is a folder"), std::string::npos);
  EXPECT_NE(message(readFile("/dev/zero", 1u << 20)).find("not a regular file"), std::string::npos);
  const fs::path fifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_NE(message(readFile(fifo, 10)).find("not a regular file"), std::string::npos)
      << "refused without waiting for a writer";
}

}  // namespace
