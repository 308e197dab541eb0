#include "platform/core/json_text.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "platform/base/byte_order_mark.h"
#include "platform/core/c_number_text.h"

namespace krv::core {
namespace {

using Json = nlohmann::ordered_json;

constexpr int kMaxDepth = 512;
// Containers whose one-line form would reach beyond this column are laid
// out one member a line.
constexpr size_t kLineWidth = 100;

// ---- the layout of a document

struct Layout {
  std::string eol = "\n";
  std::string unit = "  ";  // one level of indentation
  bool spaceAfterColon = true;
  bool spaceAfterComma = true;  // between members on one line
};

Layout detectLayout(const std::string& text) {
  Layout layout;
  const size_t firstEol = text.find('\n');
  if (firstEol != std::string::npos && firstEol > 0 && text[firstEol - 1] == '\r')
    layout.eol = "\r\n";
  // The smallest indentation is one level; a line indented by a tab makes
  // the level a tab.
  size_t smallest = 0;
  for (size_t eol = firstEol; eol != std::string::npos; eol = text.find('\n', eol + 1)) {
    size_t i = eol + 1, spaces = 0;
    if (i < text.size() && text[i] == '\t') {
      layout.unit = "\t";
      smallest = 0;
      break;
    }
    while (i + spaces < text.size() && text[i + spaces] == ' ') ++spaces;
    if (spaces > 0 && (smallest == 0 || spaces < smallest)) smallest = spaces;
  }
  if (smallest > 0) layout.unit = std::string(smallest, ' ');
  // The spacing after the first ':' and the first ',' that does not end a
  // line, outside texts.
  bool inString = false, colonSeen = false, commaSeen = false;
  for (size_t i = 0; i + 1 < text.size() && !(colonSeen && commaSeen); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        inString = false;
      continue;
    }
    const char next = text[i + 1];
    if (c == '"') {
      inString = true;
    } else if (c == ':' && !colonSeen) {
      colonSeen = true;
      layout.spaceAfterColon = next == ' ';
    } else if (c == ',' && !commaSeen && next != '\n' && next != '\r') {
      commaSeen = true;
      layout.spaceAfterComma = next == ' ';
    }
  }
  return layout;
}

// ---- writing values

std::string scalarText(const Json& v) {
  if (v.is_number_float()) {
    const double d = v.get<double>();
    if (!std::isfinite(d)) return "null";
    if (d == std::trunc(d) && std::fabs(d) < 1e15) return std::to_string(static_cast<long long>(d));
    return shortestDouble(d);
  }
  return v.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Whether the value holds, at any depth, an array with an object or array
// in it: such values are laid out one member a line.
bool holdsListOfContainers(const Json& v) {
  if (!v.is_structured()) return false;
  for (const Json& child : v) {
    if (v.is_array() && child.is_structured()) return true;
    if (holdsListOfContainers(child)) return true;
  }
  return false;
}

enum class Form { Auto, OneLine, Lines };

class Writer {
 public:
  explicit Writer(const Layout& layout) : mLayout(layout) {}

  // The value as it stands on a line indented by `indent`.
  std::string value(const Json& v, const std::string& indent, Form form = Form::Auto) const {
    if (!v.is_structured()) return scalarText(v);
    if (v.empty()) return v.is_object() ? "{}" : "[]";
    if (form == Form::Auto)
      form = holdsListOfContainers(v) || indent.size() + oneLine(v).size() > kLineWidth
                 ? Form::Lines
                 : Form::OneLine;
    if (form == Form::OneLine) return oneLine(v);
    const std::string inner = indent + mLayout.unit;
    std::string s(1, v.is_object() ? '{' : '[');
    bool first = true;
    for (auto it = v.begin(); it != v.end(); ++it) {
      if (!first) s += ',';
      first = false;
      s += mLayout.eol + inner;
      s += v.is_object() ? member(it.key(), it.value(), inner) : value(it.value(), inner);
    }
    s += mLayout.eol + indent + (v.is_object() ? '}' : ']');
    return s;
  }

  std::string member(const std::string& key, const Json& v, const std::string& indent,
                     Form form = Form::Auto) const {
    return scalarText(Json(key)) + colon() + value(v, indent, form);
  }

 private:
  std::string colon() const { return mLayout.spaceAfterColon ? ": " : ":"; }

  std::string oneLine(const Json& v) const {
    if (!v.is_structured()) return scalarText(v);
    std::string s(1, v.is_object() ? '{' : '[');
    bool first = true;
    for (auto it = v.begin(); it != v.end(); ++it) {
      if (!first) s += mLayout.spaceAfterComma ? ", " : ",";
      first = false;
      if (v.is_object()) s += scalarText(Json(it.key())) + colon();
      s += oneLine(it.value());
    }
    return s + (v.is_object() ? '}' : ']');
  }

  const Layout& mLayout;
};

// ---- defaults

const Json* memberTemplate(const Json* tmpl, const std::string& key) {
  if (!tmpl || !tmpl->is_object()) return nullptr;
  auto it = tmpl->find(key);
  if (it == tmpl->end()) it = tmpl->find("*");
  return it == tmpl->end() ? nullptr : &*it;
}

const Json* elementTemplate(const Json* tmpl) {
  return tmpl && tmpl->is_array() && !tmpl->empty() ? &(*tmpl)[0] : nullptr;
}

bool isMap(const Json* tmpl) { return tmpl && tmpl->is_object() && tmpl->contains("*"); }

// The value a member with template `tmpl` reads as when the object
// `parent` lacks it; nothing when absent means absent.
std::optional<Json> absentValue(const Json* tmpl, const Json& parent) {
  if (!tmpl) return std::nullopt;
  if (tmpl->is_array()) return Json::array();
  if (isMap(tmpl)) return Json::object();
  if (tmpl->is_object()) {
    const auto sibling = tmpl->find("$sibling");
    if (sibling == tmpl->end() || !sibling->is_string() || !parent.is_object()) return std::nullopt;
    const auto other = parent.find(sibling->get<std::string>());
    if (other == parent.end()) return std::nullopt;
    return *other;
  }
  return *tmpl;
}

bool isDefault(const Json& v, const Json* tmpl, const Json& parent) {
  if (isMap(tmpl)) {
    if (!v.is_object()) return false;
    for (auto it = v.begin(); it != v.end(); ++it)
      if (!isDefault(it.value(), memberTemplate(tmpl, it.key()), v)) return false;
    return true;
  }
  const std::optional<Json> absent = absentValue(tmpl, parent);
  return absent && *absent == v;
}

Json prune(const Json& v, const Json* tmpl, const JsonDefaults& defaults) {
  if (v.is_array()) {
    Json out = Json::array();
    for (const Json& e : v) out.push_back(prune(e, elementTemplate(tmpl), defaults));
    return out;
  }
  if (!v.is_object()) return v;
  Json out = Json::object();
  for (auto it = v.begin(); it != v.end(); ++it) {
    const Json* memberTmpl = memberTemplate(tmpl, it.key());
    const bool always = std::find(defaults.alwaysWritten.begin(), defaults.alwaysWritten.end(),
                                  it.key()) != defaults.alwaysWritten.end();
    if (!always && isDefault(it.value(), memberTmpl, v)) continue;
    out[it.key()] = prune(it.value(), memberTmpl, defaults);
  }
  return out;
}

// ---- a JSON text with the places of its values

struct Node {
  enum Kind { Scalar, Object, Array } kind = Scalar;
  size_t begin = 0, end = 0;
  std::vector<std::string> keys;  // objects: the member names
  std::vector<size_t> keyBegins;  // objects: where each name starts
  std::vector<Node> items;        // member values or elements

  // Where the text of item i starts: at its name for a member.
  size_t itemBegin(size_t i) const { return kind == Object ? keyBegins[i] : items[i].begin; }
};

class Scanner {
 public:
  explicit Scanner(const std::string& text) : mText(text) {}

  Node document() {
    if (base::detectByteOrderMark(mText) == base::ByteOrderMark::Utf8) mPos = 3;
    Node root = value(0);
    skipSpace();
    if (mPos != mText.size()) throw std::runtime_error("text after the JSON value");
    return root;
  }

 private:
  static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
  void skipSpace() {
    while (mPos < mText.size() && isSpace(mText[mPos])) ++mPos;
  }
  char peek() {
    skipSpace();
    if (mPos >= mText.size()) throw std::runtime_error("the JSON text ends early");
    return mText[mPos];
  }
  void expect(char c) {
    if (peek() != c) throw std::runtime_error(std::string("'") + c + "' expected");
    ++mPos;
  }
  // The end of the string starting at mPos.
  size_t stringEnd() const {
    size_t i = mPos + 1;
    while (i < mText.size() && mText[i] != '"') i += mText[i] == '\\' ? 2 : 1;
    if (i >= mText.size()) throw std::runtime_error("a text is not closed");
    return i + 1;
  }

  Node value(int depth) {
    if (depth > kMaxDepth) throw std::runtime_error("the JSON text is nested too deeply");
    Node n;
    const char c = peek();
    n.begin = mPos;
    if (c == '{' || c == '[') {
      n.kind = c == '{' ? Node::Object : Node::Array;
      const char close = c == '{' ? '}' : ']';
      ++mPos;
      if (peek() != close) {
        for (;;) {
          if (n.kind == Node::Object) {
            if (peek() != '"') throw std::runtime_error("a member name expected");
            const size_t keyEnd = stringEnd();
            n.keyBegins.push_back(mPos);
            n.keys.push_back(
                Json::parse(mText.begin() + mPos, mText.begin() + keyEnd).get<std::string>());
            mPos = keyEnd;
            expect(':');
          }
          n.items.push_back(value(depth + 1));
          if (peek() != ',') break;
          ++mPos;
        }
      }
      expect(close);
    } else if (c == '"') {
      mPos = stringEnd();
    } else {
      while (mPos < mText.size() && !isSpace(mText[mPos]) && mText[mPos] != ',' &&
             mText[mPos] != ']' && mText[mPos] != '}')
        ++mPos;
    }
    n.end = mPos;
    if (n.end == n.begin) throw std::runtime_error("a value expected");
    return n;
  }

  const std::string& mText;
  size_t mPos = 0;
};

// ---- patching

class Patcher {
 public:
  Patcher(const std::string& text, const JsonDefaults& defaults)
      : mText(text), mDefaults(defaults), mLayout(detectLayout(text)), mWriter(mLayout) {}

  std::string run(const Json& updated) {
    const Node root = Scanner(mText).document();
    patch(root, updated, &mDefaults.tmpl);
    return apply();
  }

 private:
  struct Edit {
    size_t begin, end;
    std::string text;
  };
  // A new member or element, placed after the item `after` of the original
  // container (-1: before its first kept item).
  struct Insert {
    long after;
    std::string key;
    Json value;
  };

  Json valueOf(const Node& n) const {
    return Json::parse(mText.begin() + n.begin, mText.begin() + n.end);
  }

  // The white space that starts the line holding position `at`.
  std::string lineIndent(size_t at) const {
    size_t start = 0;
    if (at > 0) {
      const size_t eol = mText.rfind('\n', at - 1);
      start = eol == std::string::npos ? 0 : eol + 1;
    }
    size_t end = start;
    while (end < mText.size() && (mText[end] == ' ' || mText[end] == '\t')) ++end;
    return mText.substr(start, end - start);
  }

  void replace(const Node& n, const Json& want, const Json* tmpl) {
    mEdits.push_back(
        {n.begin, n.end, mWriter.value(prune(want, tmpl, mDefaults), lineIndent(n.begin))});
  }

  void patch(const Node& n, const Json& want, const Json* tmpl) {
    if (valueOf(n) == want) return;
    if (n.kind == Node::Object && want.is_object())
      patchObject(n, want, tmpl);
    else if (n.kind == Node::Array && want.is_array())
      patchArray(n, want, tmpl);
    else
      replace(n, want, tmpl);
  }

  void patchObject(const Node& n, const Json& want, const Json* tmpl) {
    std::vector<bool> removed(n.items.size(), false);
    for (size_t i = 0; i < n.items.size(); ++i) {
      const Json* memberTmpl = memberTemplate(tmpl, n.keys[i]);
      const auto wanted = want.find(n.keys[i]);
      if (wanted != want.end()) {
        patch(n.items[i], *wanted, memberTmpl);
        continue;
      }
      // Not in the new value: it reads as its default now. A member the
      // template does not know is a person's own and stays.
      if (!memberTmpl || isDefault(valueOf(n.items[i]), memberTmpl, want)) continue;
      const std::optional<Json> absent = absentValue(memberTmpl, want);
      if (absent && !absent->is_structured())
        replace(n.items[i], *absent, nullptr);  // keeps its place, spelled out
      else
        removed[i] = true;
    }
    std::vector<Insert> inserts;
    long after = -1;
    for (auto it = want.begin(); it != want.end(); ++it) {
      const auto at = std::find(n.keys.begin(), n.keys.end(), it.key());
      if (at != n.keys.end()) {
        after = at - n.keys.begin();
        continue;
      }
      const Json* memberTmpl = memberTemplate(tmpl, it.key());
      if (!isDefault(it.value(), memberTmpl, want))
        inserts.push_back({after, it.key(), prune(it.value(), memberTmpl, mDefaults)});
    }
    editContainer(n, removed, inserts, want, tmpl);
  }

  // What identifies an element of a list across versions: its name.
  static std::optional<std::string> identity(const Json& v) {
    if (!v.is_object()) return std::nullopt;
    for (const char* key : {"name", "variable"}) {
      const auto it = v.find(key);
      if (it != v.end() && it->is_string()) return std::string(key) + '\0' + it->get<std::string>();
    }
    return std::nullopt;
  }

  void patchArray(const Node& n, const Json& want, const Json* tmpl) {
    const Json* elementTmpl = elementTemplate(tmpl);
    const size_t count = n.items.size();
    std::vector<std::optional<std::string>> ids;
    for (const Node& item : n.items) ids.push_back(identity(valueOf(item)));
    std::vector<long> match(want.size(), -1);
    std::vector<bool> used(count, false);
    for (size_t j = 0; j < want.size(); ++j) {
      const std::optional<std::string> id = identity(want[j]);
      for (size_t i = id ? 0 : j; i < count && (id || i == j); ++i) {
        if (used[i] || ids[i] != id) continue;
        used[i] = true;
        match[j] = static_cast<long>(i);
        break;
      }
    }
    long last = -1;
    for (long m : match) {
      if (m < 0) continue;
      if (m < last) {  // reordered: written anew
        replace(n, want, tmpl);
        return;
      }
      last = m;
    }
    std::vector<bool> removed(count);
    for (size_t i = 0; i < count; ++i) removed[i] = !used[i];
    std::vector<Insert> inserts;
    long after = -1;
    for (size_t j = 0; j < want.size(); ++j) {
      if (match[j] >= 0) {
        patch(n.items[static_cast<size_t>(match[j])], want[j], elementTmpl);
        after = match[j];
      } else {
        inserts.push_back({after, std::string(), prune(want[j], elementTmpl, mDefaults)});
      }
    }
    editContainer(n, removed, inserts, want, tmpl);
  }

  // The white space between item i and the next one, after the comma.
  std::string spaceAfterItem(const Node& n, size_t i) const {
    size_t comma = n.items[i].end;
    while (mText[comma] != ',') ++comma;
    return mText.substr(comma + 1, n.itemBegin(i + 1) - comma - 1);
  }

  // The separator before a new item placed beside item i, as the items
  // around it are separated.
  std::string separatorBeside(const Node& n, size_t i) const {
    if (i + 1 < n.items.size()) return spaceAfterItem(n, i);
    if (i > 0) return spaceAfterItem(n, i - 1);
    const std::string inside = mText.substr(n.begin + 1, n.itemBegin(0) - n.begin - 1);
    if (inside.find('\n') != std::string::npos) return mLayout.eol + lineIndent(n.itemBegin(0));
    return mLayout.spaceAfterComma ? " " : "";
  }

  void editContainer(const Node& n, const std::vector<bool>& removed,
                     const std::vector<Insert>& inserts, const Json& want, const Json* tmpl) {
    std::vector<size_t> kept;
    for (size_t i = 0; i < n.items.size(); ++i)
      if (!removed[i]) kept.push_back(i);
    if (kept.empty()) {
      if (!n.items.empty() || !inserts.empty()) replace(n, want, tmpl);
      return;
    }
    // Runs of removed items go with the separator before them, or after
    // them for a run at the start.
    for (size_t i = 0; i < n.items.size();) {
      if (!removed[i]) {
        ++i;
        continue;
      }
      size_t last = i;
      while (last + 1 < n.items.size() && removed[last + 1]) ++last;
      if (i > 0)
        mEdits.push_back({n.items[i - 1].end, n.items[last].end, std::string()});
      else
        mEdits.push_back({n.itemBegin(0), n.itemBegin(last + 1), std::string()});
      i = last + 1;
    }
    for (const Insert& insert : inserts) {
      const size_t beside = insert.after >= 0 ? static_cast<size_t>(insert.after) : kept.front();
      const std::string separator = separatorBeside(n, beside);
      const size_t eol = separator.rfind('\n');
      const std::string indent =
          eol != std::string::npos ? separator.substr(eol + 1) : lineIndent(n.itemBegin(beside));
      std::string text;
      if (n.kind == Node::Object) {
        text = mWriter.member(insert.key, insert.value, indent);
      } else {
        // An element is laid out as its neighbour is.
        const Node& neighbour = n.items[beside];
        Form form = Form::Auto;
        if (neighbour.kind != Node::Scalar)
          form = mText.find('\n', neighbour.begin) < neighbour.end ? Form::Lines : Form::OneLine;
        text = mWriter.value(insert.value, indent, form);
      }
      if (insert.after >= 0)
        mEdits.push_back({n.items[beside].end, n.items[beside].end, "," + separator + text});
      else
        mEdits.push_back({n.itemBegin(beside), n.itemBegin(beside), text + "," + separator});
    }
  }

  std::string apply() {
    std::stable_sort(mEdits.begin(), mEdits.end(), [](const Edit& a, const Edit& b) {
      return a.begin != b.begin ? a.begin < b.begin : a.end < b.end;
    });
    std::string out;
    size_t cursor = 0;
    for (const Edit& e : mEdits) {
      if (e.begin < cursor) throw std::runtime_error("overlapping changes of a JSON text");
      out.append(mText, cursor, e.begin - cursor);
      out += e.text;
      cursor = e.end;
    }
    out.append(mText, cursor, std::string::npos);
    return out;
  }

  const std::string& mText;
  const JsonDefaults& mDefaults;
  Layout mLayout;
  Writer mWriter;
  std::vector<Edit> mEdits;
};

}  // namespace

nlohmann::ordered_json withoutDefaults(const nlohmann::ordered_json& value,
                                       const JsonDefaults& defaults) {
  return prune(value, &defaults.tmpl, defaults);
}

std::string writeJsonText(const nlohmann::ordered_json& value) {
  const Layout layout;
  return Writer(layout).value(value, std::string()) + layout.eol;
}

std::string patchJsonText(const std::string& original, const nlohmann::ordered_json& updated,
                          const JsonDefaults& defaults) {
  return Patcher(original, defaults).run(updated);
}

}  // namespace krv::core
