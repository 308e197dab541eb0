#include "platform/win/list_ctrl.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/win/bitmap.h"
#include "platform/win/event_loop.h"
#include "platform/win/person.h"

namespace {

using krv::win::Person;

struct Notice {
  UINT code;
  int item;
  UINT newState;
  UINT oldState;
};

class Host : public CWnd {
 public:
  std::vector<Notice> notices;
  BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT*) override {
    auto* h = reinterpret_cast<NMHDR*>(lParam);
    if (h->code == LVN_ITEMCHANGED) {
      auto* lv = reinterpret_cast<NMLISTVIEW*>(lParam);
      notices.push_back({h->code, lv->iItem, lv->uNewState, lv->uOldState});
    } else if (h->code == NM_CLICK || h->code == NM_DBLCLK) {
      notices.push_back({h->code, reinterpret_cast<NMITEMACTIVATE*>(lParam)->iItem, 0, 0});
    }
    return TRUE;
  }
  int count(UINT code) const {
    int n = 0;
    for (const auto& x : notices) n += x.code == code;
    return n;
  }
};

class ListCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        host.Create(L"#32770", L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
  }
  void make(DWORD extra = 0) {
    ASSERT_TRUE(
        list.Create(WS_CHILD | WS_VISIBLE | LVS_ICON | extra, CRect(0, 0, 300, 200), &host, 9091));
    for (const wchar_t* t : {L"Endplate", L"Cleat", L"Fin plate", L"Base plate"})
      list.InsertItem(list.GetItemCount(), t, list.GetItemCount());
  }
  void TearDown() override {
    host.DestroyWindow();
    krv::win::EventLoop::instance().reset();
  }
  Host host;
  CListCtrl list;
};

TEST(ImageList, BitmapStripsIconsAndMasks) {
  CImageList images;
  EXPECT_EQ(images.Add(static_cast<HICON>(nullptr)), -1);
  EXPECT_FALSE(images.Create(0, 16, ILC_COLOR24, 4, 4));
  ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 4));
  EXPECT_FALSE(images.Create(16, 16, ILC_COLOR24, 4, 4));

  CBitmap strip;
  krv::win::BitmapImage picture(40, 10, RGB(255, 0, 255));
  picture.setPixel(17, 3, RGB(1, 2, 3));
  strip.setImage(picture);
  EXPECT_EQ(images.Add(&strip, RGB(255, 0, 255)), 0);  // 40 / 16: two strips, the rest dropped
  ASSERT_EQ(images.GetImageCount(), 2);
  const auto* second = images.image(1);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->picture.width(), 16);
  EXPECT_EQ(second->picture.height(), 16);
  EXPECT_EQ(second->picture.pixel(1, 3), RGB(1, 2, 3));
  EXPECT_EQ(second->picture.pixel(1, 12), RGB(0, 0, 0));  // padded below the bitmap
  ASSERT_TRUE(second->mask);
  EXPECT_EQ(second->mask->pixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(second->mask->pixel(1, 3), RGB(0, 0, 0));

  CBitmap narrow;
  narrow.setImage(krv::win::BitmapImage(8, 16));
  EXPECT_EQ(images.Add(&narrow, nullptr), -1);
  CBitmap empty;
  EXPECT_EQ(images.Add(&empty, nullptr), -1);

  int fake = 0;
  EXPECT_EQ(images.Add(reinterpret_cast<HICON>(&fake)), 2);
  EXPECT_EQ(images.image(2)->icon, reinterpret_cast<HICON>(&fake));
  EXPECT_TRUE(images.Remove(0));
  EXPECT_EQ(images.image(1)->icon, reinterpret_cast<HICON>(&fake));
  EXPECT_FALSE(images.Remove(5));
  EXPECT_TRUE(images.Remove(-1));
  EXPECT_EQ(images.GetImageCount(), 0);
}

TEST_F(ListCtrlTest, PersonClickSelectsOneItemAndNotifies) {
  make();
  Person::choose(&list, 2);
  EXPECT_EQ(list.GetSelectedCount(), 1u);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 2);
  ASSERT_FALSE(host.notices.empty());
  EXPECT_EQ(host.notices.back().code, NM_CLICK);
  EXPECT_EQ(host.notices.back().item, 2);
  EXPECT_EQ(host.count(LVN_ITEMCHANGED), 1);
  EXPECT_EQ(CWnd::GetFocus(), &list);

  host.notices.clear();
  Person::choose(&list, 0);
  EXPECT_EQ(list.GetSelectedCount(), 1u);
  EXPECT_EQ(list.GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED), 0u);
  // Item 2 loses selection and focus, item 0 gains both.
  ASSERT_EQ(host.count(LVN_ITEMCHANGED), 2);
  EXPECT_EQ(host.notices[0].item, 2);
  EXPECT_EQ(host.notices[0].newState, 0u);
  EXPECT_EQ(host.notices[1].item, 0);
  EXPECT_EQ(host.notices[1].newState, LVIS_SELECTED | LVIS_FOCUSED);

  host.notices.clear();
  Person::doubleClickItem(&list, 3);
  EXPECT_EQ(host.count(NM_DBLCLK), 1);
  EXPECT_EQ(host.notices.back().item, 3);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 3);

  // A click on empty space clears the selection.
  Person::clickAt(&list, CPoint(290, 190));
  EXPECT_EQ(list.GetSelectedCount(), 0u);
  EXPECT_EQ(host.notices.back().item, -1);
}

