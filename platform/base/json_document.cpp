#include "platform/base/json_document.h"

#include <algorithm>
#include <vector>

#include "platform/base/file_io.h"
#include "platform/base/file_text.h"

namespace krv::base {
namespace {

// Thrown by the value builder to stop at the first level too deep.
struct TooDeep {};

std::string sizeText(std::uintmax_t bytes) {
  constexpr std::uintmax_t kMB = 1024u * 1024u;
  if (bytes >= kMB && bytes % kMB == 0) return std::to_string(bytes / kMB) + " MB";
  return std::to_string(bytes) + " bytes";
}

// Length of the UTF-8 sequence at `s[i]`, 0 when it is not one.
std::size_t utf8Length(std::string_view s, std::size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  std::size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  if (n == 2 && b < 0xC2) return 0;  // overlong
  return n;
}

// Builds the value of a text from the parser's events, refusing nesting
// deeper than `maxDepth` levels at the first bracket too deep. An object
// collects its members first and is made in one go: adding members one by
// one to an ordered object copies (does not move) those already in it each
// time its storage grows, because their names are const, and the members
// copied can be whole arrays of cells.
class ValueBuilder {
 public:
  explicit ValueBuilder(int maxDepth) : mMaxDepth(maxDepth) {}

  Json take() { return std::move(mResult); }

  bool null() { return add(nullptr); }
  bool boolean(bool v) { return add(v); }
  bool number_integer(Json::number_integer_t v) { return add(v); }
  bool number_unsigned(Json::number_unsigned_t v) { return add(v); }
  bool number_float(Json::number_float_t v, const Json::string_t&) { return add(v); }
  bool string(Json::string_t& v) { return add(std::move(v)); }
  bool binary(Json::binary_t& v) { return add(Json::binary(std::move(v))); }
  bool start_object(std::size_t) { return open(true); }
  bool key(Json::string_t& name) {
    mFrames.back().name = std::move(name);
    return true;
  }
  bool end_object() {
    Json value = Json::object();
    auto& members = value.get_ref<Json::object_t&>();
    members.reserve(mFrames.back().members.size());
    for (auto& [name, member] : mFrames.back().members)
      members.emplace_back(std::move(name), std::move(member));
    mFrames.pop_back();
    return add(std::move(value));
  }
  bool start_array(std::size_t) { return open(false); }
  bool end_array() {
    Json value = std::move(mFrames.back().array);
    mFrames.pop_back();
    return add(std::move(value));
  }
  template <class Exception>
  bool parse_error(std::size_t, const std::string&, const Exception& e) {
    throw e;
  }

 private:
  struct Frame {
    bool object = false;
    Json array;                                         // an array being read
    std::vector<std::pair<std::string, Json>> members;  // an object being read
    std::string name;                                   // of the member that comes next
  };

  bool open(bool object) {
    if (mFrames.size() >= static_cast<std::size_t>(mMaxDepth)) throw TooDeep{};
    Frame& f = mFrames.emplace_back();
    f.object = object;
    if (!object) f.array = Json::array();
    return true;
  }

  bool add(Json&& value) {
    if (mFrames.empty()) {
      mResult = std::move(value);
    } else if (!mFrames.back().object) {
      mFrames.back().array.get_ref<Json::array_t&>().push_back(std::move(value));
    } else {
      // A name given twice keeps its first place and its last value.
      Frame& f = mFrames.back();
      const auto same = std::find_if(f.members.begin(), f.members.end(),
                                     [&](const auto& m) { return m.first == f.name; });
      if (same != f.members.end())
        same->second = std::move(value);
      else
        f.members.emplace_back(std::move(f.name), std::move(value));
    }
    return true;
  }

  int mMaxDepth;
  std::vector<Frame> mFrames;
  Json mResult;
};

}  // namespace

std::string quotable(std::string_view bytes, std::size_t maxChars) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  std::size_t chars = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    if (maxChars && chars == maxChars) return out + "\u2026";
    const auto b = static_cast<unsigned char>(bytes[i]);
    const std::size_t n = utf8Length(bytes, i);
    if (n == 0 || b < 0x20 || b == 0x7F) {
      out += "\\x";
      out += digits[b >> 4];
      out += digits[b & 0xF];
      ++i;
    } else {
      out.append(bytes.substr(i, n));
      i += n;
    }
    ++chars;
  }
  return out;
}

