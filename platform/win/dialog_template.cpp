#include "platform/win/dialog_template.h"

#include <map>
#include <sstream>

#include "platform/base/case_folding.h"
#include "platform/base/display_text.h"
#include "platform/base/file_io.h"
#include "platform/base/file_text.h"
#include "platform/base/json_document.h"
#include "platform/base/json_io.h"
#include "platform/base/utf.h"

namespace krv::win {
namespace {

constexpr base::JsonLimits kTemplateLimits{4u * 1024 * 1024, 16};

const std::map<std::string, DWORD>& styleNames() {
  static const std::map<std::string, DWORD> names = {
      {"WS_OVERLAPPED", WS_OVERLAPPED},
      {"WS_POPUP", WS_POPUP},
      {"WS_CHILD", WS_CHILD},
      {"WS_VISIBLE", WS_VISIBLE},
      {"WS_DISABLED", WS_DISABLED},
      {"WS_CLIPSIBLINGS", WS_CLIPSIBLINGS},
      {"WS_CLIPCHILDREN", WS_CLIPCHILDREN},
      {"WS_CAPTION", WS_CAPTION},
      {"WS_BORDER", WS_BORDER},
      {"WS_DLGFRAME", WS_DLGFRAME},
      {"WS_VSCROLL", WS_VSCROLL},
      {"WS_HSCROLL", WS_HSCROLL},
      {"WS_SYSMENU", WS_SYSMENU},
      {"WS_THICKFRAME", WS_THICKFRAME},
      {"WS_GROUP", WS_GROUP},
      {"WS_TABSTOP", WS_TABSTOP},
      {"WS_MINIMIZEBOX", WS_MINIMIZEBOX},
      {"WS_MAXIMIZEBOX", WS_MAXIMIZEBOX},
      {"WS_EX_CLIENTEDGE", WS_EX_CLIENTEDGE},
      {"WS_EX_STATICEDGE", WS_EX_STATICEDGE},
      {"WS_EX_TOOLWINDOW", WS_EX_TOOLWINDOW},
      {"WS_EX_DLGMODALFRAME", WS_EX_DLGMODALFRAME},
      {"WS_EX_TRANSPARENT", WS_EX_TRANSPARENT},
      {"WS_EX_CONTROLPARENT", WS_EX_CONTROLPARENT},
      {"DS_SETFONT", DS_SETFONT},
      {"DS_MODALFRAME", DS_MODALFRAME},
      {"DS_CENTER", DS_CENTER},
      {"DS_CONTROL", DS_CONTROL},
      {"BS_PUSHBUTTON", BS_PUSHBUTTON},
      {"BS_DEFPUSHBUTTON", BS_DEFPUSHBUTTON},
      {"BS_CHECKBOX", BS_CHECKBOX},
      {"BS_AUTOCHECKBOX", BS_AUTOCHECKBOX},
      {"BS_RADIOBUTTON", BS_RADIOBUTTON},
      {"BS_3STATE", BS_3STATE},
      {"BS_AUTO3STATE", BS_AUTO3STATE},
      {"BS_GROUPBOX", BS_GROUPBOX},
      {"BS_AUTORADIOBUTTON", BS_AUTORADIOBUTTON},
      {"BS_OWNERDRAW", BS_OWNERDRAW},
      {"BS_LEFTTEXT", BS_LEFTTEXT},
      {"BS_ICON", BS_ICON},
      {"BS_BITMAP", BS_BITMAP},
      {"BS_LEFT", BS_LEFT},
      {"BS_RIGHT", BS_RIGHT},
      {"BS_CENTER", BS_CENTER},
      {"BS_TOP", BS_TOP},
      {"BS_BOTTOM", BS_BOTTOM},
      {"BS_VCENTER", BS_VCENTER},
      {"BS_PUSHLIKE", BS_PUSHLIKE},
      {"BS_MULTILINE", BS_MULTILINE},
      {"BS_FLAT", BS_FLAT},
      {"SS_LEFT", SS_LEFT},
      {"SS_CENTER", SS_CENTER},
      {"SS_RIGHT", SS_RIGHT},
      {"SS_ICON", SS_ICON},
      {"SS_BLACKRECT", SS_BLACKRECT},
      {"SS_LEFTNOWORDWRAP", SS_LEFTNOWORDWRAP},
      {"SS_BITMAP", SS_BITMAP},
      {"SS_NOTIFY", SS_NOTIFY},
      {"SS_CENTERIMAGE", SS_CENTERIMAGE},
      {"SS_SUNKEN", SS_SUNKEN},
      {"ES_LEFT", ES_LEFT},
      {"ES_CENTER", ES_CENTER},
      {"ES_RIGHT", ES_RIGHT},
      {"ES_MULTILINE", ES_MULTILINE},
      {"ES_UPPERCASE", ES_UPPERCASE},
      {"ES_LOWERCASE", ES_LOWERCASE},
      {"ES_PASSWORD", ES_PASSWORD},
      {"ES_AUTOVSCROLL", ES_AUTOVSCROLL},
      {"ES_AUTOHSCROLL", ES_AUTOHSCROLL},
      {"ES_NOHIDESEL", ES_NOHIDESEL},
      {"ES_READONLY", ES_READONLY},
      {"ES_WANTRETURN", ES_WANTRETURN},
      {"ES_NUMBER", ES_NUMBER},
      {"LBS_NOTIFY", LBS_NOTIFY},
      {"LBS_SORT", LBS_SORT},
      {"LBS_MULTIPLESEL", LBS_MULTIPLESEL},
      {"LBS_EXTENDEDSEL", LBS_EXTENDEDSEL},
      {"LBS_STANDARD", LBS_STANDARD},
      {"CBS_SIMPLE", CBS_SIMPLE},
      {"CBS_DROPDOWN", CBS_DROPDOWN},
      {"CBS_DROPDOWNLIST", CBS_DROPDOWNLIST},
      {"CBS_AUTOHSCROLL", CBS_AUTOHSCROLL},
      {"CBS_SORT", CBS_SORT},
      {"CBS_HASSTRINGS", CBS_HASSTRINGS},
      {"LVS_ICON", LVS_ICON},
      {"LVS_REPORT", LVS_REPORT},
      {"LVS_SMALLICON", LVS_SMALLICON},
      {"LVS_LIST", LVS_LIST},
      {"LVS_SINGLESEL", LVS_SINGLESEL},
      {"LVS_SHOWSELALWAYS", LVS_SHOWSELALWAYS},
      {"LVS_AUTOARRANGE", LVS_AUTOARRANGE},
      {"TCS_TABS", TCS_TABS},
      {"TCS_MULTILINE", TCS_MULTILINE},
      {"TTS_ALWAYSTIP", TTS_ALWAYSTIP},
      {"TTS_NOPREFIX", TTS_NOPREFIX},
  };
  return names;
}

std::string trim(const std::string& s) {
  auto a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return {};
  auto b = s.find_last_not_of(" \t\r\n");
  return s.substr(a, b - a + 1);
}

using base::Json;
using base::JsonIo;
using base::Status;

// A style: a number, or a text of style names and numbers joined by "|".
struct StyleText {
  Status read(const Json& j, DWORD& style) const {
    if (j.is_number_integer()) return base::Integer<DWORD>{}.read(j, style);
    if (!j.is_string()) return Status::error("a number or a text of style names is expected");
    const base::Result<DWORD> parsed = parseStyle(j.get<std::string>());
    if (parsed) style = *parsed;
    return parsed.status();
  }
  Json write(DWORD style) const { return style; }
};

struct WideText {
  Status read(const Json& j, std::wstring& value) const {
    if (!j.is_string()) return Status::error("a text is expected");
    value = base::utf8ToWide(j.get_ref<const std::string&>());
    return {};
  }
  Json write(const std::wstring&) const { return nullptr; }  // templates are only read
};

// Positions and sizes in dialog units, and identifiers.
const base::Integer<int> kUnits{-32768, 65535};

// x, y, cx and cy, the size not negative.
void mapRect(JsonIo& io, CRect& rect, const char* what) {
  int x = rect.left, y = rect.top, cx = rect.Width(), cy = rect.Height();
  io.optional("x", x, 0, kUnits);
  io.optional("y", y, 0, kUnits);
  io.optional("cx", cx, 0, kUnits);
  io.optional("cy", cy, 0, kUnits);
  if (io.reading() && io.ok() && (cx < 0 || cy < 0))
    io.fail(std::string(what) + " size must not be negative");
  rect = CRect(x, y, x + cx, y + cy);
}

std::wstring upper(std::wstring s);

void mapControl(JsonIo& io, ControlTemplate& c) {
  bool visible = true;
  io.optional("id", c.id, -1, kUnits);
  io.field("class", c.className, WideText{});
  io.optional("text", c.text, std::wstring(), WideText{});
  io.optional("style", c.style, DWORD{0}, StyleText{});
  io.optional("exStyle", c.exStyle, DWORD{0}, StyleText{});
  mapRect(io, c.rect, "a control");
  io.optional("visible", visible, true);
  if (!io.reading() || !io.ok()) return;
  if (c.className.empty()) io.fail("class", "must not be empty");
  // The standard classes are known by their upper-case names.
  const std::wstring up = upper(c.className);
  for (const wchar_t* standard :
       {L"BUTTON", L"EDIT", L"STATIC", L"COMBOBOX", L"LISTBOX", L"SCROLLBAR"})
    if (up == standard) c.className = up;
  c.style |= WS_CHILD | (visible ? WS_VISIBLE : 0);
}

void mapFont(JsonIo& io, DialogTemplate& t) {
  io.optional("face", t.fontFace, std::wstring(), WideText{});
  io.optional("size", t.fontSize, 8, kUnits);
}

void mapDialog(JsonIo& io, DialogTemplate& t) {
  int id = static_cast<int>(t.id);
  io.field("id", id, kUnits);
  if (io.reading() && io.ok() && id <= 0) io.fail("id", "a template needs a positive id");
  t.id = static_cast<UINT>(id);
  io.optional("caption", t.caption, std::wstring(), WideText{});
  io.optional("style", t.style, DWORD{0}, StyleText{});
  io.optional("exStyle", t.exStyle, DWORD{0}, StyleText{});
  mapRect(io, t.rect, "the dialog");
  if (io.has("font")) {
    DialogTemplate font;
    io.field("font", font, base::Record<DialogTemplate>{mapFont});
    t.fontFace = font.fontFace;
    t.fontSize = font.fontSize;
  }
  io.list("controls", t.controls, base::Record<ControlTemplate>{mapControl});
  if (io.reading() && t.controls.size() > 4096) io.fail("controls", "too many controls");
}

std::wstring upper(std::wstring s) { return base::toUpper(s); }

}  // namespace

base::Result<DWORD> parseStyle(const std::string& text) {
  DWORD style = 0;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, '|')) {
    part = trim(part);
    if (part.empty()) continue;
    auto it = styleNames().find(part);
    if (it != styleNames().end()) {
      style |= it->second;
      continue;
    }
    try {
      std::size_t used = 0;
      unsigned long v = std::stoul(part, &used, 0);
      if (used != part.size() || v > 0xFFFFFFFFul) throw std::invalid_argument(part);
      style |= static_cast<DWORD>(v);
    } catch (const std::exception&) {
      return Status::error("unknown style \"" + part + "\"");
    }
  }
  return style;
}

