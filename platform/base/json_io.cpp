#include "platform/base/json_io.h"

#include <algorithm>
#include <cstdio>

namespace krv::base {

JsonIo JsonIo::reader(const Json& source) {
  JsonIo io;
  io.mSource = &source;
  if (!source.is_object()) io.mStatus = Status::error("an object is expected");
  return io;
}

JsonIo JsonIo::writer(Json& target, Defaults defaults) {
  JsonIo io;
  target = Json::object();
  io.mTarget = &target;
  io.mDefaults = defaults;
  return io;
}

void JsonIo::fail(const std::string& place, std::string message) {
  if (reading() && ok()) mStatus = Status::fileError({}, std::move(message), place);
}

const Json* JsonIo::find(std::string_view name) const {
  if (!mSource->is_object()) return nullptr;
  const auto it = mSource->find(std::string(name));
  return it == mSource->end() ? nullptr : &*it;
}

void JsonIo::put(std::string_view name, Json value) {
  auto& members = mTarget->get_ref<Json::object_t&>();
  for (auto& member : members) {
    if (member.first == name) {
      member.second = std::move(value);
      return;
    }
  }
  if (members.size() == members.capacity()) {
    // Growing the storage in place would copy every member, whole arrays of
    // cells too, because the names are const; the members move instead.
    Json::object_t larger;
    larger.reserve(std::max<std::size_t>(8, 2 * members.size()));
    for (auto& member : members) larger.emplace_back(member.first, std::move(member.second));
    members = std::move(larger);
  }
  members.emplace_back(std::string(name), std::move(value));
}

Status Number::read(const Json& j, double& value) const {
  if (!j.is_number()) return Status::error("a number is expected");
  const double v = j.get<double>();
  if (!std::isfinite(v)) return Status::error("a finite number is expected");
  if (v < lo || v > hi) {
    auto text = [](double d) {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%.15g", d);
      return std::string(buf);
    };
    return Status::error("must lie between " + text(lo) + " and " + text(hi));
  }
  value = v;
  return {};
}

Status Boolean::read(const Json& j, bool& value) const {
  if (!j.is_boolean()) return Status::error("true or false is expected");
  value = j.get<bool>();
  return {};
}

Status Text::read(const Json& j, std::string& value) const {
  if (!j.is_string()) return Status::error("a text is expected");
  if (nonEmpty && j.get_ref<const std::string&>().empty())
    return Status::error("must not be empty");
  value = j.get<std::string>();
  return {};
}

}  // namespace krv::base
