#include <gtest/gtest.h>

#include "lineqn.h"

TEST(Normalize, scales_to_unit_length_and_maps_zero_to_x)
{
    Point3 v(3, 0, 4);
    EXPECT_EQ(normalize(v), Point3(0.6f, 0, 0.8f));
    Point3 zero;
    EXPECT_EQ(normalize(zero), Point3(1, 0, 0));
    Point3 huge(3e38f, 3e38f, 0);
    normalize(huge);
    EXPECT_NEAR(huge.x, 0.70710678f, 1e-6f);
    Point3 nan(NAN, 0, 0);
    EXPECT_EQ(normalize(nan), Point3(1, 0, 0));
}

TEST(EigenSymmetric, sorts_eigenvalues_with_matching_columns)
{
    SquareMatrix<float, 3> m{{{3, 0, 0}, {0, 1, 0}, {0, 0, 2}}};
    std::array<float, 3> d;
    eigen_symmetric(m, d);
    EXPECT_FLOAT_EQ(d[0], 1);
    EXPECT_FLOAT_EQ(d[1], 2);
    EXPECT_FLOAT_EQ(d[2], 3);
    EXPECT_FLOAT_EQ(std::abs(m[1][0]), 1);
    EXPECT_FLOAT_EQ(std::abs(m[2][1]), 1);
    EXPECT_FLOAT_EQ(std::abs(m[0][2]), 1);
}

TEST(EigenSymmetric, decomposes_a_dense_six_by_six_matrix)
{
    SquareMatrix<double, 6> a;
    for (int r = 0; r < 6; r++)
        for (int c = 0; c < 6; c++)
            a[r][c] = 1.0 / (1 + r + c) + (r == c ? r : 0);
    SquareMatrix<double, 6> v = a;
    std::array<double, 6> d;
    eigen_symmetric(v, d);
    for (int k = 0; k < 6; k++) {
        if (k > 0) {
            EXPECT_LE(d[k - 1], d[k]);
        }
        for (int r = 0; r < 6; r++) {
            double av = 0;
            for (int c = 0; c < 6; c++)
                av += a[r][c] * v[c][k];
            EXPECT_NEAR(av, d[k] * v[r][k], 1e-12);
        }
        for (int j = 0; j < 6; j++) {
            double dotp = 0;
            for (int r = 0; r < 6; r++)
                dotp += v[r][k] * v[r][j];
            EXPECT_NEAR(dotp, j == k ? 1.0 : 0.0, 1e-12);
        }
    }
}

TEST(Ldlt, solves_a_positive_definite_system_from_its_upper_triangle)
{
    // Lower triangle holds junk: only the upper one is read.
    SquareMatrix<float, 3> a{{{4, 2, 0}, {99, 5, 1}, {99, 99, 3}}};
    std::array<float, 3> rdiag, x;
    ASSERT_TRUE(ldlt_decompose(a, rdiag));
    // a * (1, 2, 3) = (8, 15, 11)
    ldlt_solve(a, rdiag, std::array<float, 3>{8, 15, 11}, x);
    EXPECT_NEAR(x[0], 1, 1e-5f);
    EXPECT_NEAR(x[1], 2, 1e-5f);
    EXPECT_NEAR(x[2], 3, 1e-5f);
}

TEST(Ldlt, refuses_matrices_that_are_not_positive_definite)
{
    SquareMatrix<float, 3> singular{{{1, 1, 0}, {0, 1, 0}, {0, 0, 1}}};
    SquareMatrix<float, 3> indefinite{{{1, 0, 0}, {0, -1, 0}, {0, 0, 1}}};
    std::array<float, 3> rdiag;
    EXPECT_FALSE(ldlt_decompose(singular, rdiag));
    EXPECT_FALSE(ldlt_decompose(indefinite, rdiag));
}
