#include "platform/qt/qt_application.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdlib>

namespace krv::qt {

namespace {
bool named(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}
}  // namespace

bool displayAvailable() { return named("DISPLAY") || named("WAYLAND_DISPLAY"); }

std::string noDisplayAdvice() {
  return "no display: the desktop needs an X11 or Wayland display (set DISPLAY), for example "
         "`xvfb-run -a korvane desktop` on a machine without one; `korvane picture` and "
         "`korvane dialog` need none";
}

bool ensureApplication(Display display) {
  if (QCoreApplication::instance()) return true;
  if (display == Display::Screen && !displayAvailable()) return false;
  if (display == Display::Offscreen) {
    // Only for this process: an explicit platform of the caller's
    // environment is kept for the screen, never for pictures.
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  // QApplication keeps references to argc and argv for its whole life.
  static int argc = 1;
  static char name[] = "korvane";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
  return true;
}

}  // namespace krv::qt
