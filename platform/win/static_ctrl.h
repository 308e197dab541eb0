#pragma once
// CStatic: static text, bitmap (SS_BITMAP) or icon (SS_ICON). With
// SS_NOTIFY a click sends STN_CLICKED to the parent.
#include "platform/win/wnd.h"

class CStatic : public CWnd {
 public:
  BOOL Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const { return mBitmap; }
  HICON SetIcon(HICON icon);
  HICON GetIcon() const { return mIcon; }

  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  std::wstring describeState() const override;

 protected:
  bool canTakeOver(const CWnd& other) const override;
  void copyStateFrom(const CWnd& other) override;

 private:
  HBITMAP mBitmap = nullptr;
  HICON mIcon = nullptr;
};
