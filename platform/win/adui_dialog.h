#pragma once
// CAdUiBaseDialog: the host's base of dialogs. A CDialog that may take its
// template from a given resource module (the resource lookup is switched to
// that module while the dialog is made and runs, and restored after), and
// that remembers where it was shown under its dialog name: a named dialog
// opens again where it was last closed (and with that size when it is
// resizable).
#include <string>

#include "platform/win/dialog.h"

class CAdUiBaseDialog : public CDialog {
 public:
  explicit CAdUiBaseDialog(UINT templateId, CWnd* parent = nullptr,
                           HINSTANCE dialogResource = nullptr)
      : CDialog(templateId, parent), mResource(dialogResource) {}

  INT_PTR DoModal() override;
  BOOL Create(UINT templateId, CWnd* parent = nullptr) override;

  void SetDialogName(LPCWSTR name) { mName = name ? name : L""; }
  const std::wstring& GetDialogName() const { return mName; }

  // The remembered window rectangle of a dialog name; false when none.
  static bool rememberedRect(const std::wstring& name, CRect& rect);
  static void forgetRememberedRects();

 protected:
  BOOL OnInitDialog() override;
  void OnDestroy() override;

 private:
  HINSTANCE mResource;
  std::wstring mName;
};
