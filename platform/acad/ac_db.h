#pragma once
#include <cstdint>
#include <functional>

// AcDbObjectId: the identifier of an object in a drawing database. The null
// identifier is 0. Identifiers compare by value and hash.
class AcDbObjectId {
 public:
  AcDbObjectId() = default;
  explicit AcDbObjectId(std::int64_t handle) : mHandle(handle) {}
  static const AcDbObjectId kNull;
  bool isNull() const { return mHandle == 0; }
  bool isValid() const { return mHandle != 0; }
  void setNull() { mHandle = 0; }
  std::int64_t handle() const { return mHandle; }
  auto operator<=>(const AcDbObjectId&) const = default;

 private:
  std::int64_t mHandle = 0;
};

template <>
struct std::hash<AcDbObjectId> {
  size_t operator()(const AcDbObjectId& id) const noexcept {
    return std::hash<std::int64_t>()(id.handle());
  }
};

// AcTransaction: an open database transaction. The module only passes it on
// to the core module; it records whether it was committed or aborted.
class AcTransaction {
 public:
  virtual ~AcTransaction() = default;
  int id() const { return mId; }
  bool isOpen() const { return mState == State::Open; }
  void commit() { mState = State::Committed; }
  void abort() { mState = State::Aborted; }
  bool committed() const { return mState == State::Committed; }

 private:
  enum class State { Open, Committed, Aborted };
  static int nextId();
  int mId = nextId();
  State mState = State::Open;
};
