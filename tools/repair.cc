#include "repair.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "tool_mesh.h"

namespace {

// The bits of a position, with -0 read as 0, so that equal coordinates give
// equal keys.
struct PositionKey {
    uint32_t bits[3];
    explicit PositionKey(const Point3 &p)
    {
        for (int i = 0; i < 3; i++) {
            const float c = p[i] + 0.0f;
            std::memcpy(&bits[i], &c, 4);
        }
    }
    bool operator==(const PositionKey &) const = default;
};

struct PositionHash {
    size_t operator()(const PositionKey &k) const
    {
        uint64_t h = k.bits[0];
        h = h * 0x9E3779B97F4A7C15ull ^ k.bits[1];
        h = h * 0x9E3779B97F4A7C15ull ^ k.bits[2];
        return size_t(h ^ (h >> 29));
    }
};

// The three vertices of a face in increasing order, as one key.
struct FaceKey {
    int v[3];
    explicit FaceKey(const Face &f) : v{f[0], f[1], f[2]} { std::sort(v, v + 3); }
    bool operator==(const FaceKey &) const = default;
};

struct FaceHash {
    size_t operator()(const FaceKey &k) const
    {
        const uint64_t h = (uint64_t(uint32_t(k.v[0])) * 0x9E3779B97F4A7C15ull ^ uint32_t(k.v[1])) *
                               0xC2B2AE3D27D4EB4Full ^
                           uint32_t(k.v[2]);
        return size_t(h ^ (h >> 31));
    }
};

} // namespace

int weld_vertices(TriMesh &mesh, const std::vector<bool> *candidates)
{
    const size_t nv = mesh.vertices.size();
    std::unordered_map<PositionKey, int, PositionHash> first_at;
    first_at.reserve(candidates ? 1024 : nv);
    std::vector<int> target(nv);
    int welded = 0;
    for (size_t i = 0; i < nv; i++) {
        target[i] = int(i);
        if (candidates && !(*candidates)[i])
            continue;
        const auto [at, fresh] = first_at.try_emplace(PositionKey(mesh.vertices[i]), int(i));
        if (!fresh) {
            target[i] = at->second;
            welded++;
        }
    }
    if (welded == 0)
        return 0;
    std::vector<Face> faces = std::move(mesh.faces);
    for (Face &f : faces)
        for (int j = 0; j < 3; j++)
            f[j] = target[f[j]];
    replace_faces(mesh, std::move(faces));
    std::vector<int> map(nv, -1);
    int next = 0;
    for (size_t i = 0; i < nv; i++)
        if (target[i] == int(i))
            map[i] = next++;
    mesh.remap_verts(map);
    return welded;
}

int drop_bad_faces(TriMesh &mesh)
{
    std::unordered_set<FaceKey, FaceHash> seen;
    seen.reserve(mesh.faces.size());
    std::vector<Face> kept;
    kept.reserve(mesh.faces.size());
    for (const Face &f : mesh.faces) {
        const bool degenerate = f[0] == f[1] || f[1] == f[2] || f[2] == f[0];
        if (!degenerate && seen.insert(FaceKey(f)).second)
            kept.push_back(f);
    }
    const int dropped = int(mesh.faces.size() - kept.size());
    if (dropped > 0)
        replace_faces(mesh, std::move(kept));
    return dropped;
}

void repair_mesh(TriMesh &mesh)
{
    progress_printf("Repairing... ");
    const int welded = weld_vertices(mesh);
    const int dropped = drop_bad_faces(mesh);
    const int unused = remove_unused_vertices(mesh);
    progress_printf("%d vertices welded, %d degenerate or repeated faces dropped, %d unused vertices removed.\n",
                    welded, dropped, unused);
}
