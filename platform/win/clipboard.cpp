#include "platform/win/clipboard.h"

#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/base/case_folding.h"

namespace {

constexpr SIZE_T kMaxBlock = SIZE_T{1} << 30;

struct Block {
  std::vector<BYTE> bytes;
  int locks = 0;
};

std::map<void*, std::unique_ptr<Block>>& blocks() {
  static std::map<void*, std::unique_ptr<Block>> all;
  return all;
}

Block* find(HGLOBAL h) {
  const auto it = blocks().find(h);
  return it == blocks().end() ? nullptr : it->second.get();
}

struct Formats {
  std::map<std::wstring, UINT> byName;  // folded name
  std::map<UINT, std::wstring> names;
  UINT next = 0xC000;
};
Formats& formats() {
  static Formats f;
  return f;
}

struct Clipboard {
  bool open = false;
  HWND owner = nullptr;
  std::vector<std::pair<UINT, HGLOBAL>> data;  // in the order they were put
};
Clipboard& clipboard() {
  static Clipboard c;
  return c;
}

std::wstring fold(const std::wstring& s) { return krv::base::foldCase(s); }

}  // namespace

HGLOBAL GlobalAlloc(UINT, SIZE_T bytes) {
  if (bytes > kMaxBlock) return nullptr;
  auto block = std::make_unique<Block>();
  block->bytes.assign(bytes, 0);
  block->bytes.reserve(1);  // a zero-size block still has an address to lock
  void* handle = block.get();
  blocks()[handle] = std::move(block);
  return handle;
}

void* GlobalLock(HGLOBAL h) {
  Block* b = find(h);
  if (!b) return nullptr;
  ++b->locks;
  return b->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL h) {
  Block* b = find(h);
  if (!b || b->locks == 0) return FALSE;
  return --b->locks > 0;
}

SIZE_T GlobalSize(HGLOBAL h) {
  Block* b = find(h);
  return b ? b->bytes.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL h) { return blocks().erase(h) ? nullptr : h; }

UINT RegisterClipboardFormatW(LPCWSTR name) {
  if (!name || !*name) return 0;
  Formats& f = formats();
  const std::wstring key = fold(name);
  if (const auto it = f.byName.find(key); it != f.byName.end()) return it->second;
  if (f.next > 0xFFFF) return 0;
  const UINT id = f.next++;
  f.byName[key] = id;
  f.names[id] = name;
  return id;
}

int GetClipboardFormatNameW(UINT format, LPWSTR name, int capacity) {
  const auto it = formats().names.find(format);
  if (it == formats().names.end() || !name || capacity <= 0) return 0;
  const int n = std::min(static_cast<int>(it->second.size()), capacity - 1);
  std::wmemcpy(name, it->second.c_str(), static_cast<std::size_t>(n));
  name[n] = L'\0';
  return n;
}

BOOL OpenClipboard(HWND owner) {
  Clipboard& c = clipboard();
  if (c.open && c.owner != owner) return FALSE;
  c.open = true;
  c.owner = owner;
  return TRUE;
}

BOOL CloseClipboard() {
  Clipboard& c = clipboard();
  if (!c.open) return FALSE;
  c.open = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  Clipboard& c = clipboard();
  if (!c.open) return FALSE;
  for (auto& [_, h] : c.data) GlobalFree(h);
  c.data.clear();
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE block) {
  Clipboard& c = clipboard();
  if (!c.open || !format || !find(block)) return nullptr;
  for (auto& [f, h] : c.data)
    if (f == format) {
      if (h != block) GlobalFree(h);
      h = block;
      return block;
    }
  c.data.emplace_back(format, block);
  return block;
}

HANDLE GetClipboardData(UINT format) {
  const Clipboard& c = clipboard();
  if (!c.open) return nullptr;
  for (const auto& [f, h] : c.data)
    if (f == format) return h;
  return nullptr;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  for (const auto& [f, _] : clipboard().data)
    if (f == format) return TRUE;
  return FALSE;
}

int CountClipboardFormats() { return static_cast<int>(clipboard().data.size()); }

UINT EnumClipboardFormats(UINT format) {
  const auto& data = clipboard().data;
  if (format == 0) return data.empty() ? 0 : data.front().first;
  for (std::size_t i = 0; i + 1 < data.size(); ++i)
    if (data[i].first == format) return data[i + 1].first;
  return 0;
}

HWND GetOpenClipboardWindow() { return clipboard().open ? clipboard().owner : nullptr; }

namespace krv::win {

HGLOBAL globalFromText(const std::wstring& text) {
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!h) return nullptr;
  std::memcpy(GlobalLock(h), text.c_str(), bytes);
  GlobalUnlock(h);
  return h;
}

std::wstring textFromGlobal(HGLOBAL block) {
  const SIZE_T chars = GlobalSize(block) / sizeof(wchar_t);
  const auto* p = static_cast<const wchar_t*>(GlobalLock(block));
  if (!p) return {};
  std::wstring text(p, chars);
  GlobalUnlock(block);
  if (const auto end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
  return text;
}

bool setClipboardText(const std::wstring& text, HWND owner) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  HGLOBAL h = globalFromText(text);
  const bool ok = h && SetClipboardData(CF_UNICODETEXT, h);
  if (h && !ok) GlobalFree(h);
  CloseClipboard();
  return ok;
}

std::wstring getClipboardText() {
  Clipboard& c = clipboard();
  const bool wasOpen = c.open;
  if (!wasOpen && !OpenClipboard(nullptr)) return {};
  std::wstring text = textFromGlobal(GetClipboardData(CF_UNICODETEXT));
  if (!wasOpen) CloseClipboard();
  return text;
}

void resetClipboard() {
  Clipboard& c = clipboard();
  c.open = true;
  EmptyClipboard();
  c.open = false;
  c.owner = nullptr;
  formats() = Formats();
}

}  // namespace krv::win
