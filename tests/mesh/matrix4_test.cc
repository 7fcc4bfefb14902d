#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "Matrix4.h"

namespace {

void expect_matrix_near(const Matrix4 &a, const Matrix4 &b, double tol = 1e-12)
{
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(a[i], b[i], tol) << "element " << i;
}

void expect_point_near(const Point3 &a, const Point3 &b, float tol = 1e-6f)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

const double quarter_turn = std::numbers::pi / 2;

} // namespace

TEST(Matrix4, stores_columns_one_after_another)
{
    const Matrix4 t = Matrix4::translation(1, 2, 3);
    EXPECT_EQ(t[12], 1);
    EXPECT_EQ(t[13], 2);
    EXPECT_EQ(t[14], 3);
    EXPECT_EQ(t(1, 3), 2);
    EXPECT_EQ(Matrix4(), Matrix4::identity());
    EXPECT_EQ(Matrix4::scale(2, 3, 4)[5], 3);
}

TEST(Matrix4, rotation_turns_counter_clockwise_about_its_axis)
{
    expect_point_near(Matrix4::rotation(quarter_turn, 0, 0, 1) * Point3(1, 0, 0), Point3(0, 1, 0));
    expect_point_near(Matrix4::rotation(quarter_turn, 1, 0, 0) * Point3(0, 1, 0), Point3(0, 0, 1));
    // The axis need not be of unit length.
    expect_point_near(Matrix4::rotation(quarter_turn, 0, 5, 0) * Point3(0, 0, 1), Point3(1, 0, 0));
    EXPECT_EQ(Matrix4::rotation(1.0, 0, 0, 0), Matrix4());
}

TEST(Matrix4, direction_scale_stretches_only_along_the_direction)
{
    const Matrix4 s = Matrix4::scale(3, 0, 0, 2);
    expect_point_near(s * Point3(1, 1, 1), Point3(1, 1, 3));
    const Matrix4 diagonal = Matrix4::scale(2, 1, 1, 0);
    expect_point_near(diagonal * Point3(1, 1, 0), Point3(2, 2, 0));
    expect_point_near(diagonal * Point3(1, -1, 5), Point3(1, -1, 5));
    EXPECT_EQ(Matrix4::scale(3, 0, 0, 0), Matrix4());
}

TEST(Matrix4, product_applies_the_right_factor_first)
{
    const Matrix4 ts = Matrix4::translation(1, 0, 0) * Matrix4::scale(2);
    expect_point_near(ts * Point3(1, 1, 1), Point3(3, 2, 2));
    const Matrix4 st = Matrix4::scale(2) * Matrix4::translation(1, 0, 0);
    expect_point_near(st * Point3(1, 1, 1), Point3(4, 2, 2));
}

TEST(Matrix4, point_action_divides_by_the_fourth_row)
{
    Matrix4 projective;
    projective[15] = 2;
    expect_point_near(projective * Point3(2, 4, 6), Point3(1, 2, 3));
    // A point mapped to infinity keeps finite coordinates.
    Matrix4 flat;
    flat[15] = 0;
    const Point3 p = flat * Point3(2, 4, 6);
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
}

TEST(Matrix4, inverse_undoes_the_transform)
{
    EXPECT_EQ(inverse(Matrix4::translation(1, 2, 3)), Matrix4::translation(-1, -2, -3));
    Matrix4 a = Matrix4::translation(4, -5, 6) * Matrix4::rotation(0.7, 1, 2, 3) *
                Matrix4::scale(2, 0.5, 3) * Matrix4::scale(1.5, 1, 1, 0);
    a(3, 0) = 0.1;  // projective as well
    expect_matrix_near(a * inverse(a), Matrix4());
    expect_matrix_near(inverse(a) * a, Matrix4());
    expect_matrix_near(inverse(inverse(a)), a, 1e-12);
    // A permutation needs pivoting.
    Matrix4 swap;
    swap(0, 0) = swap(1, 1) = 0;
    swap(0, 1) = swap(1, 0) = 1;
    EXPECT_EQ(inverse(swap), swap);
}

TEST(Matrix4, inverse_of_a_singular_matrix_is_the_identity)
{
    EXPECT_EQ(inverse(Matrix4::scale(1, 0, 1)), Matrix4());
    Matrix4 rank3;
    rank3(0, 1) = 1;
    rank3(1, 1) = 0;  // second column equals the first
    rank3(1, 0) = 0;
    rank3(0, 0) = 1;
    EXPECT_EQ(inverse(rank3), Matrix4());
    Matrix4 zero(std::array<double, 16>{});
    EXPECT_EQ(inverse(zero), Matrix4());
}
