#include "platform/win/adui_dialog.h"

#include <map>

#include "platform/win/resource_modules.h"

namespace {

std::map<std::wstring, CRect>& remembered() {
  static std::map<std::wstring, CRect> rects;
  return rects;
}

// Switches resource lookup to `instance` (when given) for its lifetime.
class ResourceSwitch {
 public:
  explicit ResourceSwitch(HINSTANCE instance)
      : mPrevious(AfxGetResourceHandle()), mSwitched(instance) {
    if (mSwitched) AfxSetResourceHandle(instance);
  }
  ~ResourceSwitch() {
    if (mSwitched) AfxSetResourceHandle(mPrevious);
  }
  ResourceSwitch(const ResourceSwitch&) = delete;
  ResourceSwitch& operator=(const ResourceSwitch&) = delete;

 private:
  HINSTANCE mPrevious;
  bool mSwitched;
};

}  // namespace

INT_PTR CAdUiBaseDialog::DoModal() {
  ResourceSwitch use(mResource);
  return CDialog::DoModal();
}

BOOL CAdUiBaseDialog::Create(UINT templateId, CWnd* parent) {
  ResourceSwitch use(mResource);
  return CDialog::Create(templateId, parent);
}

BOOL CAdUiBaseDialog::OnInitDialog() {
  const BOOL result = CDialog::OnInitDialog();
  CRect rect;
  if (m_hWnd && !mName.empty() && rememberedRect(mName, rect)) {
    CRect now;
    GetWindowRect(&now);
    if (!(GetStyle() & WS_THICKFRAME)) rect = CRect(rect.TopLeft(), now.Size());
    if (GetStyle() & WS_CHILD) {
      CPoint topLeft = rect.TopLeft();
      if (CWnd* parent = GetParent()) parent->ScreenToClient(&topLeft);
      rect = CRect(topLeft, rect.Size());
    }
    MoveWindow(&rect, FALSE);
  }
  return result;
}

void CAdUiBaseDialog::OnDestroy() {
  if (!mName.empty()) {
    CRect rect;
    GetWindowRect(&rect);
    remembered()[mName] = rect;
  }
  CDialog::OnDestroy();
}

bool CAdUiBaseDialog::rememberedRect(const std::wstring& name, CRect& rect) {
  auto it = remembered().find(name);
  if (it == remembered().end()) return false;
  rect = it->second;
  return true;
}

void CAdUiBaseDialog::forgetRememberedRects() { remembered().clear(); }
