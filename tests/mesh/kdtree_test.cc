#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "KDtree.h"
#include "TriMesh.h"
#include "test_support.h"

namespace {

// Repeatable pseudo-random floats in [lo, hi).
struct Random {
    uint32_t state = 12345;
    float next(float lo, float hi)
    {
        state = state * 1664525u + 1013904223u;
        return lo + (hi - lo) * float(state >> 8) / float(1u << 24);
    }
    Point3 point(float lo, float hi) { return Point3(next(lo, hi), next(lo, hi), next(lo, hi)); }
};

int index_of(const std::vector<Point3> &pts, const float *p)
{
    return p ? int((p - &pts[0].x) / 3) : -1;
}

// Squared distance as the tree computes it.
float d2(const Point3 &a, const Point3 &b)
{
    const float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

// The nearest point strictly within sqrt(limit2), by brute force.
int brute_force(const std::vector<Point3> &pts, const Point3 &q, float limit2)
{
    int best = -1;
    float best_d2 = limit2;
    for (size_t i = 0; i < pts.size(); i++)
        if (d2(pts[i], q) < best_d2) {
            best = int(i);
            best_d2 = d2(pts[i], q);
        }
    return best;
}

// Half the diagonal of the points' bounding box, squared.
float root_radius2(const std::vector<Point3> &pts)
{
    Point3 lo = pts[0], hi = pts[0];
    for (const Point3 &p : pts)
        for (int k = 0; k < 3; k++) {
            lo[k] = std::min(lo[k], p[k]);
            hi[k] = std::max(hi[k], p[k]);
        }
    const Point3 e = hi - lo;
    const float r = 0.5f * std::sqrt(e.x * e.x + e.y * e.y + e.z * e.z);
    return r * r;
}

class RejectAll : public KDtree::CompatFunc {
public:
    bool operator()(const float *) const override { return false; }
};

} // namespace

TEST(KDtree, finds_the_same_nearest_point_as_brute_force)
{
    Random rnd;
    std::vector<Point3> pts;
    for (int i = 0; i < 3000; i++)
        pts.push_back(rnd.point(-1, 1));
    // A dense cluster and a far outlier make the cells uneven.
    for (int i = 0; i < 500; i++)
        pts.push_back(rnd.point(0.3f, 0.31f));
    pts.emplace_back(50, -40, 30);
    const KDtree tree(pts);
    const float r2 = root_radius2(pts);
    for (int i = 0; i < 1000; i++) {
        const Point3 q = i % 2 ? rnd.point(-1.5f, 1.5f) : rnd.point(0.29f, 0.32f);
        const int expected = brute_force(pts, q, 1e30f);
        const int found = index_of(pts, tree.closest_point(&q.x, 1e30f));
        ASSERT_NE(found, -1);
        EXPECT_EQ(d2(pts[found], q), d2(pts[expected], q)) << "query " << i;
        // The default limit is the root cell's radius.
        const int within = brute_force(pts, q, r2);
        const int found_default = index_of(pts, tree.closest_point(&q.x));
        EXPECT_EQ(found_default == -1, within == -1);
    }
}

TEST(KDtree, finds_a_far_query_only_within_the_root_radius_by_default)
{
    // Eight points on the x axis: bounding box 0..7, root radius 3.5.
    std::vector<Point3> pts;
    for (int i = 0; i < 8; i++)
        pts.emplace_back(float(i), 0, 0);
    const KDtree tree(pts);
    const Point3 near(10.4f, 0, 0), far(10.6f, 0, 0);
    EXPECT_EQ(index_of(pts, tree.closest_point(&near.x)), 7);
    EXPECT_EQ(tree.closest_point(&far.x), nullptr);
    EXPECT_EQ(index_of(pts, tree.closest_point(&far.x, 100.0f)), 7);
    EXPECT_EQ(index_of(pts, tree.closest_point(&far.x, -1.0f)), -1);
}

TEST(KDtree, excludes_a_point_exactly_at_the_limit)
{
    const std::vector<Point3> pts = {Point3(2, 0, 0)};
    const KDtree tree(pts);
    const Point3 q(0, 0, 0);
    EXPECT_EQ(tree.closest_point(&q.x, 4.0f), nullptr);
    EXPECT_EQ(index_of(pts, tree.closest_point(&q.x, 4.001f)), 0);
}

TEST(KDtree, small_tree_searches_without_limit_by_default)
{
    const std::vector<Point3> one = {Point3(1, 2, 3)};
    const KDtree single(one);
    const Point3 far(1e6f, -1e6f, 0);
    EXPECT_EQ(index_of(one, single.closest_point(&far.x)), 0);

    std::vector<Point3> seven;
    for (int i = 0; i < 7; i++)
        seven.emplace_back(float(i), 0, 0);
    const KDtree leaf(seven);
    EXPECT_EQ(index_of(seven, leaf.closest_point(&far.x)), 6);
}

TEST(KDtree, empty_tree_finds_nothing)
{
    const std::vector<Point3> none;
    const KDtree tree(none);
    const Point3 q(0, 0, 0);
    EXPECT_EQ(tree.closest_point(&q.x, 1e30f), nullptr);
}

TEST(KDtree, first_of_equidistant_points_wins)
{
    const std::vector<Point3> pts = {Point3(-1, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0)};
    const KDtree tree(pts);
    const Point3 q(0, 0, 0);
    EXPECT_EQ(index_of(pts, tree.closest_point(&q.x)), 0);
}

TEST(KDtree, identical_points_are_all_reachable)
{
    const std::vector<Point3> pts(100, Point3(1, 1, 1));
    const KDtree tree(pts);
    NotInSet found(&pts[0].x);
    const Point3 q(1, 1, 2);
    for (int k = 0; k < 100; k++) {
        const float *p = tree.closest_point(&q.x, 10.0f, &found);
        ASSERT_NE(p, nullptr) << "after " << k << " points";
        found.insert(int(p - &pts[0].x));
    }
    EXPECT_EQ(found.size(), 100u);
    EXPECT_EQ(tree.closest_point(&q.x, 10.0f, &found), nullptr);
}

TEST(KDtree, points_with_nan_or_infinity_do_not_upset_the_tree)
{
    std::vector<Point3> pts;
    for (int i = 0; i < 50; i++)
        pts.emplace_back(float(i), 0, 0);
    pts[0] = Point3(NAN, 0, 0);
    pts[10] = Point3(INFINITY, 0, 0);
    pts[20] = Point3(0, -INFINITY, NAN);
    const KDtree tree(pts);
    const Point3 q(30.2f, 0, 0);
    EXPECT_EQ(index_of(pts, tree.closest_point(&q.x, 1e30f)), 30);
    NotInSet found(&pts[0].x);
    for (int k = 0; k < 60; k++)
        if (const float *p = tree.closest_point(&q.x, 1e30f, &found))
            found.insert(int(p - &pts[0].x));
    EXPECT_EQ(found.size(), 47u);  // every finite point
}

TEST(KDtree, predicate_rejecting_everything_finds_nothing)
{
    Random rnd;
    std::vector<Point3> pts;
    for (int i = 0; i < 200; i++)
        pts.push_back(rnd.point(0, 1));
    const KDtree tree(pts);
    const RejectAll reject;
    const Point3 q(0.5f, 0.5f, 0.5f);
    EXPECT_EQ(tree.closest_point(&q.x, 1e30f, &reject), nullptr);
}

TEST(KDtree, not_in_set_yields_neighbours_in_order_of_distance)
{
    std::vector<Point3> pts;
    for (int i = 0; i < 30; i++)
        pts.emplace_back(float(i * i), 0, 0);
    const KDtree tree(pts);
    NotInSet found(&pts[0].x);
    found.insert(0);
    for (int k = 1; k < 30; k++) {
        const float *p = tree.closest_point(&pts[0].x, 1e30f, &found);
        ASSERT_EQ(index_of(pts, p), k);
        found.insert(int(p - &pts[0].x));
    }
}

TEST(NormCompat, on_a_surface_accepts_boundary_vertices_and_agreeing_normals)
{
    TriMesh mesh = make_grid_mesh(5);
    mesh.normals.assign(mesh.vertices.size(), Point3(0, 0, 1));
    const KDtree tree(mesh.vertices);
    const Point3 centre = mesh.vertices[12];  // the middle vertex

    const NormCompat agree(Point3(0, 0, 1), mesh);
    EXPECT_EQ(index_of(mesh.vertices, tree.closest_point(&centre.x, 0.0f, &agree)), 12);

    // Opposite normals: only boundary vertices pass.
    const NormCompat oppose(Point3(0, 0, -1), mesh);
    const int found = index_of(mesh.vertices, tree.closest_point(&centre.x, 100.0f, &oppose));
    ASSERT_NE(found, -1);
    EXPECT_TRUE(mesh.is_boundary(found));
    EXPECT_FLOAT_EQ(dist2(mesh.vertices[found], centre), 4.0f);
}

TEST(NormCompat, on_a_point_cloud_ignores_the_normals_sign)
{
    TriMesh cloud = make_mesh({Point3(0, 0, 0), Point3(1, 0, 0), Point3(2, 0, 0)});
    cloud.normals = {Point3(0, 0, 1), Point3(1, 0, 0), Point3(0, 0, -1)};
    const KDtree tree(cloud.vertices);
    const NormCompat compat(Point3(0, 0, 1), cloud);
    const Point3 q(1.1f, 0, 0);
    EXPECT_EQ(index_of(cloud.vertices, tree.closest_point(&q.x, 0.0f, &compat)), 2);
}

TEST(KDtree, nearest_points_are_those_of_successive_searches)
{
    Random rnd;
    std::vector<Point3> scattered;
    for (int i = 0; i < 2000; i++)
        scattered.push_back(rnd.point(-1, 1));
    for (int i = 0; i < 300; i++)
        scattered.push_back(rnd.point(0.3f, 0.31f));
    std::vector<Point3> grid;  // ties everywhere
    for (int z = 0; z < 8; z++)
        for (int y = 0; y < 8; y++)
            for (int x = 0; x < 8; x++)
                grid.emplace_back(float(x), float(y), float(z));
    const struct {
        const std::vector<Point3> &pts;
        int k;
        float maxdist2;
        int max_unsettled;  // on the grid, cell spheres pass exactly through points
    } cases[] = {{scattered, 12, 0.0f, 6}, {scattered, 1, 0.0f, 6}, {scattered, 30, 0.01f, 6},
                 {grid, 12, 0.0f, 600},    {grid, 7, 2.0f, 600}};
    for (const auto &c : cases) {
        SCOPED_TRACE("k = " + std::to_string(c.k) + ", limit " + std::to_string(c.maxdist2));
        const KDtree tree(c.pts);
        const float *first = &c.pts[0].x;
        NearestPoints nearest(c.k);
        int unsettled = 0;
        for (int i = 0; i < 600; i++) {
            // Every other query is a point of the cloud; every fifth point is rejected.
            const Point3 q = i % 2 ? c.pts[size_t(i * 7) % c.pts.size()] : rnd.point(-1.2f, 8.2f);
            NotInSet found(first);
            for (size_t j = 0; j < c.pts.size(); j += 5)
                found.insert(int(3 * j));
            const NotInSet rejected = found;
            tree.nearest_points(&q.x, nearest, c.maxdist2, &rejected);
            std::vector<int> expected, got;
            for (int k = 0; k < c.k; k++) {
                const float *p = tree.closest_point(&q.x, c.maxdist2, &found);
                if (!p)
                    break;
                found.insert(int(p - first));
                expected.push_back(index_of(c.pts, p));
            }
            for (int j = 0; j < nearest.size(); j++) {
                got.push_back(index_of(c.pts, nearest[j]));
                if (j > 0) {
                    EXPECT_LE(d2(c.pts[size_t(got[j - 1])], q), d2(c.pts[size_t(got[j])], q));
                }
            }
            if (!nearest.settled()) {
                unsettled++;
                continue;
            }
            std::sort(expected.begin(), expected.end());
            std::sort(got.begin(), got.end());
            EXPECT_EQ(got, expected) << "query " << i;
        }
        EXPECT_LE(unsettled, c.max_unsettled);
    }
}
