#include "tools/desktop_command_pane.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include "platform/qt/qt_convert.h"

namespace krv::tools {

DesktopCommandPane::DesktopCommandPane(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName("commandLine");
  setReadOnly(true);
  setUndoRedoEnabled(false);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  // Keeps the whole session, but not without end.
  setMaximumBlockCount(20000);
  mPrevious = acad::setCommandLineSink(
      [this](const std::wstring& text) { print(krv::qt::toQString(text)); });
}

DesktopCommandPane::~DesktopCommandPane() { acad::setCommandLineSink(std::move(mPrevious)); }

void DesktopCommandPane::print(const QString& text) {
  QTextCursor end(document());
  end.movePosition(QTextCursor::End);
  end.insertText(text);
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void DesktopCommandPane::say(const QString& line) {
  // The last block is empty when the text so far ends with a line end.
  const bool lineOpen = !document()->lastBlock().text().isEmpty();
  print((lineOpen ? QString("\n") : QString()) + line + "\n");
}

}  // namespace krv::tools
