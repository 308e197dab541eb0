// Feeds arbitrary text to the parsing of a mapping line: it must never
// crash, and a parsed mapping written as a line must parse to the same
// objects in the same order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "standards/vt_ss_mapping.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Krv_String line =
      Krv_String::fromUtf8(std::string(reinterpret_cast<const char*>(data), size));
  VtSSMapping mapping;
  if (mapping.initMappingFromLine(line) != Acad::eOk) return 0;
  Krv_String rebuilt = L"K=";
  for (int i = 0; i < mapping.mappedObjects().length(); ++i) {
    Krv_String mappingStr, ssVariable;
    if (mapping.mappedObjects()[i].setMappingToStrs(mappingStr, ssVariable) != Acad::eOk)
      std::abort();
    if (i > 0) rebuilt += krv::standards::kMapListSeparator;
    rebuilt += ssVariable + krv::standards::kMapEntrySeparator + mappingStr;
  }
  VtSSMapping back;
  if (back.initMappingFromLine(rebuilt) != Acad::eOk ||
      back.mappedObjects().length() != mapping.mappedObjects().length())
    std::abort();
  for (int i = 0; i < back.mappedObjects().length(); ++i) {
    const VtObjectMap& a = mapping.mappedObjects()[i];
    const VtObjectMap& b = back.mappedObjects()[i];
    if (a.isCompatible(b) != Acad::eOk || !(a.ssVariable() == b.ssVariable()) ||
        !(a.group() == b.group()) || !(a.objectName() == b.objectName()))
      std::abort();
  }
  return 0;
}
