#pragma once
// One function per record that both reads and writes it:
//
//   void map(JsonIo& io, Cell& c) {
//     io.field("col", c.col, Integer<int>{1, 16384});
//     io.field("row", c.row);
//     io.optional("height", c.height, kDefaultHeight);
//     io.list("notes", c.notes);
//   }
//
// The same function runs in two modes:
//   - reading (JsonIo::reader): each call takes its member from the JSON
//     object, checks its kind and range and stores it; a member that is
//     missing gets its fallback (optional) or is an error (field). The first
//     error is kept with its place as a JSON path ("cells[3].values[0]") and
//     every later call does nothing, so a map function runs to its end
//     without checks of its own. Members the function does not name are
//     ignored.
//   - writing (JsonIo::writer): each call writes its member in the order of
//     the calls; optional members equal to their fallback and empty lists are
//     left out unless the writer was asked to write defaults. Writing does
//     not change the record (the function takes it by reference only because
//     reading needs to).
//
// A converter turns one value into JSON and back: Integer, Number, Boolean,
// Text, EnumText, Record (a nested object through a map function), ListOf
// (an array), Custom (two functions). Without one, a member's type picks
// it: whole numbers Integer over the type's range, floating point Number,
// bool Boolean, std::string Text, std::vector ListOf, any other type Record
// through the map function found for it.
//
// A converter is a type with
//   Status read(const Json& j, T& value) const;   // the error's place is below j
//   Json write(const T& value) const;
// (or write(value, const JsonIo& outer) to write as the outer writer does),
// and, when it has one, Json describeDefault() to say what an absent member
// reads as in the defaults template (see Record::describe) where that is
// not simply the written fallback.
#include <cmath>
#include <concepts>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/base/json_document.h"

namespace krv::base {

class JsonIo;

template <class T>
struct DefaultConverterOf;
template <class T>
using DefaultConverter = typename DefaultConverterOf<T>::type;

class JsonIo {
 public:
  // Omit: members equal to their defaults are left out. Write: every member
  // is written. Describe: instead of a record, what a reader takes for
  // members a file leaves out (see describe() below).
  enum class Defaults { Omit, Write, Describe };

  // Reads from `source`, which must stay alive; a source that is no object
  // gives the error "an object is expected".
  static JsonIo reader(const Json& source);
  // Writes into `target` (made an empty object).
  static JsonIo writer(Json& target, Defaults defaults = Defaults::Omit);

  bool reading() const { return mSource != nullptr; }
  bool writing() const { return mTarget != nullptr; }
  bool writesDefaults() const { return mDefaults == Defaults::Write; }
  bool describing() const { return mDefaults == Defaults::Describe; }
  // While reading: no error so far. Writing is always ok.
  bool ok() const { return mStatus.ok(); }
  const Status& status() const { return mStatus; }

  // A required member.
  template <class T, class C = DefaultConverter<T>>
  void field(std::string_view name, T& value, const C& conv = C{}) {
    if (describing()) {
      if constexpr (requires { conv.describe(); }) put(name, conv.describe());
    } else if (writing()) {
      put(name, writeOne(conv, value));
    } else if (ok()) {
      if (const Json* j = find(name))
        take(name, conv.read(*j, value));
      else
        fail("the member \"" + std::string(name) + "\" is missing");
    }
  }

  // A member that may be left out and then reads as `fallback`; written
  // only when the value differs from it.
  template <class T, class C = DefaultConverter<T>>
  void optional(std::string_view name, T& value, const T& fallback, const C& conv = C{}) {
    if (describing()) {
      if constexpr (requires { conv.describeDefault(); })
        put(name, conv.describeDefault());
      else
        put(name, writeOne(conv, fallback));
    } else if (writing()) {
      Json j = writeOne(conv, value);
      if (writesDefaults() || !isSame(conv, value, fallback, j)) put(name, std::move(j));
    } else if (ok()) {
      const Json* j = find(name);
      if (!j) {
        value = fallback;
      } else {
        if constexpr (std::is_copy_assignable_v<T>) value = fallback;
        take(name, conv.read(*j, value));
      }
    }
  }

