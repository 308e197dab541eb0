// CWnd, and the window system's shared state: the registry of live windows, message-map look-ups
// and global observers.
#include "platform/win/wnd.h"

#include <algorithm>
#include <cwchar>
#include <unordered_set>

#include "platform/win/event_loop.h"
#include "platform/win/window_class.h"
#include "platform/win/window_observer.h"

namespace {

struct WindowRegistry {
  std::unordered_set<const CWnd*> live;
  std::vector<CWnd*> topLevel;
  CWnd* focus = nullptr;
  std::vector<MSG> current;  // messages being handled, innermost last
  std::vector<WindowObserver*> globalObservers;
};

WindowRegistry& registry() {
  static WindowRegistry r;
  return r;
}

struct CurrentMessage {
  CurrentMessage(HWND h, UINT m, WPARAM w, LPARAM l) {
    MSG msg;
    msg.hwnd = h, msg.message = m, msg.wParam = w, msg.lParam = l;
    registry().current.push_back(msg);
  }
  ~CurrentMessage() { registry().current.pop_back(); }
};

bool inSubtree(const CWnd* root, const CWnd* w) {
  for (; w; w = w->treeParent()) {
    if (w == root) return true;
    if (!(w->GetStyle() & WS_CHILD)) break;
  }
  return false;
}

}  // namespace

namespace krv::win {
CRect screenRect() { return CRect(0, 0, 1920, 1080); }
std::vector<CWnd*> topLevelWindows() { return registry().topLevel; }
std::size_t liveWindowCount() { return registry().live.size(); }
void addGlobalWindowObserver(WindowObserver* observer) {
  registry().globalObservers.push_back(observer);
}
void removeGlobalWindowObserver(WindowObserver* observer) {
  auto& v = registry().globalObservers;
  v.erase(std::remove(v.begin(), v.end(), observer), v.end());
}
}  // namespace krv::win

// ---------------------------------------------------------------------------
// Message map of CWnd: the root of every chain.

namespace krv::win {
const MsgMapEntry* findMessageEntry(const MsgMap* map, UINT message) {
  for (; map; map = map->base ? map->base() : nullptr)
    for (const MsgMapEntry* e = map->entries; e && e->kind != MsgKind::End; ++e)
      if (e->kind == MsgKind::Message && e->message == message) return e;
  return nullptr;
}
static const MsgMapEntry* findRouted(const MsgMap* map, MsgKind kind, UINT code, UINT id) {
  for (; map; map = map->base ? map->base() : nullptr)
    for (const MsgMapEntry* e = map->entries; e && e->kind != MsgKind::End; ++e)
      if (e->kind == kind && e->code == code && id >= e->idFirst && id <= e->idLast) return e;
  return nullptr;
}
const MsgMapEntry* findCommandEntry(const MsgMap* map, UINT code, UINT id) {
  return findRouted(map, MsgKind::Command, code, id);
}
const MsgMapEntry* findNotifyEntry(const MsgMap* map, UINT code, UINT id) {
  return findRouted(map, MsgKind::Notify, code, id);
}
}  // namespace krv::win

const krv::win::MsgMap* CWnd::GetThisMessageMap() {
  static const krv::win::MsgMapEntry kEntries[] = {krv::win::MsgMapEntry{}};
  static const krv::win::MsgMap kMap{nullptr, kEntries};
  return &kMap;
}
const krv::win::MsgMap* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

// ---------------------------------------------------------------------------

CWnd::CWnd() = default;

CWnd::~CWnd() {
  mSystemOwned = false;  // being deleted already
  if (m_hWnd) destroyTree();
}

