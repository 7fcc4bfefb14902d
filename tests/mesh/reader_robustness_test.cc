// No input may crash a reader, make it hang or allocate without bound, or give
// a mesh that indexes outside itself: truncated files, garbage, huge and
// negative counts, indices out of range and malformed strips.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "mesh_files.h"
#include "test_support.h"

namespace {


// A binary PLY with every vertex attribute and the given surface element.
std::string full_binary_ply(bool big, const std::string &surface)
{
    Bytes b(big);
    b.text(std::string("ply\nformat ") + (big ? "binary_big_endian" : "binary_little_endian") + " 1.0\n" +
           "comment all attributes\nobj_info num_cols 2\nobj_info num_rows 2\n"
           "element vertex 4\n" + ply_xyz + "property float nx\nproperty float ny\nproperty float nz\n"
           "property uchar red\nproperty uchar green\nproperty uchar blue\nproperty float confidence\n");
    if (surface == "faces")
        b.text("element face 2\nproperty uchar flags\n" + ply_face_list);
    else if (surface == "strips")
        b.text("element tristrips 1\nproperty list int int vertex_indices\n");
    else
        b.text("element range_grid 4\n" + ply_face_list);
    b.text("end_header\n");
    for (int i = 0; i < 4; i++)
        b.point(float(i), float(i % 2), 1).point(0, 0, 1).u8(10).u8(20).u8(30).f32(0.5f);
    if (surface == "faces")
        b.u8(0).tri(0, 1, 2).u8(0).u8(4).i32(0).i32(1).i32(3).i32(2);
    else if (surface == "strips")
        b.i32(6).i32(0).i32(1).i32(2).i32(3).i32(-1).i32(-1);
    else
        b.u8(1).i32(0).u8(1).i32(1).u8(1).i32(2).u8(2).i32(0).i32(3);
    return b.str();
}

std::string sample_3ds()
{
    const std::string vertices = Bytes().u16(3).point(1, 2, 3).point(4, 5, 6).point(7, 8, 9).str();
    const std::string faces = Bytes().u16(1).u16(0).u16(1).u16(2).u16(0).str();
    return chunk_3ds(0x4D4D, chunk_3ds(0x3D3D, chunk_3ds(0x4000, std::string("a\0", 2) +
                                                          chunk_3ds(0x4100, chunk_3ds(0x4110, vertices) + chunk_3ds(0x4120, faces)))));
}

std::string sample_vivid()
{
    Bytes b(true);
    b.text("VIVID").text(std::string(127, '\0')).i32(3);
    for (int i = 0; i < 3; i++)
        b.f64(i).f64(1).f64(2);
    b.i32(1).i32(3).i32(0).i32(1).i32(2);
    return b.str();
}

// Reads `bytes` as a file; a mesh that comes back must be sound. Returns its
// positions (none without a mesh).
std::vector<Point3> expect_safe_read(const std::string &bytes, const std::string &what)
{
    TempDir dir;
    const ReadOutcome r = read_bytes(bytes, dir);
    if (!r.mesh)
        return {};
    EXPECT_FALSE(r.mesh->vertices.empty()) << what;
    EXPECT_EQ(invariant_violation(*r.mesh), "") << what;
    return r.mesh->vertices;
}

// Expects the read to fail with a message that names the file and `fault`.
void expect_rejected(const std::string &bytes, const std::string &fault, const std::string &what)
{
    TempDir dir;
    const std::string path = dir.file("m");
    const ReadOutcome r = read_bytes(bytes, dir);
    EXPECT_FALSE(r.mesh) << what;
    EXPECT_NE(r.err.find(fault + " of [" + path + "]"), std::string::npos) << what << ": " << r.err;
    const std::string last = "Error reading file [" + path + "].\n";
    EXPECT_EQ(r.err.substr(r.err.size() - std::min(r.err.size(), last.size())), last) << what;
}

} // namespace

