#include "platform/core/global_str.h"

#include "platform/sheet/custom_function.h"

std::uint32_t setGlobalStr(const Krv_String& text) {
  return krv::sheet::StringHandles::global().create(text.utf8());
}

bool getGlobalStr(std::uint32_t handle, Krv_String& text) {
  text.setEmpty();
  if (handle == 0) return false;
  auto bytes = krv::sheet::StringHandles::global().get(handle);
  if (!bytes) return false;
  text = Krv_String::fromUtf8(*bytes);
  return true;
}
