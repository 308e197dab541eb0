// The properties list of sheet document settings and its ¤-separated text form.
#include "spread/vt_ss_property_list.h"

#include <cstdio>

#include "platform/base/case_folding.h"
#include "platform/base/file_io.h"
#include "platform/core/c_number_text.h"
#include "platform/core/code_page.h"

namespace {

// The name compared without regard to case: each character in upper case.
std::wstring nameKey(const Krv_String& name) {
  std::wstring key = name.str();
  for (auto& c : key) c = static_cast<wchar_t>(krv::base::toUpper(static_cast<char32_t>(c)));
  return key;
}

std::string valueText(const VtSSPropertyList::Property& p) {
  char buffer[64];
  switch (p.type) {
    case VtSSPropertyList::kDouble:
      std::snprintf(buffer, sizeof buffer, "%.2f", p.doubleValue);
      return buffer;
    case VtSSPropertyList::kInt:
      return std::to_string(p.intValue);
    case VtSSPropertyList::kLong:
      return std::to_string(p.longValue);
    case VtSSPropertyList::kString:
      return VtW2A(p.stringValue);
    default:
      return {};
  }
}

bool holdsSeparator(const Krv_String& text) {
  return text.str().find(L'\u00A4') != std::wstring::npos;
}

}  // namespace

VtSSPropertyList::Property* VtSSPropertyList::findMutable(const Krv_String& name) {
  auto it = mIndex.find(nameKey(name));
  return it == mIndex.end() ? nullptr : &mProperties[it->second];
}

const VtSSPropertyList::Property* VtSSPropertyList::find(const Krv_String& name) const {
  return const_cast<VtSSPropertyList*>(this)->findMutable(name);
}

void VtSSPropertyList::set(const Property& property) {
  if (property.name.isEmpty()) return;
  if (Property* p = findMutable(property.name)) {
    Krv_String keptName = p->name;
    *p = property;
    p->name = keptName;
  } else {
    mIndex.emplace(nameKey(property.name), mProperties.size());
    mProperties.push_back(property);
  }
}

void VtSSPropertyList::setDouble(const Krv_String& name, double value) {
  Property p;
  p.name = name, p.type = kDouble, p.doubleValue = value;
  set(p);
}
void VtSSPropertyList::setInt(const Krv_String& name, int value) {
  Property p;
  p.name = name, p.type = kInt, p.intValue = value;
  set(p);
}
void VtSSPropertyList::setLong(const Krv_String& name, long value) {
  Property p;
  p.name = name, p.type = kLong, p.longValue = value;
  set(p);
}
void VtSSPropertyList::setString(const Krv_String& name, const Krv_String& value) {
  Property p;
  p.name = name, p.type = kString, p.stringValue = value;
  set(p);
}

bool VtSSPropertyList::getDouble(const Krv_String& name, double& value) const {
  const Property* p = find(name);
  if (!p || p->type != kDouble) return false;
  value = p->doubleValue;
  return true;
}
bool VtSSPropertyList::getInt(const Krv_String& name, int& value) const {
  const Property* p = find(name);
  if (!p || p->type != kInt) return false;
  value = p->intValue;
  return true;
}
bool VtSSPropertyList::getLong(const Krv_String& name, long& value) const {
  const Property* p = find(name);
  if (!p || p->type != kLong) return false;
  value = p->longValue;
  return true;
}
bool VtSSPropertyList::getString(const Krv_String& name, Krv_String& value) const {
  const Property* p = find(name);
  if (!p || p->type != kString) return false;
  value = p->stringValue;
  return true;
}

std::string VtSSPropertyList::toText() const {
  std::string out;
  for (const auto& p : mProperties) {
    if (p.name.isEmpty()) continue;
    out += VtW2A(p.name);
    out += kSeparator;
    out += std::to_string(p.type);
    out += kSeparator;
    out += valueText(p);
    out += kSeparator;
  }
  return out;
}

Krv_String VtSSPropertyList::toWideText() const { return VtA2W(toText()); }

void VtSSPropertyList::addFromText(std::string_view bytes) {
  std::string fields[3];
  int field = 0;
  for (char b : bytes) {
    if (b != kSeparator) {
      fields[field] += b;
      continue;
    }
    if (++field < 3) continue;
    Property p;
    p.name = VtA2W(fields[0]);
    p.type = _wtoi(VtA2W(fields[1]));
    const Krv_String value = VtA2W(fields[2]);
    switch (p.type) {
      case kDouble:
        p.doubleValue = _wtof(value);
        break;
      case kInt:
        p.intValue = _wtoi(value);
        break;
      case kLong:
        p.longValue = _wtol(value);
        break;
      case kString:
        p.stringValue = value;
        break;
      default:
        p.type = kNone;
    }
    set(p);
    field = 0;
    for (auto& f : fields) f.clear();
  }
}

void VtSSPropertyList::addFromWideText(const Krv_String& text) { addFromText(VtW2A(text)); }

krv::base::Status VtSSPropertyList::checkWritable() const {
  for (const auto& p : mProperties) {
    const bool inName = holdsSeparator(p.name);
    if (inName || (p.type == kString && holdsSeparator(p.stringValue))) {
      return krv::base::Status::error("the setting \"" + VtW2A(p.name) +
                                      "\" holds the separator character \xC2\xA4 in its " +
                                      (inName ? "name" : "value") + " and cannot be stored");
    }
  }
  return {};
}

krv::base::Status VtSSPropertyList::writeFile(const std::filesystem::path& file) const {
  if (krv::base::Status s = checkWritable(); !s) return s.inFile(file);
  return krv::base::writeFileAtomic(file, toText());
}

krv::base::Status VtSSPropertyList::readFile(const std::filesystem::path& file) {
  auto bytes = krv::base::readFile(file);
  if (!bytes) return bytes.status();
  addFromText(*bytes);
  return {};
}