CWnd* CWnd::FromHandle(HWND hWnd) { return IsWindow(hWnd) ? hWnd : nullptr; }

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, void*) {
  return CreateEx(0, className, windowName, style, rect, parent, id);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, void*) {
  auto& reg = registry();
  if (m_hWnd) return FALSE;
  if (parent && !IsWindow(parent)) return FALSE;
  if ((style & WS_CHILD) && !parent) return FALSE;
  mClassName = className ? className : L"";
  mText = windowName ? windowName : L"";
  mStyle = style;
  mExStyle = exStyle;
  mRect = rect;
  mId = id;
  mInvalid = true;
  mEraseRequested = true;
  m_hWnd = this;
  reg.live.insert(this);
  if (style & WS_CHILD) {
    mParent = parent;
    mOwner = nullptr;
    mParent->mChildren.push_back(this);  // below its elder siblings
  } else {
    mParent = nullptr;
    mOwner = parent;
    reg.topLevel.push_back(this);
  }
  CREATESTRUCT cs;
  cs.lpszName = mText.c_str();
  cs.lpszClass = mClassName.c_str();
  cs.style = style;
  cs.dwExStyle = exStyle;
  cs.x = rect.left, cs.y = rect.top;
  cs.cx = mRect.Width(), cs.cy = mRect.Height();
  cs.hwndParent = parent;
  cs.id = id;
  if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    if (m_hWnd) destroyTree();
    return FALSE;
  }
  if (!m_hWnd) return FALSE;
  for (auto* o : std::vector<WindowObserver*>(reg.globalObservers))
    o->windowChanged(*this, WindowChange::Created);
  notifyChange(WindowChange::Created);
  CRect client;
  GetClientRect(&client);
  SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
  if (m_hWnd && (mStyle & WS_VISIBLE)) SendMessage(WM_SHOWWINDOW, TRUE, 0);
  return m_hWnd != nullptr;
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd || mRefuseDestroy || mDestroying) return FALSE;
  destroyTree();
  return TRUE;
}

void CWnd::destroyTree() {
  auto& reg = registry();
  mDestroying = true;
  notifyChange(WindowChange::Destroyed);
  for (auto* o : std::vector<WindowObserver*>(reg.globalObservers))
    o->windowChanged(*this, WindowChange::Destroyed);
  if (reg.focus && inSubtree(this, reg.focus)) reg.focus = nullptr;
  // Owned top-level windows go with their owner.
  for (CWnd* w : std::vector<CWnd*>(reg.topLevel))
    if (w != this && w->mOwner == this && IsWindow(w)) w->destroyTree();
  SendMessage(WM_DESTROY);
  for (CWnd* child : std::vector<CWnd*>(mChildren))
    if (IsWindow(child)) child->destroyTree();
  krv::win::EventLoop::instance().killWindowTimers(this);
  SendMessage(WM_NCDESTROY);
  removeFromParent();
  reg.topLevel.erase(std::remove(reg.topLevel.begin(), reg.topLevel.end(), this),
                     reg.topLevel.end());
  for (CWnd* w : reg.topLevel)
    if (w->mOwner == this) w->mOwner = nullptr;
  reg.live.erase(this);
  m_hWnd = nullptr;
  mDestroying = false;
  PostNcDestroy();
  if (mSystemOwned) delete this;
}

void CWnd::removeFromParent() {
  if (!mParent) return;
  auto& v = mParent->mChildren;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
  mParent = nullptr;
}

void CWnd::placeInParent(CWnd* insertAfter) {
  if (!mParent) return;
  auto& v = mParent->mChildren;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
  if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
    v.insert(v.begin(), this);
  } else if (insertAfter == HWND_BOTTOM) {
    v.push_back(this);
  } else {
    auto it = std::find(v.begin(), v.end(), insertAfter);
    v.insert(it == v.end() ? v.end() : it + 1, this);
  }
}

// --- Identity, text, styles ------------------------------------------------

int CWnd::SetDlgCtrlID(int id) {
  int old = static_cast<int>(mId);
  mId = static_cast<UINT>(id);
  return old;
}

void CWnd::SetWindowText(LPCWSTR text) {
  if (!m_hWnd) {
    mText = text ? text : L"";
    return;
  }
  SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L""));
}

std::wstring CWnd::GetWindowText() const {
  if (!m_hWnd) return mText;
  auto* self = const_cast<CWnd*>(this);
  auto len = static_cast<std::size_t>(self->SendMessage(WM_GETTEXTLENGTH));
  std::wstring buffer(len + 1, L'\0');
  auto got = static_cast<std::size_t>(
      self->SendMessage(WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(buffer.data())));
  buffer.resize(std::min(got, len));
  return buffer;
}

int CWnd::GetWindowText(LPWSTR buffer, int maxCount) const {
  if (!buffer || maxCount <= 0) return 0;
  std::wstring text = GetWindowText();
  auto n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(maxCount - 1));
  std::wmemcpy(buffer, text.data(), n);
  buffer[n] = L'\0';
  return static_cast<int>(n);
}