  // A member that may be left out and then reads as the value of its
  // sibling member `sibling` (a title that is the name unless given);
  // written only when it differs from that.
  template <class T, class C = DefaultConverter<T>>
  void optionalLike(std::string_view name, T& value, std::string_view sibling,
                    const T& siblingValue, const C& conv = C{}) {
    if (describing())
      put(name, Json{{"$sibling", sibling}});
    else
      optional(name, value, siblingValue, conv);
  }

  // A member that may be left out and then reads as `fallback`, but is
  // always written.
  template <class T, class C = DefaultConverter<T>>
  void alwaysWritten(std::string_view name, T& value, const T& fallback, const C& conv = C{}) {
    if (describing()) {
      put(name, writeOne(conv, fallback));
    } else if (writing()) {
      put(name, writeOne(conv, value));
    } else if (ok()) {
      value = fallback;
      if (const Json* j = find(name)) take(name, conv.read(*j, value));
    }
  }

  // An array member that is left out when empty and reads as empty when
  // missing.
  template <class T, class C = DefaultConverter<T>>
  void list(std::string_view name, std::vector<T>& values, const C& elementConv = C{});

  // Reading: whether the object has the member. Writing: whether it was
  // written.
  bool has(std::string_view name) const {
    return reading() ? find(name) != nullptr : mTarget->contains(std::string(name));
  }

  // Reading: an error at the record itself, or at `place` below it ("cols",
  // "spans[2]"); only the first error counts. Writing: ignored.
  void fail(std::string message) { fail(std::string(), std::move(message)); }
  void fail(const std::string& place, std::string message);
  // A status of a step, its place taken below the record's.
  void take(std::string_view place, const Status& status) {
    if (!status.ok() && ok()) mStatus = status.within(std::string(place));
  }

  // The object read (reading) or being written (writing).
  const Json& source() const { return *mSource; }
  Json& target() { return *mTarget; }

  // "name[index]", the place of an element.
  static std::string at(std::string_view name, std::size_t index) {
    return std::string(name) + "[" + std::to_string(index) + "]";
  }

  // Writes with `conv` as this writer writes (nested records too).
  template <class T, class C>
  Json writeOne(const C& conv, const T& value) const {
    if constexpr (requires { conv.write(value, *this); })
      return conv.write(value, *this);
    else
      return conv.write(value);
  }

 private:
  JsonIo() = default;
  const Json* find(std::string_view name) const;
  // Sets the member `name` of the target; a new one comes last.
  void put(std::string_view name, Json value);
  template <class T, class C>
  bool isSame(const C& conv, const T& value, const T& fallback, const Json& written) const {
    if constexpr (std::equality_comparable<T>)
      return value == fallback;
    else
      return written == writeOne(conv, fallback);
  }

  const Json* mSource = nullptr;
  Json* mTarget = nullptr;
  Defaults mDefaults = Defaults::Omit;
  Status mStatus;
};

// ---- converters ---------------------------------------------------------------

// A whole number from lo to hi. Messages: "a whole number is expected",
// "must lie between LO and HI".
template <class T>
struct Integer {
  T lo = std::numeric_limits<T>::min();
  T hi = std::numeric_limits<T>::max();
  Status read(const Json& j, T& value) const {
    if (!j.is_number_integer()) return Status::error("a whole number is expected");
    const bool tooLarge =
        j.is_number_unsigned() && j.get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX);
    const std::int64_t v = tooLarge ? INT64_MAX : j.get<std::int64_t>();
    if (tooLarge || v < static_cast<std::int64_t>(lo) || v > static_cast<std::int64_t>(hi))
      return Status::error("must lie between " + std::to_string(lo) + " and " + std::to_string(hi));
    value = static_cast<T>(v);
    return {};
  }
  Json write(const T& value) const { return value; }
};

// A finite number from lo to hi. Messages: "a number is expected", "a finite
// number is expected", "must lie between LO and HI".
struct Number {
  double lo = -std::numeric_limits<double>::infinity();
  double hi = std::numeric_limits<double>::infinity();
  Status read(const Json& j, double& value) const;
  Json write(double value) const { return value; }
};

struct Boolean {
  Status read(const Json& j, bool& value) const;
  Json write(bool value) const { return value; }
};

// A UTF-8 text as it is in the file; with `nonEmpty` "" is refused ("must
// not be empty").
struct Text {
  bool nonEmpty = false;
  Status read(const Json& j, std::string& value) const;
  Json write(const std::string& value) const { return value; }
};

