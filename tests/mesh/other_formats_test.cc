// The text formats besides PLY (OBJ, OFF, count-first, ray-tracer) and the C++
// source writer: their worked examples, exact output and round trips.

#include <gtest/gtest.h>

#include <filesystem>

#include "mesh_files.h"
#include "test_support.h"

namespace {

// Reads `contents` from a file in a fresh folder.
ReadOutcome read_text(const std::string &contents)
{
    TempDir dir;
    return read_bytes(contents, dir);
}

// Writes `mesh` to dir/name and returns the file's text.
std::string written_text(TriMesh mesh, const TempDir &dir, const std::string &name)
{
    EXPECT_TRUE(write_captured(dir.file(name), mesh).ok);
    return read_file(dir.file(name));
}

TriMesh two_triangles()
{
    return make_mesh({{0.5f, -1.25f, 2}, {1, 0.25f, -3.5f}, {-2, 4, 0.125f}, {8, -0.5f, 1.5f}},
                     {{0, 1, 2}, {0, 2, 3}});
}

} // namespace

TEST(OtherFormats, round_trips_positions_and_faces_of_every_text_format)
{
    for (const char *ext : {"obj", "off", "sm", "ray"}) {
        TempDir dir;
        TriMesh mesh = two_triangles();
        written_text(mesh, dir, std::string("m.") + ext);
        const ReadOutcome r = read_captured(dir.file(std::string("m.") + ext));
        ASSERT_TRUE(r.mesh) << ext << ": " << r.err;
        EXPECT_EQ(r.mesh->vertices, mesh.vertices) << ext;
        EXPECT_EQ(r.mesh->faces, mesh.faces) << ext;
    }
}

TEST(OtherFormats, writers_produce_their_exact_text)
{
    TempDir dir;
    const TriMesh mesh = make_mesh({{0.5f, -1.25f, 2}, {1, 2, 3}, {4, 5, 6}}, {{0, 1, 2}});
    EXPECT_EQ(written_text(mesh, dir, "m.obj"), "# OBJ\nv 0.5 -1.25 2\nv 1 2 3\nv 4 5 6\nf 1 2 3\n");
    EXPECT_EQ(written_text(mesh, dir, "m.off"), "OFF\n3 1 0\n0.5 -1.25 2\n1 2 3\n4 5 6\n3 0 1 2\n");
    EXPECT_EQ(written_text(mesh, dir, "m.sm"), "3\n0.5 -1.25 2\n1 2 3\n4 5 6\n1\n0 1 2\n0 0\n");
    TriMesh with_normals = mesh;
    with_normals.normals = {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}};
    EXPECT_EQ(written_text(with_normals, dir, "m.ray"),
              "#camera 0 0 1 0 0 -1 0 1 0 0.2\n#background 0 0 0\n#ambient 0 0 0\n#material_num 1\n"
              "#material 0 0 0  1 1 1  0 0 0  0 0 0  0 0 1  -1  !!\n#vertex_num 3\n"
              "#vertex 0.5 -1.25 2  0 0 1  0 0\n#vertex 1 2 3  0 1 0  0 0\n#vertex 4 5 6  1 0 0  0 0\n"
              "#shape_triangle 0  0 1 2\n");
}

TEST(OtherFormats, obj_writer_leaves_the_indices_alone)
{
    TempDir dir;
    TriMesh mesh = two_triangles();
    ASSERT_TRUE(write_captured(dir.file("m.obj"), mesh).ok);
    EXPECT_EQ(mesh.faces, two_triangles().faces);
}

TEST(OtherFormats, cpp_source_is_named_after_the_file_and_lists_the_data)
{
    TempDir dir;
    TriMesh mesh = make_mesh({{0.5f, 1, 2}, {3, 4, 5}, {6, 7, 8}}, {{0, 1, 2}});
    mesh.colors = {{1.0f, 0.5f, 0.0f}, {0, 0, 0}, {1, 1, 1}};
    EXPECT_EQ(written_text(mesh, dir, "model.cxx"),
              "#include <string.h>\n#include \"TriMesh.h\"\n\nTriMesh *make_model()\n{"
              "\tstatic const float vertdata[][3] = {\n"
              "\t\t{ 0.5, 1, 2 },\n\t\t{ 3, 4, 5 },\n\t\t{ 6, 7, 8 },\n\t};\n"
              "\tstatic const unsigned char colordata[][3] = {\n"
              "\t\t{ 255, 128, 0 },\n\t\t{ 0, 0, 0 },\n\t\t{ 255, 255, 255 },\n\t};\n"
              "\tstatic const int facedata[][3] = {\n\t\t{ 0, 1, 2 },\n\t};\n"
              "\n\tTriMesh *m = new TriMesh;\n\tm->vertices.resize(3);\n"
              "\tmemcpy(&m->vertices[0][0], vertdata, sizeof(vertdata));\n"
              "\tm->colors.resize(3);\n\tmemcpy(&m->colors[0][0], colordata, sizeof(colordata));\n"
              "\tm->faces.resize(1);\n\tmemcpy(&m->faces[0][0], facedata, sizeof(facedata));\n"
              "\n\treturn m;\n}\n");
}

