#include "platform/base/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace krv::base {
namespace {

std::string sizeText(std::uintmax_t bytes) { return std::to_string(bytes) + " bytes"; }

std::mutex gRenameMutex;
RenameStep gRename;

bool renameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  RenameStep f;
  {
    std::lock_guard<std::mutex> lock(gRenameMutex);
    f = gRename;
  }
  if (f) return f(from, to);
  std::error_code ec;
  std::filesystem::rename(from, to, ec);
  return !ec;
}

// A name no other writer uses at the same time: process and a counter.
std::filesystem::path tempPathFor(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path tmp = target;
  tmp += ".~tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
  return tmp;
}

// What the writer needs to know of the file it replaces.
struct ReplaceTarget {
  bool exists = false;
  mode_t mode = 0;  // permission bits of the existing file
};

Status checkTarget(const std::filesystem::path& path, ReplaceTarget& target) {
  target = ReplaceTarget{};
  struct stat st;
  const bool superuser = ::geteuid() == 0;
  // The superuser would create the temporary file in a read-only folder as
  // well; everyone else is refused by the system when creating it.
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  if (superuser && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
      (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    return Status::fileError(path, "the folder " + folder.string() + " is read-only");
  // A target that cannot be looked at (missing, or a folder on its way that
  // does not exist) is a new file; creating the temporary file reports any
  // other problem.
  if (::stat(path.c_str(), &st) != 0) return {};
  if (!S_ISREG(st.st_mode))
    return Status::fileError(path,
                             S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file");
  target.exists = true;
  target.mode = st.st_mode & 07777;
  // The superuser may write every file, so for it the permission bits alone
  // decide; for everyone else the system's own check also covers access
  // control lists.
  const bool writable = superuser ? (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0
                                  : ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
  if (!writable) return Status::fileError(path, "the file is read-only");
  return {};
}

}  // namespace

Status checkReplaceable(const std::filesystem::path& path) {
  ReplaceTarget target;
  return checkTarget(path, target);
}

RenameStep setRenameStep(RenameStep rename) {
  std::lock_guard<std::mutex> lock(gRenameMutex);
  std::swap(gRename, rename);
  return rename;
}

Result<std::string> readFile(const std::filesystem::path& path, std::uintmax_t maxBytes) {
  const std::string name = path.string();
  auto fail = [&](std::string message) { return Status::error(std::move(message)); };
  struct stat st;
  if (::stat(path.c_str(), &st) != 0)
    return fail("cannot read " + name + ": " +
                (errno == ENOENT ? "no such file" : std::strerror(errno)));
  auto notRegular = [&] {
    return fail(name + (S_ISDIR(st.st_mode) ? " is a folder" : " is not a regular file"));
  };
  auto tooLarge = [&](std::uintmax_t size) {
    return fail(name + " is too large (" + sizeText(size) + "; at most " + sizeText(maxBytes) +
                ")");
  };
  if (!S_ISREG(st.st_mode)) return notRegular();
  // Non-blocking, so that a file replaced by a named pipe in the meantime
  // does not wait for a writer; checked again on the open file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return fail("cannot read " + name + ": " + std::strerror(errno));
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return notRegular();
  if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) return tooLarge(st.st_size);
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      return fail("cannot read " + name + ": " + std::strerror(errno));
    }
    // The file may grow while it is read.
    if (bytes.size() + static_cast<std::size_t>(got) > maxBytes)
      return tooLarge(bytes.size() + static_cast<std::size_t>(got));
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  return bytes;
}

Status writeFileAtomic(const std::filesystem::path& path, std::string_view bytes) {
  if (path.empty() || !path.has_filename()) return Status::fileError(path, "no file name");
  ReplaceTarget target;
  if (Status s = checkTarget(path, target); !s) return s;
  const std::filesystem::path tmp = tempPathFor(path);
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    return Status::fileError(
        path, "cannot create a file in " + folder.string() + ": " + std::strerror(errno));
  }
  int err = 0;  // the first failure's reason
  auto step = [&](bool done) {
    if (!done && !err) err = errno ? errno : EIO;
  };
  errno = 0;
  step(bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
  step(std::fflush(f) == 0);
  step(::fsync(::fileno(f)) == 0);
  step(std::fclose(f) == 0);
  std::string why;
  if (err)
    why = std::string("writing failed: ") + std::strerror(err);
  else if (target.exists && ::chmod(tmp.c_str(), target.mode) != 0)
    why = "cannot keep the permissions of the file";
  else if (!renameFile(tmp, path))
    why = "cannot replace the file";
  else
    return {};
  std::error_code ec;
  std::filesystem::remove(tmp, ec);
  return Status::fileError(path, why);
}

}  // namespace krv::base
