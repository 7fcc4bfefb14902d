// STL, binary and ASCII: separate triangles whose identical corners are welded
// into shared vertices, so that adjacency works on what was read.

#include <cctype>
#include <cstring>
#include <unordered_map>

#include "byte_order.h"
#include "formats.h"
#include "mesh_text.h"
#include "ply_layout.h"

namespace {

// Gives each distinct position one vertex.
class Welder {
public:
    explicit Welder(TriMesh &mesh_) : mesh(mesh_) {}

    int vertex(Point3 p)
    {
        // -0 and +0 are the same position.
        for (int k = 0; k < 3; k++)
            if (p[k] == 0.0f)
                p[k] = 0.0f;
        Key key;
        std::memcpy(key.bits, &p, sizeof key.bits);
        const auto [it, added] = index.try_emplace(key, int(mesh.vertices.size()));
        if (added)
            mesh.vertices.push_back(p);
        return it->second;
    }

private:
    struct Key {
        uint32_t bits[3];
        bool operator==(const Key &o) const
        {
            return bits[0] == o.bits[0] && bits[1] == o.bits[1] && bits[2] == o.bits[2];
        }
    };
    struct Hash {
        size_t operator()(const Key &k) const
        {
            uint64_t h = k.bits[0] * 0x9E3779B97F4A7C15ull;
            h ^= (h >> 29) + k.bits[1] * 0xBF58476D1CE4E5B9ull;
            h ^= (h >> 31) + k.bits[2] * 0x94D049BB133111EBull;
            return size_t(h ^ (h >> 32));
        }
    };

    TriMesh &mesh;
    std::unordered_map<Key, int, Hash> index;
};

Point3 facet_normal(const TriMesh &mesh, const Face &f)
{
    const Point3 n = cross(mesh.vertices[f[1]] - mesh.vertices[f[0]],
                           mesh.vertices[f[2]] - mesh.vertices[f[0]]);
    const float l = len(n);
    return l > 0.0f && std::isfinite(l) ? n / l : Point3();
}

void write_exact(OutputStream &out, float a, float b, float c)
{
    out.printf("%.9g %.9g %.9g", a, b, c);
}

} // namespace

bool stl_binary_size_matches(InputStream &in)
{
    const size_t size = in.remaining_hint();
    if (size == SIZE_MAX || size < 84)
        return false;
    unsigned char count[4];
    for (int k = 0; k < 4; k++)
        count[k] = (unsigned char)in.peek(80 + size_t(k));
    return size - 84 == uint64_t(load<uint32_t>(count, false)) * 50;
}

bool stl_ascii_starts(InputStream &in)
{
    static const char solid[] = "solid";
    for (size_t k = 0; k < 5; k++)
        if (std::tolower(in.peek(k)) != solid[k])
            return false;
    // The first keyword after the name line.
    size_t k = 5;
    while (k < 4096 && in.peek(k) >= 0 && in.peek(k) != '\n')
        k++;
    while (k < 8192 && std::isspace(in.peek(k)))
        k++;
    std::string word;
    for (int c = in.peek(k); c >= 0 && std::isalpha(c) && word.size() < 8; c = in.peek(++k))
        word.push_back(char(std::tolower(c)));
    return word == "facet" || word == "endsolid";
}

bool read_stl_binary(InputStream &in, TriMesh &mesh)
{
    unsigned char header[84];
    if (in.read(header, 84) != 84)
        return false;
    const uint32_t count = load<uint32_t>(header + 80, false);
    progress_printf("\n  Reading %u triangles... ", count);
    mesh.faces.reserve(mesh.faces.size() + reservable(in, count, 50));
    Welder welder(mesh);
    for (uint32_t i = 0; i < count; i++) {
        unsigned char b[50];
        if (in.read(b, 50) != 50)
            return false;
        int v[3];
        for (int c = 0; c < 3; c++) {
            const unsigned char *p = b + 12 + 12 * c;
            v[c] = welder.vertex(Point3(load<float>(p, false), load<float>(p + 4, false),
                                        load<float>(p + 8, false)));
        }
        mesh.faces.emplace_back(v[0], v[1], v[2]);
    }
    return true;
}

bool read_stl_ascii(InputStream &in, TriMesh &mesh)
{
    progress_printf("\n  Reading triangles... ");
    Welder welder(mesh);
    std::vector<int> polygon;
    in.skip_line();  // "solid name"
    for (;;) {
        const std::string word = in.read_word(64);
        if (word.empty())
            return true;
        if (word == "vertex") {
            Point3 p;
            if (!in.read_float(p.x) || !in.read_float(p.y) || !in.read_float(p.z))
                return false;
            polygon.push_back(welder.vertex(p));
        } else if (word == "endfacet") {
            add_polygon(mesh, polygon);
            polygon.clear();
        } else if (word == "solid") {
            in.skip_line();  // the next solid's name
        }
    }
}

bool write_stl(OutputStream &out, TriMesh &mesh, bool ascii)
{
    mesh.ensure_faces();
    if (ascii) {
        out.puts("solid mesh\n");
        for (const Face &f : mesh.faces) {
            const Point3 n = facet_normal(mesh, f);
            out.puts("  facet normal ");
            write_exact(out, n.x, n.y, n.z);
            out.puts("\n    outer loop\n");
            for (int c = 0; c < 3; c++) {
                const Point3 &p = mesh.vertices[f[c]];
                out.puts("      vertex ");
                write_exact(out, p.x, p.y, p.z);
                out.put('\n');
            }
            out.puts("    endloop\n  endfacet\n");
        }
        out.puts("endsolid mesh\n");
        return out.flush();
    }
    char header[80];
    std::memset(header, ' ', sizeof header);
    const char title[] = "binary STL, triangles with welded corners";
    std::memcpy(header, title, sizeof title - 1);
    out.write(header, sizeof header);
    const uint32_t count = uint32_t(mesh.faces.size());
    out.write(&count, 4);
    for (const Face &f : mesh.faces) {
        const Point3 n = facet_normal(mesh, f);
        unsigned char b[50] = {};
        std::memcpy(b, &n, 12);
        for (int c = 0; c < 3; c++)
            std::memcpy(b + 12 + 12 * c, &mesh.vertices[f[c]], 12);
        out.write(b, 50);
    }
    return out.flush();
}
