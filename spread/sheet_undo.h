#pragma once
// SheetUndo: the undo steps of the edits of one sheet document.
//
// A step is the whole content of the document as it was before a change, in
// the native file text (platform/sheet/sheet_file.h) without the parts that
// are no content: the control's options (the changed mark, edit mode, ...),
// the active cell and the selection. The owner calls checkpoint() after
// anything may have changed the document (a person's entry, paste or cut,
// an inserted or deleted line, a replacement, the formula bar): when the
// content differs from the one kept at the last checkpoint, that one becomes
// an undo step. Several changes between two checkpoints are one step.
//
// Steps are bounded by count (the oldest go first) and by the bytes they
// take together; a document whose content alone is larger than the byte
// bound, or whose cell storage holds more than the cell bound (counted in
// the storage's blocks of 256 rows, so that it is known before any text
// is made), has no undo: its steps are dropped, and canUndo() is false
// until it is small again. A checkpoint costs one serialization of the document:
// about 0.7 ms for 2,000 filled cells, whose step takes 33 kB (measured in
// sheet_undo_test.cpp), so 50 steps of such a sheet take under 2 MB.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "platform/sheet/control_document.h"

class SheetUndo {
 public:
  static constexpr int kDefaultLevels = 50;
  static constexpr std::size_t kDefaultByteBound = std::size_t{64} << 20;
  // About 170 ms a checkpoint at that size.
  static constexpr std::size_t kDefaultCellBound = 500000;

  explicit SheetUndo(int levels = kDefaultLevels, std::size_t byteBound = kDefaultByteBound,
                     std::size_t cellBound = kDefaultCellBound);

  // Forgets every step and keeps the document's content as the base (a
  // new or loaded document).
  void reset(const krv::sheet::ControlDocument& doc);
  // Records a step when the content changed since the last checkpoint;
  // true when one was recorded.
  bool checkpoint(const krv::sheet::ControlDocument& doc);
  // Takes a checkpoint, then puts back the content of the last step. The
  // options, the active cell (moved into the sheet when it lies beyond it)
  // and the selection stay as they are; the changed mark is set. False when
  // there is no step.
  bool undo(krv::sheet::ControlDocument& doc);

  bool canUndo() const { return !mSteps.empty(); }
  int steps() const { return static_cast<int>(mSteps.size()); }
  int levels() const { return mLevels; }
  // The bytes the steps take together.
  std::size_t bytes() const { return mBytes; }

  // The content text of a document: its native file text without the
  // options, the active cell and the selection.
  static std::string contentText(const krv::sheet::ControlDocument& doc);

 private:
  void push(std::string step);
  // The content text, or nullopt when the document is beyond the bounds.
  std::optional<std::string> keptText(const krv::sheet::ControlDocument& doc) const;

  int mLevels;
  std::size_t mByteBound;
  std::size_t mCellBound;
  std::deque<std::string> mSteps;
  std::size_t mBytes = 0;
  std::string mBase;
  bool mBaseKept = false;  // false: the base was too large to keep
};
