#pragma once
// CButton: push, default push, check (two and three states), radio (auto
// radios are exclusive within their WS_GROUP group), group box, and icon or
// bitmap buttons, push-like or not.
//
// A click (BM_CLICK, a mouse click or the space key) on an enabled button
// changes the check state as the button type says (auto check box 0<->1,
// auto three-state 0->1->2->0, auto radio: this one checked, the other auto
// radios of its group cleared), gives it the focus and sends BN_CLICKED to
// the parent. SetCheck changes the state only and sends nothing. A group
// box is never clicked.
#include "platform/win/wnd.h"

class CButton : public CWnd {
 public:
  BOOL Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);

  int GetCheck() const;
  void SetCheck(int check);
  UINT GetState() const;
  void SetState(BOOL highlight);
  // The button style bits (low word of the window style).
  UINT GetButtonStyle() const { return GetStyle() & 0xFFFF; }
  // Replaces the low word of the window style; the other bits stay.
  void SetButtonStyle(UINT style, BOOL redraw = TRUE);
  HICON SetIcon(HICON icon);
  HICON GetIcon() const { return mIcon; }
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const { return mBitmap; }

  UINT buttonType() const { return GetStyle() & BS_TYPEMASK; }
  bool isCheckable() const;
  bool isDefaultButton() const { return buttonType() == BS_DEFPUSHBUTTON; }

  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  std::wstring describeState() const override;

 protected:
  bool canTakeOver(const CWnd& other) const override;
  void copyStateFrom(const CWnd& other) override;

 private:
  void click();
  int mCheck = BST_UNCHECKED;
  bool mPushed = false;
  HICON mIcon = nullptr;
  HBITMAP mBitmap = nullptr;
};
