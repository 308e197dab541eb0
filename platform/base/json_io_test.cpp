#include "platform/base/json_io.h"

#include <gtest/gtest.h>

namespace krv::base {
namespace {

enum class Shape { Round, Square };

struct Hole {
  int x = 0;
  double diameter = 18.0;
  Shape shape = Shape::Round;
  bool operator==(const Hole&) const = default;
};

struct Plate {
  std::string name;
  int count = 1;
  bool fixed = false;
  std::vector<Hole> holes;
  Hole pattern;  // nested object, written only when it differs
  std::vector<int> marks;
  int odd = 0;  // stored as a text of digits
};

void map(JsonIo& io, Hole& h) {
  io.field("x", h.x, Integer<int>{-1000, 1000});
  io.optional("diameter", h.diameter, 18.0, Number{1, 100});
  io.optional("shape", h.shape, Shape::Round,
              EnumText<Shape>{{{Shape::Round, "round"}, {Shape::Square, "square"}}});
}

void map(JsonIo& io, Plate& p) {
  io.field("name", p.name, Text{true});
  io.optional("count", p.count, 1, Integer<int>{1, 99});
  io.optional("fixed", p.fixed, false);
  io.list("holes", p.holes);
  io.optional("pattern", p.pattern, Hole{});
  io.list("marks", p.marks);
  io.optional("odd", p.odd, 0,
              Custom<int>{[](const Json& j, int& v) {
                            if (!j.is_string()) return Status::error("digits are expected");
                            v = std::stoi(j.get<std::string>());
                            return Status();
                          },
                          [](const int& v) { return Json(std::to_string(v)); }});
}

Json written(Plate p, JsonIo::Defaults defaults = JsonIo::Defaults::Omit) {
  Json j;
  JsonIo io = JsonIo::writer(j, defaults);
  map(io, p);
  return j;
}

Status readInto(const std::string& text, Plate& p) {
  const Json j = Json::parse(text);
  JsonIo io = JsonIo::reader(j);
  map(io, p);
  return io.status();
}

TEST(JsonIo, WritesInCallOrderLeavesDefaultsOutAndReadsBackTheSame) {
  Plate p;
  p.name = "P1";
  p.holes = {{10, 18.0, Shape::Round}, {-20, 22.5, Shape::Square}};
  p.marks = {3, 1};
  p.odd = 42;
  const Json j = written(p);
  EXPECT_EQ(j.dump(),
            R"({"name":"P1","holes":[{"x":10},{"x":-20,"diameter":22.5,"shape":"square"}],)"
            R"("marks":[3,1],"odd":"42"})");
  Plate back;
  back.count = 7;  // a left-out member reads as its default, not as what was there
  ASSERT_TRUE(readInto(j.dump(), back).ok()) << readInto(j.dump(), back).text();
  EXPECT_EQ(back.count, 1);
  EXPECT_EQ(back.holes, p.holes);
  EXPECT_EQ(back.marks, p.marks);
  EXPECT_EQ(back.odd, 42);
  EXPECT_EQ(written(back), j);

  // Asked for defaults, every member is written, nested records too.
  Plate q;
  q.name = "Q";
  const Json full = written(q, JsonIo::Defaults::Write);
  EXPECT_EQ(full.dump(),
            R"({"name":"Q","count":1,"fixed":false,"holes":[],)"
            R"("pattern":{"x":0,"diameter":18.0,"shape":"round"},"marks":[],"odd":"0"})");
  // A nested record differing from its default is written whole.
  q.pattern.x = 5;
  EXPECT_EQ(written(q).dump(), R"({"name":"Q","pattern":{"x":5}})");
}

TEST(JsonIo, ManyMembersAreWrittenInCallOrderWithTheirValues) {
  Json j;
  JsonIo io = JsonIo::writer(j);
  std::vector<std::vector<int>> lists(30);
  for (int i = 0; i < 30; ++i) {
    lists[i] = {i, i + 1};
    io.list("m" + std::to_string(29 - i), lists[i]);
  }
  int again = 7;
  io.field("m29", again);  // a name written twice keeps its place
  ASSERT_EQ(j.size(), 30u);
  int i = 0;
  for (auto it = j.begin(); it != j.end(); ++it, ++i) {
    EXPECT_EQ(it.key(), "m" + std::to_string(29 - i));
    EXPECT_EQ(it.value(), i == 0 ? Json(7) : Json({i, i + 1}));
  }
}

TEST(JsonIo, DescribesWhatAbsentMembersReadAs) {
  // Required plain members are not named; lists give their element.
  EXPECT_EQ(Record<Plate>{}.describe().dump(),
            R"({"count":1,"fixed":false,"holes":[{"diameter":18.0,"shape":"round"}],)"
            R"("pattern":{"x":0},"marks":[],"odd":"0"})");
  struct Tab {
    std::string name, title;
  };
  const Record<Tab> tab{[](JsonIo& io, Tab& t) {
    io.field("name", t.name);
    io.optionalLike("title", t.title, "name", t.name);
  }};
  EXPECT_EQ(tab.describe().dump(), R"({"title":{"$sibling":"name"}})");
  // Reading and writing: the title falls back to the name.
  Tab t;
  ASSERT_TRUE(tab.read(Json::parse(R"({"name": "N"})"), t).ok());
  EXPECT_EQ(t.title, "N");
  t.title = "T";
  EXPECT_EQ(tab.write(t, JsonIo::reader(Json())).dump(), R"({"name":"N","title":"T"})");
}

TEST(JsonIo, WrongKindsAndRangesAreReportedWithTheirPath) {
  struct Case {
    std::string text, place, message;
  } cases[] = {
      {R"({"count": 2})", "", "the member \"name\" is missing"},
      {R"({"name": ""})", "name", "must not be empty"},
      {R"({"name": 5})", "name", "a text is expected"},
      {R"({"name": "P", "count": 100})", "count", "must lie between 1 and 99"},
      {R"({"name": "P", "count": 1.5})", "count", "a whole number is expected"},
      {R"({"name": "P", "count": 18446744073709551615})", "count", "must lie between 1 and 99"},
      {R"({"name": "P", "fixed": 1})", "fixed", "true or false is expected"},
      {R"({"name": "P", "holes": {}})", "holes", "an array is expected"},
      {R"({"name": "P", "holes": [{"x": 1}, 7]})", "holes[1]", "an object is expected"},
      {R"({"name": "P", "holes": [{"x": 1}, {"x": 2, "diameter": "big"}]})", "holes[1].diameter",
       "a number is expected"},
      {R"({"name": "P", "holes": [{"x": 1, "diameter": 0.5}]})", "holes[0].diameter",
       "must lie between 1 and 100"},
      {R"({"name": "P", "pattern": {"x": 1, "shape": "oval"}})", "pattern.shape",
       "one of \"round\", \"square\" is expected"},
      {R"({"name": "P", "pattern": {}})", "pattern", "the member \"x\" is missing"},
      {R"({"name": "P", "marks": [1, "2"]})", "marks[1]", "a whole number is expected"},
      {R"({"name": "P", "odd": 3})", "odd", "digits are expected"},
  };
  for (const Case& c : cases) {
    Plate p;
    const Status s = readInto(c.text, p);
    ASSERT_FALSE(s.ok()) << c.text;
    EXPECT_EQ(s.place(), c.place) << c.text;
    EXPECT_EQ(s.message(), c.message) << c.text;
  }
}

TEST(JsonIo, TheFirstErrorIsKeptAndStepsAddTheirOwn) {
  const Json j = Json::parse(R"({"name": 1, "count": "x", "holes": [{"x": 1}, {"x": 1}]})");
  JsonIo io = JsonIo::reader(j);
  Plate p;
  map(io, p);
  EXPECT_EQ(io.status().text(), "name: a text is expected");
  io.fail("later", "not kept");
  EXPECT_EQ(io.status().place(), "name");

  const Json k = Json::parse(R"({"name": "P", "holes": [{"x": 1}, {"x": 1}]})");
  JsonIo check = JsonIo::reader(k);
  map(check, p);
  ASSERT_TRUE(check.ok());
  if (p.holes[0] == p.holes[1]) check.fail(JsonIo::at("holes", 1), "a hole at this place exists");
  EXPECT_EQ(check.status().text(), "holes[1]: a hole at this place exists");
  EXPECT_EQ(Status(check.status()).within("plates[0]").place(), "plates[0].holes[1]");
}

}  // namespace
}  // namespace krv::base
