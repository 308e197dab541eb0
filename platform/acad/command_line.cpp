#include "platform/acad/command_line.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "platform/base/utf.h"

namespace {

acad::CommandLineSink& sink() {
  static acad::CommandLineSink s;
  return s;
}

int& promptCount() {
  static int n = 0;
  return n;
}

// Writes wide text as UTF-8.
void writeUtf8(const std::wstring& text) {
  const std::string out = krv::base::toUtf8(text);
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
}

// Turns the host's wide format conventions into the C library's: %s and %c
// take wide arguments there, %ls/%lc here; %hs/%hc stay narrow.
std::wstring translateFormat(const wchar_t* f) {
  std::wstring out;
  for (const wchar_t* p = f; *p; ++p) {
    out += *p;
    if (*p != L'%') continue;
    ++p;
    if (*p == L'%') {
      out += *p;
      continue;
    }
    // flags, width, precision
    while (*p && std::wcschr(L"-+ #0123456789.*", *p)) out += *p++;
    if (*p == L'h' && (p[1] == L's' || p[1] == L'c')) {
      // %hs / %hc: narrow argument, which is plain %s / %c in the C library.
      out += *++p;
      continue;
    }
    if (*p == L's' || *p == L'c') {
      out += L'l';
      out += *p;
      continue;
    }
    if (*p == L'S') {  // %S: the opposite width, i.e. narrow
      out += L's';
      continue;
    }
    if (!*p) break;
    out += *p;
  }
  return out;
}

}  // namespace

int acutPrintf(const wchar_t* format, ...) {
  if (!format) return 0;
  std::wstring fmt = translateFormat(format);
  std::vector<wchar_t> buf(512);
  int n = -1;
  for (;;) {
    va_list ap;
    va_start(ap, format);
    n = std::vswprintf(buf.data(), buf.size(), fmt.c_str(), ap);
    va_end(ap);
    if (n >= 0) break;
    if (buf.size() > (1u << 24)) return -1;  // not a size problem: bad format
    buf.resize(buf.size() * 4);
  }
  std::wstring text(buf.data(), static_cast<size_t>(n));
  if (sink())
    sink()(text);
  else
    writeUtf8(text);
  return n;
}

void acedPostCommandPrompt() { ++promptCount(); }

namespace acad {

CommandLineSink setCommandLineSink(CommandLineSink s) {
  CommandLineSink prev = std::move(sink());
  sink() = std::move(s);
  return prev;
}

CommandLineCapture::CommandLineCapture() {
  mPrevious = setCommandLineSink([this](const std::wstring& t) { mText += t; });
}

CommandLineCapture::~CommandLineCapture() { setCommandLineSink(std::move(mPrevious)); }

int postedCommandPrompts() { return promptCount(); }
void resetPostedCommandPrompts() { promptCount() = 0; }

}  // namespace acad
