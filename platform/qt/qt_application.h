#pragma once
// The one QApplication of the process, made on first use.
//
// Pictures and headless runs never need a display: they ask for Qt's
// offscreen platform, which draws into memory. The desktop asks for a real
// display and is told when there is none.
#include <string>

namespace krv::qt {

enum class Display {
  Offscreen,  // draw into memory only (pictures, scripted runs, tests)
  Screen,     // a real display (X11 or Wayland); see displayAvailable()
};

// True when the environment names a display Qt can open (DISPLAY or
// WAYLAND_DISPLAY set and not empty).
bool displayAvailable();

// What to tell a person who starts a window without a display.
std::string noDisplayAdvice();

// Makes the QApplication if there is none yet, on the offscreen platform or
// on the display. The first call decides; later calls give the same
// application whatever they ask for. False when Screen was asked for and no
// display is available (nothing is made then).
bool ensureApplication(Display display);

}  // namespace krv::qt