int CWnd::GetWindowTextLength() const { return static_cast<int>(GetWindowText().size()); }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
  DWORD style = (mStyle & ~remove) | add;
  if (style == mStyle) return FALSE;
  bool visibleChanged = (style ^ mStyle) & WS_VISIBLE;
  bool enabledChanged = (style ^ mStyle) & WS_DISABLED;
  mStyle = style;
  if (m_hWnd) {
    notifyChange(WindowChange::Style);
    if (visibleChanged) notifyChange(WindowChange::Visibility);
    if (enabledChanged) notifyChange(WindowChange::Enabled);
    if (flags) SetWindowPos(nullptr, 0, 0, 0, 0, flags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  }
  return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
  DWORD style = (mExStyle & ~remove) | add;
  if (style == mExStyle) return FALSE;
  mExStyle = style;
  if (m_hWnd) {
    notifyChange(WindowChange::Style);
    if (flags) SetWindowPos(nullptr, 0, 0, 0, 0, flags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  }
  return TRUE;
}

// --- Geometry ----------------------------------------------------------------

CRect CWnd::nonClientInsets() const {
  int b = 0;
  if (mStyle & WS_THICKFRAME)
    b = 4;
  else if ((mStyle & WS_DLGFRAME) || (mExStyle & WS_EX_DLGMODALFRAME))
    b = 3;
  else if (mStyle & WS_BORDER)
    b = 1;
  if (mExStyle & WS_EX_CLIENTEDGE) b += 2;
  if (mExStyle & WS_EX_STATICEDGE) b += 1;
  int caption = ((mStyle & WS_CAPTION) == WS_CAPTION) ? 20 : 0;
  return CRect(b, b + caption, b, b);
}

void CWnd::GetWindowRect(LPRECT rect) const {
  if (!rect) return;
  CRect r = mRect;
  if (mParent) {
    CPoint origin(0, 0);
    mParent->ClientToScreen(&origin);
    r.OffsetRect(origin);
  }
  *rect = r;
}

void CWnd::GetClientRect(LPRECT rect) const {
  if (!rect) return;
  CRect in = nonClientInsets();
  *rect = CRect(0, 0, std::max(0, mRect.Width() - in.left - in.right),
                std::max(0, mRect.Height() - in.top - in.bottom));
}

void CWnd::ClientToScreen(LPPOINT point) const {
  if (!point) return;
  CRect w;
  GetWindowRect(&w);
  CRect in = nonClientInsets();
  point->x += w.left + in.left;
  point->y += w.top + in.top;
}

void CWnd::ClientToScreen(LPRECT rect) const {
  if (!rect) return;
  CPoint p(0, 0);
  ClientToScreen(&p);
  CRect r(*rect);
  r.OffsetRect(p);
  *rect = r;
}

void CWnd::ScreenToClient(LPPOINT point) const {
  if (!point) return;
  CPoint p(0, 0);
  ClientToScreen(&p);
  point->x -= p.x;
  point->y -= p.y;
}

void CWnd::ScreenToClient(LPRECT rect) const {
  if (!rect) return;
  CPoint p(0, 0);
  ClientToScreen(&p);
  CRect r(*rect);
  r.OffsetRect(-p.x, -p.y);
  *rect = r;
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  if (!m_hWnd) return FALSE;
  CRect old = mRect;
  CRect r = mRect;
  if (!(flags & SWP_NOMOVE)) r = CRect(x, y, x + old.Width(), y + old.Height());
  if (!(flags & SWP_NOSIZE))
    r = CRect(r.left, r.top, r.left + std::max(0, cx), r.top + std::max(0, cy));
  bool moved = !(r.TopLeft() == old.TopLeft());
  bool sized = !(r.Size() == old.Size());
  mRect = r;
  if (!(flags & SWP_NOZORDER) && mParent) {
    placeInParent(const_cast<CWnd*>(insertAfter));
    notifyChange(WindowChange::ZOrder);
  }
  if (moved || sized) notifyChange(WindowChange::Rect);
  if (flags & SWP_SHOWWINDOW) ShowWindow(SW_SHOWNA);
  if (flags & SWP_HIDEWINDOW) ShowWindow(SW_HIDE);
  if (moved && m_hWnd) SendMessage(WM_MOVE, 0, MAKELPARAM(r.left, r.top));
  if (sized && m_hWnd) {
    CRect client;
    GetClientRect(&client);
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.Width(), client.Height()));
  }
  if ((moved || sized) && !(flags & SWP_NOREDRAW) && m_hWnd) Invalidate();
  return TRUE;
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  SetWindowPos(nullptr, x, y, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
  if (rect)
    MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
  CWnd* over = alternateOwner ? alternateOwner : GetOwner();
  CRect area = krv::win::screenRect();
  if (over && IsWindow(over)) over->GetWindowRect(&area);
  CRect me;
  GetWindowRect(&me);
  int x = area.left + (area.Width() - me.Width()) / 2;
  int y = area.top + (area.Height() - me.Height()) / 2;
  if (mParent) {
    CPoint p(x, y);
    mParent->ScreenToClient(&p);
    x = p.x, y = p.y;
  }
  SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

// --- Visibility, enabled state, painting ------------------------------------

BOOL CWnd::ShowWindow(int cmdShow) {
  if (!m_hWnd) return FALSE;
  bool was = mStyle & WS_VISIBLE;
  bool show = cmdShow != SW_HIDE;
  if (was != show) {
    SendMessage(WM_SHOWWINDOW, show, 0);
    if (!m_hWnd) return was;
    if (show)
      mStyle |= WS_VISIBLE;
    else
      mStyle &= ~WS_VISIBLE;
    if (!show && registry().focus && inSubtree(this, registry().focus)) registry().focus = nullptr;
    notifyChange(WindowChange::Visibility);
    if (show) Invalidate();
  }
  return was;
}

BOOL CWnd::IsWindowVisible() const {
  if (!m_hWnd) return FALSE;
  for (const CWnd* w = this; w; w = w->mParent)
    if (!(w->mStyle & WS_VISIBLE)) return FALSE;
  return TRUE;
}

BOOL CWnd::EnableWindow(BOOL enable) {
  if (!m_hWnd) return FALSE;
  bool wasDisabled = mStyle & WS_DISABLED;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable)
    mStyle &= ~WS_DISABLED;
  else
    mStyle |= WS_DISABLED;
  if (!enable && registry().focus && inSubtree(this, registry().focus)) registry().focus = nullptr;
  notifyChange(WindowChange::Enabled);
  SendMessage(WM_ENABLE, enable ? TRUE : FALSE);
  Invalidate();
  return wasDisabled;
}

