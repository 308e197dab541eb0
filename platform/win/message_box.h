#pragma once
// Message boxes: every one goes through UserInterface::current(), which
// shows it (or answers it for a script) and gives the button chosen.
#include <string>

#include "platform/win/win_messages.h"

int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
// A box with the application's name as caption.
int AfxMessageBox(LPCWSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK, UINT helpId = 0);
// The application name used as the caption of AfxMessageBox.
const std::wstring& AfxGetAppName();
void AfxSetAppName(std::wstring name);
