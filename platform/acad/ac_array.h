#pragma once
#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <vector>

// AcArray<T>: the host's growable array. It has a physical length (storage
// reserved) that grows by a grow step, and a logical length (elements in
// use). Indices are int. at() and operator[] on a wrong index throw
// std::out_of_range rather than reading outside the array.
template <typename T>
class AcArray {
 public:
  explicit AcArray(int physicalLength = 0, int growLength = 8)
      : mGrowLength(growLength > 0 ? growLength : 8) {
    if (physicalLength > 0) mData.reserve(static_cast<size_t>(physicalLength));
  }
  AcArray(std::initializer_list<T> init) : mData(init) {}
  virtual ~AcArray() = default;
  AcArray(const AcArray&) = default;
  AcArray& operator=(const AcArray&) = default;
  AcArray(AcArray&&) noexcept = default;
  AcArray& operator=(AcArray&&) noexcept = default;

  int length() const { return static_cast<int>(mData.size()); }
  int logicalLength() const { return length(); }
  int physicalLength() const { return static_cast<int>(std::max(mData.capacity(), mData.size())); }
  int growLength() const { return mGrowLength; }
  AcArray& setGrowLength(int n) {
    if (n > 0) mGrowLength = n;
    return *this;
  }
  bool isEmpty() const { return mData.empty(); }
  bool isValid(int i) const { return i >= 0 && i < length(); }

  // Changes the logical length; new elements are value-initialised.
  AcArray& setLogicalLength(int n) {
    if (n < 0) n = 0;
    growFor(n);
    mData.resize(static_cast<size_t>(n));
    return *this;
  }
  AcArray& setPhysicalLength(int n) {
    if (n < length()) mData.resize(static_cast<size_t>(std::max(n, 0)));
    mData.shrink_to_fit();
    mData.reserve(static_cast<size_t>(std::max(n, 0)));
    return *this;
  }

  // Appends and returns the index of the new element.
  int append(const T& v) {
    growFor(length() + 1);
    mData.push_back(v);
    return length() - 1;
  }
  AcArray& append(const AcArray& other) {
    growFor(length() + other.length());
    mData.insert(mData.end(), other.mData.begin(), other.mData.end());
    return *this;
  }
  AcArray& insertAt(int index, const T& v) {
    if (index < 0 || index > length()) throw std::out_of_range("AcArray::insertAt");
    growFor(length() + 1);
    mData.insert(mData.begin() + index, v);
    return *this;
  }
  AcArray& removeAt(int index) {
    check(index);
    mData.erase(mData.begin() + index);
    return *this;
  }
  AcArray& removeFirst() { return removeAt(0); }
  AcArray& removeLast() { return removeAt(length() - 1); }
  AcArray& removeAll() {
    mData.clear();
    return *this;
  }
  // Removes the first element equal to v; false when there is none.
  bool remove(const T& v) {
    int i = find(v);
    if (i < 0) return false;
    removeAt(i);
    return true;
  }
  int find(const T& v, int start = 0) const {
    for (int i = std::max(start, 0); i < length(); ++i)
      if (mData[static_cast<size_t>(i)] == v) return i;
    return -1;
  }
  bool find(const T& v, int& index, int start = 0) const {
    index = find(v, start);
    return index >= 0;
  }
  bool contains(const T& v) const { return find(v) >= 0; }

  T& at(int i) {
    check(i);
    return mData[static_cast<size_t>(i)];
  }
  const T& at(int i) const {
    check(i);
    return mData[static_cast<size_t>(i)];
  }
  T& operator[](int i) { return at(i); }
  const T& operator[](int i) const { return at(i); }
  T& first() { return at(0); }
  T& last() { return at(length() - 1); }
  const T& first() const { return at(0); }
  const T& last() const { return at(length() - 1); }
  AcArray& setAt(int i, const T& v) {
    at(i) = v;
    return *this;
  }
  AcArray& reverse() {
    std::reverse(mData.begin(), mData.end());
    return *this;
  }
  AcArray& swap(int i, int j) {
    std::swap(at(i), at(j));
    return *this;
  }

  bool operator==(const AcArray& o) const { return mData == o.mData; }

  T* asArrayPtr() { return mData.data(); }
  const T* asArrayPtr() const { return mData.data(); }
  auto begin() { return mData.begin(); }
  auto end() { return mData.end(); }
  auto begin() const { return mData.begin(); }
  auto end() const { return mData.end(); }
  const std::vector<T>& vector() const { return mData; }

 private:
  void check(int i) const {
    if (!isValid(i)) throw std::out_of_range("AcArray index out of range");
  }
  // Storage grows by whole grow steps, as the host's array does. A large
  // array takes several steps at once (about half its size), so that
  // appending n elements costs O(n), not O(n^2) copies.
  void growFor(int needed) {
    if (needed <= static_cast<int>(mData.capacity())) return;
    int cap = static_cast<int>(mData.capacity());
    const int steps = std::max(1, cap / (2 * mGrowLength));
    while (cap < needed) cap += steps * mGrowLength;
    mData.reserve(static_cast<size_t>(cap));
  }

  std::vector<T> mData;
  int mGrowLength = 8;
};

// std::vector<bool> packs bits; AcArray<bool> must hand out real references.
template <>
class AcArray<bool> : public AcArray<unsigned char> {
 public:
  using AcArray<unsigned char>::AcArray;
  int append(bool v) { return AcArray<unsigned char>::append(v ? 1 : 0); }
  bool at(int i) const { return AcArray<unsigned char>::at(i) != 0; }
  bool operator[](int i) const { return at(i); }
  AcArray& setAt(int i, bool v) {
    AcArray<unsigned char>::at(i) = v ? 1 : 0;
    return *this;
  }
};
