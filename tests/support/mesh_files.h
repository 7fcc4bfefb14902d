#pragma once
// Helpers for tests of mesh files: binary files built byte by byte, reading and
// writing with the console text captured, an exact comparison of meshes, and
// a limit on file sizes that makes writes fail.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "TriMesh.h"
#include "mesh_io.h"
#include "test_support.h"

// A binary file under construction, values appended in one byte order.
class Bytes {
public:
    explicit Bytes(bool big_endian = false) : big(big_endian) {}

    Bytes &text(const std::string &s) { data += s; return *this; }
    Bytes &u8(unsigned v) { data.push_back(char(v)); return *this; }
    Bytes &u16(unsigned v) { return raw(uint16_t(v)); }
    Bytes &i32(int32_t v) { return raw(v); }
    Bytes &f32(float v) { return raw(v); }
    Bytes &f64(double v) { return raw(v); }
    Bytes &point(float x, float y, float z) { return f32(x).f32(y).f32(z); }
    // A face as PLY writes it: a count byte of 3 and three indices.
    Bytes &tri(int a, int b, int c) { return u8(3).i32(a).i32(b).i32(c); }

    const std::string &str() const { return data; }
    size_t size() const { return data.size(); }

private:
    template <typename T>
    Bytes &raw(T v)
    {
        char b[sizeof(T)];
        std::memcpy(b, &v, sizeof(T));
        for (size_t i = 0; i < sizeof(T); i++)
            data.push_back(b[big ? sizeof(T) - 1 - i : i]);
        return *this;
    }

    bool big;
    std::string data;
};

// The property lines of a bare float position and of the usual face list.
inline const std::string ply_xyz = "property float x\nproperty float y\nproperty float z\n";
inline const std::string ply_face_list = "property list uchar int vertex_indices\n";

// A 3DS chunk: id, length including the 6 header bytes, contents.
inline std::string chunk_3ds(unsigned id, const std::string &contents, bool big = false)
{
    return Bytes(big).u16(id).i32(int32_t(6 + contents.size())).text(contents).str();
}

// 1.0000114, a coordinate that lies far outside +-1e10 when its bytes are read
// in the opposite order: a file that holds it in the wrong byte order looks
// like one with bogus endianness.
inline float byte_order_probe()
{
    const uint32_t bits = 0x3F800060;
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

// What a read printed, and the mesh when it succeeded.
struct ReadOutcome {
    std::unique_ptr<TriMesh> mesh;
    std::string err;
};

inline ReadOutcome read_captured(const std::string &path)
{
    testing::internal::CaptureStderr();
    ReadOutcome r;
    r.mesh = read_mesh(path.c_str());
    r.err = testing::internal::GetCapturedStderr();
    return r;
}

// Writes `bytes` to the file `name` of `dir` and reads it.
inline ReadOutcome read_bytes(const std::string &bytes, const TempDir &dir, const std::string &name = "m")
{
    write_file(dir.file(name), bytes);
    return read_captured(dir.file(name));
}

// What a write printed and whether it succeeded.
struct WriteOutcome {
    bool ok;
    std::string err;
};

inline WriteOutcome write_captured(const std::string &name, TriMesh &mesh)
{
    testing::internal::CaptureStderr();
    const bool ok = write_mesh(name.c_str(), mesh);
    return {ok, testing::internal::GetCapturedStderr()};
}

// "" when the primary data of two meshes is identical, else what differs.
inline std::string mesh_difference(const TriMesh &a, const TriMesh &b)
{
    if (a.vertices != b.vertices)
        return "vertices differ";
    if (a.faces != b.faces)
        return "faces differ";
    if (a.tristrips != b.tristrips)
        return "triangle strips differ";
    if (a.range_grid != b.range_grid || a.grid_cols != b.grid_cols || a.grid_rows != b.grid_rows)
        return "range grids differ";
    if (a.colors != b.colors)
        return "colours differ";
    if (a.confidences != b.confidences)
        return "confidences differ";
    if (a.normals != b.normals)
        return "normals differ";
    return "";
}

// While it lives, no file of this process may grow beyond `bytes`; a write
// past that fails instead of raising a signal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        old_handler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, saved.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, old_handler);
    }

private:
    rlimit saved{};
    void (*old_handler)(int) = nullptr;
};
