#include "platform/core/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <system_error>

#include "platform/core/file_paths.h"
#include "platform/core/number_text.h"
#include "platform/core/text_functions.h"
#include "platform/core/unicode_text.h"
#include "platform/base/file_io.h"
#include "platform/win/text_bytes.h"

namespace krv {
namespace {

const wchar_t kTableHeader[] = L"Krv table version ";
constexpr int kTableVersion = 1;

std::mutex gNoticeMutex;
TextDecodingNotice gNotice;

}  // namespace

static void tellTextDecoding(const std::filesystem::path& path, const std::string& note) {
  TextDecodingNotice notice;
  {
    std::lock_guard<std::mutex> lock(gNoticeMutex);
    notice = gNotice;
  }
  if (notice) notice(path, note);
}

bool endsLinesWithCrLf(const std::filesystem::path& path) {
  std::string head;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    head.resize(4096);
    head.resize(std::fread(head.data(), 1, head.size(), f));
    std::fclose(f);
  }
  const auto at = [&](size_t i) { return static_cast<unsigned char>(head[i]); };
  if (head.size() >= 2 && ((at(0) == 0xFF && at(1) == 0xFE) || (at(0) == 0xFE && at(1) == 0xFF))) {
    // UTF-16: a line feed unit preceded by a carriage return unit.
    const bool little = at(0) == 0xFF;
    const auto unitAt = [&](size_t i) {
      return little ? at(i) | (at(i + 1) << 8) : (at(i) << 8) | at(i + 1);
    };
    for (size_t i = 2; i + 1 < head.size(); i += 2)
      if (unitAt(i) == '\n') return i >= 4 && unitAt(i - 2) == '\r';
    return false;
  }
  const size_t eol = head.find('\n');
  return eol != std::string::npos && eol > 0 && head[eol - 1] == '\r';
}


std::string TextDecoding::note() const {
  if (!usedWindows1252()) return {};
  char byte[8];
  std::snprintf(byte, sizeof byte, "0x%02X", firstInvalidByte);
  const std::string why = std::string("byte ") + byte + " at line " +
                          std::to_string(firstInvalidLine) + " is not valid UTF-8";
  if (form == Form::Windows1252) return "read as Windows-1252: " + why;
  return "read as UTF-8 with " + std::to_string(invalidBytes) +
         (invalidBytes == 1 ? " byte" : " bytes") + " as Windows-1252: " + why;
}

std::wstring decodeText(const std::string& bytes, TextDecoding* how) {
  TextDecoding local;
  TextDecoding& d = how ? *how : local;
  d = TextDecoding{};
  auto u8 = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (bytes.size() >= 3 && u8(0) == 0xEF && u8(1) == 0xBB && u8(2) == 0xBF) {
    d.byteOrderMark = true;
    return utf8ToWide(std::string_view(bytes).substr(3));
  }
  if (bytes.size() >= 2 && ((u8(0) == 0xFF && u8(1) == 0xFE) || (u8(0) == 0xFE && u8(1) == 0xFF))) {
    const bool little = u8(0) == 0xFF;
    d.form = little ? TextDecoding::Form::Utf16LittleEndian : TextDecoding::Form::Utf16BigEndian;
    d.byteOrderMark = true;
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      units += little ? static_cast<char16_t>(u8(i) | (u8(i + 1) << 8))
                      : static_cast<char16_t>((u8(i) << 8) | u8(i + 1));
    if (bytes.size() % 2) units += u'\uFFFD';  // an odd byte at the end
    return utf16ToWide(units);
  }
  if (isValidUtf8(bytes)) return utf8ToWide(bytes);

  // Not valid UTF-8: count the sequences that are valid beyond ASCII and the
  // bytes that are not, to tell a damaged UTF-8 file from a Windows-1252 one.
  std::size_t multiByte = 0;
  int line = 1;
  char32_t c;
  for (size_t i = 0; i < bytes.size();) {
    const size_t length = utf8SequenceAt(bytes, i, c);
    if (length == 0) {
      if (d.invalidBytes++ == 0) {
        d.firstInvalidByte = u8(i);
        d.firstInvalidLine = line;
      }
      ++i;
      continue;
    }
    if (length > 1) ++multiByte;
    if (c == U'\n') ++line;
    i += length;
  }
  if (multiByte <= d.invalidBytes) {
    d.form = TextDecoding::Form::Windows1252;
    return cp1252ToWide(bytes);
  }
  d.form = TextDecoding::Form::Utf8WithWindows1252;
  std::wstring text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const size_t length = utf8SequenceAt(bytes, i, c);
    if (length == 0) {
      text += cp1252ToWide(std::string_view(bytes).substr(i, 1));
      ++i;
    } else {
      text += static_cast<wchar_t>(c);
      i += length;
    }
  }
  return text;
}

