#pragma once
// VtAutoStandardsData: the general variables of drawings and of standards.
//
// Drawings: names (dwgGenVars), values (dwgGenValues) and filters
// (dwgGenFilters). Standards: names (stdGenVars), values (stdGenValues),
// overrides (stdGenOverrides) and filters (stdGenFilters). Entry i of every
// array of one group belongs to the same general variable. A filter is a
// list of drawing files and folders joined by ";", each written relative to
// the library folder's "Macros\" folder.
//
// A plain record: default-constructible, copied by assignment, compared
// member by member.
#include "platform/core/krv_array.h"

class VtAutoStandardsData {
 public:
  VtAutoStandardsData() = default;
  virtual ~VtAutoStandardsData() = default;
  VtAutoStandardsData(const VtAutoStandardsData&) = default;
  VtAutoStandardsData& operator=(const VtAutoStandardsData&) = default;

  Krv_StringArray& dwgGenVars() { return mDwgGenVars; }
  const Krv_StringArray& dwgGenVars() const { return mDwgGenVars; }
  Krv_StringArray& dwgGenValues() { return mDwgGenValues; }
  const Krv_StringArray& dwgGenValues() const { return mDwgGenValues; }
  Krv_StringArray& dwgGenFilters() { return mDwgGenFilters; }
  const Krv_StringArray& dwgGenFilters() const { return mDwgGenFilters; }

  Krv_StringArray& stdGenVars() { return mStdGenVars; }
  const Krv_StringArray& stdGenVars() const { return mStdGenVars; }
  Krv_StringArray& stdGenValues() { return mStdGenValues; }
  const Krv_StringArray& stdGenValues() const { return mStdGenValues; }
  Krv_StringArray& stdGenOverrides() { return mStdGenOverrides; }
  const Krv_StringArray& stdGenOverrides() const { return mStdGenOverrides; }
  Krv_StringArray& stdGenFilters() { return mStdGenFilters; }
  const Krv_StringArray& stdGenFilters() const { return mStdGenFilters; }

  bool operator==(const VtAutoStandardsData& other) const;

 private:
  Krv_StringArray mDwgGenVars, mDwgGenValues, mDwgGenFilters;
  Krv_StringArray mStdGenVars, mStdGenValues, mStdGenOverrides, mStdGenFilters;
};
