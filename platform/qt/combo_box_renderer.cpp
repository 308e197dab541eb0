#include "platform/qt/combo_box_renderer.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QStyleOptionComboBox>

#include "platform/qt/control_paint.h"
#include "platform/qt/edit_layout.h"
#include "platform/qt/item_rows.h"
#include "platform/qt/mirror_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/win/combo_box.h"
#include "platform/win/person.h"

namespace krv::qt {

namespace {

using krv::win::Person;

int kindOf(const CWnd& window) { return static_cast<int>(window.GetStyle() & 3); }
bool isSimple(const CWnd& window) { return kindOf(window) == static_cast<int>(CBS_SIMPLE); }
bool hasEditField(const CWnd& window) {
  return kindOf(window) != static_cast<int>(CBS_DROPDOWNLIST);
}

QStyleOptionComboBox closedOption(const CWnd& window, const MirrorWidget& widget) {
  QStyleOptionComboBox option;
  initOption(option, window, widget);
  option.rect = QRect(0, 0, widget.width(), comboFieldHeight(widget));
  option.editable = hasEditField(window);
  option.frame = true;
  option.currentText = toQString(window.GetWindowText());
  option.subControls = QStyle::SC_All;
  if (auto* combo = dynamic_cast<const CComboBox*>(&window); combo && combo->GetDroppedState())
    option.state |= QStyle::State_On;
  return option;
}

QRect editFieldOf(const CWnd& window, const MirrorWidget& widget) {
  if (isSimple(window))
    return QRect(0, 0, widget.width(), comboFieldHeight(widget)).adjusted(3, 2, -3, -2);
  const QStyleOptionComboBox option = closedOption(window, widget);
  return controlStyle()
      .subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &widget)
      .adjusted(1, 0, -1, 0);
}

QRect listAreaOf(const MirrorWidget& widget) {
  return QRect(0, comboFieldHeight(widget), widget.width(),
               widget.height() - comboFieldHeight(widget))
      .adjusted(1, 1, -1, -1);
}

EditLayout editLayoutOf(const CWnd& window, const MirrorWidget& widget) {
  auto* combo = dynamic_cast<const CComboBox*>(&window);
  const int caret = combo ? HIWORD(combo->GetEditSel()) : 0;
  return EditLayout(toQString(window.GetWindowText()), widget.font(), editFieldOf(window, widget),
                    caret, {});
}

// Opens the popup of the items below the closed box; the chosen item is
// chosen as a person chooses it.
void openPopup(CWnd& window, MirrorWidget& widget) {
  auto* combo = dynamic_cast<CComboBox*>(&window);
  if (!combo || !window.IsWindowEnabled()) return;
  if (!hasWindowFocus(window)) window.SetFocus();
  if (!IsWindow(&window) || combo->GetCount() == 0) return;
  QMenu menu(&widget);
  menu.setObjectName("combo-popup");
  menu.setMinimumWidth(widget.width());
  for (int i = 0; i < combo->GetCount(); ++i) {
    QAction* action = menu.addAction(toQString(combo->itemText(i)));
    action->setData(i);
    action->setCheckable(true);
    action->setChecked(i == combo->GetCurSel());
  }
  if (QAction* current = menu.actions().value(combo->GetCurSel())) menu.setActiveAction(current);
  QPointer<MirrorWidget> guard(&widget);
  QAction* chosen = menu.exec(widget.mapToGlobal(QPoint(0, comboFieldHeight(widget))));
  if (!chosen || !guard || !guard->cwnd()) return;
  Person::choose(guard->cwnd(), chosen->data().toInt());
}

class ComboBoxRenderer : public ControlRenderer {
 public:
  void paint(QPainter& painter, CWnd& window, MirrorWidget& widget) const override {
    auto* combo = dynamic_cast<CComboBox*>(&window);
    const bool focused = hasWindowFocus(window) && window.IsWindowEnabled();
    QStyleOptionComboBox option = closedOption(window, widget);
    QStyle& style = controlStyle();
    if (isSimple(window)) {
      const QRect field(0, 0, widget.width(), comboFieldHeight(widget));
      const QRect list(0, field.bottom() + 1, widget.width(), widget.height() - field.height());
      for (const QRect& r : {field, list}) {
        painter.fillRect(r, option.palette.color(QPalette::Base));
        painter.setPen(option.palette.color(QPalette::Mid));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
      }
      if (combo) {
        const ItemRows rows(listAreaOf(widget), widget.font(), combo->GetCount(),
                            combo->GetCurSel());
        ItemRows::Look look;
        look.text = [combo](int i) { return toQString(combo->itemText(i)); };
        look.selected = [combo](int i) { return i == combo->GetCurSel(); };
        rows.draw(painter, option.palette, look);
      }
    } else {
      style.drawComplexControl(QStyle::CC_ComboBox, &option, &painter, &widget);
      if (!hasEditField(window)) {
        style.drawControl(QStyle::CE_ComboBoxLabel, &option, &painter, &widget);
        return;
      }
    }
    const DWORD sel = combo ? combo->GetEditSel() : 0;
    editLayoutOf(window, widget)
        .draw(painter, option.palette, LOWORD(sel), HIWORD(sel), focused, focused);
  }

