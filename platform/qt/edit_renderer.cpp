#include "platform/qt/edit_renderer.h"

#include <QStyleOption>

#include "platform/qt/control_paint.h"
#include "platform/qt/edit_layout.h"
#include "platform/qt/mirror_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/win/edit.h"
#include "platform/win/person.h"

namespace krv::qt {

namespace {

using krv::win::Person;

struct Selection {
  int start = 0, end = 0;  // the caret is at `end`
};

Selection selectionOf(const CWnd& window) {
  Selection s;
  if (auto* edit = dynamic_cast<const CEdit*>(&window)) edit->GetSel(s.start, s.end);
  return s;
}

QRect textArea(const CWnd& window, const MirrorWidget& widget) {
  return clientRectOf(window, widget).adjusted(2, 1, -2, -1);
}

EditLayout layoutOf(const CWnd& window, const MirrorWidget& widget) {
  const DWORD style = window.GetStyle();
  EditLayout::Options options;
  options.multiLine = style & ES_MULTILINE;
  options.password = (style & ES_PASSWORD) && !options.multiLine;
  options.wrap = options.multiLine && !(style & ES_AUTOHSCROLL);
  options.align = (style & ES_RIGHT)    ? Qt::AlignRight
                  : (style & ES_CENTER) ? Qt::AlignHCenter
                                        : Qt::AlignLeft;
  return EditLayout(toQString(window.GetWindowText()), widget.font(), textArea(window, widget),
                    selectionOf(window).end, options);
}

class EditRenderer : public ControlRenderer {
 public:
  void paint(QPainter& painter, CWnd& window, MirrorWidget& widget) const override {
    QStyleOption option;
    initOption(option, window, widget);
    const bool readOnly = window.GetStyle() & ES_READONLY;
    const bool enabled = window.IsWindowEnabled();
    painter.fillRect(
        clientRectOf(window, widget),
        option.palette.color(enabled && !readOnly ? QPalette::Base : QPalette::Window));
    drawControlBorder(painter, window, widget);
    const bool focused = hasWindowFocus(window) && enabled;
    const Selection sel = selectionOf(window);
    layoutOf(window, widget)
        .draw(painter, option.palette, sel.start, sel.end,
              focused || (window.GetStyle() & ES_NOHIDESEL), focused);
  }

  void mousePress(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const override {
    if (event.button() != Qt::LeftButton) return;
    const QPoint at = event.position().toPoint();
    Person::mouseDown(&window, clientPointOf(widget, at), event.modifiers() & Qt::ShiftModifier,
                      event.modifiers() & Qt::ControlModifier);
    if (!IsWindow(&window) || !window.IsWindowEnabled()) return;
    if (!hasWindowFocus(window)) window.SetFocus();
    if (!IsWindow(&window)) return;
    const int index = layoutOf(window, widget).indexAt(at);
    window.SendMessage(EM_SETSEL, static_cast<WPARAM>(index), index);
  }

  void mouseMove(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const override {
    ControlRenderer::mouseMove(window, widget, event);
    if (!(event.buttons() & Qt::LeftButton) || !IsWindow(&window) || !hasWindowFocus(window))
      return;
    // Selecting: the selection keeps its start and ends under the mouse.
    const int index = layoutOf(window, widget).indexAt(event.position().toPoint());
    const Selection sel = selectionOf(window);
    if (index != sel.end) window.SendMessage(EM_SETSEL, static_cast<WPARAM>(sel.start), index);
  }
};

}  // namespace

const ControlRenderer& editRenderer() {
  static const EditRenderer renderer;
  return renderer;
}

}  // namespace krv::qt