namespace {

bool byName(const Json::object_t::value_type& a, const Json::object_t::value_type& b) {
  return a.first < b.first;
}

void sortMembers(Json& value) {
  if (value.is_array()) {
    for (Json& element : value)
      if (element.is_structured()) sortMembers(element);
    return;
  }
  if (!value.is_object()) return;
  auto& members = value.get_ref<Json::object_t&>();
  for (auto& member : members)
    if (member.second.is_structured()) sortMembers(member.second);
  if (std::is_sorted(members.begin(), members.end(), byName)) return;
  // The names are const in the object, so the members move into a new one
  // in name order (only the names are copied).
  std::vector<Json::object_t::value_type*> order;
  order.reserve(members.size());
  for (auto& member : members) order.push_back(&member);
  std::sort(order.begin(), order.end(), [](auto* a, auto* b) { return byName(*a, *b); });
  Json::object_t sorted;
  sorted.reserve(members.size());
  for (auto* member : order) sorted.emplace_back(member->first, std::move(member->second));
  members = std::move(sorted);
}

}  // namespace

Json sortedByName(Json&& value) {
  sortMembers(value);
  return std::move(value);
}

Result<Json> parseJson(std::string_view text, const JsonLimits& limits, std::string_view what) {
  if (text.size() > limits.maxBytes)
    return Status::error("the " + std::string(what) + " is larger than " +
                         sizeText(limits.maxBytes));
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const int maxDepth = limits.maxDepth;
  try {
    ValueBuilder builder(maxDepth);
    Json::sax_parse(text.begin(), text.end(), &builder);
    return builder.take();
  } catch (const TooDeep&) {
    return Status::error("the " + std::string(what) + " is nested deeper than " +
                         std::to_string(maxDepth) + " levels");
  } catch (const Json::exception& e) {
    // "[json.exception.parse_error.101] parse error at line 1, column 2: ..."
    std::string_view reason = e.what();
    if (const auto close = reason.find("] "); reason.starts_with("[json.") && close != reason.npos)
      reason.remove_prefix(close + 2);
    return Status::error("malformed JSON: " + quotable(reason, 200));
  }
}

Result<Json> readDocument(std::string_view text, const DocumentKind& kind, int* version) {
  Result<Json> parsed = parseJson(text, kind.limits, kind.what);
  if (!parsed) return parsed;
  const Json& root = *parsed;
  const std::string notOurs =
      "not a " + kind.what + " (\"format\" must be \"" + kind.format + "\")";
  if (!root.is_object()) return Status::error(notOurs);
  const auto format = root.find("format");
  if (format == root.end() || !format->is_string() ||
      format->get_ref<const std::string&>() != kind.format)
    return Status::fileError({}, notOurs, "format");
  const auto v = root.find("version");
  if (v == root.end()) return Status::error("the member \"version\" is missing");
  if (!v->is_number_integer() || v->get<std::int64_t>() < 1)
    return Status::fileError({}, "a whole number from 1 is expected", "version");
  if (v->get<std::int64_t>() > kind.version)
    return Status::fileError({},
                             "the file was written by a newer version: format version " +
                                 std::to_string(v->get<std::int64_t>()) +
                                 " is newer than this program reads (up to " +
                                 std::to_string(kind.version) + ")",
                             "version");
  if (version) *version = v->get<int>();
  return parsed;
}

Result<Json> readDocumentFile(const std::filesystem::path& path, const DocumentKind& kind,
                              int* version) {
  Result<std::string> bytes = readFile(path, kind.limits.maxBytes);
  if (!bytes) return bytes.status();  // its message names the file
  const Result<std::string> text = fileTextAsUtf8(*bytes);
  if (!text) return text.status().inFile(path);
  Result<Json> doc = readDocument(*text, kind, version);
  if (!doc) return doc.status().inFile(path);
  return doc;
}

}  // namespace krv::base
