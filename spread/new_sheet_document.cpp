// A sheet prepared as a new document of the spreadsheet editor.
#include "spread/new_sheet_document.h"

#include "spread/krv_spread.h"
#include "spread/vt_ss_registry_sets.h"

namespace {
constexpr int kFreshCols = 6, kFreshRows = 11;
constexpr int kFreshIntOption = 4, kFreshIntOptionValue = 5;
constexpr DWORD kFreshEditStyle = 4;
constexpr int kFreshEditLength = 100;
constexpr int kNormalWeight = 400, kBoldWeight = 700;
}  // namespace

NewSheetDocument prepareNewSheetDocument(Krv_Spread& sheet, const Krv_String& settingsName,
                                         bool fresh) {
  for (int option : {12, 25, static_cast<int>(krv::sheet::kOptionAutoCalc), 21})
    sheet.setBoolOption(option, true);
  if (fresh) {
    sheet.setMaxCols(kFreshCols);
    sheet.setMaxRows(kFreshRows);
    sheet.setIntOption(kFreshIntOption, kFreshIntOptionValue);
    sheet.setEditFormat(-1, -1, -1, -1, kFreshEditStyle, kFreshEditLength);
  }

  NewSheetDocument out;
  out.loaded = out.settings.load(settingsName);
  if (!out.loaded) {
    VtSSRegistrySets registry;
    registry.read();
    out.loaded = out.settings.load(registry.defaultSettings);
  }
  out.settings.writeToSheet(&sheet);

  applySettingsFont(sheet, out.settings);
  return out;
}

bool applySettingsFont(Krv_Spread& sheet, const VtSSSettings& settings) {
  const Krv_String font = settings.defaultFont();
  const int height = settings.defaultTextHeight();
  if (font.isEmpty() || height <= 0) return false;
  sheet.setDefaultFont(font);
  sheet.setDefaultTextHeight(height);
  auto& doc = sheet.document();
  const std::wstring name = font.str();
  doc.changeAttributes(-1, -1, -1, -1, [&](krv::sheet::CellAttributes& a) {
    a.fontName = name, a.fontHeight = height, a.fontWeight = kNormalWeight;
  });
  auto bold = [&](krv::sheet::CellAttributes& a) {
    a.fontName = name, a.fontHeight = height, a.fontWeight = kBoldWeight;
  };
  doc.changeAttributes(-1, 0, -1, 0, bold);
  doc.changeAttributes(0, -1, 0, -1, bold);
  return true;
}
