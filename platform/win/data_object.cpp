#include "platform/win/data_object.h"

#include <cstring>

namespace {

std::map<CWnd*, COleDropTarget*>& targets() {
  static std::map<CWnd*, COleDropTarget*> all;
  return all;
}

krv::win::DropChooser& chooser() {
  static krv::win::DropChooser c;
  return c;
}

std::vector<BYTE> bytesOf(HGLOBAL block) {
  const SIZE_T size = GlobalSize(block);
  const auto* p = static_cast<const BYTE*>(GlobalLock(block));
  std::vector<BYTE> bytes;
  if (p) {
    bytes.assign(p, p + size);
    GlobalUnlock(block);
  }
  return bytes;
}

}  // namespace

void COleDataSource::CacheGlobalData(CLIPFORMAT format, HGLOBAL block, LPFORMATETC) {
  if (!GlobalLock(block)) return;
  GlobalUnlock(block);
  std::vector<BYTE> bytes = bytesOf(block);
  GlobalFree(block);
  for (auto& [f, b] : mBlocks)
    if (f == format) {
      b = std::move(bytes);
      return;
    }
  mBlocks.emplace_back(format, std::move(bytes));
}

void COleDataSource::Empty() { mBlocks.clear(); }

DROPEFFECT COleDataSource::DoDragDrop(DWORD allowedEffects, LPCRECT, COleDropSource*) {
  if (!chooser() || mBlocks.empty()) return DROPEFFECT_NONE;
  COleDataObject data;
  data.attach(*this);
  const std::optional<krv::win::DropPoint> where = chooser()(data, allowedEffects);
  if (!where) return DROPEFFECT_NONE;
  return krv::win::dropOn(*where, *this, allowedEffects);
}

void COleDataSource::SetClipboard() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  for (const auto& [format, bytes] : mBlocks) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!h) continue;
    if (!bytes.empty()) std::memcpy(GlobalLock(h), bytes.data(), bytes.size()), GlobalUnlock(h);
    if (!SetClipboardData(format, h)) GlobalFree(h);
  }
  CloseClipboard();
}

void COleDataObject::attach(const COleDataSource& source) {
  mBlocks = std::make_shared<const krv::win::DataBlocks>(source.blocks());
}

BOOL COleDataObject::AttachClipboard() {
  krv::win::DataBlocks blocks;
  const bool wasOpen = GetOpenClipboardWindow() != nullptr;
  if (!OpenClipboard(GetOpenClipboardWindow())) return FALSE;
  for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f))
    blocks.emplace_back(static_cast<CLIPFORMAT>(f), bytesOf(GetClipboardData(f)));
  if (!wasOpen) CloseClipboard();
  mBlocks = std::make_shared<const krv::win::DataBlocks>(std::move(blocks));
  return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format, LPFORMATETC) const {
  if (!mBlocks) return FALSE;
  for (const auto& [f, _] : *mBlocks)
    if (f == format) return TRUE;
  return FALSE;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT format, LPFORMATETC) const {
  if (!mBlocks) return nullptr;
  for (const auto& [f, bytes] : *mBlocks)
    if (f == format) {
      HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
      if (h && !bytes.empty())
        std::memcpy(GlobalLock(h), bytes.data(), bytes.size()), GlobalUnlock(h);
      return h;
    }
  return nullptr;
}

std::vector<CLIPFORMAT> COleDataObject::formats() const {
  std::vector<CLIPFORMAT> out;
  if (mBlocks)
    for (const auto& [f, _] : *mBlocks) out.push_back(f);
  return out;
}

COleDropTarget::~COleDropTarget() { Revoke(); }

BOOL COleDropTarget::Register(CWnd* window) {
  if (!window || mWindow || targets().count(window)) return FALSE;
  targets()[window] = this;
  mWindow = window;
  return TRUE;
}

void COleDropTarget::Revoke() {
  if (mWindow) targets().erase(mWindow);
  mWindow = nullptr;
}

COleDropTarget* COleDropTarget::of(CWnd* window) {
  const auto it = targets().find(window);
  return it == targets().end() ? nullptr : it->second;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) {
  return DROPEFFECT_NONE;
}
DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) {
  return DROPEFFECT_NONE;
}
DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) {
  return static_cast<DROPEFFECT>(-1);
}
BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
void COleDropTarget::OnDragLeave(CWnd*) {}

namespace krv::win {

void setDropChooser(DropChooser c) { chooser() = std::move(c); }

DROPEFFECT dropOn(const DropPoint& where, const COleDataSource& source, DROPEFFECT allowed) {
  COleDropTarget* target = COleDropTarget::of(where.window);
  if (!target) return DROPEFFECT_NONE;
  COleDataObject data;
  data.attach(source);
  constexpr DROPEFFECT kEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  target->OnDragEnter(where.window, &data, where.keyState, where.point);
  const DROPEFFECT effect =
      target->OnDragOver(where.window, &data, where.keyState, where.point) & kEffects;
  // The target's choice must be one the source allows; pick one effect.
  DROPEFFECT chosen = effect & allowed;
  if (chosen & DROPEFFECT_COPY)
    chosen = DROPEFFECT_COPY;
  else if (chosen & DROPEFFECT_MOVE)
    chosen = DROPEFFECT_MOVE;
  if (!chosen) {
    target->OnDragLeave(where.window);
    return DROPEFFECT_NONE;
  }
  const DROPEFFECT ex =
      target->OnDropEx(where.window, &data, chosen, allowed & kEffects, where.point);
  if (ex != static_cast<DROPEFFECT>(-1)) return ex & allowed & kEffects;
  return target->OnDrop(where.window, &data, chosen, where.point) ? chosen : DROPEFFECT_NONE;
}

}  // namespace krv::win
