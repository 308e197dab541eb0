#include "platform/qt/control_renderer.h"

#include <QKeyEvent>
#include <QWheelEvent>

#include "platform/qt/mirror_widget.h"
#include "platform/qt/paint_capture.h"
#include "platform/qt/qt_convert.h"
#include "platform/win/gdi.h"
#include "platform/win/person.h"

namespace krv::qt {

using krv::win::Person;

CPoint clientPointOf(const MirrorWidget& widget, const QPoint& point) {
  return toCPoint(point - widget.clientOrigin());
}

UINT virtualKeyOf(int key) {
  switch (key) {
    case Qt::Key_Backspace:
      return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Space:
      return VK_SPACE;
    case Qt::Key_PageUp:
      return VK_PRIOR;
    case Qt::Key_PageDown:
      return VK_NEXT;
    case Qt::Key_End:
      return VK_END;
    case Qt::Key_Home:
      return VK_HOME;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_Insert:
      return VK_INSERT;
    case Qt::Key_Delete:
      return VK_DELETE;
    default:
      break;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return VK_F1 + (key - Qt::Key_F1);
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
  return 0;
}

namespace {
bool shiftHeld(const QMouseEvent& event) { return event.modifiers() & Qt::ShiftModifier; }
bool ctrlHeld(const QMouseEvent& event) { return event.modifiers() & Qt::ControlModifier; }
}  // namespace

void ControlRenderer::mousePress(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const {
  if (event.button() == Qt::LeftButton)
    Person::mouseDown(&window, clientPointOf(widget, event.position().toPoint()), shiftHeld(event),
                      ctrlHeld(event));
}

void ControlRenderer::mouseRelease(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const {
  const CPoint at = clientPointOf(widget, event.position().toPoint());
  if (event.button() == Qt::LeftButton)
    Person::mouseUp(&window, at, shiftHeld(event), ctrlHeld(event));
  else if (event.button() == Qt::RightButton)
    Person::rightClickAt(&window, at);
}

void ControlRenderer::mouseDoubleClick(CWnd& window, MirrorWidget& widget,
                                       QMouseEvent& event) const {
  if (event.button() == Qt::LeftButton)
    Person::mouseDown(&window, clientPointOf(widget, event.position().toPoint()), shiftHeld(event),
                      ctrlHeld(event), true);
}

void ControlRenderer::mouseMove(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const {
  Person::mouseMove(&window, clientPointOf(widget, event.position().toPoint()), shiftHeld(event),
                    ctrlHeld(event));
}

void ControlRenderer::wheel(CWnd&, MirrorWidget&, QWheelEvent& event) const { event.ignore(); }

void ControlRenderer::keyPress(CWnd& window, MirrorWidget&, QKeyEvent& event) const {
  CWnd* top = window.GetTopLevelParent();
  if (!top) top = &window;
  const bool shift = event.modifiers() & Qt::ShiftModifier;
  const bool ctrl = event.modifiers() & Qt::ControlModifier;
  const UINT vk = virtualKeyOf(event.key());
  const QString text = event.text();
  const bool printable = !text.isEmpty() && text.at(0).isPrint() && !ctrl;
  if (printable) {
    // Characters go to the focused window as WM_CHAR, as typing does.
    CWnd* focus = CWnd::GetFocus();
    Person::type(focus && (focus == top || top->IsChild(focus)) ? focus : &window, toWide(text));
    return;
  }
  if (vk != 0) Person::pressKey(top, vk, shift, ctrl);
  // The backspace key also types its character, which is what deletes.
  if (vk == VK_BACK && !ctrl && IsWindow(top)) {
    CWnd* focus = CWnd::GetFocus();
    if (focus && (focus == top || top->IsChild(focus))) Person::type(focus, L"\b");
  }
}

bool ControlRenderer::takesFocus(const CWnd&) const { return true; }

void ControlRenderer::placed(CWnd&, MirrorWidget&) const {}

namespace {

// Windows of classes without a renderer of their own: the background of
// the class (the dialog face for dialogs, the window colour otherwise) and
// whatever the window's OnPaint draws.
class GenericRenderer : public ControlRenderer {
 public:
  void paint(QPainter& painter, CWnd& window, MirrorWidget& widget) const override {
    const bool dialog = window.className() == L"#32770";
    painter.fillRect(widget.rect(), toQColor(GetSysColor(dialog ? COLOR_BTNFACE : COLOR_BTNFACE)));
    const auto ops = capturePaint(window);
    painter.save();
    painter.translate(widget.clientOrigin());
    drawOps(painter, ops);
    painter.restore();
  }
};

}  // namespace

const ControlRenderer& genericRenderer() {
  static const GenericRenderer renderer;
  return renderer;
}

}  // namespace krv::qt
