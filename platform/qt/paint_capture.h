#pragma once
// What a window's own OnPaint draws, captured as recorded drawing calls so
// that a renderer can draw them again with Qt.
#include <vector>

#include "platform/win/dc.h"

class QPainter;

namespace krv::qt {

// Makes the window erase its background (WM_ERASEBKGND with a client DC)
// and paint (WM_PAINT through UpdateWindow) now, and gives what its paint
// contexts drew, the background first. The window's invalidation during the capture is
// not passed on as a change to be drawn again.
std::vector<krv::win::DrawOp> capturePaint(CWnd& window);

// True while capturePaint() runs for `window`.
bool isCapturingPaint(const CWnd* window);

// Draws recorded calls with Qt: fills, rectangles, lines, pixels, text in
// the recorded font and colours, blits of the recorded source bitmaps with
// the common raster operations, inversions and focus rectangles.
void drawOps(QPainter& painter, const std::vector<krv::win::DrawOp>& ops);

}  // namespace krv::qt
