#pragma once
// Global memory blocks, clipboard formats and the clipboard.
//
// Formats: the predefined CF_* numbers, and formats registered by name
// (RegisterClipboardFormatW), which get numbers from 0xC000 on; the same
// name (in any letter case) always gives the same number.
//
// The clipboard holds one global memory block per format. It is opened by
// one window at a time (OpenClipboard); SetClipboardData and EmptyClipboard
// need it open, and SetClipboardData takes ownership of the block.
// GetClipboardData returns a block that the clipboard keeps owning.
#include <cstddef>
#include <string>

#include "platform/win/win_types.h"

using HGLOBAL = HANDLE;
using CLIPFORMAT = WORD;
using SIZE_T = std::size_t;

constexpr UINT CF_TEXT = 1, CF_BITMAP = 2, CF_OEMTEXT = 7, CF_DIB = 8, CF_UNICODETEXT = 13,
               CF_HDROP = 15, CF_LOCALE = 16;
constexpr UINT GMEM_FIXED = 0x0, GMEM_MOVEABLE = 0x2, GMEM_ZEROINIT = 0x40, GHND = 0x42,
               GPTR = 0x40, GMEM_DDESHARE = 0x2000, GMEM_SHARE = 0x2000;

// A block of `bytes` bytes (zeroed); null for absurd sizes (over 1 GiB).
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// The block's bytes; null for a handle that is not a live block.
void* GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);
// Frees the block; null on success, the handle back when it was not a block.
HGLOBAL GlobalFree(HGLOBAL block);

// The number of the format named `name`; 0 for a null or empty name.
UINT RegisterClipboardFormatW(LPCWSTR name);
// Copies the registered name of `format` (truncated to `capacity` - 1
// characters); 0 for a predefined or unknown format.
int GetClipboardFormatNameW(UINT format, LPWSTR name, int capacity);

BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Frees every block on the clipboard; needs the clipboard open.
BOOL EmptyClipboard();
// Puts `block` on the clipboard for `format`, replacing (and freeing) the
// block there. Returns the block, or null when the clipboard is not open or
// the block is not a live one.
HANDLE SetClipboardData(UINT format, HANDLE block);
// The block for `format`, or null; needs the clipboard open.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
int CountClipboardFormats();
// The format after `format` in the order they were put (0 starts, 0 ends).
UINT EnumClipboardFormats(UINT format);
HWND GetOpenClipboardWindow();

namespace krv::win {
// A new block holding `text` as wide characters with the terminator
// (the CF_UNICODETEXT layout).
HGLOBAL globalFromText(const std::wstring& text);
// The wide text of a CF_UNICODETEXT block, up to its first terminator.
std::wstring textFromGlobal(HGLOBAL block);
// Replaces the clipboard contents with Unicode text (opens and closes it).
bool setClipboardText(const std::wstring& text, HWND owner = nullptr);
// The clipboard's Unicode text; empty when there is none.
std::wstring getClipboardText();
// Empties and closes the clipboard and forgets registered formats (tests).
void resetClipboard();
}  // namespace krv::win
