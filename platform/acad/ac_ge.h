#pragma once
#include <cmath>

// AcGeVector3d: a vector in model space.
class AcGeVector3d {
 public:
  AcGeVector3d() = default;
  AcGeVector3d(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
  static const AcGeVector3d kXAxis, kYAxis, kZAxis, kIdentity;

  double length() const { return std::sqrt(x * x + y * y + z * z); }
  bool isZeroLength(double tol = 1e-10) const { return length() <= tol; }
  AcGeVector3d normal() const {
    double l = length();
    return l > 0 ? AcGeVector3d(x / l, y / l, z / l) : *this;
  }
  double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
  AcGeVector3d crossProduct(const AcGeVector3d& v) const {
    return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
  }
  bool isEqualTo(const AcGeVector3d& v, double tol = 1e-10) const {
    return std::fabs(x - v.x) <= tol && std::fabs(y - v.y) <= tol && std::fabs(z - v.z) <= tol;
  }
  AcGeVector3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  AcGeVector3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  AcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
  bool operator==(const AcGeVector3d& v) const { return isEqualTo(v); }
  double operator[](int i) const { return i == 0 ? x : i == 1 ? y : z; }

  double x = 0, y = 0, z = 0;
};
