#pragma once
#include <functional>
#include <string>

// The host's command line. acutPrintf formats as the host does: the format
// and every %s argument are wide strings (%hs takes a narrow one), %c takes a
// wide character. The text goes to the current sink: standard output by
// default; tests replace it to capture what the module printed.
int acutPrintf(const wchar_t* format, ...);

namespace acad {

using CommandLineSink = std::function<void(const std::wstring&)>;

// Replaces the sink and returns the previous one. An empty sink restores the
// default (standard output, UTF-8).
CommandLineSink setCommandLineSink(CommandLineSink sink);

// Collects everything printed on the command line while it lives.
class CommandLineCapture {
 public:
  CommandLineCapture();
  ~CommandLineCapture();
  CommandLineCapture(const CommandLineCapture&) = delete;
  CommandLineCapture& operator=(const CommandLineCapture&) = delete;
  const std::wstring& text() const { return mText; }
  void clear() { mText.clear(); }

 private:
  std::wstring mText;
  CommandLineSink mPrevious;
};

// Number of acedPostCommandPrompt calls since start (or the last reset).
int postedCommandPrompts();
void resetPostedCommandPrompts();

}  // namespace acad

// Asks the host to show its command prompt again. Counted.
void acedPostCommandPrompt();
