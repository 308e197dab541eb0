// The formula window's list output: layout and template formatting.
#include "spread/list_output_layout.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <tuple>

#include "platform/acad/command_line.h"
#include "platform/base/utf.h"
#include "platform/core/file_paths.h"
#include "platform/core/list_output.h"
#include "platform/sheet/cell_address.h"
#include "platform/win/dc.h"
#include "platform/win/gdi.h"
#include "spread/krv_spread.h"

namespace {

using krv::sheet::CellAttributes;
using krv::sheet::ControlDocument;

// The row kinds a template names, by their row header text.
enum TemplateRow { kTitleRow, kColumnNamesRow, kRegularRow, kMergedRow, kTotalRow, kRowKinds };
constexpr std::array<const wchar_t*, kRowKinds> kTemplateNames = {L"Title", L"Column Names",
                                                                  L"Regular", L"Merged", L"Total"};

TemplateRow templateRowOf(ListOutputRow::Kind kind) {
  switch (kind) {
    case ListOutputRow::kMerged:
      return kMergedRow;
    case ListOutputRow::kTotal:
      return kTotalRow;
    default:
      return kRegularRow;
  }
}

// The template's row of each kind (0: none); the first of a name counts.
std::array<int, kRowKinds> findTemplateRows(const ControlDocument& t) {
  std::array<int, kRowKinds> rows{};
  for (int r = 1; r <= t.maxRows(); ++r) {
    const Krv_String name(t.data(0, r).value_or(L""));
    for (int k = 0; k < kRowKinds; ++k)
      if (rows[k] == 0 && name.trimmed().equal(Krv_String(kTemplateNames[k]), false)) rows[k] = r;
  }
  return rows;
}

// Copies the font, colours and borders of `from` onto the cell.
void copyLook(ControlDocument& d, int col, int row, const CellAttributes& from) {
  d.changeAttributes(col, row, col, row, [&](CellAttributes& a) {
    a.fontName = from.fontName;
    a.fontHeight = from.fontHeight;
    a.fontWeight = from.fontWeight;
    a.backColor = from.backColor;
    a.foreColor = from.foreColor;
    a.borderMask = from.borderMask;
    a.borderStyle = from.borderStyle;
    a.borderColor = from.borderColor;
  });
}

// Measures the sample text in fonts, remembering each font's height.
// Measures texts in the fonts of cells, keeping a font per face, size and
// weight.
class TextMeasure {
 public:
  TextMeasure(const std::wstring& defaultFace, int defaultHeight)
      : mDefaultFace(defaultFace), mDefaultHeight(defaultHeight) {
    mDc.CreateCompatibleDC(nullptr);
  }
  CSize extent(const CellAttributes& a, const std::wstring& text) {
    const std::wstring face = a.fontName.empty() ? mDefaultFace : a.fontName;
    const int height = a.fontHeight > 0 ? a.fontHeight : mDefaultHeight;
    auto& font = mFonts[std::make_tuple(face, height, a.fontWeight)];
    if (!font) {
      font = std::make_unique<CFont>();
      font->CreateFont(height, 0, 0, 0, a.fontWeight, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0,
                       face.c_str());
    }
    mDc.SelectObject(font.get());
    CSize size = mDc.GetTextExtent(text);
    // The context measures every weight alike; bold text takes about a
    // quarter more room.
    if (a.fontWeight >= 600) size.cx = size.cx * 5 / 4;
    return size;
  }

 private:
  std::wstring mDefaultFace;
  int mDefaultHeight;
  // Declared before the context, so that the context lets go of its font
  // before the fonts go.
  std::map<std::tuple<std::wstring, int, int>, std::unique_ptr<CFont>> mFonts;
  CDC mDc;
};

}  // namespace

Krv_String ListOutputLayout::totalFormula(int col, int first, int last) {
  Krv_String formula = Krv_String(L"=sum(#") + Krv_String(std::to_wstring(first)) + L":#" +
                       Krv_String(std::to_wstring(last)) + L")";
  const std::wstring letters = krv::base::utf8ToWide(krv::sheet::columnLetters(col));
  std::wstring out;
  for (wchar_t ch : formula.str()) {
    if (ch == L'#')
      out += letters;
    else
      out += ch;
  }
  return Krv_String(out);
}

bool ListOutputLayout::check(const ListOutputDescription& list, std::wstring& error) {
  if (list.columnCount < 1) {
    error = L"The list has no columns.";
    return false;
  }
  if (list.columnCount > krv::sheet::kControlMaxCols) {
    error = L"The list has more columns than a sheet holds.";
    return false;
  }
  const long long rowCount =
      (list.title.isEmpty() ? 0 : 1) + static_cast<long long>(list.rows.size());
  if (rowCount > krv::sheet::kControlMaxRows) {
    error = L"The list has more rows than a sheet holds.";
    return false;
  }
  return true;
}

