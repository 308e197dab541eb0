#include "platform/win/dialog_template.h"

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "platform/base/case_folding.h"
#include "platform/base/display_text.h"
#include "platform/base/file_io.h"
#include "platform/base/file_text.h"
#include "platform/base/utf.h"

namespace krv {
namespace {

const std::map<std::string, DWORD>& styleNames() {
  static const std::map<std::string, DWORD> names = {
      {"WS_OVERLAPPED", WS_OVERLAPPED}, {"WS_POPUP", WS_POPUP}, {"WS_CHILD", WS_CHILD},
      {"WS_VISIBLE", WS_VISIBLE}, {"WS_DISABLED", WS_DISABLED}, {"WS_CLIPSIBLINGS", WS_CLIPSIBLINGS},
      {"WS_CLIPCHILDREN", WS_CLIPCHILDREN}, {"WS_CAPTION", WS_CAPTION}, {"WS_BORDER", WS_BORDER},
      {"WS_DLGFRAME", WS_DLGFRAME}, {"WS_VSCROLL", WS_VSCROLL}, {"WS_HSCROLL", WS_HSCROLL},
      {"WS_SYSMENU", WS_SYSMENU}, {"WS_THICKFRAME", WS_THICKFRAME}, {"WS_GROUP", WS_GROUP},
      {"WS_TABSTOP", WS_TABSTOP}, {"WS_MINIMIZEBOX", WS_MINIMIZEBOX}, {"WS_MAXIMIZEBOX", WS_MAXIMIZEBOX},
      {"WS_EX_CLIENTEDGE", WS_EX_CLIENTEDGE}, {"WS_EX_STATICEDGE", WS_EX_STATICEDGE},
      {"WS_EX_TOOLWINDOW", WS_EX_TOOLWINDOW}, {"WS_EX_DLGMODALFRAME", WS_EX_DLGMODALFRAME},
      {"WS_EX_TRANSPARENT", WS_EX_TRANSPARENT}, {"WS_EX_CONTROLPARENT", WS_EX_CONTROLPARENT},
      {"DS_SETFONT", DS_SETFONT}, {"DS_MODALFRAME", DS_MODALFRAME}, {"DS_CENTER", DS_CENTER},
      {"DS_CONTROL", DS_CONTROL},
      {"BS_PUSHBUTTON", BS_PUSHBUTTON}, {"BS_DEFPUSHBUTTON", BS_DEFPUSHBUTTON},
      {"BS_CHECKBOX", BS_CHECKBOX}, {"BS_AUTOCHECKBOX", BS_AUTOCHECKBOX},
      {"BS_RADIOBUTTON", BS_RADIOBUTTON}, {"BS_3STATE", BS_3STATE}, {"BS_AUTO3STATE", BS_AUTO3STATE},
      {"BS_GROUPBOX", BS_GROUPBOX}, {"BS_AUTORADIOBUTTON", BS_AUTORADIOBUTTON},
      {"BS_OWNERDRAW", BS_OWNERDRAW}, {"BS_LEFTTEXT", BS_LEFTTEXT}, {"BS_ICON", BS_ICON},
      {"BS_BITMAP", BS_BITMAP}, {"BS_LEFT", BS_LEFT}, {"BS_RIGHT", BS_RIGHT}, {"BS_CENTER", BS_CENTER},
      {"BS_TOP", BS_TOP}, {"BS_BOTTOM", BS_BOTTOM}, {"BS_VCENTER", BS_VCENTER},
      {"BS_PUSHLIKE", BS_PUSHLIKE}, {"BS_MULTILINE", BS_MULTILINE}, {"BS_FLAT", BS_FLAT},
      {"SS_LEFT", SS_LEFT}, {"SS_CENTER", SS_CENTER}, {"SS_RIGHT", SS_RIGHT}, {"SS_ICON", SS_ICON},
      {"SS_BLACKRECT", SS_BLACKRECT}, {"SS_LEFTNOWORDWRAP", SS_LEFTNOWORDWRAP}, {"SS_BITMAP", SS_BITMAP},
      {"SS_NOTIFY", SS_NOTIFY}, {"SS_CENTERIMAGE", SS_CENTERIMAGE}, {"SS_SUNKEN", SS_SUNKEN},
      {"ES_LEFT", ES_LEFT}, {"ES_CENTER", ES_CENTER}, {"ES_RIGHT", ES_RIGHT},
      {"ES_MULTILINE", ES_MULTILINE}, {"ES_UPPERCASE", ES_UPPERCASE}, {"ES_LOWERCASE", ES_LOWERCASE},
      {"ES_PASSWORD", ES_PASSWORD}, {"ES_AUTOVSCROLL", ES_AUTOVSCROLL},
      {"ES_AUTOHSCROLL", ES_AUTOHSCROLL}, {"ES_NOHIDESEL", ES_NOHIDESEL}, {"ES_READONLY", ES_READONLY},
      {"ES_WANTRETURN", ES_WANTRETURN}, {"ES_NUMBER", ES_NUMBER},
      {"LBS_NOTIFY", LBS_NOTIFY}, {"LBS_SORT", LBS_SORT}, {"LBS_MULTIPLESEL", LBS_MULTIPLESEL},
      {"LBS_EXTENDEDSEL", LBS_EXTENDEDSEL}, {"LBS_STANDARD", LBS_STANDARD},
      {"CBS_SIMPLE", CBS_SIMPLE}, {"CBS_DROPDOWN", CBS_DROPDOWN}, {"CBS_DROPDOWNLIST", CBS_DROPDOWNLIST},
      {"CBS_AUTOHSCROLL", CBS_AUTOHSCROLL}, {"CBS_SORT", CBS_SORT}, {"CBS_HASSTRINGS", CBS_HASSTRINGS},
      {"LVS_ICON", LVS_ICON}, {"LVS_REPORT", LVS_REPORT}, {"LVS_SMALLICON", LVS_SMALLICON},
      {"LVS_LIST", LVS_LIST}, {"LVS_SINGLESEL", LVS_SINGLESEL}, {"LVS_SHOWSELALWAYS", LVS_SHOWSELALWAYS},
      {"LVS_AUTOARRANGE", LVS_AUTOARRANGE}, {"TCS_TABS", TCS_TABS}, {"TCS_MULTILINE", TCS_MULTILINE},
      {"TTS_ALWAYSTIP", TTS_ALWAYSTIP}, {"TTS_NOPREFIX", TTS_NOPREFIX},
  };
  return names;
}

std::string trim(const std::string& s) {
  auto a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return {};
  auto b = s.find_last_not_of(" \t\r\n");
  return s.substr(a, b - a + 1);
}

bool readStyle(const nlohmann::json& j, const char* key, DWORD& style, std::string& error) {
  style = 0;
  if (!j.contains(key)) return true;
  const auto& v = j.at(key);
  if (v.is_number_unsigned() || v.is_number_integer()) {
    style = static_cast<DWORD>(v.get<std::int64_t>());
    return true;
  }
  if (!v.is_string()) {
    error = std::string("\"") + key + "\" must be a number or a text of style names";
    return false;
  }
  return parseStyle(v.get<std::string>(), style, error);
}

bool readInt(const nlohmann::json& j, const char* key, int& out, std::string& error, int def = 0) {
  out = def;
  if (!j.contains(key)) return true;
  const auto& v = j.at(key);
  if (!v.is_number_integer() && !v.is_number_unsigned()) {
    error = std::string("\"") + key + "\" must be a whole number";
    return false;
  }
  auto n = v.get<std::int64_t>();
  if (n < -32768 || n > 65535) {
    error = std::string("\"") + key + "\" is out of range";
    return false;
  }
  out = static_cast<int>(n);
  return true;
}

bool readText(const nlohmann::json& j, const char* key, std::wstring& out, std::string& error) {
  out.clear();
  if (!j.contains(key)) return true;
  if (!j.at(key).is_string()) {
    error = std::string("\"") + key + "\" must be a text";
    return false;
  }
  out = base::utf8ToWide(j.at(key).get<std::string>());
  return true;
}

std::wstring upper(std::wstring s) { return base::toUpper(s); }

}  // namespace

bool parseStyle(const std::string& text, DWORD& style, std::string& error) {
  style = 0;
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
      error = "unknown style \"" + part + "\"";
      return false;
    }
  }
  return true;
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

