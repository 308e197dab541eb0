#pragma once
// Krv_DlgPromptString: a small modal dialog (template 8069) that asks for
// one text: a title, a label (8600) and a value edit (8003) with OK and
// Cancel buttons whose captions the caller gives.
//
// On opening the edit takes the focus with its whole text selected (or is
// hidden when setShowValue(false)). OK accepts only when the edit is hidden
// or not empty: then the value is stored, accepted() becomes true and the
// dialog closes. Cancel closes without change.
#include "platform/core/krv_string.h"
#include "platform/win/dialog.h"

class Krv_DlgPromptString : public CDialog {
 public:
  static constexpr UINT IDD = 8069;
  static constexpr int kLabel = 8600, kValueEdit = 8003;

  explicit Krv_DlgPromptString(CWnd* parent = nullptr);

  void setTitle(const Krv_String& title) { mTitle = title; }
  void setLabel(const Krv_String& label) { mLabel = label; }
  void setValue(const Krv_String& value) { mValue = value; }
  void setOkText(const Krv_String& text) { mOkText = text; }
  void setCancelText(const Krv_String& text) { mCancelText = text; }
  void setShowValue(bool show) { mShowValue = show; }

  const Krv_String& value() const { return mValue; }
  bool accepted() const { return mAccepted; }

  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  Krv_String mTitle;
  Krv_String mLabel;
  Krv_String mValue;
  Krv_String mOkText;
  Krv_String mCancelText;
  bool mShowValue = true;
  bool mAccepted = false;
};
