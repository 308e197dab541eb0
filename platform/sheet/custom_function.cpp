#include "platform/sheet/custom_function.h"

#include <cctype>

#include "platform/sheet/text_utils.h"

namespace krv::sheet {

StringHandles& StringHandles::global() {
  static StringHandles table;
  return table;
}

uint32_t StringHandles::create(std::string text) {
  std::lock_guard lock(mMutex);
  uint32_t h = mNext++;
  if (mNext == 0) mNext = 1;
  mTexts[h] = std::move(text);
  return h;
}

std::optional<std::string> StringHandles::get(uint32_t handle) const {
  std::lock_guard lock(mMutex);
  auto it = mTexts.find(handle);
  if (it == mTexts.end()) return std::nullopt;
  return it->second;
}

void StringHandles::release(uint32_t handle) {
  std::lock_guard lock(mMutex);
  mTexts.erase(handle);
}

size_t StringHandles::size() const {
  std::lock_guard lock(mMutex);
  return mTexts.size();
}

bool FunctionValue::setString(std::string text) {
  uint32_t h = StringHandles::global().create(std::move(text));
  if (h == 0) return false;
  status = Status::Ok;
  type = Type::String;
  stringHandle = h;
  return true;
}

namespace {
bool validName(std::string_view n) {
  if (n.empty() || n.size() > 255) return false;
  if (!std::isalpha(static_cast<unsigned char>(n[0])) && n[0] != '_') return false;
  for (char c : n)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '.') return false;
  return true;
}
}  // namespace

bool CustomFunctionTable::add(CustomFunction f) {
  if (!validName(f.name) || f.minArgs < 0 || f.maxArgs < f.minArgs || f.maxArgs > 255 ||
      !f.callback)
    return false;
  std::string key = upperText(f.name);
  mByName[key] = std::move(f);
  return true;
}

bool CustomFunctionTable::remove(std::string_view name) {
  return mByName.erase(upperText(name)) > 0;
}

const CustomFunction* CustomFunctionTable::find(std::string_view name) const {
  if (mByName.empty()) return nullptr;
  auto it = mByName.find(upperText(name));
  return it == mByName.end() ? nullptr : &it->second;
}

}  // namespace krv::sheet
