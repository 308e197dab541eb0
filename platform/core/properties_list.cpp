#include "platform/core/properties_list.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "platform/base/case_folding.h"
#include "platform/base/utf.h"
#include "platform/core/c_number_text.h"
#include "platform/core/krv_array.h"
#include "platform/core/text_file.h"
#include "platform/core/text_functions.h"

namespace {
const wchar_t kHeader[] = L"Krv properties version 1";
}

int Krv_PropertiesList::indexOf(const Krv_String& name) const {
  const auto found = mIndex.find(name.str());
  return found == mIndex.end() ? -1 : found->second;
}

void Krv_PropertiesList::reindex() {
  mIndex.clear();
  for (size_t i = 0; i < mProps.size(); ++i)
    mIndex.emplace(mProps[i].name.str(), static_cast<int>(i));
}

Krv_PropertiesList::Property& Krv_PropertiesList::slot(const Krv_String& name) {
  const int i = indexOf(name);
  if (i >= 0) return mProps[static_cast<size_t>(i)];
  Property p;
  p.name = name;
  mProps.push_back(p);
  mIndex.emplace(name.str(), static_cast<int>(mProps.size() - 1));
  return mProps.back();
}

// A property set to another value or type loses the line it was read from.
void Krv_PropertiesList::setProperty(const Krv_String& name, int value) {
  Property& p = slot(name);
  if (p.type != Type::Int || p.intValue != value) p.line.setEmpty();
  p.type = Type::Int;
  p.intValue = value;
}

void Krv_PropertiesList::setProperty(const Krv_String& name, double value) {
  Property& p = slot(name);
  if (p.type != Type::Double || std::memcmp(&p.doubleValue, &value, sizeof value) != 0)
    p.line.setEmpty();
  p.type = Type::Double;
  p.doubleValue = value;
}

void Krv_PropertiesList::setProperty(const Krv_String& name, const Krv_String& value) {
  Property& p = slot(name);
  if (p.type != Type::String || p.text != value) p.line.setEmpty();
  p.type = Type::String;
  p.text = value;
}

bool Krv_PropertiesList::getProperty(const Krv_String& name, int& value) const {
  const int i = indexOf(name);
  if (i < 0) return false;
  const Property& p = mProps[static_cast<size_t>(i)];
  if (p.type == Type::Int) {
    value = p.intValue;
    return true;
  }
  if (p.type == Type::Double && std::isfinite(p.doubleValue) && p.doubleValue > INT_MIN - 1.0 &&
      p.doubleValue < INT_MAX + 1.0) {
    value = static_cast<int>(p.doubleValue);
    return true;
  }
  return false;
}

bool Krv_PropertiesList::getProperty(const Krv_String& name, double& value) const {
  const int i = indexOf(name);
  if (i < 0) return false;
  const Property& p = mProps[static_cast<size_t>(i)];
  if (p.type == Type::String) return false;
  value = p.type == Type::Int ? p.intValue : p.doubleValue;
  return true;
}

bool Krv_PropertiesList::getProperty(const Krv_String& name, Krv_String& value) const {
  const int i = indexOf(name);
  if (i < 0 || mProps[static_cast<size_t>(i)].type != Type::String) return false;
  value = mProps[static_cast<size_t>(i)].text;
  return true;
}

bool Krv_PropertiesList::removeProperty(const Krv_String& name) {
  const int i = indexOf(name);
  if (i < 0) return false;
  // Blank lines before it separate what was before from what follows.
  const int blanks = mProps[static_cast<size_t>(i)].blankLinesBefore;
  mProps.erase(mProps.begin() + i);
  reindex();
  int& next = i < length() ? mProps[static_cast<size_t>(i)].blankLinesBefore : mTrailingBlankLines;
  next = std::max(next, blanks);
  return true;
}

Krv_String Krv_PropertiesList::nameAt(int index) const {
  return (index >= 0 && index < length()) ? mProps[static_cast<size_t>(index)].name : Krv_String();
}

