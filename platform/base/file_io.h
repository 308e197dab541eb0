#pragma once
// Reading and writing whole files, the one way every layer does it.
//
// Readers read only regular files, up to a limit: a device such as
// /dev/zero, a folder or a named pipe is refused without reading from it
// (a pipe is opened without waiting for a writer), and so is a file larger
// than the limit.
//
// The writer is atomic: it writes a temporary file in the target's folder,
// flushes it to disk and renames it over the target, so a reader sees the
// old file or the new one, never a part. Before it starts, a target that
// exists and is read-only (or is no regular file) is refused, as is a
// read-only folder. Whether something is read-only is decided by its
// permission bits for the calling user, and for the superuser (whom the
// system lets write anything) by whether any write bit is set at all, so
// that a file or folder a person protected stays protected whoever runs the
// program. A replaced file keeps its permission bits. When any step fails
// the temporary file is removed and the previous file stays whole.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/base/status.h"

namespace krv::base {

// The readers' limit unless a caller gives its own.
inline constexpr std::uintmax_t kMaxFileBytes = 256u * 1024u * 1024u;

// All bytes of a regular file of at most `maxBytes` bytes. The error says
// "cannot read PATH: no such file", "PATH is a folder", "PATH is not a
// regular file", "PATH is too large (N bytes; at most M bytes)" or "cannot
// read PATH: " and the system's reason.
Result<std::string> readFile(const std::filesystem::path& path,
                             std::uintmax_t maxBytes = kMaxFileBytes);

// Writes `bytes` to `path` atomically (see above). The error's message is
// the reason alone ("the file is read-only", "it is a folder", "writing
// failed: No space left on device", "cannot replace the file", ...), with
// the path in the Status, so that callers can word their own message.
Status writeFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// Whether `path` may be replaced: the checks the writer makes first, for
// callers that want to refuse before they build the file's bytes.
Status checkReplaceable(const std::filesystem::path& path);

// The rename step of the atomic writer, replaceable so that tests can make
// it fail. Returns the previous function; an empty function restores the
// file system's own rename.
using RenameStep =
    std::function<bool(const std::filesystem::path& from, const std::filesystem::path& to)>;
RenameStep setRenameStep(RenameStep rename);

}  // namespace krv::base