void CWnd::Invalidate(BOOL erase) {
  if (!m_hWnd) return;
  mInvalid = true;
  mEraseRequested = mEraseRequested || erase;
  notifyChange(WindowChange::Invalidated);
}

void CWnd::InvalidateRect(LPCRECT, BOOL erase) { Invalidate(erase); }

void CWnd::UpdateWindow() {
  if (m_hWnd && mInvalid) SendMessage(WM_PAINT);
}

bool CWnd::beginPaint() {
  bool erase = mEraseRequested;
  mInvalid = false;
  mEraseRequested = false;
  return erase;
}

// --- Tree ----------------------------------------------------------------------

CWnd* CWnd::GetParent() const {
  if (mParent) return mParent;
  return (mStyle & WS_POPUP) ? mOwner : nullptr;
}

CWnd* CWnd::SetParent(CWnd* newParent) {
  if (!m_hWnd || (newParent && !IsWindow(newParent))) return nullptr;
  CWnd* old = GetParent();
  if (newParent && (newParent == this || IsChild(newParent))) return nullptr;
  if (mStyle & WS_CHILD) {
    removeFromParent();
    if (newParent) {
      mParent = newParent;
      newParent->mChildren.push_back(this);
    }
  } else {
    mOwner = newParent;
  }
  notifyChange(WindowChange::Parent);
  return old;
}

CWnd* CWnd::GetTopLevelParent() const {
  const CWnd* w = this;
  while (w->mParent) w = w->mParent;
  return const_cast<CWnd*>(w);
}

CWnd* CWnd::GetDlgItem(int id) const {
  for (CWnd* c : mChildren)
    if (c->mId == static_cast<UINT>(id)) return c;
  return nullptr;
}

