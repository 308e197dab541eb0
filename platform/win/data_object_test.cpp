#include "platform/win/data_object.h"

#include <gtest/gtest.h>

namespace {

// A target that accepts copies of data offering its private format and
// remembers the text of the last drop.
class TextTarget : public COleDropTarget {
 public:
  CLIPFORMAT format = 0;
  DROPEFFECT wanted = DROPEFFECT_COPY;
  BOOL dropResult = TRUE;
  std::wstring dropped;
  int leaves = 0;

  DROPEFFECT OnDragEnter(CWnd* w, COleDataObject* data, DWORD keys, CPoint p) override {
    return OnDragOver(w, data, keys, p);
  }
  DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD, CPoint) override {
    return data->IsDataAvailable(format) ? wanted : DROPEFFECT_NONE;
  }
  BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT, CPoint) override {
    HGLOBAL h = data->GetGlobalData(CF_UNICODETEXT);
    dropped = krv::win::textFromGlobal(h);
    GlobalFree(h);
    return dropResult;
  }
  void OnDragLeave(CWnd*) override { ++leaves; }
};

class DragDropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    krv::win::resetClipboard();
    format = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"Vantorel dragging format"));
    target.format = format;
    ASSERT_TRUE(target.Register(window));
    source.CacheGlobalData(CF_UNICODETEXT, krv::win::globalFromText(L"A1;B2"));
    source.CacheGlobalData(format, GlobalAlloc(GMEM_MOVEABLE, 0));
    krv::win::setDropChooser(
        [this](const COleDataObject& data, DROPEFFECT) -> std::optional<krv::win::DropPoint> {
          seenFormats = data.formats();
          if (!dropWindow) return std::nullopt;
          return krv::win::DropPoint{dropWindow, CPoint(3, 4), 0};
        });
  }
  void TearDown() override {
    krv::win::setDropChooser(nullptr);
    krv::win::resetClipboard();
  }

  int windowObject = 0, otherObject = 0;
  CWnd* window = reinterpret_cast<CWnd*>(&windowObject);
  CWnd* other = reinterpret_cast<CWnd*>(&otherObject);
  CWnd* dropWindow = window;
  CLIPFORMAT format = 0;
  TextTarget target;
  COleDataSource source;
  std::vector<CLIPFORMAT> seenFormats;
};

TEST_F(DragDropTest, ADropOnAnAcceptingTargetDeliversTheDataAsACopy) {
  EXPECT_EQ(source.DoDragDrop(DROPEFFECT_COPY), DROPEFFECT_COPY);
  EXPECT_EQ(target.dropped, L"A1;B2");
  EXPECT_EQ(seenFormats, (std::vector<CLIPFORMAT>{CF_UNICODETEXT, format}));
  EXPECT_EQ(target.leaves, 0);
}

TEST_F(DragDropTest, RefusedCancelledAndUntargetedDropsHaveNoEffect) {
  target.wanted = DROPEFFECT_MOVE;  // the source allows only copying
  EXPECT_EQ(source.DoDragDrop(DROPEFFECT_COPY), DROPEFFECT_NONE);
  EXPECT_EQ(target.leaves, 1);
  EXPECT_TRUE(target.dropped.empty());

  target.wanted = DROPEFFECT_COPY;
  target.dropResult = FALSE;
  EXPECT_EQ(source.DoDragDrop(DROPEFFECT_COPY), DROPEFFECT_NONE);
  EXPECT_EQ(target.dropped, L"A1;B2");

  dropWindow = other;  // no target registered there
  EXPECT_EQ(source.DoDragDrop(), DROPEFFECT_NONE);
  dropWindow = nullptr;  // cancelled
  EXPECT_EQ(source.DoDragDrop(), DROPEFFECT_NONE);

  // Without the private format the target declines.
  COleDataSource plain;
  plain.CacheGlobalData(CF_UNICODETEXT, krv::win::globalFromText(L"x"));
  EXPECT_EQ(krv::win::dropOn({window, CPoint(), 0}, plain, DROPEFFECT_COPY), DROPEFFECT_NONE);
}

TEST_F(DragDropTest, RegistrationIsOnePerWindowAndEndsWithTheTarget) {
  TextTarget second;
  EXPECT_FALSE(second.Register(window));
  EXPECT_TRUE(second.Register(other));
  EXPECT_EQ(COleDropTarget::of(other), &second);
  {
    TextTarget scoped;
    second.Revoke();
    EXPECT_TRUE(scoped.Register(other));
  }
  EXPECT_EQ(COleDropTarget::of(other), nullptr);
}

TEST_F(DragDropTest, DataGoesToAndComesFromTheClipboard) {
  source.SetClipboard();
  EXPECT_EQ(krv::win::getClipboardText(), L"A1;B2");
  COleDataObject data;
  ASSERT_TRUE(data.AttachClipboard());
  EXPECT_TRUE(data.IsDataAvailable(format));
  HGLOBAL h = data.GetGlobalData(format);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalSize(h), 0u);
  GlobalFree(h);
  EXPECT_EQ(data.GetGlobalData(CF_TEXT), nullptr);
}

}  // namespace
