#pragma once
// Result codes of host operations. The module itself produces eOk and
// eInvalidInput; any other host value passes through as its number.
namespace Acad {
enum ErrorStatus : int {
  eOk = 0,
  eNotImplementedYet = 1,
  eNotApplicable = 2,
  eInvalidInput = 3,
  eAmbiguousInput = 4,
  eAmbiguousOutput = 5,
  eOutOfMemory = 6,
  eBufferTooSmall = 7,
  eInvalidOpenState = 8,
  eEntityInList = 9,
  eNotInList = 10,
  eKeyNotFound = 14,
  eDuplicateKey = 16,
  eNullObjectId = 32,
  eFileAccessErr = 80,
  eFileNotFound = 86,
};
}  // namespace Acad
