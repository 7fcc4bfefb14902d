// 3DS and VIVID scanner files, built byte by byte.

#include <gtest/gtest.h>

#include "mesh_files.h"
#include "test_support.h"

namespace {

std::string vertex_list(const std::vector<Point3> &points, bool big = false)
{
    Bytes b(big);
    b.u16(unsigned(points.size()));
    for (const Point3 &p : points)
        b.point(p.x, p.y, p.z);
    return b.str();
}

std::string face_list(const std::vector<Face> &faces, bool big = false)
{
    Bytes b(big);
    b.u16(unsigned(faces.size()));
    for (const Face &f : faces)
        b.u16(unsigned(f[0])).u16(unsigned(f[1])).u16(unsigned(f[2])).u16(7);
    return b.str();
}

std::string object(const std::string &name, const std::vector<Point3> &points, const std::vector<Face> &faces)
{
    return chunk_3ds(0x4000, name + '\0' +
                             chunk_3ds(0x4100, chunk_3ds(0x4110, vertex_list(points)) + chunk_3ds(0x4120, face_list(faces)) +
                                               chunk_3ds(0x4150, std::string(8, '\x55'))));
}

// A VIVID file: magic, 127 header bytes, vertices as big-endian doubles,
// then (when given) the faces as counted lists.
Bytes vivid(const std::vector<Point3> &points)
{
    Bytes b(true);
    b.text("VIVID").text(std::string(127, 'h')).i32(int32_t(points.size()));
    for (const Point3 &p : points)
        b.f64(p.x).f64(p.y).f64(p.z);
    return b;
}

} // namespace

TEST(BinaryScans, reads_3ds_objects_with_indices_per_object)
{
    const std::string file = chunk_3ds(0x4D4D, chunk_3ds(0x0002, Bytes().i32(3).str()) +
                                               chunk_3ds(0x3D3D, object("one", {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {{0, 1, 2}}) +
                                                                 object("two", {{0, 0, 1}, {0, 1, 1}, {1, 0, 1}},
                                                                        {{2, 1, 0}})));
    TempDir dir;
    const ReadOutcome r = read_bytes(file, dir);
    ASSERT_TRUE(r.mesh) << r.err;
    EXPECT_EQ(r.mesh->vertices,
              (std::vector<Point3>{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {0, 0, 1}, {0, 1, 1}, {1, 0, 1}}));
    EXPECT_EQ(r.mesh->faces, (std::vector<Face>{{0, 1, 2}, {5, 4, 3}}));
    EXPECT_EQ(r.err, "Reading " + dir.file("m") + "... \n  Reading 3 vertices... \n  Reading 1 faces... "
                     "\n  Reading 3 vertices... \n  Reading 1 faces... Done.\n");
}

TEST(BinaryScans, byte_reversed_3ds_vertices_turn_the_rest_of_the_file_around)
{
    const float x = byte_order_probe();
    const std::string vertices = Bytes().u16(0x4110).i32(48).u16(3).str() +
                                 Bytes(true).point(x, 2, 3).point(4, 5, 6).point(7, 8, 9).str();
    const std::string file = chunk_3ds(0x4D4D, chunk_3ds(0x3D3D, chunk_3ds(0x4000, std::string("o\0", 2) + chunk_3ds(0x4100, "")))) +
                             vertices + chunk_3ds(0x4120, face_list({{0, 2, 1}}, true), true);
    TempDir dir;
    const ReadOutcome r = read_bytes(file, dir);
    ASSERT_TRUE(r.mesh) << r.err;
    EXPECT_EQ(r.mesh->vertices, (std::vector<Point3>{{x, 2, 3}, {4, 5, 6}, {7, 8, 9}}));
    EXPECT_EQ(r.mesh->faces, (std::vector<Face>{{0, 2, 1}}));
}

TEST(BinaryScans, reads_vivid_vertices_and_polygons)
{
    Bytes b = vivid({{0, 0, 0.5}, {1, 0, 0.5}, {1, 1, 0.5}, {0, 1, 0.5}, {2, 2, 2}});
    b.i32(2).i32(4).i32(0).i32(1).i32(2).i32(3).i32(3).i32(4).i32(1).i32(0);
    TempDir dir;
    const ReadOutcome r = read_bytes(b.str(), dir);
    ASSERT_TRUE(r.mesh) << r.err;
    EXPECT_EQ(r.mesh->vertices.size(), 5u);
    EXPECT_EQ(r.mesh->vertices[4], Point3(2, 2, 2));
    EXPECT_EQ(r.mesh->faces, (std::vector<Face>{{1, 2, 3}, {1, 3, 0}, {4, 1, 0}}));
    EXPECT_EQ(r.err, "Reading " + dir.file("m") + "... \n  Reading 5 vertices... \n  Reading 2 faces... Done.\n");
}

TEST(BinaryScans, vivid_with_short_faces_keeps_its_vertices)
{
    Bytes b = vivid({{0, 0, 1}, {1, 0, 1}, {0, 1, 1}});
    b.i32(5).i32(3).i32(0).i32(1).i32(2).i32(3).i32(0);
    TempDir dir;
    const ReadOutcome r = read_bytes(b.str(), dir);
    ASSERT_TRUE(r.mesh) << r.err;
    EXPECT_EQ(r.mesh->vertices.size(), 3u);
    EXPECT_EQ(r.mesh->faces, (std::vector<Face>{{0, 1, 2}}));
}

TEST(BinaryScans, truncated_vivid_names_the_missing_part)
{
    const std::string whole = vivid({{0, 0, 1}, {1, 0, 1}}).str();
    const struct {
        size_t length;
        const char *message;
    } cases[] = {
        {100, "Couldn't read vertex count.\n"},
        {5 + 127 + 4 + 30, "\n  Reading 2 vertices... Couldn't read vertex.\n"},
        {whole.size(), "\n  Reading 2 vertices... Couldn't read face count.\n"},
    };
    for (const auto &c : cases) {
        TempDir dir;
        const ReadOutcome r = read_bytes(whole.substr(0, c.length), dir);
        EXPECT_FALSE(r.mesh);
        EXPECT_EQ(r.err, "Reading " + dir.file("m") + "... " + c.message + "Error reading file [" +
                             dir.file("m") + "].\n");
    }
}
