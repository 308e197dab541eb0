#pragma once
// What a person does to build a dialog design in the designer window from
// its picture, written as a person script (`korvane dialog CDlgDesigner
// --script`) or as a desktop script (`korvane desktop --script`), and the
// check that a built design is the one it was built from.
//
// The person saves the new design under its name, loads the picture, and
// then for each control of the design in order: adds a control (a
// variable edit of 30 x 18 pixels at 20 % of the picture's width and
// height), drags it by its middle so that its top-left corner lies where
// the control's does (which also selects it), sets its type, contents and
// extended list, and its width and height with the size buttons and the
// prompt they open. A list the designer shows no field for at the control's
// type is typed while the control is a variable combo box, whose list the
// type change keeps. Finally the design is saved again.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>

#include "designer/cdlg_designer.h"
#include "designer/krv_designer_control.h"
#include "designer/krv_dlg_designer_data.h"
#include "tools/program_run_test_support.h"

namespace krv::tools::test {

enum class StepsFor { PersonScript, DesktopScript };

// The size of a BMP file's picture, from its header (0, 0 when it is none).
inline std::pair<int, int> bmpSize(const std::filesystem::path& file) {
  const std::string b = readBytes(file);
  if (b.size() < 26 || b.compare(0, 2, "BM") != 0) return {0, 0};
  const auto at = [&](std::size_t i) {
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(b[i + k]);
    return static_cast<std::int32_t>(v);
  };
  return {at(18), std::abs(at(22))};
}

// A control's rectangle in pixels of a picture of `width` x `height`.
inline CRect pixelRect(const Krv_DesignerControl& c, int width, int height) {
  return CRect(static_cast<int>(std::lround(c.mTopLeftX * width)),
               static_cast<int>(std::lround(c.mTopLeftY * height)),
               static_cast<int>(std::lround(c.mBottomRightX * width)),
               static_cast<int>(std::lround(c.mBottomRightY * height)));
}

// The steps that build `design` (read from its file) over its picture of
// `width` x `height` pixels, saved as `saveAs`.
inline std::string designerSteps(const Krv_DlgDesignerData& design, int width, int height,
                                 const std::filesystem::path& picture,
                                 const std::filesystem::path& saveAs, StepsFor kind) {
  const bool person = kind == StepsFor::PersonScript;
  std::string out;
  const auto quotedWord = [person](const std::string& text) {
    std::string q = "\"";
    for (char c : text) {
      if (person && (c == '"' || c == '\\')) q += '\\';
      q += c;
    }
    return q + "\"";
  };
  // A button whose click opens a file dialog: a person script answers it
  // after the click, a desktop script queues the answer before.
  const auto clickAnswered = [&](int id, const std::filesystem::path& file) {
    const std::string files = "files " + quotedWord(file.string()) + "\n";
    const std::string click = "click " + std::to_string(id) + "\n";
    out += person ? click + files : files + click;
  };
  const auto replace = [&](int id, const Krv_String& text) {
    out += "replace " + std::to_string(id);
    if (!text.isEmpty()) out += " " + quotedWord(text.utf8());
    out += "\n";
  };
  const auto choose = [&](int type) {
    out += "choose " + std::to_string(CDlgDesigner::kTypeCombo) + " " + std::to_string(type) + "\n";
  };
  const auto size = [&](int button, int pixels) {
    out += "click " + std::to_string(button) + "\nreplace 8003 " + std::to_string(pixels) +
           "\nclick OK\n";
  };

  clickAnswered(CDlgDesigner::kSave, saveAs);
  clickAnswered(CDlgDesigner::kPicture, picture);
  // Where the designer puts a new control, and the point of its middle.
  const CRect added(static_cast<int>(std::lround(0.2 * width)),
                    static_cast<int>(std::lround(0.2 * height)),
                    static_cast<int>(std::lround(0.2 * width)) + 30,
                    static_cast<int>(std::lround(0.2 * height)) + 18);
  const CPoint middle = added.CenterPoint();
  for (int i = 0; i < design.getNrControls(); ++i) {
    const Krv_DesignerControl& c = *design.getControl(i);
    const CRect r = pixelRect(c, width, height);
    out += "# control " + std::to_string(i) + "\n";
    out += "click " + std::to_string(CDlgDesigner::kAdd) + "\n";
    const CPoint to = middle + CPoint(r.left - added.left, r.top - added.top);
    out += std::string(person ? "drag 0 " : "drag ") + std::to_string(middle.x) + " " +
           std::to_string(middle.y) + " " + std::to_string(to.x) + " " + std::to_string(to.y) +
           "\n";
    const Krv_String list = c.getMergedExtComboList();
    if (!list.isEmpty() && !Krv_DlgDesignerData::hasExtList(c.mType)) {
      choose(ctVarCombo);
      replace(CDlgDesigner::kExt, list);
    }
    if (c.mType != ctVarEdit) choose(c.mType);
    replace(CDlgDesigner::kContents, c.mContents);
    if (!list.isEmpty() && Krv_DlgDesignerData::hasExtList(c.mType))
      replace(CDlgDesigner::kExt, list);
    if (r.Width() != added.Width()) size(CDlgDesigner::kWidth, r.Width());
    if (r.Height() != added.Height()) size(CDlgDesigner::kHeight, r.Height());
  }
  out += "# saved again, under its name\n";
  clickAnswered(CDlgDesigner::kSave, saveAs);
  return out;
}

// Checks that `built` has the controls of `sample` in the same order, of
// the same type, contents and extended list, each within a pixel of its
// place on a picture of `width` x `height`.
inline void expectSameDesign(const Krv_DlgDesignerData& sample, const Krv_DlgDesignerData& built,
                             int width, int height) {
  ASSERT_EQ(built.getNrControls(), sample.getNrControls());
  for (int i = 0; i < sample.getNrControls(); ++i) {
    const Krv_DesignerControl& want = *sample.getControl(i);
    const Krv_DesignerControl& got = *built.getControl(i);
    EXPECT_EQ(got.mType, want.mType) << "control " << i;
    EXPECT_EQ(got.mContents.utf8(), want.mContents.utf8()) << "control " << i;
    EXPECT_EQ(got.getMergedExtComboList().utf8(), want.getMergedExtComboList().utf8())
        << "control " << i;
    const CRect a = pixelRect(want, width, height), b = pixelRect(got, width, height);
    EXPECT_LE(std::abs(a.left - b.left), 1) << "control " << i;
    EXPECT_LE(std::abs(a.top - b.top), 1) << "control " << i;
    EXPECT_LE(std::abs(a.right - b.right), 1) << "control " << i;
    EXPECT_LE(std::abs(a.bottom - b.bottom), 1) << "control " << i;
  }
}

}  // namespace krv::tools::test