TEST(ReaderRobustness, every_truncated_prefix_of_a_binary_file_reads_safely)
{
    const std::pair<std::string, std::string> files[] = {
        {"le faces", full_binary_ply(false, "faces")},  {"be faces", full_binary_ply(true, "faces")},
        {"le strips", full_binary_ply(false, "strips")}, {"be strips", full_binary_ply(true, "strips")},
        {"le grid", full_binary_ply(false, "grid")},    {"be grid", full_binary_ply(true, "grid")},
        {"3ds", sample_3ds()},                          {"vivid", sample_vivid()},
    };
    for (const auto &[name, bytes] : files) {
        TempDir dir;
        const ReadOutcome whole = read_bytes(bytes, dir);
        ASSERT_TRUE(whole.mesh) << name << ": " << whole.err;
        EXPECT_EQ(invariant_violation(*whole.mesh), "") << name;
        // No vertex is made up: a cut file gives some of the file's own.
        for (size_t n = 0; n < bytes.size(); n++) {
            const std::vector<Point3> cut = expect_safe_read(bytes.substr(0, n), name + " cut at " + std::to_string(n));
            ASSERT_LE(cut.size(), whole.mesh->vertices.size()) << name << " cut at " << n;
            EXPECT_TRUE(std::equal(cut.begin(), cut.end(), whole.mesh->vertices.begin())) << name << " cut at " << n;
        }
    }
}

TEST(ReaderRobustness, garbage_after_every_magic_reads_safely)
{
    const char *const starts[] = {"ply\nformat ascii 1.0\n", "ply\nformat binary_little_endian 1.0\n",
                                  "ply\nformat binary_big_endian 1.0\nelement vertex 3\n", "MM", "VIVID",
                                  "OFF\n", "3\n", "#vertex ", "# c\nv ", "f "};
    uint32_t seed = 12345;
    for (const char *start : starts)
        for (int round = 0; round < 40; round++) {
            std::string bytes = start;
            seed = seed * 1664525u + 1013904223u;
            const size_t length = seed % 400;
            for (size_t i = 0; i < length; i++) {
                seed = seed * 1664525u + 1013904223u;
                // Half the rounds draw from text that the parsers look for.
                const char *alphabet = "0123456789 -\n.e#/v";
                bytes.push_back(round % 2 ? char(seed >> 24) : alphabet[(seed >> 24) % 18]);
            }
            expect_safe_read(bytes, std::string(start) + " round " + std::to_string(round));
        }
}

TEST(ReaderRobustness, huge_and_negative_counts_fail_without_a_huge_allocation)
{
    const std::string ascii = "ply\nformat ascii 1.0\n", le = "ply\nformat binary_little_endian 1.0\n";
    const std::string three = Bytes().point(1, 2, 3).point(4, 5, 6).point(7, 8, 9).str();
    const std::string files[] = {
        le + "element vertex 2000000000\n" + ply_xyz + "end_header\n" + three,
        le + "element vertex 2000000000\n" + ply_xyz + "property uchar red\nend_header\n" + three,
        ascii + "element vertex 2000000000\n" + ply_xyz + "end_header\n1 2 3\n",
        le + "element vertex -5\n" + ply_xyz + "end_header\n" + three,
        le + "element junk 2000000000\nproperty double d\nelement vertex 3\n" + ply_xyz + "end_header\n" + three,
        ascii + "element junk 2000000000\nproperty double d\nelement vertex 3\n" + ply_xyz + "end_header\n1 2 3\n",
        le + "element vertex 3\n" + ply_xyz + "element face 2000000000\n" + ply_face_list + "end_header\n" + three + "\3",
        le + "element vertex 3\n" + ply_xyz + "element face -1\n" + ply_face_list + "end_header\n" + three,
        le + "element vertex 3\n" + ply_xyz + "element face 1\nproperty list int int vertex_indices\nend_header\n" +
            three + Bytes().i32(2000000000).i32(0).i32(1).str(),
        le + "element vertex 3\n" + ply_xyz + "element tristrips 1\nproperty list int int vertex_indices\nend_header\n" +
            three + Bytes().i32(2000000000).i32(0).str(),
        ascii + "element vertex 3\n" + ply_xyz + "element tristrips 1\nproperty list int int vertex_indices\n" +
            "end_header\n1 2 3 4 5 6 7 8 9\n2000000000 0 1 2\n",
        le + "obj_info num_cols 46000\nobj_info num_rows 46000\nelement vertex 3\n" + ply_xyz +
            "element range_grid 2116000000\n" + ply_face_list + "end_header\n" + three + "\1",
        "OFF\n2000000000 2000000000 0\n1 2 3\n",
        "OFF\n3 2000000000 0\n1 2 3\n4 5 6\n7 8 9\n3 0 1 2\n",
        "2000000000\n1 2 3\n",
        "3\n1 2 3\n4 5 6\n7 8 9\n2000000000\n0 1 2\n",
        Bytes(true).text("VIVID").text(std::string(127, '\0')).i32(-1).f64(1).f64(2).f64(3).str(),
        Bytes(true).text("VIVID").text(std::string(127, '\0')).i32(1).f64(1).f64(2).f64(3).i32(2000000000).i32(3).str(),
        Bytes().u16(0x4D4D).i32(-1).u16(0x4110).i32(6).u16(0xFFFF).point(1, 2, 3).u16(0x4120).i32(6).u16(0xFFFF).str(),
    };
    for (const std::string &f : files)
        expect_safe_read(f, f.substr(0, 80));
}

