#include "platform/win/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace krv {
namespace {

std::string sizeText(std::uintmax_t bytes) { return std::to_string(bytes) + " bytes"; }

}  // namespace

bool checkReplaceTarget(const std::filesystem::path& path, ReplaceTarget& target,
                        std::string& error) {
  target = ReplaceTarget{};
  struct stat st;
  const bool superuser = ::geteuid() == 0;
  // The superuser would create the temporary file in a read-only folder as
  // well; everyone else is refused by the system when creating it.
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  if (superuser && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
      (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    error = "the folder " + folder.string() + " is read-only";
    return false;
  }
  // A target that cannot be looked at (missing, or a folder on its way that
  // does not exist) is a new file; creating the temporary file reports any
  // other problem.
  if (::stat(path.c_str(), &st) != 0) return true;
  if (!S_ISREG(st.st_mode)) {
    error = S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file";
    return false;
  }
  target.exists = true;
  target.mode = st.st_mode & 07777;
  // The superuser may write every file, so for it the permission bits alone
  // decide; for everyone else the system's own check also covers access
  // control lists.
  const bool writable = superuser ? (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0
                                  : ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
  if (!writable) {
    error = "the file is read-only";
    return false;
  }
  return true;
}

bool keepTargetMode(const std::filesystem::path& temp, const ReplaceTarget& target) {
  if (!target.exists) return true;
  return ::chmod(temp.c_str(), target.mode) == 0;
}

bool readRegularFile(const std::filesystem::path& path, std::string& bytes, std::uintmax_t maxBytes,
                     std::string& error) {
  bytes.clear();
  const std::string name = path.string();
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    error =
        "cannot read " + name + ": " + (errno == ENOENT ? "no such file" : std::strerror(errno));
    return false;
  }
  auto notRegular = [&] {
    error = name + (S_ISDIR(st.st_mode) ? " is a folder" : " is not a regular file");
    return false;
  };
  auto tooLarge = [&](std::uintmax_t size) {
    error = name + " is too large (" + sizeText(size) + "; at most " + sizeText(maxBytes) + ")";
    bytes.clear();
    return false;
  };
  if (!S_ISREG(st.st_mode)) return notRegular();
  // Non-blocking, so that a file replaced by a named pipe in the meantime
  // does not wait for a writer; checked again on the open file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = "cannot read " + name + ": " + std::strerror(errno);
    return false;
  }
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return notRegular();
  if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) return tooLarge(st.st_size);
  bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      error = "cannot read " + name + ": " + std::strerror(errno);
      bytes.clear();
      return false;
    }
    // The file may grow while it is read.
    if (bytes.size() + static_cast<std::size_t>(got) > maxBytes)
      return tooLarge(bytes.size() + static_cast<std::size_t>(got));
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  return true;
}

}  // namespace krv
