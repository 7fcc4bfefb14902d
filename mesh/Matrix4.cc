#include "Matrix4.h"

#include <algorithm>
#include <cmath>
#include <utility>

Matrix4 Matrix4::translation(double tx, double ty, double tz)
{
    Matrix4 xf;
    xf[12] = tx;
    xf[13] = ty;
    xf[14] = tz;
    return xf;
}

Matrix4 Matrix4::scale(double s) { return scale(s, s, s); }

Matrix4 Matrix4::scale(double sx, double sy, double sz)
{
    Matrix4 xf;
    xf[0] = sx;
    xf[5] = sy;
    xf[10] = sz;
    return xf;
}

Matrix4 Matrix4::scale(double s, double dx, double dy, double dz)
{
    const double d[3] = {dx, dy, dz};
    const double l2 = dx * dx + dy * dy + dz * dz;
    Matrix4 xf;
    if (!(l2 > 0.0))
        return xf;
    const double k = (s - 1.0) / l2;
    for (int r = 0; r < 3; r++)
        for (int c = 0; c < 3; c++)
            xf(r, c) += k * d[r] * d[c];
    return xf;
}

Matrix4 Matrix4::rotation(double angle, double x, double y, double z)
{
    Matrix4 xf;
    const double l = std::sqrt(x * x + y * y + z * z);
    if (l == 0.0)
        return xf;
    x /= l;
    y /= l;
    z /= l;
    const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
    xf[0] = c + x * x * t;
    xf[1] = x * y * t + z * s;
    xf[2] = x * z * t - y * s;
    xf[4] = x * y * t - z * s;
    xf[5] = c + y * y * t;
    xf[6] = y * z * t + x * s;
    xf[8] = x * z * t + y * s;
    xf[9] = y * z * t - x * s;
    xf[10] = c + z * z * t;
    return xf;
}

Matrix4 operator*(const Matrix4 &a, const Matrix4 &b)
{
    Matrix4 p;
    for (int r = 0; r < 4; r++) {
        for (int c = 0; c < 4; c++) {
            double sum = 0;
            for (int k = 0; k < 4; k++)
                sum += a(r, k) * b(k, c);
            p(r, c) = sum;
        }
    }
    return p;
}

Point3 operator*(const Matrix4 &xf, const Point3 &p)
{
    const double x = p.x, y = p.y, z = p.z;
    double out[3];
    for (int r = 0; r < 3; r++)
        out[r] = xf(r, 0) * x + xf(r, 1) * y + xf(r, 2) * z + xf(r, 3);
    const double w = xf(3, 0) * x + xf(3, 1) * y + xf(3, 2) * z + xf(3, 3);
    if (w != 0.0) {
        for (double &v : out)
            v /= w;
    }
    return Point3(float(out[0]), float(out[1]), float(out[2]));
}

namespace {

using Rows = double[4][4];

// Crout LU decomposition in place with implicit scaled partial pivoting;
// perm[j] records the row swapped into row j. False when a is singular.
bool lu_decompose(Rows &a, int (&perm)[4])
{
    double row_scale[4];
    for (int i = 0; i < 4; i++) {
        double big = 0;
        for (int j = 0; j < 4; j++)
            big = std::max(big, std::abs(a[i][j]));
        if (big == 0.0)
            return false;
        row_scale[i] = 1.0 / big;
    }
    for (int j = 0; j < 4; j++) {
        for (int i = 0; i < j; i++) {
            double sum = a[i][j];
            for (int k = 0; k < i; k++)
                sum -= a[i][k] * a[k][j];
            a[i][j] = sum;
        }
        double big = 0;
        int pivot = j;
        for (int i = j; i < 4; i++) {
            double sum = a[i][j];
            for (int k = 0; k < j; k++)
                sum -= a[i][k] * a[k][j];
            a[i][j] = sum;
            const double merit = row_scale[i] * std::abs(sum);
            if (merit > big) {
                big = merit;
                pivot = i;
            }
        }
        if (pivot != j) {
            std::swap(a[pivot], a[j]);
            row_scale[pivot] = row_scale[j];
        }
        perm[j] = pivot;
        if (a[j][j] == 0.0)
            return false;
        for (int i = j + 1; i < 4; i++)
            a[i][j] /= a[j][j];
    }
    return true;
}

// Solves a x = b in place with the factor and permutation of lu_decompose.
void lu_solve(const Rows &a, const int (&perm)[4], double (&b)[4])
{
    for (int i = 0; i < 4; i++) {
        std::swap(b[i], b[perm[i]]);
        double sum = b[i];
        for (int k = 0; k < i; k++)
            sum -= a[i][k] * b[k];
        b[i] = sum;
    }
    for (int i = 4; i-- > 0;) {
        double sum = b[i];
        for (int k = i + 1; k < 4; k++)
            sum -= a[i][k] * b[k];
        b[i] = sum / a[i][i];
    }
}

} // namespace

Matrix4 inverse(const Matrix4 &xf)
{
    Rows a;
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++)
            a[r][c] = xf(r, c);
    int perm[4];
    if (!lu_decompose(a, perm))
        return Matrix4();
    Matrix4 inv;
    for (int c = 0; c < 4; c++) {
        double col[4] = {0, 0, 0, 0};
        col[c] = 1;
        lu_solve(a, perm, col);
        for (int r = 0; r < 4; r++) {
            if (!std::isfinite(col[r]))
                return Matrix4();
            inv(r, c) = col[r];
        }
    }
    return inv;
}
