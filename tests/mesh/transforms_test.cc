#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "test_support.h"
#include "transforms.h"

namespace {

void expect_point_near(const Point3 &a, const Point3 &b, float tol = 1e-5f)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

// A closed box from lo to hi, twelve outward faces.
TriMesh box(const Point3 &lo, const Point3 &hi)
{
    std::vector<Point3> v;
    for (int i = 0; i < 8; i++)
        v.emplace_back(i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z);
    return make_mesh(v, {Face(0, 2, 1), Face(1, 2, 3), Face(4, 5, 6), Face(5, 7, 6),
                         Face(0, 1, 4), Face(1, 5, 4), Face(2, 6, 3), Face(3, 6, 7),
                         Face(0, 4, 2), Face(2, 4, 6), Face(1, 3, 5), Face(3, 7, 5)});
}

BoundingBox box_of(TriMesh &mesh)
{
    mesh.ensure_bounding_box();
    return mesh.bounding_box;
}

bool all_finite(const TriMesh &mesh)
{
    for (const Point3 &p : mesh.vertices)
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            return false;
    return true;
}

} // namespace

TEST(TransformMesh, moves_positions_and_normals_and_clears_stale_data)
{
    TriMesh mesh = box(Point3(0, 0, 0), Point3(1, 1, 1));
    mesh.ensure_normals();
    mesh.ensure_point_areas();
    mesh.ensure_bounding_box();
    const std::vector<Point3> normals = mesh.normals;
    transform_mesh(Matrix4::scale(2), mesh);
    expect_point_near(mesh.vertices[7], Point3(2, 2, 2));
    for (size_t i = 0; i < normals.size(); i++)
        expect_point_near(mesh.normals[i], normals[i]);
    EXPECT_FALSE(mesh.bounding_box.valid);
    EXPECT_TRUE(mesh.point_areas.empty());
    EXPECT_EQ(mesh.faces.size(), 12u);
    EXPECT_EQ(invariant_violation(mesh), "");
}

TEST(TransformMesh, normals_follow_the_inverse_transpose)
{
    // The plane x + y = 1 stretched along x by 2 becomes x / 2 + y = 1.
    TriMesh mesh = make_mesh({Point3(1, 0, 0)});
    mesh.normals = {Point3(std::sqrt(0.5f), std::sqrt(0.5f), 0)};
    transform_mesh(Matrix4::scale(2, 1, 1), mesh);
    expect_point_near(mesh.normals[0], Point3(1, 2, 0) / std::sqrt(5.0f));
    rotate_mesh(mesh, std::numbers::pi_v<float> / 2, Point3(0, 0, 1));
    expect_point_near(mesh.normals[0], Point3(-2, 1, 0) / std::sqrt(5.0f));
    expect_point_near(mesh.vertices[0], Point3(0, 2, 0));
}

TEST(Centroids, surface_centroid_weighs_faces_by_area)
{
    // Areas 18 and 0.5 with centres (2, 2, 0) and (31/3, 1/3, 0).
    TriMesh mesh = make_mesh({Point3(0, 0, 0), Point3(6, 0, 0), Point3(0, 6, 0), Point3(10, 0, 0),
                              Point3(11, 0, 0), Point3(10, 1, 0)},
                             {Face(0, 1, 2), Face(3, 4, 5)});
    const Point3 expected = (18.0f * Point3(2, 2, 0) + 0.5f * Point3(31.0f / 3, 1.0f / 3, 0)) / 18.5f;
    expect_point_near(surface_centroid(mesh), expected);
    expect_point_near(vertex_centroid(mesh), Point3(37.0f / 6, 7.0f / 6, 0));
}

TEST(Centroids, meshes_without_area_fall_back_to_the_vertex_mean)
{
    TriMesh flat = make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(5, 0, 0)}, {Face(0, 1, 2)});
    expect_point_near(surface_centroid(flat), Point3(2, 0, 0));
    TriMesh empty;
    EXPECT_EQ(surface_centroid(empty), Point3());
}

TEST(Covariance, is_the_second_moment_of_the_surface)
{
    // The unit square [0,1]^2: E[x^2] = E[y^2] = 1/3, E[xy] = 1/4.
    TriMesh square = make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0), Point3(1, 1, 0)},
                               {Face(0, 1, 3), Face(0, 3, 2)});
    const SquareMatrix<float, 3> s = surface_covariance(square);
    EXPECT_NEAR(s[0][0], 1.0f / 3, 1e-6f);
    EXPECT_NEAR(s[1][1], 1.0f / 3, 1e-6f);
    EXPECT_NEAR(s[0][1], 0.25f, 1e-6f);
    EXPECT_EQ(s[1][0], s[0][1]);
    EXPECT_EQ(s[2][2], 0.0f);
    // About its centre: 1/12 and 0.
    const SquareMatrix<float, 3> c = surface_covariance(square, Point3(0.5f, 0.5f, 0));
    EXPECT_NEAR(c[0][0], 1.0f / 12, 1e-6f);
    EXPECT_NEAR(c[0][1], 0.0f, 1e-6f);
}

TEST(Placement, center_moves_the_surface_centroid_to_the_origin)
{
    TriMesh mesh = box(Point3(2, 3, 4), Point3(4, 5, 8));
    center_mesh(mesh);
    const BoundingBox b = box_of(mesh);
    expect_point_near(b.min, Point3(-1, -1, -2));
    expect_point_near(b.max, Point3(1, 1, 2));
}

