#pragma once
// SheetLayout: where a spreadsheet control's headers, cells and scroll bars
// lie in its client area, computed from its document the way the control
// computes it (TSpread::GetCellRect, CellFromPoint): the cell area is the
// client area without the scroll bars; each column and row in view owns the
// whole points from its rounded-up start to before its rounded-up end, cut
// to the cell area. Only the lines in view are listed.
#include <QRect>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/sheet/tspread.h"

namespace krv::qt {

// A column or row in view: its index (0 for the header), its pixels
// [start, end) along the client area, and where it would end if the cell
// area did not cut it (`fullEnd`, the same as `end` for a line shown whole).
struct SheetLine {
  int32_t index = 0;
  int start = 0;
  int end = 0;
  int fullEnd = 0;
};

// The parts of one scroll bar: the whole bar, the arrow buttons at its
// ends, the track between them and the thumb on it. `first` and `count`
// are the first line in view and the number of lines.
struct ScrollBarParts {
  QRect bar, decrease, increase, track, thumb;
  int32_t first = 1;
  int32_t count = 0;
};

class SheetLayout {
 public:
  explicit SheetLayout(const TSpread& sheet);

  // The part of the client area that shows cells.
  QRect cellArea() const { return mCellArea; }
  // The columns and rows in view, the headers first when shown.
  const std::vector<SheetLine>& columns() const { return mColumns; }
  const std::vector<SheetLine>& rows() const { return mRows; }
  // The line in view of a column or row index; null when not in view.
  const SheetLine* column(int32_t col) const { return find(mColumns, col); }
  const SheetLine* row(int32_t row) const { return find(mRows, row); }
  // A cell's rectangle when its column and row are in view.
  std::optional<QRect> cellRect(int32_t col, int32_t row) const;
  // The same, not cut by the edge of the cell area: text and frames are
  // laid out in it, then cut to the cell area, as the cell is.
  std::optional<QRect> fullCellRect(int32_t col, int32_t row) const;
  // The rectangle of the cells of a span that are in view, not cut by the
  // edge of the cell area; nothing when none is in view.
  std::optional<QRect> spanRect(const krv::sheet::CellSpan& span) const;

  const ScrollBarParts& verticalBar() const { return mVertical; }
  const ScrollBarParts& horizontalBar() const { return mHorizontal; }
  // The first line to show for the thumb of a bar dragged to `offset`
  // pixels from the start of its track.
  static int32_t lineForThumbAt(const ScrollBarParts& bar, bool vertical, int offset);

 private:
  static const SheetLine* find(const std::vector<SheetLine>& lines, int32_t index);

  QRect mCellArea;
  std::vector<SheetLine> mColumns, mRows;
  ScrollBarParts mVertical, mHorizontal;
};

}  // namespace krv::qt
