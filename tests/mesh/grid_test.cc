#include <gtest/gtest.h>

#include "TriMesh.h"
#include "test_support.h"

namespace {

const std::vector<Point3> unit_square = {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}};

// One 2 x 2 block of cells ll, lr, ul, ur.
TriMesh block(const std::vector<Point3> &vertices, const std::vector<int> &cells = {0, 1, 2, 3})
{
    TriMesh m = make_mesh(vertices);
    m.grid_cols = m.grid_rows = 2;
    m.range_grid = cells;
    return m;
}

} // namespace

TEST(GridToFaces, splits_four_samples_along_the_shorter_diagonal_lr_ul_on_a_tie)
{
    TriMesh square = block(unit_square);
    EXPECT_EQ(stderr_of([&] { square.grid_to_faces(); }),
              "Triangulating... 2 faces.\n  Removing faces... None removed.\n  ");
    EXPECT_EQ(square.faces, (std::vector<Face>{{0, 1, 2}, {1, 3, 2}}));

    TriMesh skewed = block({{0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {0.5f, 1, 1}});
    skewed.grid_to_faces();
    EXPECT_EQ(skewed.faces, (std::vector<Face>{{0, 1, 3}, {0, 3, 2}}));
}

TEST(GridToFaces, three_samples_make_the_face_they_span)
{
    const std::vector<std::pair<std::vector<int>, Face>> cases = {
        {{-1, 1, 2, 3}, {1, 3, 2}},
        {{0, -1, 2, 3}, {0, 3, 2}},
        {{0, 1, -1, 3}, {0, 1, 3}},
        {{0, 1, 2, -1}, {0, 1, 2}},
    };
    for (const auto &[cells, face] : cases) {
        TriMesh m = block(unit_square, cells);
        m.grid_to_faces();
        EXPECT_EQ(m.faces, std::vector<Face>{face});
    }
}

TEST(GridToFaces, cells_at_the_origin_or_out_of_range_hold_no_sample)
{
    TriMesh at_origin = block({{0, 0, 1}, {1, 0, 1}, {0, 0, 0}, {1, 1, 1}});
    at_origin.grid_to_faces();
    EXPECT_EQ(at_origin.faces, (std::vector<Face>{{0, 1, 3}}));
    EXPECT_EQ(at_origin.range_grid, (std::vector<int>{0, 1, -1, 3}));

    TriMesh out_of_range = block(unit_square, {9, 0, -7, 2});
    out_of_range.grid_to_faces();
    EXPECT_TRUE(out_of_range.faces.empty());
    EXPECT_EQ(out_of_range.range_grid, (std::vector<int>{-1, 0, -1, 2}));

    TriMesh wrong_size = block(unit_square);
    wrong_size.grid_cols = 3;
    EXPECT_EQ(stderr_of([&] { wrong_size.grid_to_faces(); }), "Triangulating... 0 faces.\n    ");
    EXPECT_TRUE(wrong_size.faces.empty());
}

TEST(GridToFaces, removes_long_slivers_across_a_depth_jump)
{
    // 20 x 20 samples with unit spacing, except that the last column lies far
    // away: each of the 19 blocks next to it gives two long slivers.
    TriMesh m;
    for (int y = 0; y < 20; y++)
        for (int x = 0; x < 20; x++) {
            m.range_grid.push_back(int(m.vertices.size()));
            m.vertices.emplace_back(x == 19 ? 1000.0f : float(x), float(y), 1.0f);
        }
    m.grid_cols = m.grid_rows = 20;
    EXPECT_EQ(stderr_of([&] { m.grid_to_faces(); }),
              "Triangulating... 722 faces.\n  Removing faces... 38 faces removed... Done.\n  ");
    EXPECT_EQ(m.faces.size(), 722u - 38u);
    for (const Face &f : m.faces)
        for (int j = 0; j < 3; j++)
            EXPECT_LT(m.vertices[f[j]].x, 1000.0f);
    EXPECT_EQ(invariant_violation(m), "");
}
