#include "platform/win/bmp_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

const std::filesystem::path kDir = std::filesystem::path(KRV_TESTDATA_DIR) / "bmp";

// Reads the ASCII reference pictures (P3 colour, P1 black and white) the
// test bitmaps were made from.
krv::win::BitmapImage readReference(const std::string& name) {
  std::ifstream in(kDir / name);
  std::string magic;
  int w = 0, h = 0, max = 1;
  in >> magic >> w >> h;
  if (magic == "P3") in >> max;
  krv::win::BitmapImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (magic == "P3") {
        int r, g, b;
        in >> r >> g >> b;
        image.setPixel(x, y, RGB(r, g, b));
      } else {
        int bit;
        in >> bit;
        image.setPixel(x, y, bit ? RGB(0, 0, 0) : RGB(255, 255, 255));
      }
    }
  EXPECT_TRUE(in) << name;
  return image;
}

void expectSamePixels(const krv::win::BitmapImage& got, const krv::win::BitmapImage& want,
                      int tolerance, const std::string& name) {
  ASSERT_EQ(got.width(), want.width()) << name;
  ASSERT_EQ(got.height(), want.height()) << name;
  for (int y = 0; y < want.height(); ++y)
    for (int x = 0; x < want.width(); ++x) {
      const COLORREF a = got.pixel(x, y), b = want.pixel(x, y);
      EXPECT_NEAR(GetRValue(a), GetRValue(b), tolerance) << name << " at " << x << "," << y;
      EXPECT_NEAR(GetGValue(a), GetGValue(b), tolerance) << name << " at " << x << "," << y;
      EXPECT_NEAR(GetBValue(a), GetBValue(b), tolerance) << name << " at " << x << "," << y;
    }
}

TEST(BmpFile, ReadsFilesOfEveryDepthHeaderAndRowOrder) {
  struct Case {
    const char* file;
    const char* reference;
    int bits;
    int tolerance;
  };
  const Case cases[] = {
      {"mono1.bmp", "mono5x3.pbm", 1, 0},         {"pal4.bmp", "ref5x3.ppm", 4, 0},
      {"pal4_core.bmp", "ref5x3.ppm", 4, 0},      {"pal8.bmp", "ref5x4.ppm", 8, 0},
      {"pal8_topdown.bmp", "ref5x4.ppm", 8, 0},   {"rgb16_555.bmp", "ref5x3.ppm", 16, 8},
      {"rgb16_565.bmp", "ref5x3.ppm", 16, 8},     {"rgb24_info.bmp", "ref5x3.ppm", 24, 0},
      {"rgb24_core.bmp", "ref5x3.ppm", 24, 0},    {"rgb24_v5.bmp", "ref5x3.ppm", 24, 0},
      {"rgb24_topdown.bmp", "ref5x3.ppm", 24, 0}, {"rgb32_info.bmp", "ref5x3.ppm", 32, 0},
      {"rgb32_topdown.bmp", "ref5x3.ppm", 32, 0}, {"rgb32_v4.bmp", "ref5x3.ppm", 32, 0},
      {"rgb32_v5.bmp", "ref5x3.ppm", 32, 0},
  };
  for (const Case& c : cases) {
    const auto image = krv::win::readBmpFile(kDir / c.file);
    ASSERT_TRUE(image.ok()) << c.file << ": " << image.status().text();
    EXPECT_EQ(image->bitsPerPixel(), c.bits) << c.file;
    expectSamePixels(*image, readReference(c.reference), c.tolerance, c.file);
  }
}

TEST(BmpFile, RefusesEveryBadFileWithAMessageNamingIt) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kDir / "bad")) {
    const auto image = krv::win::readBmpFile(entry.path());
    EXPECT_FALSE(image.ok()) << entry.path();
    EXPECT_NE(image.status().text().find(entry.path().filename().string()), std::string::npos)
        << image.status().text();
    ++count;
  }
  EXPECT_GE(count, 20);
  const auto missing = krv::win::readBmpFile(kDir / "no_such_file.bmp");
  EXPECT_FALSE(missing.ok());
  EXPECT_NE(missing.status().text().find("no_such_file"), std::string::npos);
}

