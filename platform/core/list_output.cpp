#include "platform/core/list_output.h"

int listColumnDecimals(int kind) {
  switch (kind) {
    case kListColumnInteger:
      return 0;
    case kListColumnDecimal:
      return 1;
    default:
      return -1;
  }
}

Acad::ErrorStatus feedList(Krv_ListOutputCallback& output,
                           const std::vector<Krv_ListEntry>& entries) {
  if (const Acad::ErrorStatus started = output.onStartFeed(); started != Acad::eOk) return started;
  for (const Krv_ListEntry& entry : entries) {
    switch (entry.kind) {
      case Krv_ListEntry::kRow:
        output.onAddRow(entry.cells);
        break;
      case Krv_ListEntry::kSubTotals:
        output.onAddSubTotals(entry.cells, entry.groupCells, entry.grandTotal, entry.level);
        break;
      case Krv_ListEntry::kNewPage:
        output.onNewPage();
        break;
      case Krv_ListEntry::kSeparation:
        output.onAddSeperation();
        break;
    }
  }
  return output.onEndFeed();
}
