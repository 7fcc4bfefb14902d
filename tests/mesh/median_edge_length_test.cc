#include <gtest/gtest.h>

#include <cmath>

#include "TriMesh.h"
#include "test_support.h"

namespace {

// n equilateral faces, face i of edge length sizes(i), each on its own vertices.
template <typename Size>
TriMesh equilateral_faces(int n, Size sizes)
{
    TriMesh m;
    for (int i = 0; i < n; i++) {
        const float s = sizes(i);
        const Point3 o(float(10 * i), 0, 0);
        m.vertices.insert(m.vertices.end(), {o, o + Point3(s, 0, 0), o + Point3(s / 2, s * std::sqrt(3.0f) / 2, 0)});
        m.faces.emplace_back(3 * i, 3 * i + 1, 3 * i + 2);
    }
    return m;
}

TriMesh uniform(int n, float size) { return equilateral_faces(n, [=](int) { return size; }); }

// Whether a call draws an odd number of samples. The probe has two faces of
// sizes 1 and 2 and draws one sample, so its answer gives the parity of the
// shared sequence's position, which alternates with every draw.
bool draws_odd_count(TriMesh &m)
{
    TriMesh probe = equilateral_faces(2, [](int i) { return float(i + 1); });
    const float before = probe.median_edge_length();
    m.median_edge_length();
    return probe.median_edge_length() == before;
}

} // namespace

TEST(MedianEdgeLength, is_the_common_length_of_a_uniform_mesh)
{
    TriMesh big = uniform(700, 0.5f), small = uniform(100, 3);
    EXPECT_NEAR(big.median_edge_length(), 0.5f, 1e-6f);
    EXPECT_NEAR(small.median_edge_length(), 3.0f, 1e-6f);
    TriMesh cloud = make_mesh({{0, 0, 0}, {1, 0, 0}});
    EXPECT_EQ(cloud.median_edge_length(), 0.0f);
}

TEST(MedianEdgeLength, draws_half_the_faces_up_to_333)
{
    TriMesh big = uniform(700, 1), small = uniform(100, 1), seven = uniform(7, 1);
    EXPECT_TRUE(draws_odd_count(big));     // 333 draws, not 350
    EXPECT_FALSE(draws_odd_count(small));  // 50
    EXPECT_TRUE(draws_odd_count(seven));   // 3
}

TEST(MedianEdgeLength, of_one_face_is_its_middle_edge_without_drawing)
{
    TriMesh m = make_mesh({{0, 0, 0}, {3, 0, 0}, {3, 4, 0}}, {{0, 1, 2}});
    EXPECT_FALSE(draws_odd_count(m));
    EXPECT_FLOAT_EQ(m.median_edge_length(), 4.0f);
}