std::optional<DialogTemplate> DialogTemplate::parse(const std::string& text, std::string& error) {
  nlohmann::json j;
  try {
    j = nlohmann::json::parse(text);
  } catch (const std::exception& e) {
    error = "not a valid template: " + base::displayText(std::string_view(e.what()), 300);
    return std::nullopt;
  }
  if (!j.is_object()) {
    error = "a template must be a JSON object";
    return std::nullopt;
  }
  DialogTemplate t;
  int id = 0, x = 0, y = 0, cx = 0, cy = 0;
  if (!readInt(j, "id", id, error) || !readText(j, "caption", t.caption, error) ||
      !readStyle(j, "style", t.style, error) || !readStyle(j, "exStyle", t.exStyle, error) ||
      !readInt(j, "x", x, error) || !readInt(j, "y", y, error) || !readInt(j, "cx", cx, error) ||
      !readInt(j, "cy", cy, error))
    return std::nullopt;
  if (id <= 0) {
    error = "a template needs a positive \"id\"";
    return std::nullopt;
  }
  if (cx < 0 || cy < 0) {
    error = "the dialog size must not be negative";
    return std::nullopt;
  }
  t.id = static_cast<UINT>(id);
  t.rect = CRect(x, y, x + cx, y + cy);
  if (j.contains("font")) {
    const auto& f = j.at("font");
    if (!f.is_object() || !readText(f, "face", t.fontFace, error) ||
        !readInt(f, "size", t.fontSize, error, 8)) {
      if (error.empty()) error = "\"font\" must be an object with face and size";
      return std::nullopt;
    }
  }
  if (j.contains("controls")) {
    const auto& list = j.at("controls");
    if (!list.is_array()) {
      error = "\"controls\" must be a list";
      return std::nullopt;
    }
    if (list.size() > 4096) {
      error = "too many controls";
      return std::nullopt;
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
      const auto& c = list[i];
      ControlTemplate ct;
      int cid = 0;
      bool visible = true;
      if (!c.is_object()) error = "a control must be an object";
      else if (readInt(c, "id", cid, error, -1) && readText(c, "class", ct.className, error) &&
               readText(c, "text", ct.text, error) && readStyle(c, "style", ct.style, error) &&
               readStyle(c, "exStyle", ct.exStyle, error) && readInt(c, "x", x, error) &&
               readInt(c, "y", y, error) && readInt(c, "cx", cx, error) && readInt(c, "cy", cy, error)) {
        if (c.contains("visible")) {
          if (!c.at("visible").is_boolean()) error = "\"visible\" must be true or false";
          else visible = c.at("visible").get<bool>();
        }
        if (error.empty() && ct.className.empty()) error = "a control needs a \"class\"";
        if (error.empty() && (cx < 0 || cy < 0)) error = "a control size must not be negative";
      }
      if (!error.empty()) {
        error = "control " + std::to_string(i + 1) + ": " + error;
        return std::nullopt;
      }
      ct.id = cid;
      ct.className = upper(ct.className) == L"BUTTON" || upper(ct.className) == L"EDIT" ||
                             upper(ct.className) == L"STATIC" || upper(ct.className) == L"COMBOBOX" ||
                             upper(ct.className) == L"LISTBOX" || upper(ct.className) == L"SCROLLBAR"
                         ? upper(ct.className)
                         : ct.className;
      ct.style |= WS_CHILD | (visible ? WS_VISIBLE : 0);
      ct.rect = CRect(x, y, x + cx, y + cy);
      t.controls.push_back(std::move(ct));
    }
  }
  return t;
}

std::optional<DialogTemplate> DialogTemplate::load(const std::filesystem::path& file,
                                                   std::string& error) {
  const base::Result<std::string> bytes = base::readFile(file, 4u * 1024 * 1024);
  if (!base::reportTo(bytes.status(), error)) return std::nullopt;
  const base::Result<std::string> text = base::fileTextAsUtf8(*bytes);
  if (!base::reportTo(text.status(), error)) {
    error = file.filename().string() + ": " + error;
    return std::nullopt;
  }
  auto t = parse(*text, error);
  if (!t) error = file.filename().string() + ": " + error;
  return t;
}

}  // namespace krv