TEST(Placement, center_of_a_bare_range_grid_uses_the_vertex_mean)
{
    TriMesh mesh = make_mesh({Point3(1, 1, 1), Point3(2, 1, 1), Point3(1, 2, 1), Point3(8, 8, 1)});
    mesh.range_grid = {0, 1, 2, 3};
    mesh.grid_cols = mesh.grid_rows = 2;
    center_mesh(mesh);
    expect_point_near(mesh.vertices[0], Point3(-2, -2, 0));
}

TEST(Placement, bbcenter_moves_the_box_centre_to_the_origin_once)
{
    TriMesh mesh = box(Point3(0, 0, 0), Point3(4, 2, 2));
    bbcenter_mesh(mesh);
    bbcenter_mesh(mesh);
    const BoundingBox b = box_of(mesh);
    expect_point_near(b.min, Point3(-2, -1, -1));
    expect_point_near(b.max, Point3(2, 1, 1));
}

TEST(Placement, bbnorm_gives_the_largest_side_length_one_about_the_box_centre)
{
    TriMesh mesh = box(Point3(0, 0, 0), Point3(4, 2, 2));
    bbnorm_mesh(mesh);
    BoundingBox b = box_of(mesh);
    expect_point_near(b.min, Point3(1.5f, 0.75f, 0.75f));
    expect_point_near(b.max, Point3(2.5f, 1.25f, 1.25f));
    bbnorm_mesh(mesh);
    b = box_of(mesh);
    expect_point_near(b.min, Point3(1.5f, 0.75f, 0.75f));
    expect_point_near(b.max, Point3(2.5f, 1.25f, 1.25f));
}

TEST(Placement, varnorm_gives_unit_spread_about_the_centroid)
{
    TriMesh pair = make_mesh({Point3(2, 5, 5), Point3(8, 5, 5)});
    varnorm_mesh(pair);
    expect_point_near(pair.vertices[0], Point3(4, 5, 5));
    expect_point_near(pair.vertices[1], Point3(6, 5, 5));

    TriMesh mesh = box(Point3(1, 2, 3), Point3(4, 4, 4));
    const Point3 centre = surface_centroid(mesh);
    varnorm_mesh(mesh);
    expect_point_near(surface_centroid(mesh), centre);
    const SquareMatrix<float, 3> s = surface_covariance(mesh, centre);
    EXPECT_NEAR(s[0][0] + s[1][1] + s[2][2], 1.0f, 1e-5f);
}

TEST(Placement, pcarot_turns_the_principal_axes_onto_x_y_z)
{
    // Centroid at the origin; spread largest along z, then y, then x. Most
    // vertices have z > 0 and y < 0, so +z becomes +x and -y becomes +y.
    TriMesh cloud = make_mesh({Point3(0, 0, -6), Point3(0, 2, 1.5f), Point3(0, -1, 1.5f),
                               Point3(0.5f, -0.5f, 1.5f), Point3(-0.5f, -0.5f, 1.5f)});
    translate_mesh(cloud, Point3(10, 20, 30));
    pca_rotate_mesh(cloud);
    expect_point_near(cloud.vertices[0], Point3(4, 20, 30));
    expect_point_near(cloud.vertices[1], Point3(11.5f, 18, 30));
    expect_point_near(cloud.vertices[3], Point3(11.5f, 20.5f, 30.5f));
}

TEST(Placement, pcasnap_only_permutes_and_flips_the_axes)
{
    // A box longest along y, then z, then x, turned a little off the axes.
    TriMesh mesh = box(Point3(-1, -5, -3), Point3(1, 5, 3));
    rotate_mesh(mesh, 0.2f, Point3(1, 1, 1));
    const std::vector<Point3> before = mesh.vertices;
    pca_snap_mesh(mesh);
    for (size_t i = 0; i < before.size(); i++) {
        EXPECT_NEAR(std::abs(mesh.vertices[i].x), std::abs(before[i].y), 1e-4f);
        EXPECT_NEAR(std::abs(mesh.vertices[i].y), std::abs(before[i].z), 1e-4f);
        EXPECT_NEAR(std::abs(mesh.vertices[i].z), std::abs(before[i].x), 1e-4f);
    }
}

TEST(Placement, degenerate_meshes_stay_finite)
{
    using Op = void (*)(TriMesh &);
    const Op ops[] = {center_mesh, bbcenter_mesh, varnorm_mesh, bbnorm_mesh, pca_rotate_mesh,
                      pca_snap_mesh};
    const TriMesh cases[] = {
        TriMesh(),
        make_mesh({Point3(1, 2, 3)}),
        make_mesh(std::vector<Point3>(5, Point3(1, 1, 1)), {Face(0, 1, 2), Face(2, 3, 4)}),
        make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(2, 0, 0)}, {Face(0, 1, 2)}),
    };
    for (const TriMesh &input : cases) {
        for (const Op op : ops) {
            TriMesh mesh = input;
            testing::internal::CaptureStderr();
            op(mesh);
            testing::internal::GetCapturedStderr();
            EXPECT_TRUE(all_finite(mesh));
            EXPECT_EQ(invariant_violation(mesh), "");
        }
    }
}

TEST(Placement, normalising_a_mesh_without_spread_leaves_it_with_a_message)
{
    TriMesh point = make_mesh(std::vector<Point3>(3, Point3(1, 2, 3)));
    testing::internal::CaptureStderr();
    varnorm_mesh(point);
    bbnorm_mesh(point);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("variance"), std::string::npos);
    EXPECT_NE(err.find("bounding box"), std::string::npos);
    for (const Point3 &p : point.vertices)
        EXPECT_EQ(p, Point3(1, 2, 3));
}
