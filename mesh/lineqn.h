#pragma once
// Small dense linear algebra shared by normals, curvature, principal axes and
// alignment: vector normalisation, the symmetric eigenproblem and LDL^T
// factorisation of symmetric positive definite systems.
//
// Matrices are std::array of rows; element (r, c) is m[r][c].

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "Point3.h"

template <typename T, size_t N>
using SquareMatrix = std::array<std::array<T, N>, N>;

// Scales v to unit length in place and returns it. A vector whose length is
// not greater than 0 (or is not finite) becomes (1, 0, 0). The length is taken
// in double, so no finite vector overflows on the way.
inline Point3 &normalize(Point3 &v)
{
    const double l = std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
    if (l > 0.0 && std::isfinite(l)) {
        v.x = float(v.x / l);
        v.y = float(v.y / l);
        v.z = float(v.z / l);
    } else {
        v = Point3(1, 0, 0);
    }
    return v;
}

namespace lineqn_detail {

// Householder reduction of the symmetric matrix held in v to tridiagonal form:
// d gets the diagonal, e the subdiagonal (e[0] unused), v the accumulated
// orthogonal transform.
template <typename T, size_t N>
void tridiagonalize(SquareMatrix<T, N> &v, std::array<T, N> &d, std::array<T, N> &e)
{
    constexpr int n = int(N);
    for (int j = 0; j < n; j++)
        d[j] = v[n - 1][j];
    for (int i = n - 1; i > 0; i--) {
        T scale = 0, h = 0;
        for (int k = 0; k < i; k++)
            scale += std::abs(d[k]);
        if (scale == T(0)) {
            e[i] = d[i - 1];
            for (int j = 0; j < i; j++) {
                d[j] = v[i - 1][j];
                v[i][j] = 0;
                v[j][i] = 0;
            }
        } else {
            for (int k = 0; k < i; k++) {
                d[k] /= scale;
                h += d[k] * d[k];
            }
            T f = d[i - 1];
            T g = std::sqrt(h);
            if (f > 0)
                g = -g;
            e[i] = scale * g;
            h -= f * g;
            d[i - 1] = f - g;
            for (int j = 0; j < i; j++)
                e[j] = 0;
            for (int j = 0; j < i; j++) {
                f = d[j];
                v[j][i] = f;
                g = e[j] + v[j][j] * f;
                for (int k = j + 1; k <= i - 1; k++) {
                    g += v[k][j] * d[k];
                    e[k] += v[k][j] * f;
                }
                e[j] = g;
            }
            f = 0;
            for (int j = 0; j < i; j++) {
                e[j] /= h;
                f += e[j] * d[j];
            }
            const T hh = f / (h + h);
            for (int j = 0; j < i; j++)
                e[j] -= hh * d[j];
            for (int j = 0; j < i; j++) {
                f = d[j];
                g = e[j];
                for (int k = j; k <= i - 1; k++)
                    v[k][j] -= f * e[k] + g * d[k];
                d[j] = v[i - 1][j];
                v[i][j] = 0;
            }
        }
        d[i] = h;
    }
    // Accumulate the transformations.
    for (int i = 0; i < n - 1; i++) {
        v[n - 1][i] = v[i][i];
        v[i][i] = 1;
        const T h = d[i + 1];
        if (h != T(0)) {
            for (int k = 0; k <= i; k++)
                d[k] = v[k][i + 1] / h;
            for (int j = 0; j <= i; j++) {
                T g = 0;
                for (int k = 0; k <= i; k++)
                    g += v[k][i + 1] * v[k][j];
                for (int k = 0; k <= i; k++)
                    v[k][j] -= g * d[k];
            }
        }
        for (int k = 0; k <= i; k++)
            v[k][i + 1] = 0;
    }
    for (int j = 0; j < n; j++) {
        d[j] = v[n - 1][j];
        v[n - 1][j] = 0;
    }
    v[n - 1][n - 1] = 1;
    e[0] = 0;
}

// QL iteration with implicit shifts on the tridiagonal matrix (d, e), rotating
// the columns of v along; d ends up holding the eigenvalues (unsorted).
template <typename T, size_t N>
void tridiagonal_ql(SquareMatrix<T, N> &v, std::array<T, N> &d, std::array<T, N> &e)
{
    constexpr int n = int(N);
    // Enough sweeps for any finite input; the cap only guards against input
    // that never converges (NaN or infinity).
    constexpr int max_sweeps = 64;
    for (int i = 1; i < n; i++)
        e[i - 1] = e[i];
    e[n - 1] = 0;
    T f = 0, tst1 = 0;
    const T eps = std::numeric_limits<T>::epsilon();
    for (int l = 0; l < n; l++) {
        tst1 = std::max(tst1, std::abs(d[l]) + std::abs(e[l]));
        int m = l;
        while (m < n - 1 && !(std::abs(e[m]) <= eps * tst1))
            m++;
        if (m > l) {
            for (int sweep = 0; sweep < max_sweeps; sweep++) {
                T g = d[l];
                T p = (d[l + 1] - g) / (2 * e[l]);
                T r = std::hypot(p, T(1));
                if (p < 0)
                    r = -r;
                d[l] = e[l] / (p + r);
                d[l + 1] = e[l] * (p + r);
                const T dl1 = d[l + 1];
                T h = g - d[l];
                for (int i = l + 2; i < n; i++)
                    d[i] -= h;
                f += h;
                p = d[m];
                T c = 1, c2 = 1, c3 = 1, s = 0, s2 = 0;
                const T el1 = e[l + 1];
                for (int i = m - 1; i >= l; i--) {
                    c3 = c2;
                    c2 = c;
                    s2 = s;
                    g = c * e[i];
                    h = c * p;
                    r = std::hypot(p, e[i]);
                    e[i + 1] = s * r;
                    s = e[i] / r;
                    c = p / r;
                    p = c * d[i] - s * g;
                    d[i + 1] = h + s * (c * g + s * d[i]);
                    for (int k = 0; k < n; k++) {
                        h = v[k][i + 1];
                        v[k][i + 1] = s * v[k][i] + c * h;
                        v[k][i] = c * v[k][i] - s * h;
                    }
                }
                p = -s * s2 * c3 * el1 * e[l] / dl1;
                e[l] = s * p;
                d[l] = c * p;
                if (!(std::abs(e[l]) > eps * tst1))
                    break;
            }
        }
        d[l] += f;
        e[l] = 0;
    }
}

} // namespace lineqn_detail

