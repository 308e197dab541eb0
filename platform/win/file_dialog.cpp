#include "platform/win/file_dialog.h"

CFileDialog::CFileDialog(BOOL openFileDialog, LPCWSTR defaultExt, LPCWSTR fileName, DWORD flags,
                         LPCWSTR filter, CWnd* parent)
    : mOpen(openFileDialog),
      mDefaultExt(defaultExt ? defaultExt : L""),
      mFileName(fileName ? fileName : L""),
      mFilter(filter ? filter : L""),
      mParent(parent) {
  m_ofn.Flags = flags;
}

INT_PTR CFileDialog::DoModal() {
  FileDialogRequest request;
  request.open = mOpen;
  request.multiSelect = mOpen && (m_ofn.Flags & OFN_ALLOWMULTISELECT);
  request.title = m_ofn.lpstrTitle ? m_ofn.lpstrTitle : L"";
  request.defaultExt = mDefaultExt;
  request.filter = mFilter;
  request.initialFolder = m_ofn.lpstrInitialDir ? m_ofn.lpstrInitialDir : L"";
  request.initialFileName = mFileName;
  request.flags = m_ofn.Flags;
  request.owner = mParent;
  mPaths.clear();
  std::vector<std::wstring> chosen;
  if (!UserInterface::current().chooseFiles(request, chosen) || chosen.empty()) return IDCANCEL;
  if (!request.multiSelect) chosen.resize(1);
  for (auto& path : chosen) {
    // A typed name without an extension gets the default one.
    auto slash = path.find_last_of(L"\\/");
    auto name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    if (!mDefaultExt.empty() && name.find(L'.') == std::wstring::npos) path += L"." + mDefaultExt;
  }
  mPaths = std::move(chosen);
  return IDOK;
}

std::wstring CFileDialog::GetFileName() const {
  std::wstring p = GetPathName();
  auto slash = p.find_last_of(L"\\/");
  return slash == std::wstring::npos ? p : p.substr(slash + 1);
}

std::wstring CFileDialog::GetFileExt() const {
  std::wstring n = GetFileName();
  auto dot = n.rfind(L'.');
  return dot == std::wstring::npos ? L"" : n.substr(dot + 1);
}

std::wstring CFileDialog::GetFileTitle() const {
  std::wstring n = GetFileName();
  auto dot = n.rfind(L'.');
  return dot == std::wstring::npos ? n : n.substr(0, dot);
}

std::wstring CFileDialog::GetFolderPath() const {
  std::wstring p = GetPathName();
  auto slash = p.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"" : p.substr(0, slash);
}
