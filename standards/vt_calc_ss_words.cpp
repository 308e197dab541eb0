// Whole-word replacement of names by values in equation texts.
#include "standards/vt_calc_ss_words.h"

#include <algorithm>

#include "platform/core/c_number_text.h"

namespace krv::standards {

namespace {
constexpr int kMaxMatchesPerName = 99999999;

bool isWordRun(const std::wstring& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), isWordChar);
}
bool isAsciiText(const std::wstring& s) {
  return std::all_of(s.begin(), s.end(), [](wchar_t c) { return c <= 0x7F; });
}
}  // namespace

std::wstring asciiLower(const std::wstring& text) {
  std::wstring out = text;
  for (wchar_t& c : out)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return out;
}

void WholeWordReplacer::prepare(const Krv_StringArray& names, const Krv_StringArray& values,
                                bool quote) {
  mNames.removeAll();
  mValues.removeAll();
  mFirst.clear();
  mFast = true;
  const int n = std::min(names.length(), values.length());
  for (int i = 0; i < n; ++i) {
    if (names[i].isEmpty()) continue;
    Krv_String value = values[i];
    if (quote && !isNumber(value)) value = L"\"" + value + L"\"";
    mNames.append(names[i]);
    mValues.append(value);
    if (!isWordRun(names[i].str())) mFast = false;
    if (mFast) mFirst.emplace(asciiLower(names[i].str()), mNames.length() - 1);
  }
  if (!mFast) return;
  // A value holding a name would be replaced again by a later name in the
  // literal search; keep that order of events by searching literally.
  for (int i = 0; i < mValues.length() && mFast; ++i) {
    const std::wstring v = asciiLower(mValues[i].str());
    if (!isAsciiText(v)) {
      mFast = false;
      break;
    }
    for (size_t p = 0; p < v.size();) {
      if (!isWordChar(v[p])) {
        ++p;
        continue;
      }
      size_t e = p;
      while (e < v.size() && isWordChar(v[e])) ++e;
      if (mFirst.count(v.substr(p, e - p))) {
        mFast = false;
        break;
      }
      p = e;
    }
  }
}

bool WholeWordReplacer::apply(Krv_String& text) const {
  if (mNames.isEmpty() || text.isEmpty()) return false;
  if (!mFast || !isAsciiText(text.str())) return applyLiteral(text);
  const std::wstring& in = text.str();
  std::wstring out;
  bool changed = false;
  std::wstring key;
  size_t copied = 0;
  for (size_t p = 0; p < in.size();) {
    if (!isWordChar(in[p])) {
      ++p;
      continue;
    }
    size_t e = p;
    while (e < in.size() && isWordChar(in[e])) ++e;
    key.assign(in, p, e - p);
    for (wchar_t& c : key)
      if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    auto it = mFirst.find(key);
    if (it != mFirst.end()) {
      if (!changed) out.reserve(in.size() + 16);
      out.append(in, copied, p - copied);
      out += mValues[it->second].str();
      copied = e;
      changed = true;
    }
    p = e;
  }
  if (!changed) return false;
  out.append(in, copied, std::wstring::npos);
  text = Krv_String(std::move(out));
  return true;
}

bool WholeWordReplacer::applyLiteral(Krv_String& text) const {
  bool changed = false;
  for (int i = 0; i < mNames.length(); ++i) {
    const Krv_String& name = mNames[i];
    const Krv_String& value = mValues[i];
    int from = 0;
    for (int count = 0; count < kMaxMatchesPerName; ++count) {
      const int at = text.findFirstFrom(name, from, false);
      if (at < 0) break;
      const int end = at + name.length();
      const bool before = at == 0 || !isWordChar(text[at - 1]);
      const bool after = end >= text.length() || !isWordChar(text[end]);
      if (before && after) {
        text = text.left(at) + value + text.substr(end);
        from = at + value.length();
        changed = true;
      } else {
        from = end;
      }
    }
  }
  return changed;
}

}  // namespace krv::standards
