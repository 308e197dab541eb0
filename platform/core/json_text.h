#pragma once
// JSON documents that people write and keep under version control.
//
// writeJsonText lays a value out as a person would: objects and arrays that
// hold arrays of objects one member or element a line, everything else on
// one line ({"name": "Len", "value": 4500}); whole numbers without ".0".
//
// patchJsonText changes a document's text so that it holds a new value
// while everything that did not change keeps its text: member order,
// number spellings (300 stays 300, 1e2 stays 1e2), white space, line ends,
// a byte order mark, members the reader does not know. A changed value is
// replaced where it stands; a new member or element is placed after its
// predecessor in the new value, laid out as its neighbours are; a removed
// one is taken out with its separator. Indentation (tabs or spaces, its
// width), line ends and the spacing after ':' and ',' are taken from the
// document.
//
// Both leave out what a reader would take by default, as the defaults
// template describes:
//   - a scalar member: the value an absent member reads as;
//   - an array member: an absent member reads as []; its first element
//     (when given) is the template of the elements;
//   - an object member holding "*": a map whose absent members read as
//     "*" and which reads as {} when absent;
//   - an object member {"$sibling": "other"}: an absent member reads as the
//     value of the member "other" beside it;
//   - an object member without those: the template of that object, which
//     itself has no default (absent means absent).
// Members the template does not name have no default: they are always
// written, and members only the original holds are kept. A member of an
// existing document whose value changed to its default keeps its place
// and gets the default spelled out; a new element or member leaves its
// defaults out, except the members named in `alwaysWritten`.
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace krv::core {

struct JsonDefaults {
  nlohmann::ordered_json tmpl = nlohmann::ordered_json::object();
  std::vector<std::string> alwaysWritten;
};

// The value without the members that a reader would take by default.
nlohmann::ordered_json withoutDefaults(const nlohmann::ordered_json& value,
                                       const JsonDefaults& defaults);

// The value as text, two spaces a level, LF line ends, ending with a line
// end.
std::string writeJsonText(const nlohmann::ordered_json& value);

// The original text changed to hold `updated` (see above). Throws
// std::runtime_error or nlohmann::json::exception when the original is not
// one JSON value.
std::string patchJsonText(const std::string& original, const nlohmann::ordered_json& updated,
                          const JsonDefaults& defaults);

}  // namespace krv::core
