#pragma once
// TSpread: the window of the spreadsheet control (window class
// "fpUSpread70"; "fpSpreadPreview70" for the print preview). The window
// owns the control's document; the SS... functions (ss_api.h) reach it
// through the window handle, and the member functions here offer the
// operations that callers use by role: load and save, clipboard copy and
// paste of the selection, and the row block move.
#include <string>

#include "platform/sheet/control_document.h"
#include "platform/win/wnd.h"

inline constexpr wchar_t kSpreadWindowClass[] = L"fpUSpread70";
inline constexpr wchar_t kSpreadPreviewWindowClass[] = L"fpSpreadPreview70";

class TSpread : public CWnd {
 public:
  TSpread();
  ~TSpread() override;

  // Creates the control window with the given style, rectangle (parent
  // client coordinates), parent and identifier.
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  using CWnd::Create;

  // The control behind a window handle; nullptr for a handle that is not a
  // live spreadsheet control window.
  static TSpread* fromHandle(HWND hWnd);

  krv::sheet::ControlDocument& document() { return mDocument; }
  const krv::sheet::ControlDocument& document() const { return mDocument; }

  // Loads a sheet file (native format, or CSV/TSV by extension); on failure
  // the document is unchanged and `error` says why.
  BOOL LoadFromFile(const std::wstring& file, std::string* error = nullptr);
  // Saves atomically in the format of the extension.
  BOOL SaveToFile(const std::wstring& file, std::string* error = nullptr);

  // Copies the selection as tab-separated text to the clipboard.
  BOOL ClipboardCopy();
  // Copies the selection, then empties its cells.
  BOOL ClipboardCut();
  // Writes the clipboard's text from the active cell on.
  BOOL ClipboardPaste();
  // Moves the block of rows row1..row2 so that it starts at `destRow`; the
  // rows in between shift to make room. False outside the sheet.
  BOOL MoveRowBlock(long row1, long row2, long destRow);

 private:
  krv::sheet::ControlDocument mDocument;
};
