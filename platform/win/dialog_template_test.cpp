#include "platform/win/dialog_template.h"

#include <gtest/gtest.h>

namespace krv::win {
namespace {

TEST(DialogTemplateFile, ReadsEveryMemberAndGivesControlsTheirChildStyles) {
  const auto t = DialogTemplate::parse(R"({"id": 8131, "caption": "Macro",
    "style": "WS_POPUP | WS_CAPTION", "x": 1, "y": 2, "cx": 220, "cy": 120,
    "font": {"face": "Tahoma"},
    "controls": [{"id": 1, "class": "button", "text": "OK", "style": "BS_DEFPUSHBUTTON | 0x10",
                  "x": 160, "y": 100, "cx": 50, "cy": 14},
                 {"class": "MyClass", "visible": false, "exStyle": 512}]})");
  ASSERT_TRUE(t.ok()) << t.status().text();
  EXPECT_EQ(t->id, 8131u);
  EXPECT_EQ(t->caption, L"Macro");
  EXPECT_EQ(t->style, DWORD(WS_POPUP | WS_CAPTION));
  EXPECT_EQ(t->rect, CRect(1, 2, 221, 122));
  EXPECT_EQ(t->fontFace, L"Tahoma");
  EXPECT_EQ(t->fontSize, 8);
  ASSERT_EQ(t->controls.size(), 2u);
  EXPECT_EQ(t->controls[0].className, L"BUTTON");
  EXPECT_EQ(t->controls[0].style, DWORD(BS_DEFPUSHBUTTON | 0x10 | WS_CHILD | WS_VISIBLE));
  EXPECT_EQ(t->controls[1].className, L"MyClass");
  EXPECT_EQ(t->controls[1].id, -1);
  EXPECT_EQ(t->controls[1].style, DWORD(WS_CHILD));
  EXPECT_EQ(t->controls[1].exStyle, 512u);
}

TEST(DialogTemplateFile, FaultsNameTheirPlace) {
  struct Case {
    std::string text, place, message;
  } cases[] = {
      {R"({"cx": 1})", "", "the member \"id\" is missing"},
      {R"({"id": 0})", "id", "a template needs a positive id"},
      {R"({"id": 1, "cx": -1})", "", "the dialog size must not be negative"},
      {R"({"id": 1, "controls": [{"class": "EDIT"}, {"class": "EDIT", "style": "WS_NONE"}]})",
       "controls[1].style", "unknown style \"WS_NONE\""},
      {R"({"id": 1, "controls": [{"text": "x"}]})", "controls[0]",
       "the member \"class\" is missing"},
      {R"({"id": 1, "font": {"size": "big"}})", "font.size", "a whole number is expected"},
      {R"({"id": 1, "x": 70000})", "x", "must lie between -32768 and 65535"},
  };
  for (const Case& c : cases) {
    const auto t = DialogTemplate::parse(c.text);
    ASSERT_FALSE(t.ok()) << c.text;
    EXPECT_EQ(t.status().place(), c.place) << c.text;
    EXPECT_EQ(t.status().message(), c.message) << c.text;
  }
  EXPECT_FALSE(DialogTemplate::parse(std::string(20, '[')).ok()) << "nested too deep";
}

}  // namespace
}  // namespace krv::win
