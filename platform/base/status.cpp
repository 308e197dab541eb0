#include "platform/base/status.h"

namespace krv::base {
namespace {

const std::string kEmpty;
const std::filesystem::path kNoPath;

std::string joinPlace(const std::string& outer, const std::string& inner) {
  if (outer.empty()) return inner;
  if (inner.empty()) return outer;
  if (inner.front() == '[') return outer + inner;
  return outer + "." + inner;
}

}  // namespace

Status Status::error(std::string message) {
  return Status(std::make_shared<const Error>(Error{std::move(message), {}, {}}));
}

Status Status::fileError(std::filesystem::path path, std::string message, std::string place) {
  return Status(
      std::make_shared<const Error>(Error{std::move(message), std::move(path), std::move(place)}));
}

const std::string& Status::message() const { return mError ? mError->message : kEmpty; }
const std::filesystem::path& Status::path() const { return mError ? mError->path : kNoPath; }
const std::string& Status::place() const { return mError ? mError->place : kEmpty; }

std::string Status::text() const {
  if (!mError) return {};
  std::string out;
  if (!mError->path.empty()) out = mError->path.string() + ": ";
  if (!mError->place.empty()) out += mError->place + ": ";
  return out + mError->message;
}

Status Status::within(const std::string& outer) const {
  if (!mError) return *this;
  return Status(std::make_shared<const Error>(
      Error{mError->message, mError->path, joinPlace(outer, mError->place)}));
}

Status Status::inFile(const std::filesystem::path& path) const {
  if (!mError || !mError->path.empty()) return *this;
  return Status(std::make_shared<const Error>(Error{mError->message, path, mError->place}));
}

bool reportTo(const Status& status, std::string& error) {
  if (status.ok()) return true;
  error = status.text();
  return false;
}

bool reportTo(const Status& status, std::string* error) {
  if (status.ok()) return true;
  if (error) *error = status.text();
  return false;
}

}  // namespace krv::base