TEST(BmpFile, CutFilesAreRefusedWithoutCrashing) {
  for (const char* name : {"pal8.bmp", "rgb32_v5.bmp", "pal4_core.bmp"}) {
    std::ifstream in(kDir / name, std::ios::binary);
    const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), {});
    ASSERT_FALSE(data.empty());
    for (std::size_t n = 0; n < data.size(); ++n) {
      const bool read = krv::win::decodeBmp(std::span(data.data(), n)).ok();
      // Only the padding of the last row (at most three bytes) may be missing.
      if (n + 3 < data.size()) {
        EXPECT_FALSE(read) << name << " cut at " << n;
      }
    }
  }
}

TEST(BmpFile, WrittenFilesReadBackAndReplaceAtomically) {
  const auto dir = std::filesystem::temp_directory_path() / "krv_bmp_write_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const krv::win::BitmapImage reference = readReference("ref5x3.ppm");
  for (int bits : {24, 32}) {
    const auto path = dir / ("out" + std::to_string(bits) + ".bmp");
    const krv::base::Status written = krv::win::writeBmpFile(path, reference, bits);
    ASSERT_TRUE(written.ok()) << written.text();
    const auto back = krv::win::readBmpFile(path);
    ASSERT_TRUE(back.ok()) << back.status().text();
    EXPECT_EQ(back->bitsPerPixel(), bits);
    expectSamePixels(*back, reference, 0, path.string());
  }
  // Unsupported depths and empty pictures are refused and leave the old file.
  const auto path = dir / "out24.bmp";
  const auto size = std::filesystem::file_size(path);
  EXPECT_FALSE(krv::win::writeBmpFile(path, reference, 8).ok());
  EXPECT_FALSE(krv::win::writeBmpFile(path, krv::win::BitmapImage(), 24).ok());
  EXPECT_FALSE(krv::win::writeBmpFile(dir / "missing_dir" / "x.bmp", reference, 24).ok());
  EXPECT_EQ(std::filesystem::file_size(path), size);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
  std::filesystem::remove_all(dir);
}

TEST(BmpFile, AReadOnlyTargetIsRefusedAndAWritableOneKeepsItsMode) {
  const auto dir = std::filesystem::temp_directory_path() / "krv_bmp_mode_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const krv::win::BitmapImage reference = readReference("ref5x3.ppm");
  const auto locked = dir / "locked.bmp", shared = dir / "shared.bmp";
  std::ofstream(locked, std::ios::binary) << "previous";
  std::ofstream(shared, std::ios::binary) << "previous";
  std::filesystem::permissions(locked, std::filesystem::perms(0444));
  std::filesystem::permissions(shared, std::filesystem::perms(0640));
  const krv::base::Status refused = krv::win::writeBmpFile(locked, reference, 24);
  EXPECT_FALSE(refused.ok()) << "refused also when the tests run as the superuser";
  EXPECT_NE(refused.text().find("read-only"), std::string::npos) << refused.text();
  EXPECT_EQ(std::filesystem::file_size(locked), 8u);
  EXPECT_EQ(std::filesystem::status(locked).permissions(), std::filesystem::perms(0444));
  ASSERT_TRUE(krv::win::writeBmpFile(shared, reference, 24).ok());
  EXPECT_EQ(std::filesystem::status(shared).permissions(), std::filesystem::perms(0640));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
  std::filesystem::remove_all(dir);
}

TEST(BitmapImage, TransparencyMaskAndClearingMakeTheTwoStepDrawing) {
  krv::win::BitmapImage image = readReference("ref5x3.ppm");
  const krv::win::BitmapImage mask = krv::win::makeTransparencyMask(image, RGB(255, 255, 255));
  EXPECT_EQ(mask.bitsPerPixel(), 1);
  EXPECT_EQ(mask.pixel(3, 0), RGB(255, 255, 255));  // white in the picture
  EXPECT_EQ(mask.pixel(0, 2), RGB(255, 255, 255));
  EXPECT_EQ(mask.pixel(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(mask.pixel(4, 0), RGB(0, 0, 0));  // black is opaque
  EXPECT_EQ(krv::win::clearTransparentPixels(image, RGB(255, 255, 255)), 2);
  EXPECT_EQ(image.pixel(3, 0), RGB(0, 0, 0));
  EXPECT_EQ(image.pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(image.pixel(-1, 0), CLR_INVALID);
  EXPECT_TRUE(krv::win::BitmapImage(40000, 1).empty());
}

}  // namespace
