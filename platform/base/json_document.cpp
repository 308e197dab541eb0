#include "platform/base/json_document.h"

#include "platform/base/file_io.h"

namespace krv::base {
namespace {

// Thrown from the parser's callback to stop at the first level too deep.
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

nlohmann::json sortedByName(Json&& value) {
  switch (value.type()) {
    case Json::value_t::object: {
      nlohmann::json out = nlohmann::json::object();
      for (auto& [key, member] : value.get_ref<Json::object_t&>())
        out.get_ref<nlohmann::json::object_t&>().emplace(key, sortedByName(std::move(member)));
      return out;
    }
    case Json::value_t::array: {
      nlohmann::json out = nlohmann::json::array();
      auto& elements = out.get_ref<nlohmann::json::array_t&>();
      elements.reserve(value.size());
      for (Json& element : value) elements.push_back(sortedByName(std::move(element)));
      return out;
    }
    case Json::value_t::string:
      return std::move(value.get_ref<std::string&>());
    case Json::value_t::boolean:
      return value.get<bool>();
    case Json::value_t::number_integer:
      return value.get<std::int64_t>();
    case Json::value_t::number_unsigned:
      return value.get<std::uint64_t>();
    case Json::value_t::number_float:
      return value.get<double>();
    default:
      return nullptr;
  }
}

Result<Json> parseJson(std::string_view text, const JsonLimits& limits, std::string_view what) {
  if (text.size() > limits.maxBytes)
    return Status::error("the " + std::string(what) + " is larger than " +
                         sizeText(limits.maxBytes));
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const int maxDepth = limits.maxDepth;
  const Json::parser_callback_t limitDepth = [maxDepth](int depth, Json::parse_event_t event,
                                                        Json&) {
    // `depth` counts the levels around the value that starts.
    if ((event == Json::parse_event_t::object_start || event == Json::parse_event_t::array_start) &&
        depth >= maxDepth)
      throw TooDeep{};
    return true;
  };
  try {
    return Json::parse(text.begin(), text.end(), limitDepth);
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
                              const TextDecoder& decode, int* version) {
  Result<std::string> bytes = readFile(path, kind.limits.maxBytes);
  if (!bytes) return bytes.status();  // its message names the file
  std::string text;
  if (decode) {
    if (Status s = decode(*bytes, text); !s) return s.inFile(path);
  } else {
    text = std::move(*bytes);
  }
  Result<Json> doc = readDocument(text, kind, version);
  if (!doc) return doc.status().inFile(path);
  return doc;
}

}  // namespace krv::base
