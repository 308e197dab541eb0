#include "platform/core/json_text.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Json = nlohmann::ordered_json;

std::string patched(const std::string& original, const char* updated,
                    const krv::core::JsonDefaults& d = {}) {
  return krv::core::patchJsonText(original, Json::parse(updated), d);
}

TEST(JsonTextPatch, RemovedElementsGoWithOneSeparator) {
  const std::string list =
      "[\n  {\"name\": \"a\"},\n  {\"name\": \"b\"},\n  {\"name\": \"c\"}\n]\n";
  struct Case {
    const char* updated;
    std::string expected;
  } cases[] = {
      {R"([{"name":"b"},{"name":"c"}])", "[\n  {\"name\": \"b\"},\n  {\"name\": \"c\"}\n]\n"},
      {R"([{"name":"a"},{"name":"c"}])", "[\n  {\"name\": \"a\"},\n  {\"name\": \"c\"}\n]\n"},
      {R"([{"name":"a"},{"name":"b"}])", "[\n  {\"name\": \"a\"},\n  {\"name\": \"b\"}\n]\n"},
      {R"([{"name":"c"}])", "[\n  {\"name\": \"c\"}\n]\n"},
      {R"([])", "[]\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(patched(list, c.updated), c.expected) << c.updated;
}

TEST(JsonTextPatch, NewElementsTakeTheSeparatorsAroundThem) {
  EXPECT_EQ(patched(R"({"a": [1,2]})", R"({"a": [1,2,3]})"), R"({"a": [1,2,3]})")
      << "a compact list stays compact although the document puts blanks after commas elsewhere";
  EXPECT_EQ(patched("[\n\t{\"name\": \"b\"}\n]", R"([{"name":"a"},{"name":"b"}])"),
            "[\n\t{\"name\": \"a\"},\n\t{\"name\": \"b\"}\n]")
      << "an element before the first goes on its own line";
  EXPECT_EQ(patched("{\"list\": []}", R"({"list": [{"name": "x", "more": [{"name": "y"}]}]})"),
            "{\"list\": [\n  {\n    \"name\": \"x\",\n    \"more\": [\n      {\"name\": \"y\"}\n   "
            " ]\n  }\n]}")
      << "an empty list is filled one element a line";
}

TEST(JsonTextPatch, ANewMemberFollowsItsPredecessor) {
  const std::string original = "{\r\n    \"a\": 1,\r\n    \"c\": 3\r\n}\r\n";
  EXPECT_EQ(patched(original, R"({"a": 1, "b": {"x": 2}, "c": 3})"),
            "{\r\n    \"a\": 1,\r\n    \"b\": {\"x\": 2},\r\n    \"c\": 3\r\n}\r\n");
}

TEST(JsonTextPatch, AReorderedListIsWrittenAnew) {
  const std::string text =
      patched("[{\"name\": \"a\"}, {\"name\": \"b\"}]", R"([{"name":"b"},{"name":"a"}])");
  EXPECT_EQ(Json::parse(text), Json::parse(R"([{"name":"b"},{"name":"a"}])")) << text;
}

TEST(JsonTextPatch, DefaultsFollowTheTemplate) {
  krv::core::JsonDefaults d;
  d.tmpl = Json::parse(R"({"flag": false, "map": {"*": 0}, "title": {"$sibling": "name"}})");
  // Absent members that hold their default stay absent; a map reads its
  // absent members as 0; the title reads as the name.
  EXPECT_EQ(patched(R"({"name": "n", "map": {"a": 1, "b": 0}})",
                    R"({"name": "n", "flag": false, "map": {"a": 1}, "title": "n"})", d),
            R"({"name": "n", "map": {"a": 1, "b": 0}})");
  EXPECT_EQ(patched(R"({"name": "n", "map": {"a": 1}})",
                    R"({"name": "n", "flag": true, "map": {}, "title": "t"})", d),
            R"({"name": "n", "flag": true, "map": {"a": 0}, "title": "t"})")
      << "a value that became its default is spelled out in place";
  EXPECT_EQ(patched(R"({"note": "mine", "flag": true})", R"({"flag": false})", d),
            R"({"note": "mine", "flag": false})")
      << "a member the template does not know is a person's and stays";
}

TEST(JsonTextPatch, WrittenAnewLeavesDefaultsOutAndWholeNumbersPlain) {
  krv::core::JsonDefaults d;
  d.tmpl = Json::parse(R"({"list": [{"flag": false, "value": 0}]})");
  d.alwaysWritten = {"value"};
  const Json value = Json::parse(
      R"({"list": [{"name": "a", "flag": false, "value": 0.0}, {"name": "b", "value": 0.5}]})");
  EXPECT_EQ(krv::core::writeJsonText(krv::core::withoutDefaults(value, d)),
            "{\n  \"list\": [\n    {\"name\": \"a\", \"value\": 0},\n    {\"name\": \"b\", "
            "\"value\": 0.5}\n  ]\n}\n");
}

TEST(JsonTextPatch, AnOriginalThatIsNotOneValueIsRefused) {
  for (const char* bad : {"", "[1, 2", "{\"a\" 1}", "[1] [2]"})
    EXPECT_ANY_THROW(patched(bad, "[1]")) << bad;
}

}  // namespace
