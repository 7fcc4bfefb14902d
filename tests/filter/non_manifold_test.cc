// Every operation of the filter on tangled input: edges of three or more
// faces, faces that repeat a vertex, vertices no face uses. Nothing may read
// out of range (the sanitizer flavour is the real check) or hang, and the
// record's invariants must hold afterwards.

#include <gtest/gtest.h>

#include <random>

#include "edge_flip.h"
#include "orient.h"
#include "removal.h"
#include "reorder.h"
#include "test_meshes.h"
#include "test_support.h"

namespace {

// Few vertices, many faces: random positions and corners.
TriMesh tangled(std::mt19937 &rng, int round)
{
    std::uniform_real_distribution<float> coord(-1, 1);
    TriMesh m;
    const int nv = 6 + round % 7;  // the last vertices are often unused
    for (int i = 0; i < nv; i++)
        m.vertices.emplace_back(coord(rng), coord(rng), round % 2 ? coord(rng) : 0.0f);
    std::uniform_int_distribution<int> vertex(0, nv - 3);
    m.faces.resize(10 + round);
    for (Face &f : m.faces)
        f = Face(vertex(rng), vertex(rng), vertex(rng));
    return m;
}

using Operation = void (*)(TriMesh &);

void clip_to_unit_half(TriMesh &m) { clip_to_box(m, BoundingBox{{-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}}); }

} // namespace

TEST(NonManifold, every_operation_keeps_the_invariants)
{
    const std::pair<const char *, Operation> operations[] = {
        {"reorder", reorder_vertices}, {"rmverts", delete_orphan_vertices},
        {"rmfaces", delete_sliver_faces}, {"erode", erode_boundary},
        {"clip", clip_to_unit_half}, {"orient", orient_faces},
        {"faceflip", flip_faces}, {"edgeflip", edge_flip},
    };
    std::mt19937 rng(11);
    for (int round = 0; round < 40; round++) {
        const TriMesh input = tangled(rng, round);
        for (const auto &[name, operation] : operations) {
            TriMesh m = input;
            m.ensure_across_edge();  // tables an earlier option may have left
            m.ensure_vertex_neighbors();
            stderr_of([&] { operation(m); });
            EXPECT_EQ(invariant_violation(m), "") << name << " round " << round;
            // Whatever is left, strips built now stand for the same triangles.
            m.ensure_tristrips();
            EXPECT_EQ(canonical(strip_triangles(m)), canonical(m.faces)) << name << " round " << round;
        }
    }
}

TEST(NonManifold, orient_makes_each_shared_edge_pair_run_opposite_ways)
{
    // Three faces on edge 0-1, all running it the same way, and a face that
    // repeats a vertex.
    TriMesh m = make_mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {5, 5, 5}},
                          {{0, 1, 2}, {0, 1, 3}, {0, 1, 4}, {2, 2, 4}});
    orient_faces(m);
    EXPECT_EQ(m.faces[1], Face(0, 3, 1));
    EXPECT_EQ(m.faces[2], Face(0, 4, 1));
    EXPECT_EQ(invariant_violation(m), "");
}

TEST(NonManifold, indices_that_name_no_vertex_are_never_followed)
{
    // Readers reject such faces; a damaged record must still not be read out
    // of range (the sanitizer flavour is the check).
    const std::pair<const char *, Operation> operations[] = {
        {"reorder", reorder_vertices}, {"erode", erode_boundary}, {"orient", orient_faces},
        {"faceflip", flip_faces},      {"edgeflip", edge_flip},   {"rmverts", delete_orphan_vertices},
    };
    for (const auto &[name, operation] : operations) {
        TriMesh m = make_mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0.2f}},
                              {{0, 1, 2}, {2, 1, 3}, {2, 1, 40}, {-5, 3, 1}, {3, 3, 99}});
        stderr_of([&] { operation(m); });
        EXPECT_LE(m.vertices.size(), 4u) << name;
    }
}