// Eigen-decomposition of the symmetric N x N matrix a (Householder reduction
// to tridiagonal form, then QL with implicit shifts). On return d holds the
// eigenvalues in increasing order and column k of a the unit eigenvector of
// d[k].
template <typename T, size_t N>
void eigen_symmetric(SquareMatrix<T, N> &a, std::array<T, N> &d)
{
    static_assert(N >= 1);
    std::array<T, N> e{};
    lineqn_detail::tridiagonalize(a, d, e);
    lineqn_detail::tridiagonal_ql(a, d, e);
    // Selection sort, moving the eigenvector columns along.
    for (size_t i = 0; i + 1 < N; i++) {
        size_t k = i;
        for (size_t j = i + 1; j < N; j++)
            if (d[j] < d[k])
                k = j;
        if (k != i) {
            std::swap(d[i], d[k]);
            for (size_t r = 0; r < N; r++)
                std::swap(a[r][i], a[r][k]);
        }
    }
}

// LDL^T factorisation of the symmetric matrix a, read from its upper triangle
// (diagonal included). The unit lower factor L is stored below the diagonal of
// a and the reciprocals of D in rdiag; the upper triangle is left as it was.
// Returns false as soon as a pivot is not greater than 0 (a is then not
// positive definite and its contents are partly overwritten).
template <typename T, size_t N>
bool ldlt_decompose(SquareMatrix<T, N> &a, std::array<T, N> &rdiag)
{
    for (size_t i = 0; i < N; i++) {
        for (size_t j = i; j < N; j++) {
            T sum = a[i][j];
            for (size_t k = 0; k < i; k++)
                sum -= a[i][k] * a[j][k] / rdiag[k];
            if (j == i) {
                if (!(sum > T(0)))
                    return false;
                rdiag[i] = T(1) / sum;
            } else {
                a[j][i] = sum * rdiag[i];
            }
        }
    }
    return true;
}

// Solves a x = b with the factor made by ldlt_decompose (forward substitution
// with L, scaling by D^-1, back substitution with L^T). b and x may be the
// same array.
template <typename T, size_t N>
void ldlt_solve(const SquareMatrix<T, N> &a, const std::array<T, N> &rdiag,
                const std::array<T, N> &b, std::array<T, N> &x)
{
    std::array<T, N> y;
    for (size_t i = 0; i < N; i++) {
        T sum = b[i];
        for (size_t k = 0; k < i; k++)
            sum -= a[i][k] * y[k];
        y[i] = sum;
    }
    for (size_t i = N; i-- > 0;) {
        T sum = y[i] * rdiag[i];
        for (size_t k = i + 1; k < N; k++)
            sum -= a[k][i] * y[k];
        y[i] = sum;
    }
    x = y;
}
