#pragma once
// Small fixed-size value types of the mesh core: a point or vector of three
// floats, with the handful of vector operations the algorithms need.

#include <cmath>

struct Point3 {
    float x = 0, y = 0, z = 0;

    constexpr Point3() = default;
    constexpr Point3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    // Component access by index 0, 1, 2 (x, y, z).
    constexpr float &operator[](int i) { return i == 0 ? x : i == 1 ? y : z; }
    constexpr float operator[](int i) const { return i == 0 ? x : i == 1 ? y : z; }

    constexpr Point3 &operator+=(const Point3 &o) { x += o.x; y += o.y; z += o.z; return *this; }
    constexpr Point3 &operator-=(const Point3 &o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    constexpr Point3 &operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
    constexpr Point3 &operator/=(float s) { x /= s; y /= s; z /= s; return *this; }

    friend constexpr bool operator==(const Point3 &, const Point3 &) = default;
};

// Arrays of points are read and written as blocks of three floats each.
static_assert(sizeof(Point3) == 3 * sizeof(float));

constexpr Point3 operator+(Point3 a, const Point3 &b) { return a += b; }
constexpr Point3 operator-(Point3 a, const Point3 &b) { return a -= b; }
constexpr Point3 operator-(const Point3 &a) { return {-a.x, -a.y, -a.z}; }
constexpr Point3 operator*(Point3 a, float s) { return a *= s; }
constexpr Point3 operator*(float s, Point3 a) { return a *= s; }
constexpr Point3 operator/(Point3 a, float s) { return a /= s; }

constexpr float dot(const Point3 &a, const Point3 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Point3 cross(const Point3 &a, const Point3 &b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
constexpr float len2(const Point3 &a) { return dot(a, a); }
inline float len(const Point3 &a) { return std::sqrt(len2(a)); }
constexpr float dist2(const Point3 &a, const Point3 &b) { return len2(a - b); }