CWnd* CWnd::GetWindow(UINT relation) const {
  if (!m_hWnd) return nullptr;
  if (relation == GW_CHILD) return mChildren.empty() ? nullptr : mChildren.front();
  if (relation == GW_OWNER) return mOwner;
  if (!mParent) return nullptr;
  const auto& v = mParent->mChildren;
  auto it = std::find(v.begin(), v.end(), this);
  switch (relation) {
    case GW_HWNDFIRST:
      return v.front();
    case GW_HWNDLAST:
      return v.back();
    case GW_HWNDNEXT:
      return (it == v.end() || it + 1 == v.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV:
      return (it == v.begin() || it == v.end()) ? nullptr : *(it - 1);
    default:
      return nullptr;
  }
}

BOOL CWnd::IsChild(const CWnd* window) const {
  if (!window || window == this) return FALSE;
  for (const CWnd* w = window->mParent; w; w = w->mParent)
    if (w == this) return TRUE;
  return FALSE;
}

namespace {
bool isTabStop(const CWnd* w) {
  // The control's own state counts: a dialog being set up is not shown yet.
  const DWORD style = w->GetStyle();
  return (style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED);
}
}  // namespace

CWnd* CWnd::GetNextDlgTabItem(CWnd* control, BOOL previous) const {
  const auto& v = mChildren;
  if (v.empty()) return nullptr;
  const int n = static_cast<int>(v.size());
  auto it = std::find(v.begin(), v.end(), control);
  int start = it == v.end() ? (previous ? 0 : n - 1) : static_cast<int>(it - v.begin());
  for (int step = 1; step <= n; ++step) {
    int i = ((start + (previous ? -step : step)) % n + n) % n;
    if (isTabStop(v[i])) return v[i];
  }
  return nullptr;
}

std::vector<CWnd*> CWnd::groupOf(CWnd* control) const {
  const auto& v = mChildren;
  auto it = std::find(v.begin(), v.end(), control);
  if (it == v.end()) return {};
  auto first = it;
  while (first != v.begin() && !((*first)->GetStyle() & WS_GROUP)) --first;
  auto last = it + 1;
  while (last != v.end() && !((*last)->GetStyle() & WS_GROUP)) ++last;
  return std::vector<CWnd*>(first, last);
}

CWnd* CWnd::GetNextDlgGroupItem(CWnd* control, BOOL previous) const {
  auto group = groupOf(control);
  if (group.empty()) return nullptr;
  const int n = static_cast<int>(group.size());
  int start = static_cast<int>(std::find(group.begin(), group.end(), control) - group.begin());
  for (int step = 1; step <= n; ++step) {
    int i = ((start + (previous ? -step : step)) % n + n) % n;
    if (group[i]->IsWindowVisible() && group[i]->IsWindowEnabled()) return group[i];
  }
  return nullptr;
}

void CWnd::SetDlgItemText(int id, LPCWSTR text) {
  if (CWnd* w = GetDlgItem(id)) w->SetWindowText(text);
}

std::wstring CWnd::GetDlgItemText(int id) const {
  CWnd* w = GetDlgItem(id);
  return w ? w->GetWindowText() : std::wstring();
}

void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned) {
  std::wstring text = isSigned ? std::to_wstring(static_cast<int>(value)) : std::to_wstring(value);
  SetDlgItemText(id, text.c_str());
}

UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const {
  if (translated) *translated = FALSE;
  CWnd* w = GetDlgItem(id);
  if (!w) return 0;
  std::wstring text = w->GetWindowText();
  const wchar_t* begin = text.c_str();
  while (*begin == L' ') ++begin;
  if (!isSigned && *begin == L'-') return 0;
  wchar_t* end = nullptr;
  long long v = std::wcstoll(begin, &end, 10);
  if (end == begin) return 0;
  while (*end == L' ') ++end;
  if (*end != L'\0') return 0;
  if (isSigned ? (v < INT32_MIN || v > INT32_MAX) : (v > UINT32_MAX)) return 0;
  if (translated) *translated = TRUE;
  return static_cast<UINT>(v);
}

void CWnd::CheckDlgButton(int id, UINT check) { SendDlgItemMessage(id, BM_SETCHECK, check); }

UINT CWnd::IsDlgButtonChecked(int id) const {
  return static_cast<UINT>(SendDlgItemMessage(id, BM_GETCHECK));
}