// An enumeration stored as one of its names.
template <class E>
struct EnumText {
  std::vector<std::pair<E, std::string>> names;
  Status read(const Json& j, E& value) const {
    if (j.is_string()) {
      for (const auto& [e, name] : names) {
        if (j.get_ref<const std::string&>() == name) {
          value = e;
          return {};
        }
      }
    }
    std::string expected;
    for (const auto& [e, name] : names)
      expected += (expected.empty() ? "\"" : ", \"") + name + "\"";
    return Status::error("one of " + expected + " is expected");
  }
  Json write(const E& value) const {
    for (const auto& [e, name] : names)
      if (e == value) return name;
    return nullptr;
  }
};

// A nested object through a map function: `mapper` when given (it may
// carry what the record's ranges depend on), else the map(JsonIo&, T&)
// found for T.
template <class T>
struct Record {
  std::function<void(JsonIo&, T&)> mapper;
  Status read(const Json& j, T& value) const {
    JsonIo io = JsonIo::reader(j);
    run(io, value);
    return io.status();
  }
  Json write(const T& value, const JsonIo& outer) const {
    Json j;
    JsonIo io = JsonIo::writer(
        j, outer.writesDefaults() ? JsonIo::Defaults::Write : JsonIo::Defaults::Omit);
    run(io, const_cast<T&>(value));  // writing leaves the record alone
    return j;
  }
  // What a reader takes for the members a file leaves out, in the form of
  // the defaults template of json_text (core): an optional member gives its
  // default, a list [] with the description of its elements, a required
  // record its own description; required plain members are not named.
  Json describe() const requires std::is_default_constructible_v<T> {
    Json j;
    T value{};
    JsonIo io = JsonIo::writer(j, JsonIo::Defaults::Describe);
    run(io, value);
    return j;
  }

 private:
  void run(JsonIo& io, T& value) const {
    if (mapper) {
      mapper(io, value);
    } else if constexpr (requires { map(io, value); }) {
      map(io, value);
    }
  }
};

// An array whose elements each go through `element`.
template <class T, class C = DefaultConverter<T>>
struct ListOf {
  C element{};
  Status read(const Json& j, std::vector<T>& values) const {
    if (!j.is_array()) return Status::error("an array is expected");
    std::vector<T> read(j.size());
    for (std::size_t i = 0; i < j.size(); ++i)
      if (Status s = element.read(j[i], read[i]); !s) return s.within(JsonIo::at("", i));
    values = std::move(read);
    return {};
  }
  Json write(const std::vector<T>& values, const JsonIo& outer) const {
    Json j = Json::array();
    auto& elements = j.get_ref<Json::array_t&>();
    elements.reserve(values.size());
    for (const T& v : values) elements.push_back(outer.writeOne(element, v));
    return j;
  }
};

// A converter of two functions, for members of their own kind.
template <class T>
struct Custom {
  std::function<Status(const Json&, T&)> reader;
  std::function<Json(const T&)> writer;
  Status read(const Json& j, T& value) const { return reader(j, value); }
  Json write(const T& value) const { return writer(value); }
};

template <class T>
struct DefaultConverterOf {
  using type = Record<T>;
};
template <class T>
requires(std::is_integral_v<T> && !std::is_same_v<T, bool>) struct DefaultConverterOf<T> {
  using type = Integer<T>;
};
template <>
struct DefaultConverterOf<bool> {
  using type = Boolean;
};
template <>
struct DefaultConverterOf<double> {
  using type = Number;
};
template <>
struct DefaultConverterOf<std::string> {
  using type = Text;
};
template <class T>
struct DefaultConverterOf<std::vector<T>> {
  using type = ListOf<T>;
};

template <class T, class C>
void JsonIo::list(std::string_view name, std::vector<T>& values, const C& elementConv) {
  const ListOf<T, C> conv{elementConv};
  if (describing()) {
    // Absent reads as []; the one element given describes the elements.
    Json j = Json::array();
    if constexpr (requires { elementConv.describe(); }) j.push_back(elementConv.describe());
    put(name, std::move(j));
  } else if (writing()) {
    if (!values.empty() || writesDefaults()) put(name, writeOne(conv, values));
  } else if (ok()) {
    if (const Json* j = find(name))
      take(name, conv.read(*j, values));
    else
      values.clear();
  }
}

}  // namespace krv::base
