#include "platform/win/console_user_interface.h"

#include <iostream>

#include "platform/base/utf.h"
#include "platform/win/dialog.h"
#include "platform/win/person.h"
#include "platform/win/string_items.h"

namespace krv::win {

int defaultMessageBoxAnswer(UINT type) {
  static const int kButtons[][3] = {{IDOK, IDOK, IDOK},           {IDOK, IDCANCEL, IDCANCEL},
                                    {IDABORT, IDRETRY, IDIGNORE}, {IDYES, IDNO, IDCANCEL},
                                    {IDYES, IDNO, IDNO},          {IDRETRY, IDCANCEL, IDCANCEL}};
  UINT kind = type & MB_TYPEMASK;
  if (kind > 5) kind = 0;
  UINT def = (type & MB_DEFMASK) >> 8;
  if (def > 2) def = 0;
  return kButtons[kind][def];
}

void ConsoleUserInterface::runModal(CDialog& dialog) {
  Person::pressKey(&dialog, VK_RETURN);
  if (dialog.isRunningModal() && IsWindow(&dialog)) Person::pressKey(&dialog, VK_ESCAPE);
  if (dialog.isRunningModal()) dialog.EndDialog(IDCANCEL);
}

int ConsoleUserInterface::messageBox(HWND, const std::wstring& text, const std::wstring& caption,
                                     UINT type) {
  std::ostream& out = mOut ? *mOut : std::cerr;
  out << "[" << base::toUtf8(caption) << "] " << base::toUtf8(text) << "\n";
  return defaultMessageBoxAnswer(type);
}

bool ConsoleUserInterface::chooseFiles(const FileDialogRequest&,
                                       std::vector<std::wstring>& chosen) {
  chosen.clear();
  return false;
}
bool ConsoleUserInterface::trackRectangle(const CRect&, int, CRect&) { return false; }
bool ConsoleUserInterface::trackRubberBand(CPoint, CRect&) { return false; }
bool ConsoleUserInterface::pickPoint(const std::wstring&, PickedPoint&) { return false; }
bool ConsoleUserInterface::pickObject(const std::wstring&, std::int64_t&) { return false; }

}  // namespace krv::win

namespace {
UserInterface*& installed() {
  static UserInterface* ui = nullptr;
  return ui;
}
}  // namespace

UserInterface& UserInterface::current() {
  static krv::win::ConsoleUserInterface fallback;
  return installed() ? *installed() : fallback;
}

UserInterface* UserInterface::install(UserInterface* ui) {
  UserInterface* previous = installed();
  installed() = ui;
  return previous;
}
