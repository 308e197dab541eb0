#include "platform/qt/button_renderer.h"

#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include "platform/qt/control_paint.h"
#include "platform/qt/mirror_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/win/button.h"
#include "platform/win/person.h"

namespace krv::qt {

namespace {

enum class Look { Push, Check, Radio, Group, OwnerDrawn };

Look lookOf(const CWnd& window) {
  const DWORD style = window.GetStyle();
  switch (style & BS_TYPEMASK) {
    case BS_GROUPBOX:
      return Look::Group;
    case BS_OWNERDRAW:
      return Look::OwnerDrawn;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return (style & BS_PUSHLIKE) ? Look::Push : Look::Check;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return (style & BS_PUSHLIKE) ? Look::Push : Look::Radio;
    default:
      return Look::Push;
  }
}

// The picture a BS_ICON or BS_BITMAP button shows instead of its text.
QImage pictureOf(const CButton* button) {
  if (!button) return QImage();
  const DWORD style = button->GetStyle();
  if (style & BS_ICON) return iconPicture(button->GetIcon());
  if (style & BS_BITMAP) return bitmapPicture(button->GetBitmap());
  return QImage();
}

// The default button's outline and the focus mark inside a focused one.
void drawPushMarks(QPainter& painter, const QStyleOptionButton& option, bool isDefault) {
  painter.save();
  painter.setBrush(Qt::NoBrush);
  if (isDefault && (option.state & QStyle::State_Enabled)) {
    painter.setPen(QPen(option.palette.color(QPalette::Highlight), 1));
    painter.drawRoundedRect(QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
  }
  if (option.state & QStyle::State_HasFocus) {
    QPen pen(option.palette.color(QPalette::ButtonText));
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.drawRect(option.rect.adjusted(3, 3, -4, -4));
  }
  painter.restore();
}

class ButtonRenderer : public ControlRenderer {
 public:
  void paint(QPainter& painter, CWnd& window, MirrorWidget& widget) const override {
    const Look look = lookOf(window);
    if (look == Look::OwnerDrawn) {
      genericRenderer().paint(painter, window, widget);
      return;
    }
    auto* button = dynamic_cast<CButton*>(&window);
    const QString text = toQString(window.GetWindowText());
    QStyle& style = controlStyle();
    if (look == Look::Group) {
      QStyleOptionGroupBox option;
      initOption(option, window, widget);
      option.state &= ~QStyle::State_HasFocus;
      option.text = text;
      option.textAlignment = Qt::AlignLeft;
      option.textColor = option.palette.color(QPalette::WindowText);
      option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
      option.lineWidth = 1;
      style.drawComplexControl(QStyle::CC_GroupBox, &option, &painter, &widget);
      return;
    }
    QStyleOptionButton option;
    initOption(option, window, widget);
    const QImage picture = pictureOf(button);
    if (!picture.isNull()) {
      option.icon = QIcon(QPixmap::fromImage(picture));
      option.iconSize = picture.size();
    } else {
      option.text = text;
    }
    const int check = button ? button->GetCheck() : BST_UNCHECKED;
    const bool pushed = button && (button->GetState() & 0x4);
    if (check == BST_CHECKED)
      option.state |= QStyle::State_On;
    else if (check == BST_INDETERMINATE)
      option.state |= QStyle::State_NoChange;
    else
      option.state |= QStyle::State_Off;
    switch (look) {
      case Look::Check:
      case Look::Radio:
        if (pushed) option.state |= QStyle::State_Sunken;
        if (window.GetStyle() & BS_LEFTTEXT) option.direction = Qt::RightToLeft;
        style.drawControl(look == Look::Check ? QStyle::CE_CheckBox : QStyle::CE_RadioButton,
                          &option, &painter, &widget);
        break;
      default:
        option.state |=
            (pushed || check == BST_CHECKED) ? QStyle::State_Sunken : QStyle::State_Raised;
        if (button && button->isDefaultButton())
          option.features |= QStyleOptionButton::DefaultButton;
        if (window.GetStyle() & BS_FLAT) option.features |= QStyleOptionButton::Flat;
        style.drawControl(QStyle::CE_PushButton, &option, &painter, &widget);
        drawPushMarks(painter, option, button && button->isDefaultButton());
        break;
    }
  }

  void mousePress(CWnd& window, MirrorWidget&, QMouseEvent& event) const override {
    if (event.button() != Qt::LeftButton || !window.IsWindowEnabled()) return;
    if (lookOf(window) == Look::Group) return;
    window.SendMessage(BM_SETSTATE, TRUE);
  }

  void mouseRelease(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const override {
    if (event.button() != Qt::LeftButton) return;
    if (lookOf(window) == Look::Group) return;
    window.SendMessage(BM_SETSTATE, FALSE);
    if (widget.rect().contains(event.position().toPoint())) krv::win::Person::click(&window);
  }

  void mouseDoubleClick(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const override {
    // The second press of a double click is one more press.
    mousePress(window, widget, event);
  }

  bool takesFocus(const CWnd& window) const override { return lookOf(window) != Look::Group; }
};

}  // namespace

const ControlRenderer& buttonRenderer() {
  static const ButtonRenderer renderer;
  return renderer;
}

}  // namespace krv::qt