TEST_F(ListCtrlTest, ControlClickTogglesInMultiSelectionOnly) {
  make();
  CRect r;
  Person::choose(&list, 0);
  list.GetItemRect(2, &r, LVIR_ICON);
  Person::clickAt(&list, r.CenterPoint(), false, true);
  EXPECT_EQ(list.GetSelectedCount(), 2u);
  POSITION pos = list.GetFirstSelectedItemPosition();
  std::vector<int> selected;
  while (pos) selected.push_back(list.GetNextSelectedItem(pos));
  EXPECT_EQ(selected, (std::vector<int>{0, 2}));
  Person::clickAt(&list, r.CenterPoint(), false, true);
  EXPECT_EQ(list.GetSelectedCount(), 1u);

  list.ModifyStyle(0, LVS_SINGLESEL);
  list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(list.GetSelectedCount(), 1u);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 3);
}

TEST_F(ListCtrlTest, ProgramStateChangesNotifyOnlyOnRealChange) {
  make();
  EXPECT_TRUE(list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_TRUE(list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_EQ(host.count(LVN_ITEMCHANGED), 1);
  EXPECT_FALSE(list.SetItemState(7, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_TRUE(list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_EQ(list.GetSelectedCount(), 4u);
  EXPECT_EQ(host.count(LVN_ITEMCHANGED), 4);
  EXPECT_EQ(host.count(NM_CLICK), 0);
}

TEST_F(ListCtrlTest, ItemsFindAndDelete) {
  make();
  list.SetItemData(3, 77);
  LVFINDINFO find;
  find.flags = LVFI_STRING;
  find.psz = L"cleat";
  EXPECT_EQ(list.FindItem(&find), 1);
  EXPECT_EQ(list.FindItem(&find, 1), -1);  // the search starts after the start item
  find.flags |= LVFI_WRAP;
  EXPECT_EQ(list.FindItem(&find, 1), 1);
  find.flags = LVFI_STRING | LVFI_PARTIAL;
  find.psz = L"FIN";
  EXPECT_EQ(list.FindItem(&find), 2);
  find.psz = L"plate";
  EXPECT_EQ(list.FindItem(&find), -1);
  find.flags = LVFI_PARAM;
  find.lParam = 77;
  EXPECT_EQ(list.FindItem(&find), 3);
  EXPECT_EQ(list.FindItem(nullptr), -1);

  EXPECT_EQ(list.InsertItem(99, L"Last", 0), 4);
  EXPECT_EQ(list.InsertItem(-5, L"First", 0), 0);
  EXPECT_EQ(list.GetItemText(1), L"Endplate");
  EXPECT_EQ(list.itemImage(2), 1);
  EXPECT_TRUE(list.DeleteItem(0));
  EXPECT_FALSE(list.DeleteItem(10));
  EXPECT_EQ(list.GetItemData(3), 77u);
  list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_TRUE(list.DeleteAllItems());
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_EQ(list.GetSelectedCount(), 0u);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_ALL), -1);
}

TEST_F(ListCtrlTest, IconLayoutWrapsAtTheClientWidthAndHitTests) {
  make();
  CImageList images;
  ASSERT_TRUE(images.Create(64, 48, ILC_COLOR24, 0, 4));
  EXPECT_EQ(list.SetImageList(&images, LVSIL_NORMAL), nullptr);
  const CSize spacing = list.iconSpacing();
  EXPECT_EQ(spacing, CSize(88, 80));
  CRect r;
  ASSERT_TRUE(list.GetItemRect(3, &r, LVIR_BOUNDS));  // three per row in 300 pixels
  EXPECT_EQ(r.TopLeft(), CPoint(0, 80));
  ASSERT_TRUE(list.GetItemRect(2, &r, LVIR_ICON));
  EXPECT_EQ(r, CRect(176 + 12, 2, 176 + 12 + 64, 50));
  UINT flags = 0;
  EXPECT_EQ(list.HitTest(r.CenterPoint(), &flags), 2);
  EXPECT_EQ(flags, LVHT_ONITEMICON);
  EXPECT_EQ(list.HitTest(CPoint(290, 190), &flags), -1);
  EXPECT_EQ(flags, LVHT_NOWHERE);
  EXPECT_FALSE(list.GetItemRect(4, &r, LVIR_BOUNDS));
}

TEST_F(ListCtrlTest, DisabledListIgnoresThePerson) {
  make();
  list.EnableWindow(FALSE);
  Person::choose(&list, 1);
  EXPECT_EQ(list.GetSelectedCount(), 0u);
  EXPECT_TRUE(host.notices.empty());
}

}  // namespace