TEST(OtherFormats, cpp_function_name_drops_folders_and_replaces_odd_characters)
{
    TempDir dir;
    ASSERT_TRUE(std::filesystem::create_directory(dir.file("sub.d")));
    TriMesh mesh = make_mesh({{1, 2, 3}});
    const std::string text = written_text(mesh, dir, "sub.d/my-model v2.cc");
    EXPECT_NE(text.find("TriMesh *make_my_model_v2()\n"), std::string::npos) << text.substr(0, 80);
    const std::string with_normals = "norm:cflt:" + dir.file("n.cpp");
    mesh.normals = {{0, 0, 1}};
    mesh.colors = {{0.25f, 0.5f, 1}};
    ASSERT_TRUE(write_captured(with_normals, mesh).ok);
    const std::string n = read_file(dir.file("n.cpp"));
    EXPECT_NE(n.find("\tstatic const float normdata[][3] = {\n\t\t{ 0, 0, 1 },\n\t};\n"), std::string::npos);
    EXPECT_NE(n.find("\tstatic const float colordata[][3] = {\n\t\t{ 0.25, 0.5, 1 },\n\t};\n"), std::string::npos);
    EXPECT_NE(n.find("\tm->normals.resize(1);\n\tmemcpy(&m->normals[0][0], normdata, sizeof(normdata));\n"),
              std::string::npos);
}

TEST(OtherFormats, obj_negative_and_slashed_indices)
{
    const ReadOutcome r = read_text("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf -3 -2 -1\n");
    ASSERT_TRUE(r.mesh) << r.err;
    EXPECT_EQ(r.mesh->faces, (std::vector<Face>{{0, 1, 2}, {0, 1, 2}}));

    // Diagonal 1-3 is the shorter one.
    const ReadOutcome q = read_text("v 0 0 0\nv 2 -1 0\nV 1 0 0\nv\t2 1 0\nvn 0 0 1\nvt 0 0\n"
                                    "F 1/1/1 2/2/2 3//3 4/4/4\ng group\nusemtl x\n");
    ASSERT_TRUE(q.mesh) << q.err;
    EXPECT_EQ(q.mesh->vertices.size(), 4u);
    EXPECT_EQ(q.mesh->faces, (std::vector<Face>{{0, 1, 2}, {0, 2, 3}}));
}

TEST(OtherFormats, obj_polygon_ends_at_the_first_word_without_a_number)
{
    const ReadOutcome r = read_text("v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nv 2 2 0\n"
                                    "f 1 2 3 x 4\nt 1 2 3 4 5\n");
    ASSERT_TRUE(r.mesh) << r.err;
    EXPECT_EQ(r.mesh->faces, (std::vector<Face>{{0, 1, 2}, {0, 1, 2}, {0, 2, 3}, {0, 3, 4}}));
}

TEST(OtherFormats, first_hash_word_chooses_between_ray_and_obj)
{
    const ReadOutcome ray = read_text("#vertex 1 2 3\n#vertex_num 9\n#VERTEX 4 5 6\n#vertex 7 8 9\n"
                                      "#shape_triangle 0  0 1 2\n");
    ASSERT_TRUE(ray.mesh) << ray.err;
    EXPECT_EQ(ray.mesh->vertices, (std::vector<Point3>{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}));
    EXPECT_EQ(ray.mesh->faces, (std::vector<Face>{{0, 1, 2}}));

    const ReadOutcome obj = read_text("# OBJ\nv 1 2 3\nv 4 5 6\nv 7 8 9\nf 1 2 3\n");
    ASSERT_TRUE(obj.mesh) << obj.err;
    EXPECT_EQ(obj.mesh->faces, (std::vector<Face>{{0, 1, 2}}));

    const ReadOutcome bare_hash = read_text("#\nv 1 2 3\n");
    ASSERT_TRUE(bare_hash.mesh) << bare_hash.err;
    EXPECT_EQ(bare_hash.mesh->vertices, (std::vector<Point3>{{1, 2, 3}}));
}

TEST(OtherFormats, off_face_lines_with_colours_and_polygons)
{
    const ReadOutcome r = read_text("OFF\n# comment\n5 2 0\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n2 2 2\n"
                                    "3 0 1 4 255 0 0\n4 0 1 2 3 0.5 0.5 0.5 1\n");
    ASSERT_TRUE(r.mesh) << r.err;
    EXPECT_EQ(r.mesh->faces, (std::vector<Face>{{0, 1, 4}, {1, 2, 3}, {1, 3, 0}}));
}

TEST(OtherFormats, count_first_faces_from_one_are_shifted_to_zero)
{
    const ReadOutcome r = read_text("3\n0 0 0\n1 0 0\n0 1 0\n1\n1 2 3\n");
    ASSERT_TRUE(r.mesh) << r.err;
    EXPECT_EQ(r.mesh->faces, (std::vector<Face>{{0, 1, 2}}));
    EXPECT_NE(r.err.find("Done.\nFound indices ranging from 1 through 3\nRemapping to 0 through 2\n"),
              std::string::npos)
        << r.err;
}

TEST(OtherFormats, count_first_faces_from_zero_or_over_spanning_are_not_shifted)
{
    const ReadOutcome zero = read_text("4\n0 0 0\n1 0 0\n0 1 0\n1 1 0\n2\n0 1 2\n1 3 2\n");
    ASSERT_TRUE(zero.mesh) << zero.err;
    EXPECT_EQ(zero.mesh->faces, (std::vector<Face>{{0, 1, 2}, {1, 3, 2}}));
    EXPECT_EQ(zero.err.find("Remapping"), std::string::npos);

    const ReadOutcome wide = read_text("3\n0 0 0\n1 0 0\n0 1 0\n2\n1 2 3\n2 3 4\n");
    EXPECT_FALSE(wide.mesh);
    EXPECT_EQ(wide.err.find("Remapping"), std::string::npos);
}

TEST(OtherFormats, count_first_without_faces_is_a_point_set)
{
    const ReadOutcome r = read_text("2\n0 0 1\n1 0 1\n");
    ASSERT_TRUE(r.mesh) << r.err;
    EXPECT_EQ(r.mesh->vertices.size(), 2u);
    EXPECT_TRUE(r.mesh->faces.empty());
}
