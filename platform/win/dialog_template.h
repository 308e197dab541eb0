#pragma once
// krv::win::DialogTemplate: a dialog as data: identifier, caption, styles, size
// in dialog units, font, and its controls (identifier, window class, text,
// styles, rectangle in dialog units), read from a JSON template file.
//
//   {"id": 8131, "caption": "Macro", "style": "WS_POPUP | WS_CAPTION | DS_MODALFRAME",
//    "x": 0, "y": 0, "cx": 220, "cy": 120,
//    "controls": [{"id": 1, "class": "BUTTON", "text": "OK",
//                  "style": "BS_DEFPUSHBUTTON | WS_TABSTOP",
//                  "x": 160, "y": 100, "cx": 50, "cy": 14}]}
//
// Styles are numbers or texts of style names and numbers joined by "|".
// Every control gets WS_CHILD, and WS_VISIBLE unless "visible" is false.
// Dialog units become pixels with fixed base units of 6 by 13 pixels
// (x * 6 / 4, y * 13 / 8, rounded half away from zero).
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/status.h"
#include "platform/win/win_messages.h"

namespace krv::win {

struct ControlTemplate {
  int id = 0;
  std::wstring className;  // upper-case for the standard classes: BUTTON, EDIT, ...
  std::wstring text;
  DWORD style = 0;
  DWORD exStyle = 0;
  CRect rect;  // dialog units
};

struct DialogTemplate {
  UINT id = 0;
  std::wstring caption;
  DWORD style = 0;
  DWORD exStyle = 0;
  CRect rect;  // dialog units; the size is the client size
  std::wstring fontFace;
  int fontSize = 8;
  std::vector<ControlTemplate> controls;

  // Parses template text; a malformed one is refused with the place of the
  // fault ("controls[2].style: unknown style \"WS_NONE\"").
  static base::Result<DialogTemplate> parse(const std::string& text);
  // Reads a template file (at most 4 MB); errors name the file.
  static base::Result<DialogTemplate> load(const std::filesystem::path& file);
};

// Parses "WS_CHILD | BS_AUTOCHECKBOX | 0x100"; an error names an unknown name.
base::Result<DWORD> parseStyle(const std::string& text);

// Dialog units to pixels with the fixed base units.
int dialogUnitsToPixelsX(int units);
int dialogUnitsToPixelsY(int units);
CRect dialogUnitsToPixels(const CRect& units);

}  // namespace krv::win
