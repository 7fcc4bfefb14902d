#include "test_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "lineqn.h"

extern char **environ;

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "polmera-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    dir = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

std::string TempDir::file(const std::string &name) const { return dir + "/" + name; }

std::string read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const std::string &path, const std::string &contents)
{
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

bool file_exists(const std::string &path) { return std::filesystem::exists(path); }

std::string program_dir() { return POLMERA_BIN_DIR; }
std::string samples_dir() { return POLMERA_SAMPLES_DIR; }

ProcessResult run_program(const std::string &name, const std::vector<std::string> &args,
                          const std::string &input)
{
    TempDir io;
    write_file(io.file("in"), input);
    const std::string program = program_dir() + "/" + name;
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, io.file("in").c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, io.file("out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, io.file("err").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    ProcessResult result;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        if (WIFEXITED(status))
            result.status = WEXITSTATUS(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = read_file(io.file("out"));
    result.err = read_file(io.file("err"));
    return result;
}

std::string stderr_of(const std::function<void()> &action)
{
    testing::internal::CaptureStderr();
    action();
    return testing::internal::GetCapturedStderr();
}

TriMesh make_mesh(const std::vector<Point3> &vertices, const std::vector<Face> &faces)
{
    TriMesh mesh;
    mesh.vertices = vertices;
    mesh.faces = faces;
    return mesh;
}

TriMesh make_grid_mesh(int n)
{
    TriMesh mesh;
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++)
            mesh.vertices.emplace_back(float(x), float(y), 0.0f);
    for (int y = 0; y + 1 < n; y++)
        for (int x = 0; x + 1 < n; x++) {
            const int ll = x + y * n, lr = ll + 1, ul = ll + n, ur = ul + 1;
            mesh.faces.emplace_back(ll, lr, ur);
            mesh.faces.emplace_back(ll, ur, ul);
        }
    return mesh;
}

TriMesh make_icosphere(int levels, float radius)
{
    const float t = (1.0f + std::sqrt(5.0f)) / 2.0f;
    TriMesh mesh = make_mesh({{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
                              {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}},
                             {{0, 11, 5}, {0, 5, 1}, {0, 1, 7}, {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
                              {11, 10, 2}, {10, 7, 6}, {7, 1, 8}, {3, 9, 4}, {3, 4, 2}, {3, 2, 6}, {3, 6, 8},
                              {3, 8, 9}, {4, 9, 5}, {2, 4, 11}, {6, 2, 10}, {8, 6, 7}, {9, 8, 1}});
    for (int level = 0; level < levels; level++) {
        std::map<std::pair<int, int>, int> midpoints;
        const auto midpoint = [&](int a, int b) {
            const auto [it, added] = midpoints.emplace(std::minmax(a, b), int(mesh.vertices.size()));
            if (added)
                mesh.vertices.push_back(0.5f * (mesh.vertices[a] + mesh.vertices[b]));
            return it->second;
        };
        std::vector<Face> split;
        for (const Face &f : mesh.faces) {
            const int ab = midpoint(f[0], f[1]), bc = midpoint(f[1], f[2]), ca = midpoint(f[2], f[0]);
            split.insert(split.end(), {{f[0], ab, ca}, {f[1], bc, ab}, {f[2], ca, bc}, {ab, bc, ca}});
        }
        mesh.faces = std::move(split);
    }
    for (Point3 &p : mesh.vertices)
        p = radius * normalize(p);
    return mesh;
}

std::vector<std::vector<int>> as_vectors(const IndexLists &lists)
{
    std::vector<std::vector<int>> vectors;
    for (size_t i = 0; i < lists.size(); i++)
        vectors.emplace_back(lists[i].begin(), lists[i].end());
    return vectors;
}

std::vector<Face> canonical(std::vector<Face> faces)
{
    auto less = [](const Face &a, const Face &b) {
        return std::lexicographical_compare(a.v, a.v + 3, b.v, b.v + 3);
    };
    for (Face &f : faces)
        for (const Face &g : {Face(f[1], f[2], f[0]), Face(f[2], f[0], f[1])})
            if (less(g, f))
                f = g;
    std::sort(faces.begin(), faces.end(), less);
    return faces;
}

std::string invariant_violation(const TriMesh &mesh)
{
    const size_t nv = mesh.vertices.size();
    const size_t nf = mesh.faces.size();
    auto per_vertex = [nv](size_t n) { return n == 0 || n == nv; };
    for (size_t i = 0; i < nf; i++)
        for (int j = 0; j < 3; j++)
            if (mesh.faces[i][j] < 0 || size_t(mesh.faces[i][j]) >= nv)
                return "face " + std::to_string(i) + " has index " + std::to_string(mesh.faces[i][j]);
    if (!per_vertex(mesh.colors.size()) || !per_vertex(mesh.confidences.size()) ||
        !per_vertex(mesh.normals.size()) || !per_vertex(mesh.point_areas.size()) ||
        !per_vertex(mesh.principal_curv1.size()) || !per_vertex(mesh.vertex_neighbors.size()) ||
        !per_vertex(mesh.vertex_faces.size()))
        return "a per-vertex array is not sized to the vertex count";
    if (!mesh.across_edge.empty() && mesh.across_edge.size() != nf)
        return "across_edge is not sized to the face count";
    if (!mesh.corner_areas.empty() && mesh.corner_areas.size() != nf)
        return "corner_areas is not sized to the face count";
    for (size_t i = 0; i < mesh.tristrips.size();) {
        const int n = mesh.tristrips[i];
        if (n < 0 || i + 1 + size_t(n) > mesh.tristrips.size())
            return "strip at " + std::to_string(i) + " runs past the end";
        for (int k = 1; k <= n; k++)
            if (mesh.tristrips[i + k] < 0 || size_t(mesh.tristrips[i + k]) >= nv)
                return "strip index out of range at " + std::to_string(i + k);
        i += 1 + n;
    }
    for (size_t i = 0; i < mesh.range_grid.size(); i++)
        if (mesh.range_grid[i] >= 0 && size_t(mesh.range_grid[i]) >= nv)
            return "grid cell " + std::to_string(i) + " out of range";
    return "";
}

bool every_edge_once_each_way(const std::vector<Face> &faces)
{
    std::map<std::pair<int, int>, int> uses;
    for (const Face &f : faces)
        for (int j = 0; j < 3; j++)
            uses[{f[j], f[(j + 1) % 3]}]++;
    for (const auto &[edge, count] : uses) {
        const auto back = uses.find({edge.second, edge.first});
        if (count != 1 || back == uses.end() || back->second != 1)
            return false;
    }
    return true;
}

std::vector<BadValueLine> bad_value_lines(const std::vector<std::string> &words)
{
    const std::pair<const char *, bool> values[] = {
        {"", false},    {"abc", false}, {"1e30", false}, {"-3", false},   {"99999999999999999999", false},
        {"nan", true},  {"inf", true},  {"-inf", true},  {"1e999", true}};
    std::vector<BadValueLine> lines;
    for (size_t k = 1; k < words.size(); k++) {
        lines.push_back({{words.begin(), words.begin() + std::ptrdiff_t(k)}, false});
        for (const auto &[value, non_finite] : values) {
            lines.push_back({words, non_finite});
            lines.back().words[k] = value;
        }
    }
    return lines;
}

bool all_values_finite(const TriMesh &mesh)
{
    std::vector<float> values(mesh.confidences);
    for (const Point3 &p : mesh.vertices)
        values.insert(values.end(), {p.x, p.y, p.z});
    for (const Point3 &n : mesh.normals)
        values.insert(values.end(), {n.x, n.y, n.z});
    for (const Color &c : mesh.colors)
        values.insert(values.end(), {c.r, c.g, c.b});
    return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}
