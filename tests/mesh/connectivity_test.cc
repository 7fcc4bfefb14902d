#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "TriMesh.h"
#include "test_support.h"

using Lists = std::vector<std::vector<int>>;

TEST(Connectivity, single_triangle_is_all_boundary_and_builders_log_once)
{
    TriMesh m = make_mesh(std::vector<Point3>(3), {{0, 1, 2}});
    EXPECT_EQ(stderr_of([&] {
                  m.ensure_vertex_neighbors();
                  m.ensure_across_edge();
                  m.ensure_vertex_neighbors();
                  m.ensure_across_edge();
              }),
              "Finding vertex neighbors... Done.\nFinding vertex to triangle maps... Done.\n"
              "Finding across-edge maps... Done.\n");
    EXPECT_EQ(m.vertex_neighbors, (Lists{{1, 2}, {2, 0}, {0, 1}}));
    EXPECT_EQ(as_vectors(m.vertex_faces), (Lists{{0}, {0}, {0}}));
    EXPECT_EQ(m.across_edge, (std::vector<Face>{{-1, -1, -1}}));
    for (int v = 0; v < 3; v++)
        EXPECT_TRUE(m.is_boundary(v));
}

TEST(Connectivity, point_cloud_gets_no_tables_and_no_boundary)
{
    TriMesh cloud = make_mesh(std::vector<Point3>(3));
    EXPECT_EQ(stderr_of([&] {
                  cloud.ensure_across_edge();
                  EXPECT_FALSE(cloud.is_boundary(0));
              }),
              "");
    EXPECT_TRUE(cloud.vertex_neighbors.empty() && cloud.vertex_faces.empty() && cloud.across_edge.empty());
}

TEST(Connectivity, links_only_consistently_oriented_neighbours)
{
    TriMesh m = make_mesh(std::vector<Point3>(4), {{0, 1, 2}, {2, 1, 3}});
    m.ensure_across_edge();
    m.ensure_vertex_neighbors();
    EXPECT_EQ(m.across_edge, (std::vector<Face>{{1, -1, -1}, {-1, -1, 0}}));
    EXPECT_EQ(m.vertex_neighbors[1], (std::vector<int>{2, 0, 3}));
    EXPECT_EQ(as_vectors(m.vertex_faces)[1], (std::vector<int>{0, 1}));

    TriMesh same_direction = make_mesh(std::vector<Point3>(4), {{0, 1, 2}, {1, 2, 3}});
    same_direction.ensure_across_edge();
    EXPECT_EQ(same_direction.across_edge, (std::vector<Face>{{-1, -1, -1}, {-1, -1, -1}}));
}

TEST(Connectivity, closed_tetrahedron_has_no_boundary)
{
    TriMesh m = make_mesh(std::vector<Point3>(4), {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}});
    m.ensure_across_edge();
    for (int v = 0; v < 4; v++) {
        EXPECT_FALSE(m.is_boundary(v));
        EXPECT_EQ(m.vertex_neighbors[v].size(), 3u);
    }
    for (int f = 0; f < 4; f++)
        for (int j = 0; j < 3; j++) {
            // Every link is mutual: g points back at f across the same edge.
            const int g = m.across_edge[f][j];
            ASSERT_NE(g, -1);
            const int k = m.corner_index(g, m.faces[f][(j + 1) % 3]);
            EXPECT_EQ(m.across_edge[g][(k + 1) % 3], f);
        }
}

TEST(Connectivity, edge_of_three_faces_links_the_last_pair)
{
    // Face 0 runs 0 -> 1; faces 1 and 2 both run 1 -> 0.
    TriMesh m = make_mesh(std::vector<Point3>(5), {{0, 1, 2}, {1, 0, 3}, {1, 0, 4}});
    m.ensure_across_edge();
    EXPECT_EQ(m.across_edge[0][2], 2);
    EXPECT_EQ(m.across_edge[1][2], 0);
    EXPECT_EQ(m.across_edge[2][2], 0);
}

TEST(Connectivity, degenerate_face_makes_its_vertex_its_own_neighbour)
{
    TriMesh m = make_mesh(std::vector<Point3>(6), {{4, 4, 5}});
    m.ensure_vertex_neighbors();
    m.ensure_across_edge();
    EXPECT_EQ(m.vertex_neighbors[4], (std::vector<int>{4, 5}));
    EXPECT_EQ(as_vectors(m.vertex_faces)[4], (std::vector<int>{0, 0}));
    EXPECT_EQ(m.across_edge, (std::vector<Face>{{-1, -1, -1}}));
}

