#pragma once
// The one way the system's own code reports success or failure.
//
// A Status is either success or an error that carries a message and, for
// errors in files, the file's path and the place in it ("line 3",
// "macro.modules[0].variables[0].value"). Functions return a Status (or a
// Result<T> when they also produce a value); both are [[nodiscard]], so a
// caller that drops a failure gets a compile warning. Where a caller was
// promised another type (Acad::ErrorStatus, bool, BOOL), the Status is
// turned into it at that boundary and nowhere else.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace krv::base {

class [[nodiscard]] Status {
 public:
  // Success.
  Status() = default;

  static Status error(std::string message);
  // An error in a file; `place` may be empty.
  static Status fileError(std::filesystem::path path, std::string message, std::string place = {});

  bool ok() const { return !mError; }
  explicit operator bool() const { return ok(); }

  // The parts of an error; empty on success.
  const std::string& message() const;
  const std::filesystem::path& path() const;
  const std::string& place() const;

  // The whole error for a person: "path: place: message", parts that are
  // empty left out; empty on success.
  std::string text() const;

  // The same error with `outer` put in front of its place, joined the way
  // JSON paths join ("cells[3]" + "values[0]" gives "cells[3].values[0]",
  // "cells" + "[3]" gives "cells[3]"). Success stays success.
  Status within(const std::string& outer) const;
  // The same error as an error of file `path`, unless it names a file.
  Status inFile(const std::filesystem::path& path) const;

  // Says in the code that the outcome is not needed (the failure is
  // harmless or reported otherwise).
  void ignore() const {}

 private:
  struct Error {
    std::string message;
    std::filesystem::path path;
    std::string place;
  };
  explicit Status(std::shared_ptr<const Error> error) : mError(std::move(error)) {}
  std::shared_ptr<const Error> mError;  // null on success, so success costs nothing
};

// A value, or the error that kept it from being made.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : mValue(std::move(value)) {}
  // An error; a success Status here is a programming fault and becomes the
  // error "no value".
  Result(Status error) : mStatus(error.ok() ? Status::error("no value") : std::move(error)) {}

  bool ok() const { return mValue.has_value(); }
  explicit operator bool() const { return ok(); }
  const Status& status() const { return mStatus; }

  // The value; only when ok().
  T& value() & { return *mValue; }
  const T& value() const& { return *mValue; }
  T&& value() && { return std::move(*mValue); }
  T& operator*() & { return *mValue; }
  const T& operator*() const& { return *mValue; }
  T* operator->() { return &*mValue; }
  const T* operator->() const { return &*mValue; }

  T valueOr(T fallback) const& { return mValue ? *mValue : std::move(fallback); }

 private:
  std::optional<T> mValue;
  Status mStatus;
};

// The boundary to the callers promised a bool and a message: true on
// success; otherwise false with the error's text in `error`.
bool reportTo(const Status& status, std::string& error);
bool reportTo(const Status& status, std::string* error);

}  // namespace krv::base