krv::base::Status Krv_PropertiesList::readFromFile(const Krv_String& path,
                                                   std::vector<SkippedLine>* skipped) {
  using krv::base::Status;
  Krv_StringArray lines;
  if (!ObjectExportReadFile(path, lines)) return Status::error("cannot read " + path.utf8());
  if (lines.isEmpty() || lines[0] != Krv_String(kHeader))
    return Status::fileError(path.utf8(), "not a properties list of version 1", "line 1");
  Krv_PropertiesList read;
  int blanks = 0;
  for (int i = 1; i < lines.length(); ++i) {
    if (lines[i].isEmpty()) {
      ++blanks;
      continue;
    }
    Krv_StringArray f;
    splitStringAtSymbol(lines[i], L'\t', f, false);
    const Krv_String name(krv::core::unescapeField(f.length() > 1 ? f[1].str() : L""));
    bool ok = f.length() == 3 && f[0].length() == 1;
    if (ok && f[0][0] == L'i') {
      wchar_t* end = nullptr;
      const long long v = std::wcstoll(f[2].c_str(), &end, 10);
      // Whole text an integer (wcstoll clamps one out of range).
      ok = isNumber(f[2]) && end && *end == L'\0' && v >= INT_MIN && v <= INT_MAX;
      if (ok) read.setProperty(name, static_cast<int>(v));
    } else if (ok && f[0][0] == L'd') {
      double v = 0;
      ok = krv::core::parseDouble(f[2].utf8(), v);
      if (ok) read.setProperty(name, v);
    } else if (ok && f[0][0] == L's') {
      read.setProperty(name, Krv_String(krv::core::unescapeField(f[2].str())));
    } else {
      ok = false;
    }
    if (!ok && skipped) {
      skipped->push_back({i + 1, lines[i]});
      continue;
    }
    if (!ok)
      return Status::fileError(path.utf8(), "not a property (type, name and value)",
                               "line " + std::to_string(i + 1));
    Property& p = read.mProps[static_cast<size_t>(read.indexOf(name))];
    p.line = lines[i];
    p.blankLinesBefore = blanks;
    blanks = 0;
  }
  mProps = std::move(read.mProps);
  mIndex = std::move(read.mIndex);
  mTrailingBlankLines = blanks;
  return {};
}

krv::base::Status Krv_PropertiesList::writeToFile(const Krv_String& path) const {
  Krv_StringArray lines;
  lines.append(kHeader);
  const auto blankLines = [&](int count) {
    for (int i = 0; i < count; ++i) lines.append(Krv_String());
  };
  for (const Property& p : mProps) {
    blankLines(p.blankLinesBefore);
    if (!p.line.isEmpty()) {
      lines.append(p.line);
      continue;
    }
    Krv_String line;
    const Krv_String name(krv::core::escapeField(p.name.str()));
    switch (p.type) {
      case Type::Int:
        line = L"i\t" + name + L"\t" + Krv_String(std::to_wstring(p.intValue));
        break;
      case Type::Double:
        line = L"d\t" + name + L"\t" + Krv_String(krv::core::shortestDouble(p.doubleValue));
        break;
      case Type::String:
        line = L"s\t" + name + L"\t" + Krv_String(krv::core::escapeField(p.text.str()));
        break;
    }
    lines.append(line);
  }
  blankLines(mTrailingBlankLines);
  if (!ObjectExportWriteFile(path, lines))
    return krv::base::Status::error("cannot write " + path.utf8());
  return {};
}

bool Krv_PropertiesList::operator==(const Krv_PropertiesList& o) const {
  if (mProps.size() != o.mProps.size()) return false;
  for (size_t i = 0; i < mProps.size(); ++i) {
    const Property &a = mProps[i], &b = o.mProps[i];
    if (a.name != b.name || a.type != b.type) return false;
    if (a.type == Type::Int && a.intValue != b.intValue) return false;
    if (a.type == Type::String && a.text != b.text) return false;
    if (a.type == Type::Double && std::memcmp(&a.doubleValue, &b.doubleValue, sizeof(double)) != 0)
      return false;
  }
  return true;
}
