#pragma once
// What the standard control renderers share: the style they draw with, the
// state a style option gets from a window, the window's non-client border,
// and the pictures of bitmaps, icons and image-list images.
#include <QImage>
#include <QPalette>
#include <QRect>
#include <QStyle>
#include <optional>

#include "platform/win/bitmap_image.h"
#include "platform/win/wnd.h"

class QPainter;
class QStyleOption;

namespace krv::qt {

class MirrorWidget;

// The style every standard control is drawn with (Fusion when the platform
// has it, else the application's).
QStyle& controlStyle();

// True when the window has the keyboard focus of the window system.
bool hasWindowFocus(const CWnd& window);

// Fills `option` for drawing `window` in `widget`: the widget's font,
// palette and rectangle, and the window system's state (enabled or not,
// focused or not), never Qt's own focus or enabled state. A disabled
// window gets the palette's disabled colours.
void initOption(QStyleOption& option, const CWnd& window, const MirrorWidget& widget);

// The client area of the window inside its widget.
QRect clientRectOf(const CWnd& window, const MirrorWidget& widget);

// Draws the non-client border of a control (WS_BORDER as a line,
// WS_EX_CLIENTEDGE sunken, WS_EX_STATICEDGE a thin sunken edge) inside
// the widget's rectangle.
void drawControlBorder(QPainter& painter, const CWnd& window, const MirrorWidget& widget);

// A picture as a Qt image; where `mask` is white the image is transparent.
QImage toImage(const krv::win::BitmapImage& picture,
               const std::optional<krv::win::BitmapImage>& mask = std::nullopt);
// The picture of a bitmap handle (null image for none).
QImage bitmapPicture(HBITMAP bitmap);
// The picture of an icon handle, read from the icon resource it was loaded
// from (null image when there is none or it cannot be read).
QImage iconPicture(HICON icon);

// Text flags for window texts: '&' marks the mnemonic unless `noPrefix`.
int mnemonicFlag(bool noPrefix);

}  // namespace krv::qt
