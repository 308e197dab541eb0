#include "platform/sheet/zip_container.h"

namespace krv::sheet {

using base::Result;
using base::Status;

namespace {

uint32_t u16(std::string_view b, std::size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}
uint32_t u32(std::string_view b, std::size_t at) { return u16(b, at) | u16(b, at + 2) << 16; }

constexpr uint32_t kLocalHeader = 0x04034b50;
constexpr uint32_t kCentralHeader = 0x02014b50;
constexpr uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;

}  // namespace

bool looksLikeCompoundFile(std::string_view bytes) {
  return bytes.substr(0, 8) == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
}

Result<std::vector<ZipEntry>> checkZipContainer(std::string_view b, const ZipLimits& limits) {
  if (looksLikeCompoundFile(b))
    return Status::error(
        "this is an encrypted or password-protected workbook (or an old binary one), not a zip "
        "container; save it without a password as xlsx or ods");
  if (b.size() < kEndSize || u32(b, 0) != kLocalHeader)
    return Status::error("this is not a zip container (the file is damaged or of another kind)");
  // The end record lies in the last 64 KiB + 22 bytes (its comment comes last).
  std::size_t end = std::string_view::npos;
  const std::size_t lowest = b.size() > 0xFFFF + kEndSize ? b.size() - 0xFFFF - kEndSize : 0;
  for (std::size_t at = b.size() - kEndSize + 1; at-- > lowest;) {
    if (u32(b, at) == kEndOfDirectory) {
      end = at;
      break;
    }
  }
  if (end == std::string_view::npos)
    return Status::error("the zip container has no central directory (the file is truncated)");
  const uint32_t count = u16(b, end + 10);
  const uint64_t dirSize = u32(b, end + 12), dirAt = u32(b, end + 16);
  if (count == 0xFFFF || dirSize == 0xFFFFFFFF || dirAt == 0xFFFFFFFF)
    return Status::error("zip64 containers are not read");
  if (count > limits.maxEntries)
    return Status::error("the zip container holds " + std::to_string(count) + " entries; at most " +
                         std::to_string(limits.maxEntries) + " are read");
  if (dirAt + dirSize > end)
    return Status::error("the zip container's directory lies outside the file (it is truncated)");
  std::vector<ZipEntry> entries;
  entries.reserve(count);
  uint64_t total = 0;
  std::size_t at = static_cast<std::size_t>(dirAt);
  for (uint32_t i = 0; i < count; ++i) {
    if (at + kCentralSize > end || u32(b, at) != kCentralHeader)
      return Status::error("the zip container's directory is damaged");
    const uint32_t flags = u16(b, at + 8);
    const uint64_t packed = u32(b, at + 20), unpacked = u32(b, at + 24);
    const std::size_t nameLen = u16(b, at + 28), extraLen = u16(b, at + 30),
                      commentLen = u16(b, at + 32);
    const uint64_t localAt = u32(b, at + 42);
    if (at + kCentralSize + nameLen + extraLen + commentLen > end)
      return Status::error("the zip container's directory is damaged");
    ZipEntry e{std::string(b.substr(at + kCentralSize, nameLen)), packed, unpacked};
    if (flags & 1)
      return Status::error("the entry " + e.name +
                           " is encrypted: the workbook is password-protected");
    if (packed == 0xFFFFFFFF || unpacked == 0xFFFFFFFF)
      return Status::error("zip64 containers are not read");
    if (localAt + kLocalSize > dirAt || u32(b, static_cast<std::size_t>(localAt)) != kLocalHeader)
      return Status::error("the entry " + e.name + " lies outside the file (it is truncated)");
    const std::size_t local = static_cast<std::size_t>(localAt);
    const uint64_t localUnpacked = u32(b, local + 22);
    const uint64_t dataAt = localAt + kLocalSize + u16(b, local + 26) + u16(b, local + 28);
    if (dataAt + packed > dirAt)
      return Status::error("the entry " + e.name + " reaches beyond the file (it is truncated)");
    if (u16(b, local + 6) & 1)
      return Status::error("the entry " + e.name +
                           " is encrypted: the workbook is password-protected");
    // A local header with a data descriptor (flag 8) has zero sizes.
    e.unpackedBytes = std::max(unpacked, localUnpacked);
    total += e.unpackedBytes;
    if (total > limits.maxUnpackedBytes)
      return Status::error("the zip container unpacks to more than " +
                           std::to_string(limits.maxUnpackedBytes >> 20) +
                           " MiB; it is refused as a possible zip bomb");
    entries.push_back(std::move(e));
    at += kCentralSize + nameLen + extraLen + commentLen;
  }
  return entries;
}

}  // namespace krv::sheet
