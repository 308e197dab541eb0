// Text files read and written as lines, and the table files (readFile/writeFile) with their field
// escapes.
#include "platform/core/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <system_error>

#include "platform/base/byte_order_mark.h"
#include "platform/base/file_io.h"
#include "platform/base/utf.h"
#include "platform/base/windows1252.h"
#include "platform/core/c_number_text.h"
#include "platform/core/file_paths.h"
#include "platform/core/text_functions.h"

namespace krv::core {
namespace {

const wchar_t kTableHeader[] = L"Krv table version ";
constexpr int kTableVersion = 1;

std::mutex gNoticeMutex;
TextDecodingNotice gNotice;

base::ByteOrder utf16Order(base::ByteOrderMark mark) {
  return mark == base::ByteOrderMark::Utf16BigEndian ? base::ByteOrder::BigEndian
                                                     : base::ByteOrder::LittleEndian;
}

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
  base::ByteOrderMark mark;
  const std::string_view text = base::stripByteOrderMark(head, &mark);
  if (mark == base::ByteOrderMark::Utf16LittleEndian ||
      mark == base::ByteOrderMark::Utf16BigEndian) {
    // UTF-16: a line feed unit preceded by a carriage return unit.
    const std::u16string units = base::utf16Units(text, utf16Order(mark));
    const size_t eol = units.find(u'\n');
    return eol != std::u16string::npos && eol > 0 && units[eol - 1] == u'\r';
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
  base::ByteOrderMark mark;
  const std::string_view text = base::stripByteOrderMark(bytes, &mark);
  d.byteOrderMark = mark != base::ByteOrderMark::None;
  switch (mark) {
    case base::ByteOrderMark::Utf8:
      return base::utf8ToWide(text);
    case base::ByteOrderMark::Utf16LittleEndian:
    case base::ByteOrderMark::Utf16BigEndian: {
      d.form = mark == base::ByteOrderMark::Utf16LittleEndian
                   ? TextDecoding::Form::Utf16LittleEndian
                   : TextDecoding::Form::Utf16BigEndian;
      std::u16string units = base::utf16Units(text, utf16Order(mark));
      if (text.size() % 2) units += u'\uFFFD';  // an odd byte at the end
      return base::utf16ToWide(units);
    }
    case base::ByteOrderMark::None:
      break;
  }
  if (base::isValidUtf8(bytes)) return base::utf8ToWide(bytes);

  // Not valid UTF-8: count the sequences that are valid beyond ASCII and the
  // bytes that are not, to tell a damaged UTF-8 file from a Windows-1252 one.
  std::size_t multiByte = 0;
  int line = 1;
  char32_t c;
  for (size_t i = 0; i < bytes.size();) {
    const size_t length = base::utf8SequenceAt(bytes, i, c);
    if (length == 0) {
      if (d.invalidBytes++ == 0) {
        d.firstInvalidByte = static_cast<unsigned char>(bytes[i]);
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
    return base::cp1252ToWide(bytes);
  }
  // Each byte that is not valid UTF-8 is read as Windows-1252, not as the
  // replacement character: this is the format's rule for damaged files.
  d.form = TextDecoding::Form::Utf8WithWindows1252;
  std::wstring wide;
  wide.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const size_t length = base::utf8SequenceAt(bytes, i, c);
    if (length == 0) {
      wide += static_cast<wchar_t>(base::cp1252Char(static_cast<unsigned char>(bytes[i])));
      ++i;
    } else {
      wide += static_cast<wchar_t>(c);
      i += length;
    }
  }
  return wide;
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
      case L'\\':
        out += L"\\\\";
        break;
      case L'\t':
        out += L"\\t";
        break;
      case L'\n':
        out += L"\\n";
        break;
      case L'\r':
        out += L"\\r";
        break;
      default:
        out += c;
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
      case L't':
        out += L'\t';
        break;
      case L'n':
        out += L'\n';
        break;
      case L'r':
        out += L'\r';
        break;
      case L'e':
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace krv::core

bool ObjectExportReadFile(const Krv_String& path, Krv_StringArray& lines) {
  lines.removeAll();
  if (path.isEmpty()) return false;
  const std::filesystem::path file = krv::core::osPath(path);
  krv::core::TextDecoding how;
  if (!krv::core::readTextLines(file, lines, &how)) return false;
  if (how.usedWindows1252()) krv::core::tellTextDecoding(file, how.note());
  return true;
}

bool ObjectExportWriteFile(const Krv_String& path, const Krv_StringArray& lines) {
  if (path.isEmpty()) return false;
  const std::string eol = krv::core::endsLinesWithCrLf(krv::core::osPath(path)) ? "\r\n" : "\n";
  std::string bytes;
  for (const Krv_String& line : lines) {
    bytes += line.utf8();
    bytes += eol;
  }
  return krv::base::writeFileAtomic(krv::core::osPath(path), bytes).ok();
}

bool readFile(const Krv_String& path, Krv_String& name, Krv_StringTable& rows) {
  rows.removeAll();
  Krv_StringArray lines;
  if (!ObjectExportReadFile(path, lines)) return false;
  bool escaped = false;
  int first = 0;
  if (lines.length() > 0 && lines[0].startsWith(krv::core::kTableHeader)) {
    const Krv_String version =
        lines[0].substr(static_cast<int>(std::wcslen(krv::core::kTableHeader)));
    if (!isNumber(version) || _wtoi(version) < 1 || _wtoi(version) > krv::core::kTableVersion)
      return false;
    escaped = true;
    first = 1;
  }
  for (int i = first; i < lines.length(); ++i) {
    Krv_StringArray row;
    if (!lines[i].isEmpty()) {
      splitStringAtSymbol(lines[i], L'\t', row, false);
      if (escaped)
        for (Krv_String& cell : row) cell = Krv_String(krv::core::unescapeField(cell.str()));
    }
    rows.append(row);
  }
  name = getFileName(path);
  removeExtension(name);
  return true;
}

bool writeFile(const Krv_String& path, const Krv_StringTable& rows) {
  Krv_StringArray lines;
  lines.append(Krv_String(krv::core::kTableHeader) +
               Krv_String(std::to_wstring(krv::core::kTableVersion)));
  for (const Krv_StringArray& row : rows) {
    if (row.length() == 1 && row[0].isEmpty()) {
      lines.append(L"\\e");
      continue;
    }
    Krv_String line;
    for (int c = 0; c < row.length(); ++c) {
      if (c) line += L'\t';
      line += Krv_String(krv::core::escapeField(row[c].str()));
    }
    lines.append(line);
  }
  return ObjectExportWriteFile(path, lines);
}
