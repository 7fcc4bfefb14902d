#pragma once
// A 4x4 homogeneous transform of doubles in column-major order: the element in
// row r and column c is at index r + 4c, the translation at 12, 13, 14. A
// default Matrix4 is the identity.

#include <array>

#include "Point3.h"

class Matrix4 {
public:
    Matrix4() : m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1} {}
    explicit Matrix4(const std::array<double, 16> &elements) : m(elements) {}

    static Matrix4 identity() { return Matrix4(); }
    static Matrix4 translation(double tx, double ty, double tz);
    static Matrix4 scale(double s);
    static Matrix4 scale(double sx, double sy, double sz);
    // Scales by s along the direction d, leaving the plane perpendicular to d
    // as it is; d need not be of unit length. The identity when d is zero.
    static Matrix4 scale(double s, double dx, double dy, double dz);
    // Turns by `angle` radians about the axis (x, y, z) through the origin,
    // counter-clockwise when looking down the axis towards the origin (90
    // degrees about +z maps +x onto +y). The identity for a zero axis.
    static Matrix4 rotation(double angle, double x, double y, double z);

    double &operator[](int i) { return m[i]; }
    double operator[](int i) const { return m[i]; }
    // Element in row r, column c.
    double &operator()(int r, int c) { return m[r + 4 * c]; }
    double operator()(int r, int c) const { return m[r + 4 * c]; }

    friend bool operator==(const Matrix4 &, const Matrix4 &) = default;

private:
    std::array<double, 16> m;
};

// The product a b: b acts first on a point.
Matrix4 operator*(const Matrix4 &a, const Matrix4 &b);

// xf applied to the point p, divided by the fourth row's value (in double,
// rounded to float at the end). When that value is 0 the point is at infinity;
// the undivided result is returned rather than infinities or NaN.
Point3 operator*(const Matrix4 &xf, const Point3 &p);

// The inverse of a, by Crout LU decomposition with scaled partial pivoting;
// the identity when a is singular or its inverse is not finite.
Matrix4 inverse(const Matrix4 &a);
