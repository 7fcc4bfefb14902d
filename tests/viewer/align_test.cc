#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <tuple>

#include "align.h"
#include "test_support.h"

namespace {

// A closed torus, stretched along x and with uneven bumps, so that no motion
// slides it onto itself.
TriMesh bumpy_torus()
{
    constexpr int rings = 40, sides = 20;
    TriMesh mesh;
    for (int i = 0; i < rings; i++)
        for (int j = 0; j < sides; j++) {
            const double u = 2 * std::numbers::pi * i / rings, v = 2 * std::numbers::pi * j / sides;
            const double r = 0.4 + 0.05 * std::sin(3 * u + 1) * std::cos(2 * v) + 0.03 * std::sin(5 * v);
            const double ring = 1 + r * std::cos(v);
            mesh.vertices.emplace_back(float(1.4 * ring * std::cos(u)), float(ring * std::sin(u)),
                                       float(r * std::sin(v)));
        }
    auto at = [](int i, int j) { return (i % rings) * sides + j % sides; };
    for (int i = 0; i < rings; i++)
        for (int j = 0; j < sides; j++) {
            mesh.faces.emplace_back(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            mesh.faces.emplace_back(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    return mesh;
}

double degrees(double d) { return d * std::numbers::pi / 180; }

void expect_xf_near(const Matrix4 &actual, const Matrix4 &expected, double tol)
{
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(actual[i], expected[i], tol) << "element " << i;
}

int count_of(const std::string &text, const std::string &word)
{
    int n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        n++;
    return n;
}

} // namespace

TEST(AlignMeshes, brings_a_displaced_copy_back)
{
    const Matrix4 placed = Matrix4::translation(0.5, -2, 1) * Matrix4::rotation(degrees(30), 1, 1, 0);
    const struct {
        Matrix4 xf1, displacement;
    } cases[] = {
        {Matrix4(), Matrix4::translation(0.05, -0.03, 0.02)},
        {Matrix4(), Matrix4::translation(-0.04, 0.02, 0.05) * Matrix4::rotation(degrees(4), 1, 2, 3)},
        {placed, Matrix4::rotation(degrees(-3), 0, 1, 1) * Matrix4::translation(0.03, 0.03, -0.03)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        TriMesh mesh1 = bumpy_torus(), mesh2 = bumpy_torus();
        Matrix4 xf2 = c.displacement * c.xf1;
        float error = -1;
        stderr_of([&] { error = align_meshes(mesh2, mesh1, xf2, c.xf1); });
        expect_xf_near(xf2, c.xf1, 1e-6);
        EXPECT_GE(error, 0.0f);
        EXPECT_LT(error, 1e-6f);
    }
}

TEST(AlignMeshes, keeps_the_transform_of_meshes_that_do_not_overlap)
{
    TriMesh mesh1 = bumpy_torus(), mesh2 = bumpy_torus();
    const Matrix4 far = Matrix4::translation(10, 0, 0);
    Matrix4 xf2 = far;
    float error = 0;
    const std::string log = stderr_of([&] { error = align_meshes(mesh2, mesh1, xf2, Matrix4()); });
    EXPECT_EQ(error, -1.0f);
    EXPECT_EQ(xf2, far);
    EXPECT_NE(log.find("Generated 0 pairs"), std::string::npos);
    EXPECT_NE(log.find("Too few point pairs.\n"), std::string::npos);
    EXPECT_EQ(log.find("Rejecting"), std::string::npos);
}

TEST(PlaneStep, leaves_the_in_plane_motion_of_planar_patches_alone)
{
    TriMesh mesh1 = make_grid_mesh(11), mesh2 = make_grid_mesh(11);
    const KDtree tree1(mesh1.vertices), tree2(mesh2.vertices);
    Registration reg{{mesh1, Matrix4(), tree1}, {mesh2, Matrix4::translation(0.3, 0.2, 0.05), tree2}};
    float error = 0;
    const std::string log = stderr_of([&] {
        prepare_registration(reg);
        reg.incr = 0.01f;  // many samples, so that enough pairs remain
        error = plane_step(reg, false);
    });
    EXPECT_FLOAT_EQ(error, 0.05f);
    // Rotation about z and translation along x and y are not constrained.
    EXPECT_EQ(count_of(log, "Small eigenvalue"), 3);
    expect_xf_near(reg.mesh2.xf, Matrix4::translation(0.3, 0.2, 0), 1e-6);
}

TEST(GatherPairs, matches_on_a_boundary_vertex_of_the_target_give_no_pair)
{
    TriMesh target = make_grid_mesh(5), sample = make_grid_mesh(5);
    const KDtree target_tree(target.vertices), sample_tree(sample.vertices);
    Registration reg{{sample, Matrix4(), sample_tree}, {target, Matrix4(), target_tree}};
    stderr_of([&] { prepare_registration(reg); });
    // Spacing below the width of a vertex's share of [0, 1): every vertex is
    // sampled, and each matches its own copy.
    std::vector<PointPair> pairs;
    gather_pairs(reg.mesh2, reg.mesh1, 0.01f, 0.5f, PairOrder::sample_first, pairs);
    std::set<std::tuple<float, float>> matched;
    for (const PointPair &p : pairs) {
        EXPECT_EQ(p.p1, p.p2);
        matched.insert({p.p1.x, p.p1.y});
    }
    std::set<std::tuple<float, float>> interior;
    for (int x = 1; x < 4; x++)
        for (int y = 1; y < 4; y++)
            interior.insert({float(x), float(y)});
    EXPECT_EQ(matched, interior);
}