bool ListOutputLayout::layOut(Krv_Spread& sheet, Krv_Spread* templateSheet,
                              const ListOutputDescription& list, std::wstring& error) {
  if (!check(list, error)) return false;
  const int cols = list.columnCount;
  const int first = list.title.isEmpty() ? 1 : 2;
  const long long rowCount = first - 1 + static_cast<long long>(list.rows.size());
  if (!sheet.isCreated()) {
    error = L"The list has no sheet to go into.";
    return false;
  }
  const int rows = static_cast<int>(rowCount);
  ControlDocument& d = sheet.document();
  sheet.setMaxCols(cols);
  sheet.setMaxRows(rows);
  for (int c = 1; c <= cols; ++c)
    sheet.setCellData(c, krv::sheet::kHeaderIndex,
                      c <= list.headers.length() ? list.headers[c - 1] : Krv_String());

  // The cell types, by column.
  auto decimalsOf = [&](int c) {
    return listColumnDecimals(c <= list.columnKinds.length() ? list.columnKinds[c - 1] : 0);
  };
  for (int c = 1; c <= cols; ++c) {
    if (const int decimals = decimalsOf(c); decimals >= 0)
      sheet.setNumberFormat(c, -1, c, -1, decimals, false);
    else
      sheet.setEditFormat(c, -1, c, -1, 0x110000, kMaxTextLength);
  }

  // Rows that span all columns: the title and the merged rows.
  std::vector<int> titleRows, mergedRows;
  auto spanRow = [&](int r, const Krv_String& text) {
    sheet.setEditFormat(1, r, cols, r, 0x110000, kMaxTextLength);
    sheet.setCellData(1, r, text);
    if (cols > 1) d.addSpan(1, r, cols, 1);
  };
  if (first == 2) {
    spanRow(1, list.title);
    titleRows.push_back(1);
  }
  std::array<std::vector<int>, kRowKinds> rowsOfKind;
  int groupStart = first;
  for (std::size_t i = 0; i < list.rows.size(); ++i) {
    const ListOutputRow& row = list.rows[i];
    const int r = first + static_cast<int>(i);
    rowsOfKind[templateRowOf(row.kind)].push_back(r);
    if (row.kind == ListOutputRow::kMerged) {
      spanRow(r, row.cells.isEmpty() ? Krv_String() : row.cells[0]);
      mergedRows.push_back(r);
      continue;
    }
    for (int c = 1; c <= cols; ++c) {
      const Krv_String text = c <= row.cells.length() ? row.cells[c - 1] : Krv_String();
      if (row.kind == ListOutputRow::kTotal && decimalsOf(c) >= 0) {
        if (r > groupStart)
          sheet.setCellFormula(c, r, totalFormula(c, groupStart, r - 1));
        else
          sheet.setCellData(c, r, L"0");
      } else {
        sheet.setCellData(c, r, text);
      }
    }
    if (row.kind == ListOutputRow::kTotal) groupStart = r + 1;
  }
  d.engine().recalcAll();

  // The template's look.
  if (templateSheet && !list.templateFile.isEmpty()) {
    std::string loadError;
    const std::wstring file = krv::base::utf8ToWide(krv::core::osPath(list.templateFile).string());
    if (!templateSheet->isCreated() || !templateSheet->LoadFromFile(file, &loadError)) {
      acutPrintf(L"List template not loaded: %s%s%s\n", list.templateFile.c_str(),
                 loadError.empty() ? L"" : L": ", krv::base::utf8ToWide(loadError).c_str());
    } else {
      const ControlDocument& t = templateSheet->document();
      const auto templateRows = findTemplateRows(t);
      const int tCols = t.maxCols();
      auto apply = [&](int kind, const std::vector<int>& outRows) {
        const int tr = templateRows[kind];
        if (tr == 0 || tCols < 1) return;
        for (int c = 1; c <= cols; ++c) {
          const CellAttributes from = t.attributes(std::min(c, tCols), tr);
          for (int r : outRows) copyLook(d, c, r, from);
        }
      };
      apply(kTitleRow, titleRows);
      apply(kColumnNamesRow, {0});
      for (int k : {kRegularRow, kMergedRow, kTotalRow}) apply(k, rowsOfKind[k]);
      // The template's span widths for the title and merged rows.
      auto respan = [&](int kind, const std::vector<int>& outRows) {
        const int tr = templateRows[kind];
        if (tr == 0) return;
        const auto span = t.spanAt(1, tr);
        if (!span || span->col != 1 || span->row != tr) return;
        // A span over all the template's columns spans all the list's.
        const int width = span->numCols >= t.maxCols() ? cols : std::clamp(span->numCols, 1, cols);
        for (int r : outRows) {
          d.removeSpan(1, r);
          if (width > 1) d.addSpan(1, r, width, 1);
        }
      };
      respan(kTitleRow, titleRows);
      respan(kMergedRow, mergedRows);
    }
  }

  // Row heights from the fonts of each row; columns wide enough for their
  // texts (those of spanning cells aside).
  TextMeasure measure(sheet.defaultFont().str(), sheet.defaultTextHeight());
  std::vector<int> widths(static_cast<std::size_t>(cols) + 1,
                          static_cast<int>(d.defaultColWidth()));
  for (int r = 0; r <= rows; ++r) {
    int height = 0;
    for (int c = 1; c <= cols; ++c) {
      const CellAttributes& a = d.attributes(c, r);
      height = std::max(height, static_cast<int>(measure.extent(a, kSampleText).cy));
      const auto span = d.spanAt(c, r);
      if (span && span->numCols > 1) continue;
      const std::wstring text = d.valueText(c, r).value_or(L"");
      if (!text.empty())
        widths[c] =
            std::max(widths[c], static_cast<int>(measure.extent(a, text).cx) + kColumnMargin);
    }
    d.setRowHeight(r, height + kRowMargin);
  }
  for (int c = 1; c <= cols; ++c) d.setColWidth(c, widths[c]);
  sheet.Invalidate();
  return true;
}
