#pragma once
// CEdit: single- and multi-line edit with selection, read-only state and a
// text limit. Multi-line text uses "\r\n" line breaks.
//
// Every change of the text, by the program (SetWindowText, ReplaceSel) or
// by typing (WM_CHAR), sends EN_UPDATE and then EN_CHANGE to the parent, as
// the real system does. Typing into a read-only edit changes nothing.
// Focus changes send EN_SETFOCUS and EN_KILLFOCUS.
#include "platform/win/wnd.h"

class CEdit : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  // Selects characters start..end (end -1 = to the end; start -1 removes
  // the selection, leaving the caret at the start of the old selection).
  void SetSel(int start, int end, BOOL noScroll = FALSE);
  void GetSel(int& start, int& end) const;
  DWORD GetSel() const;
  // Replaces the selection with `text` (or inserts at the caret).
  void ReplaceSel(LPCWSTR text, BOOL canUndo = FALSE);
  void Clear() { ReplaceSel(L""); }
  BOOL SetReadOnly(BOOL readOnly = TRUE);
  bool isReadOnly() const { return GetStyle() & ES_READONLY; }
  bool isMultiLine() const { return GetStyle() & ES_MULTILINE; }
  // Maximum number of characters a person can type (0 = no limit).
  void SetLimitText(UINT max);
  void LimitText(int max = 0) { SetLimitText(static_cast<UINT>(max)); }
  UINT GetLimitText() const { return mLimit; }
  int GetLineCount() const;
  // Text of line `index` without its line break; empty for a bad index.
  std::wstring lineText(int index) const;
  BOOL GetModify() const { return mModified; }
  void SetModify(BOOL modified = TRUE) { mModified = modified; }

  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  std::wstring describeState() const override;

 protected:
  bool canTakeOver(const CWnd& other) const override;
  void copyStateFrom(const CWnd& other) override;

 private:
  void replaceSelection(const std::wstring& text, bool byPerson);
  void setTextAndNotify(const std::wstring& text);
  int mSelStart = 0, mSelEnd = 0;
  UINT mLimit = 0;
  bool mModified = false;
};
