#pragma once
// Preparing a sheet as a new document of the spreadsheet editor (the tool
// window and the bill output start their documents this way):
//   1. the control's options 12, 25, 7 (automatic calculation) and 21 on;
//   2. for a fresh document: 6 columns and 11 rows, integer option 4 set
//      to 5, and every cell an edit cell (style 4) of at most 100 characters;
//   3. the settings set `settingsName` loaded; when that fails, the set the
//      registry names as "Default Settings" (VtSSRegistrySets);
//   4. the set written into the document (the tag of its corner cell);
//   5. when the set names a font and a text height above 0: every cell gets
//      that font at normal weight (400), the header row and header column
//      bold (700), and the control keeps them as its default font.
#include "platform/core/krv_string.h"
#include "spread/vt_ss_settings.h"

class Krv_Spread;

// The settings set that was loaded, or the defaults when neither set could
// be loaded; `loaded` says whether one was. The sheet must be created.
struct NewSheetDocument {
  VtSSSettings settings;
  bool loaded = false;
};
NewSheetDocument prepareNewSheetDocument(Krv_Spread& sheet, const Krv_String& settingsName,
                                         bool fresh);

// Step 5 alone: gives the sheet the font of `settings` when it names one
// with a text height above 0; false (nothing changed) otherwise.
bool applySettingsFont(Krv_Spread& sheet, const VtSSSettings& settings);
