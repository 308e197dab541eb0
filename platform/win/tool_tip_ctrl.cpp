#include "platform/win/tool_tip_ctrl.h"

#include <algorithm>

#include "platform/win/resource_modules.h"

namespace {
constexpr UINT_PTR kShowTimer = 1, kPopTimer = 2;

std::wstring resourceString(UINT id) {
  if (auto* module = krv::win::ResourceModules::holding(id, krv::win::ResourceKind::String))
    if (auto text = module->string(id)) return *text;
  return {};
}
}  // namespace

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
  CWnd* owner = parent && IsWindow(parent) ? parent->GetTopLevelParent() : nullptr;
  return CWnd::CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"tooltips_class32", L"",
                        WS_POPUP | (style & ~(WS_VISIBLE | WS_CHILD)), CRect(0, 0, 0, 0), owner, 0);
}

CToolTipCtrl::Tool* CToolTipCtrl::find(CWnd* window, UINT_PTR toolId) {
  for (auto& t : mTools)
    if (t.window == window && (t.wholeWindow ? toolId == 0 : t.id == toolId)) return &t;
  return nullptr;
}

const CToolTipCtrl::Tool* CToolTipCtrl::find(CWnd* window, UINT_PTR toolId) const {
  return const_cast<CToolTipCtrl*>(this)->find(window, toolId);
}

BOOL CToolTipCtrl::AddTool(CWnd* window, LPCWSTR text, LPCRECT rect, UINT_PTR toolId) {
  if (!m_hWnd || !IsWindow(window)) return FALSE;
  Tool tool;
  tool.window = window;
  tool.wholeWindow = rect == nullptr;
  tool.id = tool.wholeWindow ? reinterpret_cast<UINT_PTR>(window) : toolId;
  if (rect) tool.rect = *rect;
  tool.callback = text == LPSTR_TEXTCALLBACK;
  if (!tool.callback && text) tool.text = text;
  if (Tool* existing = find(window, tool.wholeWindow ? 0 : toolId))
    *existing = std::move(tool);
  else
    mTools.push_back(std::move(tool));
  return TRUE;
}

BOOL CToolTipCtrl::AddTool(CWnd* window, UINT textId, LPCRECT rect, UINT_PTR toolId) {
  const std::wstring text = resourceString(textId);
  return AddTool(window, text.c_str(), rect, toolId);
}

void CToolTipCtrl::DelTool(CWnd* window, UINT_PTR toolId) {
  Tool* tool = find(window, toolId);
  if (!tool) return;
  const int index = static_cast<int>(tool - mTools.data());
  if (index == mShown) hide();
  mTools.erase(mTools.begin() + index);
  for (int* i : {&mHover, &mShown, &mSuppressed}) {
    if (*i == index)
      *i = -1;
    else if (*i > index)
      --*i;
  }
}

void CToolTipCtrl::UpdateTipText(LPCWSTR text, CWnd* window, UINT_PTR toolId) {
  Tool* tool = find(window, toolId);
  if (!tool) return;
  tool->callback = text == LPSTR_TEXTCALLBACK;
  tool->text = (!tool->callback && text) ? text : L"";
  if (static_cast<int>(tool - mTools.data()) == mShown) SetWindowText(textOf(*tool));
}

void CToolTipCtrl::UpdateTipText(UINT textId, CWnd* window, UINT_PTR toolId) {
  const std::wstring text = resourceString(textId);
  UpdateTipText(text.c_str(), window, toolId);
}

void CToolTipCtrl::GetText(std::wstring& text, CWnd* window, UINT_PTR toolId) const {
  const Tool* tool = find(window, toolId);
  text = tool ? tool->text : L"";
}

void CToolTipCtrl::Activate(BOOL activate) {
  mActive = activate != FALSE;
  if (!mActive) {
    hide();
    if (m_hWnd) KillTimer(kShowTimer);
  }
}

