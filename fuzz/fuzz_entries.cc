#include "fuzz_entries.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "mesh_io.h"
#include "xform_file.h"

namespace {

// The bytes as a file that the readers open by name: a memory file, named
// through the process's descriptor folder.
class MemoryFile {
public:
    MemoryFile(const uint8_t *data, size_t size) : fd(::memfd_create("fuzz_input", MFD_CLOEXEC))
    {
        for (size_t done = 0; fd >= 0 && done < size;) {
            const ssize_t n = ::write(fd, data + done, size - done);
            if (n <= 0)
                std::abort();
            done += size_t(n);
        }
    }
    ~MemoryFile() { ::close(fd); }
    MemoryFile(const MemoryFile &) = delete;
    MemoryFile &operator=(const MemoryFile &) = delete;
    std::string path() const { return "/proc/self/fd/" + std::to_string(fd); }

private:
    int fd;
};

// A private folder for the files written back, made once per process and
// removed (empty) when it ends.
class ScratchFolder {
public:
    ScratchFolder()
    {
        const char *tmp = std::getenv("TMPDIR");
        path = std::string(tmp && *tmp ? tmp : "/tmp") + "/polmera_fuzz_XXXXXX";
        if (!::mkdtemp(path.data()))
            std::abort();
    }
    ~ScratchFolder() { ::rmdir(path.c_str()); }
    std::string path;
};

const std::string &scratch_folder()
{
    static const ScratchFolder folder;
    return folder.path;
}

// Written files larger than this are not worth the time of a fuzz run.
constexpr size_t max_round_trip_elements = 100000;

struct Variant {
    const char *prefix;  // write options
    const char *name;    // file name, whose extension chooses the format
    enum { exact, binary_ply, text, unreadable } kind;
    bool keeps_vertices; // false where equal corners become one vertex (STL)
};

const Variant variants[] = {
    {"", "m.ply", Variant::binary_ply, true},
    {"be:", "m.ply", Variant::binary_ply, true},
    {"norm:cflt:", "m.ply", Variant::binary_ply, true},
    {"nogrid:be:", "m.ply", Variant::binary_ply, true},
    {"ascii:", "m.ply", Variant::text, true},
    {"norm:cflt:ascii:", "m.ply", Variant::text, true},
    {"", "m.obj", Variant::text, true},
    {"", "m.off", Variant::text, true},
    {"", "m.ray", Variant::text, true},
    {"", "m.sm", Variant::text, true},
    {"", "m.stl", Variant::exact, false},
    {"stl_ascii:", "m.stl", Variant::exact, false},
    {"", "m.cc", Variant::unreadable, true},
    {"norm:cflt:", "m.cpp", Variant::unreadable, true},
};

// The binary PLY reader takes a file whose first vertex lies outside +-1e10
// (or is not a number) for one of the other byte order: such meshes do not
// come back from binary PLY as they were.
bool binary_ply_keeps(const TriMesh &mesh)
{
    const Point3 &p = mesh.vertices.front();
    for (float c : {p.x, p.y, p.z})
        if (!(c > -1e10f && c < 1e10f))
            return false;
    return true;
}

// Equal, or (in text) equal to the seven significant digits printed.
bool same(float a, float b, bool exact)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    if (a == b || exact)
        return a == b;
    return std::fabs(a - b) <= 1e-6f * std::max(std::fabs(a), std::fabs(b)) + FLT_TRUE_MIN;
}

bool same(const Point3 &a, const Point3 &b, bool exact)
{
    return same(a.x, b.x, exact) && same(a.y, b.y, exact) && same(a.z, b.z, exact);
}

// What differs between the faces written and those read back, or "".
std::string compare_faces(const TriMesh &written, TriMesh &back, const Variant &v)
{
    // A grid comes back as a grid: triangulating it again would give other
    // faces, as the sliver removal after it samples the edges anew each time.
    if (!back.range_grid.empty())
        return back.range_grid == written.range_grid && back.grid_cols == written.grid_cols &&
                       back.grid_rows == written.grid_rows
                   ? ""
                   : "range grid changed";
    back.ensure_faces();
    if (back.faces.size() != written.faces.size())
        return "face count " + std::to_string(back.faces.size()) + " instead of " +
               std::to_string(written.faces.size());
    for (size_t i = 0; i < written.faces.size(); i++)
        for (int c = 0; c < 3; c++) {
            const int w = written.faces[i][c], b = back.faces[i][c];
            if (v.keeps_vertices ? w != b : !same(written.vertices[w], back.vertices[b], true))
                return "face " + std::to_string(i) + " changed";
        }
    return "";
}

// What differs between the mesh written and the mesh read back, or "".
std::string compare(const TriMesh &written, TriMesh &back, const Variant &v)
{
    const std::string faces = compare_faces(written, back, v);
    if (!faces.empty())
        return faces;
    const bool exact = v.kind != Variant::text;
    if (!v.keeps_vertices)
        return "";
    if (back.vertices.size() != written.vertices.size())
        return "vertex count " + std::to_string(back.vertices.size()) + " instead of " +
               std::to_string(written.vertices.size());
    for (size_t i = 0; i < written.vertices.size(); i++)
        if (!same(written.vertices[i], back.vertices[i], exact))
            return "vertex " + std::to_string(i) + " changed";
    return "";
}

} // namespace

std::string check_read_mesh(const uint8_t *data, size_t size)
{
    const MemoryFile file(data, size);
    read_mesh(file.path().c_str());
    return "";
}

std::string check_round_trip(const uint8_t *data, size_t size)
{
    const MemoryFile file(data, size);
    const std::unique_ptr<TriMesh> mesh = read_mesh(file.path().c_str());
    if (!mesh)
        return "";
    mesh->ensure_faces();
    if (mesh->vertices.size() + mesh->faces.size() > max_round_trip_elements)
        return "";
    for (const Variant &v : variants) {
        // STL keeps only the corners of faces.
        if ((!v.keeps_vertices && mesh->faces.empty()) ||
            (v.kind == Variant::binary_ply && !binary_ply_keeps(*mesh)))
            continue;
        const std::string path = scratch_folder() + "/" + v.name;
        const std::string what = std::string(v.prefix) + v.name + ": ";
        if (!write_mesh((v.prefix + path).c_str(), *mesh))
            return what + "write failed";
        if (v.kind == Variant::unreadable) {
            ::unlink(path.c_str());
            continue;
        }
        const std::unique_ptr<TriMesh> back = read_mesh(path.c_str());
        ::unlink(path.c_str());
        if (!back)
            return what + "not read back";
        const std::string difference = compare(*mesh, *back, v);
        if (!difference.empty())
            return what + difference;
    }
    return "";
}

std::string check_xform_file(const uint8_t *data, size_t size)
{
    const MemoryFile file(data, size);
    Matrix4 xf;
    if (!read_xform_file(file.path(), xf))
        return "";
    const std::string path = scratch_folder() + "/m.xf";
    Matrix4 back;
    if (!write_xform_file(path, xf))
        return "write failed";
    const bool read_back = read_xform_file(path, back);
    ::unlink(path.c_str());
    if (!read_back)
        return "not read back";
    // "%g" keeps six significant digits.
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++)
            if (!(std::fabs(back(r, c) - xf(r, c)) <= 1e-5 * std::fabs(xf(r, c)) + DBL_TRUE_MIN))
                return "element " + std::to_string(r) + "," + std::to_string(c) + " changed";
    return "";
}
