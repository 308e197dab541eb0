#include "platform/base/json_document.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace {

using krv::base::DocumentKind;
using krv::base::readDocument;

DocumentKind testKind() {
  DocumentKind kind;
  kind.format = "korvane test";
  kind.version = 2;
  kind.what = "test file";
  kind.limits.maxBytes = 1000;
  kind.limits.maxDepth = 4;
  return kind;
}

std::string doc(const std::string& rest) {
  return R"({"format": "korvane test", "version": 1)" + rest + "}";
}

TEST(JsonDocument, LimitsOfSizeAndNestingAreExact) {
  const DocumentKind kind = testKind();
  // The document is level 1, so three more levels are allowed.
  EXPECT_TRUE(readDocument(doc(R"(, "a": [[{}]])"), kind).ok());
  const auto deep = readDocument(doc(R"(, "a": [[[{}]]])"), kind);
  EXPECT_EQ(deep.status().message(), "the test file is nested deeper than 4 levels");
  // Brackets inside texts are no nesting.
  EXPECT_TRUE(readDocument(doc(R"(, "a": "[[[[[[{{{{")"), kind).ok());

  std::string padded = doc("");
  padded += std::string(1000 - padded.size(), ' ');
  EXPECT_TRUE(readDocument(padded, kind).ok());
  EXPECT_EQ(readDocument(padded + " ", kind).status().message(),
            "the test file is larger than 1000 bytes");
  DocumentKind mb = kind;
  mb.limits.maxBytes = 16u * 1024u * 1024u;
  EXPECT_EQ(readDocument(std::string(mb.limits.maxBytes + 1, ' '), mb).status().message(),
            "the test file is larger than 16 MB");
}

TEST(JsonDocument, FormatAndVersionAreChecked) {
  const DocumentKind kind = testKind();
  int version = 0;
  EXPECT_TRUE(readDocument("\xEF\xBB\xBF" + doc(""), kind, &version).ok()) << "byte order mark";
  EXPECT_EQ(version, 1);
  struct Case {
    std::string text, place, message;
  } cases[] = {
      {"[]", "", "not a test file (\"format\" must be \"korvane test\")"},
      {R"({"format": "other", "version": 1})", "format",
       "not a test file (\"format\" must be \"korvane test\")"},
      {R"({"version": 1})", "format", "not a test file (\"format\" must be \"korvane test\")"},
      {R"({"format": "korvane test"})", "", "the member \"version\" is missing"},
      {R"({"format": "korvane test", "version": "1"})", "version",
       "a whole number from 1 is expected"},
      {R"({"format": "korvane test", "version": 0})", "version",
       "a whole number from 1 is expected"},
      {R"({"format": "korvane test", "version": 3})", "version",
       "the file was written by a newer version: format version 3 is newer than this program "
       "reads (up to 2)"},
  };
  for (const Case& c : cases) {
    const auto read = readDocument(c.text, kind);
    ASSERT_FALSE(read.ok()) << c.text;
    EXPECT_EQ(read.status().place(), c.place) << c.text;
    EXPECT_EQ(read.status().message(), c.message) << c.text;
  }
}

TEST(JsonDocument, ParserMessagesGiveThePlaceAndQuoteBytesEscaped) {
  const auto read = readDocument("{\n \"format\": \x9B\x01", testKind());
  ASSERT_FALSE(read.ok());
  const std::string& m = read.status().message();
  EXPECT_EQ(m.rfind("malformed JSON: parse error at line 2, column 12", 0), 0u) << m;
  EXPECT_EQ(m.find('\x9B'), std::string::npos) << m;
  EXPECT_NE(m.find("\\x9B"), std::string::npos) << m;
  EXPECT_EQ(krv::base::quotable("ab\x01\xC3\xA4\xFF", 0), "ab\\x01\xC3\xA4\\xFF");
  EXPECT_EQ(krv::base::quotable("abcdef", 3), "abc\u2026");
}

TEST(JsonDocument, ObjectsKeepTheirOrderAndTheFirstFaultInTheTextIsReported) {
  const krv::base::JsonLimits limits{1000, 4};
  auto parsed =
      krv::base::parseJson(R"({"b": 1, "a": {"y": [1, {"z": null}], "x": 2}, "b": 3})", limits);
  ASSERT_TRUE(parsed.ok());
  // A name given twice keeps its first place and its last value.
  EXPECT_EQ(parsed->dump(), R"({"b":3,"a":{"y":[1,{"z":null}],"x":2}})");
  std::string many = "{", expected = "{";
  for (int i = 40; i > 0; --i) {
    const std::string member = "\"m" + std::to_string(i) + "\":[" + std::to_string(i) + "]";
    many += member + (i > 1 ? ", " : "}");
    expected += member + (i > 1 ? "," : "}");
  }
  EXPECT_EQ(krv::base::parseJson(many, limits)->dump(), expected);

  auto message = [&](std::string_view text) {
    return krv::base::parseJson(text, limits, "test file").status().message();
  };
  EXPECT_EQ(message("[[[[[1 2"), "the test file is nested deeper than 4 levels");
  EXPECT_EQ(message("[1 2, [[[[[]]]]]]").rfind("malformed JSON: parse error at line 1", 0), 0u);
  EXPECT_EQ(message("[[[[]]]]"), "");
}

TEST(JsonDocument, SortedByNameWritesTheBytesOfPlainJson) {
  const std::string text =
      R"({"b": [{"d": 0.1, "c": 1e300}, -3, "\u00e4\n"], "a": {"f": true, "e": null, "E": 18446744073709551615},
          "aa": {}, "A": []})";
  const std::string sorted = krv::base::sortedByName(krv::base::Json::parse(text)).dump(1);
  EXPECT_EQ(sorted, nlohmann::json::parse(text).dump(1));
  EXPECT_EQ(krv::base::Json::parse(sorted).dump(),
            R"({"A":[],"a":{"E":18446744073709551615,"e":null,"f":true},"aa":{},)"
            R"("b":[{"c":1e+300,"d":0.1},-3,"ä\n"]})");
}

TEST(JsonDocument, FileErrorsNameTheFile) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("krv_json_document_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto file = dir / "t.json";
  std::ofstream(file) << R"({"format": "korvane test", "version": 9})";
  const auto newer = krv::base::readDocumentFile(file, testKind());
  EXPECT_EQ(newer.status().text().rfind(file.string() + ": version: the file was written", 0), 0u)
      << newer.status().text();
  const auto missing = krv::base::readDocumentFile(dir / "none.json", testKind());
  EXPECT_NE(missing.status().text().find("no such file"), std::string::npos);
  // UTF-16 with a byte order mark is read; half a character is refused,
  // naming the file.
  const std::string utf16{"\xFF\xFE{\0}\0", 6};
  std::ofstream(file, std::ios::binary | std::ios::trunc) << utf16;
  EXPECT_NE(krv::base::readDocumentFile(file, testKind()).status().text().find("format"),
            std::string::npos)
      << "an object without a format member: the text was read";
  std::ofstream(file, std::ios::binary | std::ios::trunc) << utf16 << 'x';
  const auto refused = krv::base::readDocumentFile(file, testKind());
  EXPECT_EQ(refused.status().path(), file);
  std::filesystem::remove_all(dir);
}

}  // namespace