void CWnd::CheckRadioButton(int firstId, int lastId, int checkId) {
  for (int id = firstId; id <= lastId; ++id)
    if (GetDlgItem(id)) CheckDlgButton(id, id == checkId ? BST_CHECKED : BST_UNCHECKED);
}

int CWnd::GetCheckedRadioButton(int firstId, int lastId) const {
  for (int id = firstId; id <= lastId; ++id)
    if (GetDlgItem(id) && IsDlgButtonChecked(id) == BST_CHECKED) return id;
  return 0;
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
  CWnd* w = GetDlgItem(id);
  return w ? w->SendMessage(message, wParam, lParam) : 0;
}

// --- Focus and font -------------------------------------------------------------

CWnd* CWnd::SetFocus() {
  auto& reg = registry();
  if (!m_hWnd) return nullptr;
  CWnd* old = reg.focus;
  if (old == this) return old;
  reg.focus = this;
  if (old && IsWindow(old)) old->SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(this));
  if (reg.focus == this && m_hWnd) {
    SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(IsWindow(old) ? old : nullptr));
    notifyChange(WindowChange::Focus);
  }
  return IsWindow(old) ? old : nullptr;
}

CWnd* CWnd::GetFocus() {
  CWnd* f = registry().focus;
  return IsWindow(f) ? f : nullptr;
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
  if (!m_hWnd) {
    mFont = font;
    return;
  }
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

// --- Messages --------------------------------------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_hWnd || !IsWindow(this)) return 0;
  return WindowProc(message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_hWnd) return FALSE;
  return krv::win::EventLoop::instance().post(this, message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (!m_hWnd) return 0;
  return krv::win::EventLoop::instance().setTimer(this, id, elapse, proc);
}

BOOL CWnd::KillTimer(UINT_PTR id) {
  return krv::win::EventLoop::instance().killTimer(m_hWnd, id) ? TRUE : FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  CurrentMessage guard(this, message, wParam, lParam);
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::Default() {
  auto& cur = registry().current;
  if (cur.empty() || cur.back().hwnd != this) return 0;
  MSG m = cur.back();
  return DefWindowProc(m.message, m.wParam, m.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  LRESULT r = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    *result = 0;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    if (!OnNotify(wParam, lParam, &r)) return FALSE;
    *result = r;
    return TRUE;
  }
  if (const auto* e = krv::win::findMessageEntry(GetMessageMap(), message)) {
    *result = e->call(this, wParam, lParam);
    return TRUE;
  }
  const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  const UINT key = static_cast<UINT>(wParam);
  const UINT rep = LOWORD(static_cast<std::uintptr_t>(lParam));
  const UINT kflags = HIWORD(static_cast<std::uintptr_t>(lParam));
  switch (message) {
    case WM_CREATE:
      r = OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
      break;
    case WM_DESTROY:
      OnDestroy();
      break;
    case WM_CLOSE:
      OnClose();
      break;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wParam), LOWORD(static_cast<std::uintptr_t>(lParam)),
             HIWORD(static_cast<std::uintptr_t>(lParam)));
      break;
    case WM_MOVE:
      OnMove(pt.x, pt.y);
      break;
    case WM_SHOWWINDOW:
      OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
      break;
    case WM_SETFOCUS:
      OnSetFocus(reinterpret_cast<CWnd*>(wParam));
      break;
    case WM_KILLFOCUS:
      OnKillFocus(reinterpret_cast<CWnd*>(wParam));
      break;
    case WM_PAINT:
      OnPaint();
      break;
    case WM_ERASEBKGND:
      r = OnEraseBkgnd(reinterpret_cast<CDC*>(wParam));
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOR: {
      UINT kind = message == WM_CTLCOLOREDIT     ? CTLCOLOR_EDIT
                  : message == WM_CTLCOLORBTN    ? CTLCOLOR_BTN
                  : message == WM_CTLCOLORDLG    ? CTLCOLOR_DLG
                  : message == WM_CTLCOLORSTATIC ? CTLCOLOR_STATIC
                                                 : CTLCOLOR_STATIC;
      r = reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<CDC*>(wParam),
                                               FromHandle(reinterpret_cast<HWND>(lParam)), kind));
      break;
    }
    case WM_SETCURSOR:
      r = OnSetCursor(FromHandle(reinterpret_cast<HWND>(wParam)),
                      LOWORD(static_cast<std::uintptr_t>(lParam)),
                      HIWORD(static_cast<std::uintptr_t>(lParam)));
      break;
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      break;
    case WM_LBUTTONDOWN:
      OnLButtonDown(key, pt);
      break;
    case WM_LBUTTONUP:
      OnLButtonUp(key, pt);
      break;
    case WM_LBUTTONDBLCLK:
      OnLButtonDblClk(key, pt);
      break;
    case WM_RBUTTONDOWN:
      OnRButtonDown(key, pt);
      break;
    case WM_RBUTTONUP:
      OnRButtonUp(key, pt);
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(key, pt);
      break;
    case WM_KEYDOWN:
      OnKeyDown(key, rep, kflags);
      break;
    case WM_KEYUP:
      OnKeyUp(key, rep, kflags);
      break;
    case WM_CHAR:
      OnChar(key, rep, kflags);
      break;
    default:
      return FALSE;
  }
  *result = r;
  return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT: {
      auto* text = reinterpret_cast<LPCWSTR>(lParam);
      std::wstring t = text ? text : L"";
      if (t != mText) {
        mText = std::move(t);
        notifyChange(WindowChange::Text);
        Invalidate();
      }
      return TRUE;
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(mText.size());
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<LPWSTR>(lParam);
      if (!buffer || wParam == 0) return 0;
      auto n = std::min<std::size_t>(mText.size(), wParam - 1);
      std::wmemcpy(buffer, mText.data(), n);
      buffer[n] = L'\0';
      return static_cast<LRESULT>(n);
    }
    case WM_SETFONT:
      mFont = reinterpret_cast<CFont*>(wParam);
      notifyChange(WindowChange::Font);
      if (lParam) Invalidate();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(mFont);
    case WM_CLOSE:
      DestroyWindow();
      return 0;
    case WM_PAINT:
      beginPaint();
      return 0;
    case WM_SETCURSOR:
      // Over the client area a window shows its class's cursor.
      if (LOWORD(static_cast<std::uintptr_t>(lParam)) == HTCLIENT) {
        if (const auto* c = krv::win::windowClassOf(*this); c && c->cursor) {
          ::SetCursor(c->cursor);
          return TRUE;
        }
      }
      return FALSE;
    case WM_ERASEBKGND:
      return 1;
    default:
      return 0;
  }
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam), code = HIWORD(wParam);
  if (const auto* e = krv::win::findCommandEntry(GetMessageMap(), code, id)) {
    e->call(this, wParam, lParam);
    return TRUE;
  }
  return FALSE;
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (!header) return FALSE;
  if (const auto* e = krv::win::findNotifyEntry(GetMessageMap(), header->code,
                                                static_cast<UINT>(header->idFrom))) {
    LRESULT r = e->call(this, wParam, lParam);
    if (result) *result = r;
    return TRUE;
  }
  return FALSE;
}

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }

void CWnd::notifyParent(UINT code) {
  CWnd* parent = mParent;
  if (!m_hWnd || !parent) return;
  parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<int>(mId), static_cast<int>(code)),
                      reinterpret_cast<LPARAM>(this));
}

LRESULT CWnd::notifyParent(NMHDR& header) {
  CWnd* parent = mParent;
  if (!m_hWnd || !parent) return 0;
  header.hwndFrom = this;
  header.idFrom = mId;
  return parent->SendMessage(WM_NOTIFY, mId, reinterpret_cast<LPARAM>(&header));
}

// --- Observation ------------------------------------------------------------------

void CWnd::addObserver(WindowObserver* observer) {
  if (observer && std::find(mObservers.begin(), mObservers.end(), observer) == mObservers.end())
    mObservers.push_back(observer);
}

void CWnd::removeObserver(WindowObserver* observer) {
  mObservers.erase(std::remove(mObservers.begin(), mObservers.end(), observer), mObservers.end());
}

void CWnd::notifyChange(WindowChange change) {
  for (CWnd* w = this; w; w = w->mParent)
    for (auto* o : std::vector<WindowObserver*>(w->mObservers)) o->windowChanged(*this, change);
  if (change != WindowChange::Created && change != WindowChange::Destroyed)
    for (auto* o : std::vector<WindowObserver*>(registry().globalObservers))
      o->windowChanged(*this, change);
}