  void mousePress(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const override {
    if (event.button() != Qt::LeftButton || !window.IsWindowEnabled()) return;
    const QPoint at = event.position().toPoint();
    if (isSimple(window)) {
      auto* combo = dynamic_cast<CComboBox*>(&window);
      const int item =
          combo ? ItemRows(listAreaOf(widget), widget.font(), combo->GetCount(), combo->GetCurSel())
                      .itemAt(at)
                : -1;
      if (item >= 0) {
        Person::choose(&window, item);
        return;
      }
    }
    if (hasEditField(window)) {
      const bool onArrow = !isSimple(window) && !editFieldOf(window, widget).contains(at) &&
                           at.y() < comboFieldHeight(widget);
      if (!onArrow) {
        if (!hasWindowFocus(window)) window.SetFocus();
        if (auto* combo = dynamic_cast<CComboBox*>(&window); combo && IsWindow(&window)) {
          const int index = editLayoutOf(window, widget).indexAt(at);
          combo->SetEditSel(index, index);
          widget.update();
        }
        return;
      }
    }
    if (at.y() < comboFieldHeight(widget)) openPopup(window, widget);
  }

  void mouseRelease(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const override {
    if (event.button() == Qt::RightButton) ControlRenderer::mouseRelease(window, widget, event);
  }
  void mouseDoubleClick(CWnd&, MirrorWidget&, QMouseEvent&) const override {}

  // A drop-down's window is as high as its list would be; only the closed
  // box is the combo's, the rest belongs to the controls below it.
  void placed(CWnd& window, MirrorWidget& widget) const override {
    if (isSimple(window))
      widget.clearMask();
    else
      widget.setMask(QRegion(0, 0, widget.width(), comboFieldHeight(widget)));
  }

  void keyPress(CWnd& window, MirrorWidget& widget, QKeyEvent& event) const override {
    const bool altDown = event.key() == Qt::Key_Down && (event.modifiers() & Qt::AltModifier);
    if (!isSimple(window) && (event.key() == Qt::Key_F4 || altDown)) {
      openPopup(window, widget);
      return;
    }
    ControlRenderer::keyPress(window, widget, event);
  }
};

}  // namespace

int comboFieldHeight(const MirrorWidget& widget) {
  const int wanted = QFontMetrics(widget.font()).height() + 8;
  return std::min(std::max(1, widget.height()), wanted);
}

const ControlRenderer& comboBoxRenderer() {
  static const ComboBoxRenderer renderer;
  return renderer;
}

}  // namespace krv::qt
