// Feeds arbitrary bytes to the .bmp reader; it must refuse or decode them
// without reading out of bounds, and whatever it decodes must encode again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/win/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto image = krv::win::decodeBmp(std::span(data, size));
  if (image) {
    if (image->empty() ||
        image->pixels().size() != static_cast<std::size_t>(image->width()) * image->height())
      std::abort();
    const auto back = krv::win::decodeBmp(krv::win::encodeBmp(*image, 24));
    if (!back || back->pixels() != image->pixels()) std::abort();
  } else if (image.status().message().empty()) {
    std::abort();
  }
  return 0;
}
