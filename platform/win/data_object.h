#pragma once
// Drag and drop: a data source offers blocks of data per clipboard format,
// a data object gives a drop target read access to them, and a drop target
// registered for a window decides what a drop on that window does.
//
// COleDataSource::DoDragDrop asks the installed drop chooser where the
// person lets go (a window and a point, or nowhere). The drop target
// registered for that window then sees OnDragEnter, OnDragOver and, when it
// accepts an effect that the source allows, OnDropEx or OnDrop; otherwise
// OnDragLeave. The effect of the drop is DoDragDrop's result.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/win/clipboard.h"
#include "platform/win/win_messages.h"

class CWnd;

using DROPEFFECT = DWORD;
constexpr DROPEFFECT DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2,
                     DROPEFFECT_LINK = 4, DROPEFFECT_SCROLL = 0x80000000;
struct FORMATETC;
using LPFORMATETC = FORMATETC*;
class COleDropSource;

namespace krv::win {
// The data of a drag: bytes per format, in the order they were offered.
using DataBlocks = std::vector<std::pair<CLIPFORMAT, std::vector<BYTE>>>;
}  // namespace krv::win

class COleDataSource {
 public:
  COleDataSource() = default;
  virtual ~COleDataSource() = default;

  // Offers `block` for `format`; the source takes the block (it is freed
  // here). An earlier offer of the same format is replaced.
  void CacheGlobalData(CLIPFORMAT format, HGLOBAL block, LPFORMATETC = nullptr);
  void Empty();
  // Lets the person drag the data; the result is the effect of the drop, or
  // DROPEFFECT_NONE when it was cancelled or refused.
  DROPEFFECT DoDragDrop(DWORD allowedEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                        LPCRECT startRect = nullptr, COleDropSource* dropSource = nullptr);
  // Puts the offered data on the clipboard.
  void SetClipboard();

  const krv::win::DataBlocks& blocks() const { return mBlocks; }

 private:
  krv::win::DataBlocks mBlocks;
};

class COleDataObject {
 public:
  COleDataObject() = default;
  // Reads the data of `source` as it is now.
  void attach(const COleDataSource& source);
  // Reads what the clipboard holds now.
  BOOL AttachClipboard();
  void Release() { mBlocks.reset(); }

  BOOL IsDataAvailable(CLIPFORMAT format, LPFORMATETC = nullptr) const;
  // A new block with a copy of the data for `format` (the caller frees it
  // with GlobalFree), or null when the format is not offered.
  HGLOBAL GetGlobalData(CLIPFORMAT format, LPFORMATETC = nullptr) const;
  // The formats offered, in order.
  std::vector<CLIPFORMAT> formats() const;

 private:
  std::shared_ptr<const krv::win::DataBlocks> mBlocks;
};

class COleDropTarget {
 public:
  COleDropTarget() = default;
  COleDropTarget(const COleDropTarget&) = delete;
  COleDropTarget& operator=(const COleDropTarget&) = delete;
  virtual ~COleDropTarget();

  // Makes this the drop target of `window`; false when the window is null
  // or already has one.
  BOOL Register(CWnd* window);
  void Revoke();
  CWnd* window() const { return mWindow; }
  // The target registered for `window`, or null.
  static COleDropTarget* of(CWnd* window);

  // By default a target accepts nothing.
  virtual DROPEFFECT OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState, CPoint point);
  virtual DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState, CPoint point);
  // (DROPEFFECT)-1 by default: the drop is then handled by OnDrop.
  virtual DROPEFFECT OnDropEx(CWnd* window, COleDataObject* data, DROPEFFECT dropDefault,
                              DROPEFFECT dropList, CPoint point);
  virtual BOOL OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, CPoint point);
  virtual void OnDragLeave(CWnd* window);

 private:
  CWnd* mWindow = nullptr;
};

namespace krv::win {

// Where a drag ends.
struct DropPoint {
  CWnd* window = nullptr;
  CPoint point;
  DWORD keyState = 0;  // MK_* flags held at the drop
};
// Chooses where the drag of `data` ends; nothing means the person
// cancelled. Tests install one; without one every drag is cancelled.
using DropChooser =
    std::function<std::optional<DropPoint>(const COleDataObject& data, DROPEFFECT allowed)>;
void setDropChooser(DropChooser chooser);
// Drops `data` on `where`, as a drag from this or another program would,
// and returns the effect (DROPEFFECT_NONE when refused or no target).
DROPEFFECT dropOn(const DropPoint& where, const COleDataSource& data, DROPEFFECT allowed);

}  // namespace krv::win