// --- Taking over a system-created control -----------------------------------------

void CWnd::copyStateFrom(const CWnd& other) {
  mId = other.mId;
  mClassName = other.mClassName;
  mText = other.mText;
  mStyle = other.mStyle;
  mExStyle = other.mExStyle;
  mRect = other.mRect;
  mFont = other.mFont;
  mOwner = other.mOwner;
  mInvalid = other.mInvalid;
  mEraseRequested = other.mEraseRequested;
  mObservers = other.mObservers;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  if (m_hWnd || !parent || !IsWindow(parent)) return FALSE;
  CWnd* old = parent->GetDlgItem(static_cast<int>(id));
  if (!old || old == this) return FALSE;
  if (!canTakeOver(*old)) return FALSE;
  copyStateFrom(*old);
  auto& reg = registry();
  auto& v = parent->mChildren;
  std::replace(v.begin(), v.end(), old, this);
  mParent = parent;
  mChildren = std::move(old->mChildren);
  old->mChildren.clear();
  for (CWnd* c : mChildren) c->mParent = this;
  m_hWnd = this;
  reg.live.insert(this);
  if (reg.focus == old) reg.focus = this;
  krv::win::EventLoop::instance().killWindowTimers(old);
  reg.live.erase(old);
  old->m_hWnd = nullptr;
  old->mParent = nullptr;
  if (old->mSystemOwned) {
    old->mSystemOwned = false;
    delete old;
  }
  notifyChange(WindowChange::ControlState);
  return TRUE;
}

bool CWnd::canTakeOver(const CWnd&) const { return true; }

// --- Handle functions ------------------------------------------------------------------

BOOL IsWindow(HWND hWnd) { return hWnd && registry().live.count(hWnd) ? TRUE : FALSE; }
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return IsWindow(hWnd) ? hWnd->SendMessage(message, wParam, lParam) : 0;
}
BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hWnd && !IsWindow(hWnd)) return FALSE;
  return krv::win::EventLoop::instance().post(hWnd, message, wParam, lParam);
}
BOOL DestroyWindow(HWND hWnd) { return IsWindow(hWnd) ? hWnd->DestroyWindow() : FALSE; }
HWND GetFocus() { return CWnd::GetFocus(); }
HWND SetFocus(HWND hWnd) {
  if (!hWnd) {
    CWnd* old = CWnd::GetFocus();
    if (old) {
      registry().focus = nullptr;
      old->SendMessage(WM_KILLFOCUS, 0);
    }
    return old;
  }
  return IsWindow(hWnd) ? hWnd->SetFocus() : nullptr;
}
BOOL IsWindowVisible(HWND hWnd) { return IsWindow(hWnd) ? hWnd->IsWindowVisible() : FALSE; }
BOOL IsWindowEnabled(HWND hWnd) { return IsWindow(hWnd) ? hWnd->IsWindowEnabled() : FALSE; }
BOOL EnableWindow(HWND hWnd, BOOL enable) {
  return IsWindow(hWnd) ? hWnd->EnableWindow(enable) : FALSE;
}
BOOL ShowWindow(HWND hWnd, int cmdShow) {
  return IsWindow(hWnd) ? hWnd->ShowWindow(cmdShow) : FALSE;
}
HWND GetParent(HWND hWnd) { return IsWindow(hWnd) ? hWnd->GetParent() : nullptr; }
HWND GetDlgItem(HWND hWnd, int id) { return IsWindow(hWnd) ? hWnd->GetDlgItem(id) : nullptr; }
int GetDlgCtrlID(HWND hWnd) { return IsWindow(hWnd) ? hWnd->GetDlgCtrlID() : 0; }
int GetClassName(HWND hWnd, LPWSTR buffer, int maxCount) {
  if (!IsWindow(hWnd) || !buffer || maxCount <= 0) return 0;
  const std::wstring& name = hWnd->className();
  auto n = std::min<std::size_t>(name.size(), static_cast<std::size_t>(maxCount - 1));
  std::wmemcpy(buffer, name.data(), n);
  buffer[n] = L'\0';
  return static_cast<int>(n);
}
