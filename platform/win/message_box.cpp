#include "platform/win/message_box.h"

#include "platform/win/dialog.h"
#include "platform/win/user_interface.h"
#include "platform/win/wnd.h"

namespace {
std::wstring& appName() {
  static std::wstring name = L"korvane";
  return name;
}
}  // namespace

const std::wstring& AfxGetAppName() { return appName(); }
void AfxSetAppName(std::wstring name) { appName() = std::move(name); }

int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  if (owner && !IsWindow(owner)) owner = nullptr;
  return UserInterface::current().messageBox(owner, text ? text : L"", caption ? caption : L"Error",
                                             type);
}

int AfxMessageBox(LPCWSTR text, UINT type, UINT) {
  return MessageBox(AfxGetMainWnd(), text, appName().c_str(), type);
}

int AfxMessageBox(const std::wstring& text, UINT type, UINT helpId) {
  return AfxMessageBox(text.c_str(), type, helpId);
}

int CWnd::MessageBox(LPCWSTR text, LPCWSTR caption, UINT type) {
  return ::MessageBox(m_hWnd, text, caption ? caption : appName().c_str(), type);
}