TEST(ReaderRobustness, out_of_range_face_indices_are_rejected_in_every_format)
{
    const std::string le = "ply\nformat binary_little_endian 1.0\nelement vertex 3\n" + ply_xyz +
                           "element face 2\n" + ply_face_list + "end_header\n";
    const std::pair<std::string, std::string> files[] = {
        {"ascii ply", "ply\nformat ascii 1.0\nelement vertex 3\n" + ply_xyz + "element face 2\n" + ply_face_list +
                          "end_header\n1 2 3\n4 5 6\n7 8 9\n3 0 1 2\n3 0 1 3\n"},
        {"binary ply", le + Bytes().point(1, 2, 3).point(4, 5, 6).point(7, 8, 9).tri(0, 1, 2).tri(0, -7, 1).str()},
        {"obj", "v 1 2 3\nv 4 5 6\nv 7 8 9\nf 1 2 3\nf 1 2 4\n"},
        {"obj zero", "v 1 2 3\nv 4 5 6\nv 7 8 9\nf 1 2 3\nf 0 1 2\n"},
        {"obj relative", "v 1 2 3\nv 4 5 6\nv 7 8 9\nf 1 2 3\nf -4 1 2\n"},
        {"off", "OFF\n3 2 0\n1 2 3\n4 5 6\n7 8 9\n3 0 1 2\n3 0 1 9\n"},
        {"count-first", "3\n1 2 3\n4 5 6\n7 8 9\n2\n0 1 2\n0 1 2147483647\n"},
        {"ray", "#vertex 1 2 3\n#vertex 4 5 6\n#vertex 7 8 9\n#shape_triangle 0 0 1 2\n#shape_triangle 0 0 1 3\n"},
        {"3ds", chunk_3ds(0x4D4D, chunk_3ds(0x4110, Bytes().u16(3).point(1, 2, 3).point(4, 5, 6).point(7, 8, 9).str()) +
                                  chunk_3ds(0x4120, Bytes().u16(2).u16(0).u16(1).u16(2).u16(0).u16(0).u16(1).u16(3).u16(0).str()))},
        {"vivid", Bytes(true).text("VIVID").text(std::string(127, '\0')).i32(3).f64(1).f64(2).f64(3).f64(4).f64(5)
                      .f64(6).f64(7).f64(8).f64(9).i32(2).i32(3).i32(0).i32(1).i32(2).i32(3).i32(0).i32(1).i32(5).str()},
    };
    for (const auto &[name, bytes] : files)
        expect_rejected(bytes, "Face 1", name);
}

TEST(ReaderRobustness, malformed_strips_are_rejected)
{
    const std::string head = "ply\nformat binary_little_endian 1.0\nelement vertex 3\n" + ply_xyz +
                             "element tristrips 1\nproperty list int int vertex_indices\nend_header\n" +
                             Bytes().point(1, 2, 3).point(4, 5, 6).point(7, 8, 9).str();
    const std::pair<std::string, Bytes> strips[] = {
        {"index past the vertices", Bytes().i32(5).i32(0).i32(1).i32(2).i32(3).i32(-1)},
        {"negative index", Bytes().i32(5).i32(0).i32(1).i32(-4).i32(2).i32(-1)},
        {"count past the end", Bytes().i32(4).i32(5).i32(0).i32(1).i32(2)},
        {"bad count", Bytes().i32(4).i32(-3).i32(0).i32(1).i32(2)},
    };
    for (const auto &[name, values] : strips)
        expect_rejected(head + values.str(), "Triangle strip 0", name);
}