bool readTextLines(const std::filesystem::path& path, Krv_StringArray& lines, TextDecoding* how) {
  lines.removeAll();
  lines.setGrowLength(512);
  if (path.empty()) return false;
  const base::Result<std::string> bytes = base::readFile(path, kMaxTextFileBytes);
  if (!bytes) return false;
  splitLines(decodeText(*bytes, how), lines);
  return true;
}

TextDecodingNotice setTextDecodingNotice(TextDecodingNotice notice) {
  std::lock_guard<std::mutex> lock(gNoticeMutex);
  std::swap(gNotice, notice);
  return notice;
}

void splitLines(const std::wstring& text, Krv_StringArray& lines) {
  lines.removeAll();
  size_t start = 0;
  while (start < text.size()) {
    size_t nl = text.find(L'\n', start);
    if (nl == std::wstring::npos) {
      lines.append(Krv_String(text.substr(start)));
      break;
    }
    size_t end = nl;
    if (end > start && text[end - 1] == L'\r') --end;
    lines.append(Krv_String(text.substr(start, end - start)));
    start = nl + 1;
  }
}

std::wstring escapeField(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    switch (c) {
      case L'\\': out += L"\\\\"; break;
      case L'\t': out += L"\\t"; break;
      case L'\n': out += L"\\n"; break;
      case L'\r': out += L"\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::wstring unescapeField(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    switch (wchar_t c = text[++i]) {
      case L't': out += L'\t'; break;
      case L'n': out += L'\n'; break;
      case L'r': out += L'\r'; break;
      case L'e': break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace krv

bool ObjectExportReadFile(const Krv_String& path, Krv_StringArray& lines) {
  lines.removeAll();
  if (path.isEmpty()) return false;
  const std::filesystem::path file = krv::osPath(path);
  krv::TextDecoding how;
  if (!krv::readTextLines(file, lines, &how)) return false;
  if (how.usedWindows1252()) krv::tellTextDecoding(file, how.note());
  return true;
}

bool ObjectExportWriteFile(const Krv_String& path, const Krv_StringArray& lines) {
  if (path.isEmpty()) return false;
  const std::string eol = krv::endsLinesWithCrLf(krv::osPath(path)) ? "\r\n" : "\n";
  std::string bytes;
  for (const Krv_String& line : lines) {
    bytes += line.utf8();
    bytes += eol;
  }
  return krv::base::writeFileAtomic(krv::osPath(path), bytes).ok();
}

bool readFile(const Krv_String& path, Krv_String& name, Krv_StringTable& rows) {
  rows.removeAll();
  Krv_StringArray lines;
  if (!ObjectExportReadFile(path, lines)) return false;
  bool escaped = false;
  int first = 0;
  if (lines.length() > 0 && lines[0].startsWith(krv::kTableHeader)) {
    const Krv_String version = lines[0].substr(static_cast<int>(std::wcslen(krv::kTableHeader)));
    if (!isNumber(version) || _wtoi(version) < 1 || _wtoi(version) > krv::kTableVersion) return false;
    escaped = true;
    first = 1;
  }
  for (int i = first; i < lines.length(); ++i) {
    Krv_StringArray row;
    if (!lines[i].isEmpty()) {
      splitStringAtSymbol(lines[i], L'\t', row, false);
      if (escaped)
        for (Krv_String& cell : row) cell = Krv_String(krv::unescapeField(cell.str()));
    }
    rows.append(row);
  }
  name = getFileName(path);
  removeExtension(name);
  return true;
}

bool writeFile(const Krv_String& path, const Krv_StringTable& rows) {
  Krv_StringArray lines;
  lines.append(Krv_String(krv::kTableHeader) + Krv_String(std::to_wstring(krv::kTableVersion)));
  for (const Krv_StringArray& row : rows) {
    if (row.length() == 1 && row[0].isEmpty()) {
      lines.append(L"\\e");
      continue;
    }
    Krv_String line;
    for (int c = 0; c < row.length(); ++c) {
      if (c) line += L'\t';
      line += Krv_String(krv::escapeField(row[c].str()));
    }
    lines.append(line);
  }
  return ObjectExportWriteFile(path, lines);
}