void CToolTipCtrl::SetDelayTime(DWORD which, int ms) {
  switch (which) {
    case TTDT_AUTOMATIC:
      mInitialDelay = ms < 0 ? 500 : ms;
      mAutoPopDelay = mInitialDelay * 10;
      mReshowDelay = mInitialDelay / 5;
      break;
    case TTDT_INITIAL:
      mInitialDelay = std::max(ms, 0);
      break;
    case TTDT_AUTOPOP:
      mAutoPopDelay = std::max(ms, 0);
      break;
    case TTDT_RESHOW:
      mReshowDelay = std::max(ms, 0);
      break;
    default:
      break;
  }
}

int CToolTipCtrl::GetDelayTime(DWORD which) const {
  switch (which) {
    case TTDT_INITIAL:
      return mInitialDelay;
    case TTDT_AUTOPOP:
      return mAutoPopDelay;
    case TTDT_RESHOW:
      return mReshowDelay;
    default:
      return -1;
  }
}

void CToolTipCtrl::Pop() { hide(); }

int CToolTipCtrl::toolAt(const MSG& msg) const {
  for (std::size_t i = 0; i < mTools.size(); ++i) {
    const Tool& t = mTools[i];
    if (t.window != msg.hwnd || !IsWindow(t.window)) continue;
    if (t.wholeWindow) return static_cast<int>(i);
    CPoint p(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
    if (t.rect.PtInRect(p)) return static_cast<int>(i);
  }
  return -1;
}

void CToolTipCtrl::RelayEvent(MSG* msg) {
  if (!msg || !m_hWnd) return;
  switch (msg->message) {
    case WM_MOUSEMOVE: {
      CPoint p(GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam));
      if (IsWindow(msg->hwnd)) msg->hwnd->ClientToScreen(&p);
      mMouse = p;
      const int tool = toolAt(*msg);
      if (tool != mSuppressed) mSuppressed = -1;
      if (tool == mHover) return;
      mHover = tool;
      if (tool < 0 || tool == mSuppressed || !mActive) {
        hide();
        KillTimer(kShowTimer);
        return;
      }
      if (mShown >= 0)
        show(tool);  // moving between tools: no delay
      else
        SetTimer(kShowTimer, static_cast<UINT>(mInitialDelay));
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      mSuppressed = toolAt(*msg);
      KillTimer(kShowTimer);
      hide();
      return;
    default:
      return;
  }
}

void CToolTipCtrl::OnTimer(UINT_PTR id) {
  if (id == kShowTimer) {
    KillTimer(kShowTimer);
    if (mActive && mHover >= 0 && mHover != mSuppressed) show(mHover);
  } else if (id == kPopTimer) {
    KillTimer(kPopTimer);
    hide();
    mSuppressed = mHover;  // the tip does not come back until the mouse leaves
  } else {
    CWnd::OnTimer(id);
  }
}

std::wstring CToolTipCtrl::textOf(const Tool& tool) {
  if (!tool.callback) return tool.text;
  CWnd* target = tool.window->GetParent() ? tool.window->GetParent() : tool.window;
  NMTTDISPINFO info;
  info.hdr.hwndFrom = this;
  info.hdr.idFrom = tool.id;
  info.hdr.code = TTN_GETDISPINFO;
  info.uFlags = tool.wholeWindow ? TTF_IDISHWND : 0;
  target->SendMessage(WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&info));
  if (info.lpszText && info.lpszText != LPSTR_TEXTCALLBACK) return info.lpszText;
  info.szText[79] = L'\0';
  return info.szText;
}

void CToolTipCtrl::show(int tool) {
  if (tool < 0 || tool >= GetToolCount() || !m_hWnd) return;
  const std::wstring text = textOf(mTools[static_cast<std::size_t>(tool)]);
  if (!m_hWnd) return;
  if (text.empty()) {
    hide();
    return;
  }
  mShown = tool;
  SetWindowText(text);
  const int width = static_cast<int>(text.size()) * 6 + 8;
  SetWindowPos(nullptr, mMouse.x, mMouse.y + 20, width, 20, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(SW_SHOWNA);
  if (mAutoPopDelay > 0) SetTimer(kPopTimer, static_cast<UINT>(mAutoPopDelay));
}

void CToolTipCtrl::hide() {
  mShown = -1;
  if (!m_hWnd) return;
  KillTimer(kPopTimer);
  ShowWindow(SW_HIDE);
}
