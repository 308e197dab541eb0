// Undo steps of a sheet document as content texts.
#include "spread/sheet_undo.h"

#include <algorithm>
#include <array>
#include <set>

#include "platform/sheet/cell_grid.h"
#include "platform/sheet/sheet_file.h"

using krv::sheet::ControlDocument;

namespace {

// The end of the JSON value starting at `i` (one past it).
std::size_t valueEnd(const std::string& t, std::size_t i) {
  int depth = 0;
  bool inString = false;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (inString) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        inString = false;
      if (!inString && depth == 0) return i + 1;
      continue;
    }
    if (c == '"') {
      inString = true;
    } else if (c == '{' || c == '[') {
      ++depth;
    } else if (c == '}' || c == ']') {
      if (--depth == 0) return i + 1;
      if (depth < 0) return i;
    } else if (depth == 0 && (c == ',' || c == '\n')) {
      return i;
    }
  }
  return t.size();
}

// Removes the members `names` of the outermost object of a JSON text.
std::string withoutMembers(const std::string& t, const std::set<std::string>& names) {
  std::string out;
  out.reserve(t.size());
  std::size_t i = t.find('{');
  if (i == std::string::npos) return t;
  out.append(t, 0, i + 1);
  ++i;
  bool first = true;
  while (i < t.size()) {
    // From here: optional separator and white space, then "key": value.
    std::size_t keyStart = t.find('"', i);
    if (keyStart == std::string::npos) break;
    std::size_t keyEnd = valueEnd(t, keyStart);
    std::size_t colon = t.find(':', keyEnd);
    if (colon == std::string::npos) break;
    std::size_t valueStart = t.find_first_not_of(" \n\r\t", colon + 1);
    if (valueStart == std::string::npos) break;
    std::size_t end = valueEnd(t, valueStart);
    const std::string key = t.substr(keyStart + 1, keyEnd - keyStart - 2);
    if (!names.count(key)) {
      if (!first) out += ", ";
      out.append(t, keyStart, end - keyStart);
      first = false;
    }
    i = t.find_first_of(",}", end);
    if (i == std::string::npos || t[i] == '}') break;
    ++i;
  }
  out += '}';
  return out;
}

}  // namespace

SheetUndo::SheetUndo(int levels, std::size_t byteBound, std::size_t cellBound)
    : mLevels(std::max(1, levels)), mByteBound(byteBound), mCellBound(cellBound) {}

std::optional<std::string> SheetUndo::keptText(const ControlDocument& doc) const {
  const std::size_t slots = doc.engine().grid().blockCount() * krv::sheet::CellGrid::kBlockRows;
  if (slots > mCellBound) return std::nullopt;
  std::string text = contentText(doc);
  if (text.size() > mByteBound) return std::nullopt;
  return text;
}

std::string SheetUndo::contentText(const ControlDocument& doc) {
  static const std::set<std::string> kNotContent = {"options", "active", "selection"};
  return withoutMembers(krv::sheet::sheetToJson(doc), kNotContent);
}

void SheetUndo::reset(const ControlDocument& doc) {
  mSteps.clear();
  mBytes = 0;
  std::optional<std::string> text = keptText(doc);
  mBaseKept = text.has_value();
  mBase = mBaseKept ? std::move(*text) : std::string();
}

void SheetUndo::push(std::string step) {
  mBytes += step.size();
  mSteps.push_back(std::move(step));
  while (!mSteps.empty() && (static_cast<int>(mSteps.size()) > mLevels || mBytes > mByteBound)) {
    mBytes -= mSteps.front().size();
    mSteps.pop_front();
  }
}

bool SheetUndo::checkpoint(const ControlDocument& doc) {
  std::optional<std::string> now = keptText(doc);
  if (mBaseKept && now && *now == mBase) return false;
  const bool recorded = mBaseKept;
  if (mBaseKept) push(std::move(mBase));
  mBaseKept = now.has_value();
  mBase = mBaseKept ? std::move(*now) : std::string();
  if (!mBaseKept) {
    mSteps.clear();
    mBytes = 0;
  }
  return recorded && mBaseKept;
}

bool SheetUndo::undo(ControlDocument& doc) {
  checkpoint(doc);
  if (mSteps.empty()) return false;
  std::string step = std::move(mSteps.back());
  mSteps.pop_back();
  mBytes -= step.size();

  // What is no content stays as it is.
  std::array<bool, ControlDocument::kOptionCount> bools{};
  std::array<int, ControlDocument::kOptionCount> ints{};
  for (int i = 0; i < ControlDocument::kOptionCount; ++i) {
    bools[i] = doc.boolOption(i);
    ints[i] = doc.intOption(i);
  }
  const int32_t col = doc.activeCol(), row = doc.activeRow();
  int32_t s1, s2, s3, s4;
  doc.selection(s1, s2, s3, s4);
  const int32_t left = doc.leftCol(), top = doc.topRow();

  if (!krv::sheet::sheetFromJson(doc, step)) {
    // A step this class wrote always reads back; should it not, the step
    // is dropped and the document stays as it was.
    return false;
  }
  for (int i = 0; i < ControlDocument::kOptionCount; ++i) {
    doc.setBoolOption(i, bools[i]);
    doc.setIntOption(i, ints[i]);
  }
  doc.setBoolOption(krv::sheet::kOptionChanged, true);
  if (doc.maxCols() >= 1 && doc.maxRows() >= 1) {
    doc.setActiveCell(std::clamp(col, 1, doc.maxCols()), std::clamp(row, 1, doc.maxRows()));
    if (!doc.setSelection(s1, s2, s3, s4))
      doc.setSelection(doc.activeCol(), doc.activeRow(), doc.activeCol(), doc.activeRow());
    doc.setTopLeft(std::clamp(left, 1, doc.maxCols()), std::clamp(top, 1, doc.maxRows()));
  }
  mBase = std::move(step);
  mBaseKept = true;
  return true;
}
