#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "TriMesh.h"
#include "test_support.h"

namespace {

// A closed torus of rows x cols quads, consistently oriented.
std::vector<Face> torus_faces(int rows, int cols, int first = 0)
{
    std::vector<Face> faces;
    auto at = [&](int r, int c) { return first + (r % rows) * cols + (c % cols); };
    for (int r = 0; r < rows; r++)
        for (int c = 0; c < cols; c++) {
            faces.emplace_back(at(r, c), at(r, c + 1), at(r + 1, c + 1));
            faces.emplace_back(at(r, c), at(r + 1, c + 1), at(r + 1, c));
        }
    return faces;
}

// Builds strips from the faces and unpacks them into a fresh record.
std::vector<Face> strip_round_trip(const std::vector<Face> &faces)
{
    TriMesh m = make_mesh(std::vector<Point3>(100), faces);
    m.ensure_tristrips();
    EXPECT_EQ(invariant_violation(m), "");
    TriMesh unpacked = make_mesh(m.vertices);
    unpacked.tristrips = m.tristrips;
    unpacked.ensure_faces();
    return unpacked.faces;
}

std::string strips_log(TriMesh &m)
{
    const std::string log = stderr_of([&] { m.ensure_tristrips(); });
    return log.substr(log.find("Building"));
}

} // namespace

TEST(TriStrips, single_triangle_is_one_strip)
{
    TriMesh m = make_mesh(std::vector<Point3>(3), {{0, 1, 2}});
    EXPECT_EQ(strips_log(m), "Building triangle strips... Done.\n  1 strips (Avg. length 1.0)\n");
    EXPECT_EQ(m.tristrips, (std::vector<int>{3, 0, 1, 2}));
}

TEST(TriStrips, strip_starts_at_the_last_stacked_face_and_crosses_the_shared_edge)
{
    TriMesh m = make_mesh(std::vector<Point3>(4), {{0, 1, 2}, {2, 1, 3}});
    EXPECT_EQ(strips_log(m), "Building triangle strips... Done.\n  1 strips (Avg. length 2.0)\n");
    EXPECT_EQ(m.tristrips, (std::vector<int>{4, 3, 2, 1, 0}));
    EXPECT_EQ(m.faces.size(), 2u);  // faces stay beside the strips

    m.tristrips = {3, 0, 1, 2};  // existing strips are kept
    m.ensure_tristrips();
    EXPECT_EQ(m.tristrips, (std::vector<int>{3, 0, 1, 2}));
}

TEST(TriStrips, unpacking_gives_back_the_triangles_with_their_winding)
{
    std::vector<Face> two_tori = torus_faces(3, 4);
    for (const Face &f : torus_faces(3, 4, 12))
        two_tori.push_back(f);
    const std::vector<std::pair<const char *, std::vector<Face>>> meshes = {
        {"closed", torus_faces(6, 8)},
        {"open", make_grid_mesh(7).faces},
        {"two components", two_tori},
        {"non-manifold", {{0, 1, 2}, {1, 0, 3}, {1, 0, 4}, {2, 1, 5}, {5, 5, 2}, {2, 5, 6}, {5, 6, 7}}},
    };
    for (const auto &[name, faces] : meshes)
        EXPECT_EQ(canonical(strip_round_trip(faces)), canonical(faces)) << name;

    // Few vertices and many faces: edges shared by many faces in both
    // directions, and faces that repeat a vertex.
    std::mt19937 rng(3);
    for (int round = 0; round < 50; round++) {
        std::uniform_int_distribution<int> vertex(0, 3 + round % 6);
        std::vector<Face> faces(40 + round);
        for (Face &f : faces)
            f = Face(vertex(rng), vertex(rng), vertex(rng));
        EXPECT_EQ(canonical(strip_round_trip(faces)), canonical(faces)) << "round " << round;
    }
}
