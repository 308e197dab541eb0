#pragma once
// CFileDialog: the file open and save dialogs, answered through
// UserInterface::chooseFiles. With OFN_ALLOWMULTISELECT an open dialog may
// give several files (paths()).
#include <string>
#include <vector>

#include "platform/win/user_interface.h"
#include "platform/win/win_messages.h"

struct OPENFILENAME {
  DWORD Flags = 0;
  LPCWSTR lpstrTitle = nullptr;
  LPCWSTR lpstrInitialDir = nullptr;
};

class CFileDialog {
 public:
  CFileDialog(BOOL openFileDialog, LPCWSTR defaultExt = nullptr, LPCWSTR fileName = nullptr,
              DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCWSTR filter = nullptr,
              CWnd* parent = nullptr);
  // IDOK when files were chosen, IDCANCEL otherwise.
  INT_PTR DoModal();
  std::wstring GetPathName() const { return mPaths.empty() ? L"" : mPaths.front(); }
  std::wstring GetFileName() const;   // name with extension
  std::wstring GetFileExt() const;    // extension without the dot
  std::wstring GetFileTitle() const;  // name without extension
  std::wstring GetFolderPath() const;
  const std::vector<std::wstring>& paths() const { return mPaths; }

  OPENFILENAME m_ofn;

 private:
  bool mOpen;
  std::wstring mDefaultExt, mFileName, mFilter;
  CWnd* mParent;
  std::vector<std::wstring> mPaths;
};
