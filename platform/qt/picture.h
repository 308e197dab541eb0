#pragma once
// Pictures of windows: a top-level window (a dialog) drawn with its frame
// and caption as a person sees it, into an image or a PNG file. Needs no
// display: the QApplication is made on the offscreen platform when there is
// none yet.
#include <QImage>
#include <filesystem>

#include "platform/base/status.h"
#include "platform/win/wnd.h"

namespace krv::qt {

// The window as a person sees it, of the window's full size (frame and
// caption included). A window that is not live gives a null image.
QImage renderPicture(CWnd& window);

// Writes renderPicture(window) as a PNG file, atomically; the failure names
// the file.
krv::base::Status savePicture(CWnd& window, const std::filesystem::path& file);

// Draws the non-client part of a top-level window into `painter` over the
// window's full rectangle: border and, with WS_CAPTION, the caption bar
// with the window text and a close box.
void drawWindowFrame(QPainter& painter, const CWnd& window);

}  // namespace krv::qt
