#include "platform/qt/window_mirror.h"

#include <algorithm>
#include <cwctype>

#include "platform/qt/control_renderer.h"
#include "platform/qt/paint_capture.h"
#include "platform/qt/qt_convert.h"
#include "platform/win/gdi.h"

namespace krv::qt {

QRect widgetGeometry(const CWnd& window) {
  QRect r = toQRect(window.windowRectInParent());
  const CWnd* parent = window.treeParent();
  // A top-level parent's widget shows only its client area, where the
  // child's coordinates start; any other parent's widget has its border.
  if (parent && parent->treeParent()) {
    const CRect in = parent->nonClientInsets();
    r.translate(in.left, in.top);
  }
  return r;
}

bool letsMouseThrough(const CWnd& window) {
  const DWORD style = window.GetStyle();
  if (!(style & WS_CHILD)) return false;
  if (!window.IsWindowEnabled()) return true;
  std::wstring name = window.className();
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
  if (name == L"STATIC") return (style & SS_NOTIFY) == 0;
  if (name == L"BUTTON") return (style & BS_TYPEMASK) == BS_GROUPBOX;
  return false;
}

WindowMirror::WindowMirror() = default;

WindowMirror::~WindowMirror() {
  if (mFollowAll) krv::win::removeGlobalWindowObserver(this);
  for (CWnd* root : mRoots)
    if (IsWindow(root->GetSafeHwnd())) root->removeObserver(this);
  std::vector<MirrorWidget*> tops;
  for (auto& [window, widget] : mWidgets) {
    if (!widget) continue;
    widget->forgetWindow();
    if (widget->clientOnly()) tops.push_back(widget.data());
  }
  mWidgets.clear();
  for (MirrorWidget* top : tops) delete top;
}

MirrorWidget* WindowMirror::mirror(CWnd& root) {
  if (MirrorWidget* existing = widgetFor(&root)) return existing;
  root.addObserver(this);
  mRoots.push_back(&root);
  return build(root, nullptr);
}

void WindowMirror::followAllWindows() {
  if (mFollowAll) return;
  mFollowAll = true;
  krv::win::addGlobalWindowObserver(this);
  for (CWnd* top : krv::win::topLevelWindows()) {
    if (widgetFor(top)) continue;
    MirrorWidget* widget = build(*top, nullptr);
    syncTopLevel(*top, *widget);
  }
}

MirrorWidget* WindowMirror::widgetFor(const CWnd* window) const {
  auto it = mWidgets.find(window);
  return it == mWidgets.end() ? nullptr : it->second.data();
}

MirrorWidget* WindowMirror::build(CWnd& window, MirrorWidget* parentWidget) {
  auto* widget = new MirrorWidget(window, parentWidget == nullptr, parentWidget);
  mWidgets[&window] = widget;
  place(window, *widget);
  // Children are listed top first; a widget made later lies above the
  // earlier ones, so the bottom child is made first.
  const auto& children = window.children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) build(**it, widget);
  if (parentWidget == nullptr && mFollowAll && onTopLevelCreated)
    onTopLevelCreated(window, *widget);
  return widget;
}

void WindowMirror::place(CWnd& window, MirrorWidget& widget) {
  if (CFont* font = window.GetFont()) widget.setFont(toQFont(font->logFont()));
  if (widget.clientOnly()) {
    CRect client;
    window.GetClientRect(&client);
    widget.resize(std::max(1, client.Width()), std::max(1, client.Height()));
    if (mFollowAll) syncTopLevel(window, widget);
    return;
  }
  widget.setGeometry(widgetGeometry(window));
  widget.setVisible((window.GetStyle() & WS_VISIBLE) != 0);
  widget.setEnabled(true);  // disabled windows ignore Person actions themselves
  widget.setAttribute(Qt::WA_TransparentForMouseEvents, letsMouseThrough(window));
  rendererFor(window).placed(window, widget);
}

void WindowMirror::syncTopLevel(CWnd& window, MirrorWidget& widget) {
  widget.setWindowTitle(toQString(window.GetWindowText()));
  CPoint origin(0, 0);
  window.ClientToScreen(&origin);
  widget.move(origin.x, origin.y);
  const bool visible = (window.GetStyle() & WS_VISIBLE) != 0;
  if (visible != widget.isVisible()) widget.setVisible(visible);
  // A disabled window (the owner of a running modal dialog) takes no input.
  widget.setEnabled(window.IsWindowEnabled() != FALSE);
}

void WindowMirror::restack(CWnd& parent) {
  const auto& children = parent.children();
  for (auto it = children.rbegin(); it != children.rend(); ++it)
    if (MirrorWidget* w = widgetFor(*it)) w->raise();
}

void WindowMirror::drop(CWnd& window) {
  for (CWnd* child : window.children()) drop(*child);
  auto it = mWidgets.find(&window);
  if (it == mWidgets.end()) return;
  QPointer<MirrorWidget> widget = it->second;
  mWidgets.erase(it);
  mRoots.erase(std::remove(mRoots.begin(), mRoots.end(), &window), mRoots.end());
  if (!widget) return;
  widget->forgetWindow();
  widget->hide();
  // The widget may be handling the very event that destroyed its window.
  widget->deleteLater();
}

void WindowMirror::windowChanged(CWnd& window, WindowChange change) {
  MirrorWidget* widget = widgetFor(&window);
  switch (change) {
    case WindowChange::Created: {
      if (widget) return;
      CWnd* parent = window.treeParent();
      if (parent) {
        if (MirrorWidget* parentWidget = widgetFor(parent)) {
          build(window, parentWidget);
          restack(*parent);
        }
      } else if (mFollowAll) {
        MirrorWidget* made = build(window, nullptr);
        syncTopLevel(window, *made);
      }
      return;
    }
    case WindowChange::Destroyed:
      drop(window);
      return;
    case WindowChange::Parent: {
      drop(window);
      CWnd* parent = window.treeParent();
      if (parent && widgetFor(parent)) {
        build(window, widgetFor(parent));
        restack(*parent);
      }
      return;
    }
    default:
      break;
  }
  if (!widget) return;
  switch (change) {
    case WindowChange::Rect:
    case WindowChange::Style:
      place(window, *widget);
      // The border may have changed, and with it where the children lie.
      for (CWnd* child : window.children())
        if (MirrorWidget* w = widgetFor(child)) place(*child, *w);
      widget->update();
      break;
    case WindowChange::Enabled:
      if (widget->clientOnly())
        widget->setEnabled(window.IsWindowEnabled() != FALSE);
      else
        widget->setAttribute(Qt::WA_TransparentForMouseEvents, letsMouseThrough(window));
      widget->update();
      break;
    case WindowChange::Visibility:
    case WindowChange::Font:
      place(window, *widget);
      widget->update();
      break;
    case WindowChange::ZOrder:
      if (CWnd* parent = window.treeParent()) restack(*parent);
      break;
    case WindowChange::Text:
      if (widget->clientOnly()) widget->setWindowTitle(toQString(window.GetWindowText()));
      widget->update();
      break;
    case WindowChange::Invalidated:
      if (isCapturingPaint(&window)) break;
      widget->update();
      break;
    case WindowChange::Focus:
      // The focus mark leaves one control and reaches another.
      widget->window()->update();
      break;
    default:
      widget->update();
      break;
  }
}

}  // namespace krv::qt
