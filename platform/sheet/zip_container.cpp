#include "platform/sheet/zip_container.h"

#include <zlib.h>

#include <vector>

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

// Whether every piece of markup of XML text is closed: tags (quotes in
// them respected), comments, CDATA sections, processing instructions and
// declarations. The workbook parser stops with an assertion on some text
// that ends inside markup, so such text is refused before it is parsed.
bool markupClosed(std::string_view x) {
  std::size_t i = 0;
  while ((i = x.find('<', i)) != std::string_view::npos) {
    std::string_view rest = x.substr(i);
    std::string_view close = ">";
    if (rest.starts_with("<!--"))
      close = "-->";
    else if (rest.starts_with("<![CDATA["))
      close = "]]>";
    else if (rest.starts_with("<?"))
      close = "?>";
    if (close != ">" || rest.starts_with("<!")) {
      const std::size_t end = x.find(close, i + 2);
      if (end == std::string_view::npos) return false;
      i = end + close.size();
      continue;
    }
    char quote = 0;
    for (++i; i < x.size(); ++i) {
      const char c = x[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>') {
        break;
      }
    }
    if (i >= x.size()) return false;
    ++i;
  }
  return true;
}

// Unpacks an entry's data to check it: it must be stored or deflated, end
// where it says, unpack to exactly its declared size and match its CRC.
Status checkEntryData(std::string_view packed, uint32_t method, uint64_t unpacked, uint32_t crc,
                      const std::string& name) {
  const Status damaged = Status::error(
      "the entry " + name + " of the zip container is damaged (its data does not unpack)");
  if (method == 0) {
    if (packed.size() != unpacked) return damaged;
    const uLong sum =
        crc32(0, reinterpret_cast<const Bytef*>(packed.data()), static_cast<uInt>(packed.size()));
    return sum == crc ? Status() : damaged;
  }
  if (method != 8)
    return Status::error("the entry " + name + " uses a compression method that is not read");
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return damaged;
  std::vector<unsigned char> chunk(64 * 1024);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  z.avail_in = static_cast<uInt>(packed.size());
  uint64_t out = 0;
  uLong sum = crc32(0, nullptr, 0);
  const bool xml = name.ends_with(".xml") || name.ends_with(".rels");
  std::string text;
  int rc = Z_OK;
  while (rc == Z_OK) {
    z.next_out = chunk.data();
    z.avail_out = static_cast<uInt>(chunk.size());
    rc = inflate(&z, Z_NO_FLUSH);
    const std::size_t got = chunk.size() - z.avail_out;
    out += got;
    sum = crc32(sum, chunk.data(), static_cast<uInt>(got));
    if (out > unpacked) break;  // more than declared: a bomb or damage
    if (xml) text.append(reinterpret_cast<const char*>(chunk.data()), got);
    if (rc == Z_OK && got == 0 && z.avail_in == 0) break;
  }
  inflateEnd(&z);
  if (rc != Z_STREAM_END || out != unpacked || sum != crc) return damaged;
  if (xml && !markupClosed(text))
    return Status::error("the entry " + name + " is damaged XML (it ends inside markup)");
  return {};
}

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
  if (u16(b, end + 4) != 0 || u16(b, end + 6) != 0 || u16(b, end + 8) != count)
    return Status::error("the zip container spans several parts or its directory is damaged");
  if (count == 0) return Status::error("the zip container holds nothing");
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
    const uint32_t method = u16(b, at + 10);
    const uint32_t crc = u32(b, at + 16);
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
    // The central directory's sizes are the ones the data must match.
    if (Status s = checkEntryData(b.substr(static_cast<std::size_t>(dataAt), packed), method,
                                  unpacked, crc, e.name);
        !s)
      return s;
    for (const ZipEntry& earlier : entries)
      if (earlier.name == e.name)
        return Status::error("the zip container holds the entry " + e.name + " twice");
    entries.push_back(std::move(e));
    at += kCentralSize + nameLen + extraLen + commentLen;
  }
  if (at != dirAt + dirSize) return Status::error("the zip container's directory is damaged");
  return entries;
}

std::string storedZip(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string out, dir;
  auto u16 = [](std::string& to, uint32_t v) {
    to += static_cast<char>(v & 0xFF);
    to += static_cast<char>((v >> 8) & 0xFF);
  };
  auto u32 = [&](std::string& to, uint32_t v) {
    u16(to, v & 0xFFFF);
    u16(to, v >> 16);
  };
  for (const auto& [name, data] : entries) {
    const uint32_t crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    const uint32_t size = static_cast<uint32_t>(data.size());
    const uint32_t at = static_cast<uint32_t>(out.size());
    for (std::string* to : {&out, &dir}) {
      const bool central = to == &dir;
      u32(*to, central ? kCentralHeader : kLocalHeader);
      if (central) u16(*to, 20);  // made by
      u16(*to, 20);               // needed
      u16(*to, 0);                // flags
      u16(*to, 0);                // stored
      u32(*to, 0);                // time and date
      u32(*to, crc);
      u32(*to, size);
      u32(*to, size);
      u16(*to, static_cast<uint32_t>(name.size()));
      u16(*to, 0);  // extra
      if (central) {
        u16(*to, 0);  // comment
        u16(*to, 0);  // disk
        u16(*to, 0);  // internal attributes
        u32(*to, 0);  // external attributes
        u32(*to, at);
      }
      *to += name;
    }
    out += data;
  }
  const uint32_t dirAt = static_cast<uint32_t>(out.size());
  out += dir;
  u32(out, kEndOfDirectory);
  u16(out, 0);
  u16(out, 0);
  u16(out, static_cast<uint32_t>(entries.size()));
  u16(out, static_cast<uint32_t>(entries.size()));
  u32(out, static_cast<uint32_t>(dir.size()));
  u32(out, dirAt);
  u16(out, 0);
  return out;
}

}  // namespace krv::sheet
