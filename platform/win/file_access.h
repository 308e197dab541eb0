#pragma once
// The checks every file reader and every atomic writer of the system makes,
// shared by all layers (this is the lowest one).
//
// Readers read only regular files, up to a limit: a device such as
// /dev/zero, a folder or a named pipe is refused without reading from it
// (a pipe is opened without waiting for a writer), and so is a file larger
// than the limit.
//
// Atomic writers write a temporary file beside the target and rename it
// over the target. Before they start, they ask checkReplaceTarget whether
// the target may be replaced: a target that exists and is read-only is
// refused, as a read-only folder is. Whether it is read-only is decided by
// its permission bits for the calling user, and for the superuser (whom the
// system lets write anything) by whether any write bit is set at all, so
// that a file or folder a person protected stays protected whoever runs the
// program.
// A replaced file keeps its permission bits: the temporary file is given
// them before the rename (keepTargetMode).
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace krv {

// What a writer needs to know of the file it replaces.
struct ReplaceTarget {
  bool exists = false;
  mode_t mode = 0;  // permission bits of the existing file
};

// False with a message in `error` when `target` exists but is read-only or
// is not a regular file; otherwise fills `target` for keepTargetMode.
bool checkReplaceTarget(const std::filesystem::path& path, ReplaceTarget& target,
                        std::string& error);

// Gives the temporary file `temp` the permission bits of the file it will
// replace (nothing to do for a new file). False when that fails.
bool keepTargetMode(const std::filesystem::path& temp, const ReplaceTarget& target);

// Reads all of a regular file of at most `maxBytes` bytes into `bytes`;
// false with a message in `error` (and `bytes` empty) when the file is
// missing, not a regular file, larger than `maxBytes` or cannot be read.
bool readRegularFile(const std::filesystem::path& path, std::string& bytes, std::uintmax_t maxBytes,
                     std::string& error);

}  // namespace krv