namespace {

// The across-edge links by the plain search: faces in index order, each empty
// slot a -> b linked to the first face around a holding b -> a. Corners naming
// no vertex are skipped.
std::vector<Face> links_by_search(const TriMesh &m)
{
    const size_t nv = m.vertices.size();
    Lists around(nv);
    for (size_t i = 0; i < m.faces.size(); i++)
        for (int j = 0; j < 3; j++)
            if (size_t(m.faces[i][j]) < nv)
                around[m.faces[i][j]].push_back(int(i));
    std::vector<Face> links(m.faces.size(), Face(-1, -1, -1));
    for (size_t i = 0; i < m.faces.size(); i++)
        for (int j = 0; j < 3; j++) {
            const int a = m.faces[i][(j + 1) % 3], b = m.faces[i][(j + 2) % 3];
            if (links[i][j] != -1 || size_t(a) >= nv || size_t(b) >= nv)
                continue;
            for (const int o : around[a]) {
                const int k = (m.corner_index(o, a) + 1) % 3;
                if (o != int(i) && m.faces[o][(k + 1) % 3] == b) {
                    links[i][j] = o;
                    links[o][k] = int(i);
                    break;
                }
            }
        }
    return links;
}

// Few vertices and many faces: edges of up to a dozen faces either way, faces
// repeating a vertex or naming none, and rings large enough to be searched
// sorted.
TriMesh tangled_mesh(std::mt19937 &rng, int nv)
{
    std::vector<Face> faces;
    const int nf = 1 + int(rng() % 80);
    for (int f = 0; f < nf; f++) {
        Face face(int(rng() % nv), int(rng() % nv), int(rng() % nv));
        if (rng() % 8 != 0)
            while (face[1] == face[0] || face[2] == face[0] || face[2] == face[1])
                face = Face(int(rng() % nv), int(rng() % nv), int(rng() % nv));
        if (rng() % 16 == 0)
            face[rng() % 3] = rng() % 2 ? -1 : nv;
        faces.push_back(face);
    }
    return make_mesh(std::vector<Point3>(nv), faces);
}

// Neighbours by the plain rule: faces in index order, corners in order, the
// next corner's vertex then the previous one's, each appended unless listed.
Lists neighbours_by_search(const TriMesh &m)
{
    const size_t nv = m.vertices.size();
    Lists lists(nv);
    for (const Face &f : m.faces)
        for (int j = 0; j < 3; j++) {
            if (size_t(f[j]) >= nv)
                continue;
            for (const int w : {f[(j + 1) % 3], f[(j + 2) % 3]})
                if (size_t(w) < nv && std::find(lists[f[j]].begin(), lists[f[j]].end(), w) == lists[f[j]].end())
                    lists[f[j]].push_back(w);
        }
    return lists;
}

} // namespace

TEST(Connectivity, tables_match_the_plain_rules_on_tangled_meshes)
{
    std::mt19937 rng(7);
    for (const int nv : {4, 6, 12, 40}) {
        for (int trial = 0; trial < 20; trial++) {
            TriMesh m = tangled_mesh(rng, nv);
            m.ensure_across_edge();
            m.ensure_vertex_neighbors();
            ASSERT_EQ(m.across_edge, links_by_search(m)) << nv << " vertices, trial " << trial;
            ASSERT_EQ(m.vertex_neighbors, neighbours_by_search(m)) << nv << " vertices, trial " << trial;
        }
    }
}

TEST(Connectivity, vertex_of_a_hundred_thousand_faces_is_handled_in_passing)
{
    // Searching the ring of such a vertex for every edge would take minutes.
    const int n = 100000;
    std::vector<Face> cone, degenerate;
    for (int i = 0; i < n; i++) {
        cone.emplace_back(0, 1 + i, 2 + i);
        degenerate.emplace_back(0, 0, 1 + i);
    }
    TriMesh m = make_mesh(std::vector<Point3>(n + 2), cone);
    m.ensure_across_edge();
    m.ensure_vertex_neighbors();
    EXPECT_EQ(m.across_edge[0], Face(-1, 1, -1));
    EXPECT_EQ(m.across_edge[n / 2], Face(-1, n / 2 + 1, n / 2 - 1));
    EXPECT_EQ(m.across_edge[n - 1], Face(-1, -1, n - 2));
    ASSERT_EQ(m.vertex_neighbors[0].size(), size_t(n + 1));
    EXPECT_EQ(m.vertex_neighbors[0][n / 2], n / 2 + 1);

    // Every face holds vertex 0 twice: no face runs another's edge backwards.
    TriMesh d = make_mesh(std::vector<Point3>(n + 1), degenerate);
    d.ensure_across_edge();
    d.ensure_vertex_neighbors();
    EXPECT_EQ(std::count(d.across_edge.begin(), d.across_edge.end(), Face(-1, -1, -1)), n);
    ASSERT_EQ(d.vertex_neighbors[0].size(), size_t(n + 1));
    EXPECT_EQ(d.vertex_neighbors[0][0], 0);
    EXPECT_EQ(d.vertex_neighbors[0][n], n);
}

TEST(Connectivity, fan_of_many_faces_links_each_to_its_neighbours)
{
    // A closed fan of 40 faces around vertex 0: its ring is searched sorted.
    const int n = 40;
    std::vector<Face> faces;
    for (int i = 0; i < n; i++)
        faces.emplace_back(0, 1 + i, 1 + (i + 1) % n);
    TriMesh m = make_mesh(std::vector<Point3>(n + 1), faces);
    m.ensure_across_edge();
    for (int i = 0; i < n; i++)
        EXPECT_EQ(m.across_edge[i], Face(-1, (i + 1) % n, (i + n - 1) % n)) << i;
}

TEST(Connectivity, large_mesh_taken_in_parts_links_like_the_plain_search)
{
    // Enough vertices for the links to be worked out on several threads; a
    // few reversed faces and a fan of faces on one edge make the parts meet
    // unmatched and crowded edges.
    TriMesh m = make_grid_mesh(400);
    for (size_t f = 0; f < m.faces.size(); f += 997)
        std::swap(m.faces[f][1], m.faces[f][2]);
    for (int k = 0; k < 5; k++)
        m.faces.emplace_back(400 * 200 + 7, 400 * 200 + 8, k);
    m.ensure_across_edge();
    EXPECT_EQ(m.across_edge, links_by_search(m));
}
