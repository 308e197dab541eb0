#include "platform/win/guid.h"

#include <gtest/gtest.h>

namespace {

const GUID kBolt = {0x2CE559DB, 0x0008, 0x4AA7, {0x8E, 0x1D, 0x7D, 0xCE, 0xBA, 0xB7, 0xD2, 0xC4}};

TEST(Guid, TextFormIsBracedUpperCaseAndRoundTrips) {
  LPOLESTR text = nullptr;
  ASSERT_EQ(StringFromCLSID(kBolt, &text), S_OK);
  EXPECT_STREQ(text, L"{2CE559DB-0008-4AA7-8E1D-7DCEBAB7D2C4}");
  CLSID back;
  EXPECT_EQ(CLSIDFromString(text, &back), S_OK);
  EXPECT_EQ(back, kBolt);
  CoTaskMemFree(text);

  // Lower-case input is accepted; leading zeros are kept on output.
  CLSID low;
  ASSERT_EQ(CLSIDFromString(L"{00020424-0000-0000-c000-000000000046}", &low), S_OK);
  EXPECT_EQ(krv::win::guidToString(low), L"{00020424-0000-0000-C000-000000000046}");
}

TEST(Guid, StringFromGuid2NeedsRoomForTheTerminator) {
  wchar_t buffer[39];
  EXPECT_EQ(StringFromGUID2(kBolt, buffer, 38), 0);
  EXPECT_EQ(StringFromGUID2(kBolt, buffer, 39), 39);
  EXPECT_STREQ(buffer, L"{2CE559DB-0008-4AA7-8E1D-7DCEBAB7D2C4}");
}

TEST(Guid, MalformedTextsAreRefusedWithZeroResult) {
  for (const wchar_t* bad :
       {L"", L"2CE559DB-0008-4AA7-8E1D-7DCEBAB7D2C4", L"{2CE559DB-0008-4AA7-8E1D-7DCEBAB7D2C}",
        L"{2CE559DB-0008-4AA7-8E1D-7DCEBAB7D2C4", L"{2CE559DB-0008-4AA7-8E1D+7DCEBAB7D2C4}",
        L"{2CE559DG-0008-4AA7-8E1D-7DCEBAB7D2C4}", L"{2CE559DB-0008-4AA7-8E1D-7DCEBAB7D2C4}x"}) {
    CLSID g = kBolt;
    EXPECT_EQ(CLSIDFromString(bad, &g), CO_E_CLASSSTRING) << bad;
    EXPECT_EQ(g, GUID{}) << bad;
  }
  CLSID g;
  EXPECT_EQ(CLSIDFromString(nullptr, &g), CO_E_CLASSSTRING);
  EXPECT_FALSE(krv::win::guidFromString(L"{2CE559DB 0008-4AA7-8E1D-7DCEBAB7D2C4}"));
}

}  // namespace
