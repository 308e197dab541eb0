#pragma once
// Checks a zip container (the package of xlsx and ods workbooks) before
// anything is unpacked: the bytes must be a zip file whose central
// directory lies inside them, with at most `maxEntries` entries, none of
// them encrypted, and whose entries together unpack to at most
// `maxUnpackedBytes` (by the larger of the sizes the central directory and
// the local headers declare; a zip64 container is refused), and whose
// entries are stored or deflated and unpack to exactly their declared size
// and checksum (each is unpacked once here, in pieces, to check it), with
// every piece of markup of their XML closed. An OLE
// compound file (what an encrypted or password-protected workbook, and an
// old binary one, is) gets its own message.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/base/status.h"

namespace krv::sheet {

struct ZipLimits {
  uint64_t maxUnpackedBytes = uint64_t{512} << 20;
  uint32_t maxEntries = 20000;
};

struct ZipEntry {
  std::string name;
  uint64_t packedBytes = 0;
  uint64_t unpackedBytes = 0;
};

// The entries of the container, or the reason it is refused.
krv::base::Result<std::vector<ZipEntry>> checkZipContainer(std::string_view bytes,
                                                           const ZipLimits& limits);

// A zip container of the given entries, stored (not compressed), in order.
std::string storedZip(const std::vector<std::pair<std::string, std::string>>& entries);

// Whether the bytes begin like an OLE compound file.
bool looksLikeCompoundFile(std::string_view bytes);

}  // namespace krv::sheet
