#pragma once
// DesktopCommandPane: the read-only text view at the bottom of the desktop
// that stands in for the CAD command line. While the pane lives, whatever
// the module prints on the command line (acutPrintf) is appended to it as
// printed, pieces without a line end continuing the current line; the
// program's own messages (say()) are appended as whole lines. At the end
// of its life the pane gives the command line back to the sink it replaced.
#include <QPlainTextEdit>
#include <string>

#include "platform/acad/command_line.h"

namespace krv::tools {

class DesktopCommandPane : public QPlainTextEdit {
 public:
  explicit DesktopCommandPane(QWidget* parent = nullptr);
  ~DesktopCommandPane() override;
  DesktopCommandPane(const DesktopCommandPane&) = delete;
  DesktopCommandPane& operator=(const DesktopCommandPane&) = delete;

  // Appends text as printed (no line end is added).
  void print(const QString& text);
  // Appends a message of the program on a line of its own.
  void say(const QString& line);

 private:
  acad::CommandLineSink mPrevious;
};

}  // namespace krv::tools