int dialogUnitsToPixelsX(int units) {
  int v = units * 6;
  return v >= 0 ? (v + 2) / 4 : -((-v + 2) / 4);
}
int dialogUnitsToPixelsY(int units) {
  int v = units * 13;
  return v >= 0 ? (v + 4) / 8 : -((-v + 4) / 8);
}
CRect dialogUnitsToPixels(const CRect& u) {
  int x = dialogUnitsToPixelsX(u.left), y = dialogUnitsToPixelsY(u.top);
  return CRect(x, y, x + dialogUnitsToPixelsX(u.Width()), y + dialogUnitsToPixelsY(u.Height()));
}

base::Result<DialogTemplate> DialogTemplate::parse(const std::string& text) {
  const base::Result<Json> j = base::parseJson(text, kTemplateLimits, "template");
  if (!j) return j.status();
  DialogTemplate t;
  JsonIo io = JsonIo::reader(*j);
  mapDialog(io, t);
  if (!io.ok()) return io.status();
  return t;
}

base::Result<DialogTemplate> DialogTemplate::load(const std::filesystem::path& file) {
  const base::Result<std::string> bytes = base::readFile(file, kTemplateLimits.maxBytes);
  if (!bytes) return bytes.status();
  const base::Result<std::string> text = base::fileTextAsUtf8(*bytes);
  if (!text) return Status::fileError(file.filename(), text.status().message());
  base::Result<DialogTemplate> t = parse(*text);
  if (!t) return t.status().inFile(file.filename());
  return t;
}

}  // namespace krv::win
