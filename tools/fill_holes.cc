#include "fill_holes.h"

#include "boundary.h"
#include "hole_patch.h"
#include "hole_triangulation.h"
#include "tool_mesh.h"

namespace {

Point3 face_normal(const TriMesh &mesh, int f)
{
    const Face &face = mesh.faces[f];
    const Point3 c = cross(mesh.vertices[face[1]] - mesh.vertices[face[0]],
                           mesh.vertices[face[2]] - mesh.vertices[face[0]]);
    const float l = len(c);
    return l > 0 ? c / l : c;
}

// What the patch of one loop needs to know about the surface around it.
struct LoopSurroundings {
    std::vector<Point3> rim_normals;
    std::vector<float> rim_scale;
    RimSurroundings beyond;
};

LoopSurroundings surroundings_of(TriMesh &mesh, const BoundaryLoop &loop)
{
    const size_t n = loop.vertices.size();
    LoopSurroundings s;
    s.beyond.sum.resize(n);
    s.beyond.count.resize(n);
    for (size_t i = 0; i < n; i++) {
        const int v = loop.vertices[i], prev = loop.vertices[(i + n - 1) % n], next = loop.vertices[(i + 1) % n];
        s.rim_normals.push_back(face_normal(mesh, loop.faces[i]));
        s.rim_scale.push_back(0.5f * (len(mesh.vertices[next] - mesh.vertices[v]) +
                                      len(mesh.vertices[prev] - mesh.vertices[v])));
        for (const int u : mesh.vertex_neighbors[v])
            if (u != prev && u != next) {
                s.beyond.sum[i] += mesh.vertices[u];
                s.beyond.count[i]++;
            }
    }
    return s;
}

// The per-vertex values of the vertices a patch adds: the rim's mean colour
// and confidence, and normals from the patch faces.
void add_vertex_values(TriMesh &mesh, const BoundaryLoop &loop, const HolePatch &patch)
{
    const size_t added = patch.points.size() - patch.rim;
    const float share = 1.0f / float(loop.vertices.size());
    if (!mesh.colors.empty()) {
        Color mean;
        for (const int v : loop.vertices)
            for (int c = 0; c < 3; c++)
                mean[c] += share * mesh.colors[v][c];
        mesh.colors.insert(mesh.colors.end(), added, mean);
    }
    if (!mesh.confidences.empty()) {
        float mean = 0;
        for (const int v : loop.vertices)
            mean += share * mesh.confidences[v];
        mesh.confidences.insert(mesh.confidences.end(), added, mean);
    }
    if (!mesh.normals.empty()) {
        std::vector<Point3> sum(patch.points.size());
        for (const Face &f : patch.faces) {
            const Point3 c = cross(patch.points[f[1]] - patch.points[f[0]], patch.points[f[2]] - patch.points[f[0]]);
            for (int j = 0; j < 3; j++)
                sum[f[j]] += c;
        }
        for (size_t k = patch.rim; k < sum.size(); k++) {
            const float l = len(sum[k]);
            mesh.normals.push_back(l > 0 ? sum[k] / l : sum[k]);
        }
    }
}

} // namespace

HoleFillReport fill_holes(TriMesh &mesh)
{
    HoleFillReport report;
    int open_chains = 0;
    const std::vector<BoundaryLoop> loops = boundary_loops(mesh, open_chains);
    if (open_chains > 0) {
        progress_printf("\n  %d border runs do not close into loops (faces wound against each other); "
                        "left open.", open_chains);
        report.skipped += open_chains;
    }
    mesh.ensure_vertex_neighbors();
    std::vector<Face> faces = mesh.faces;
    for (const BoundaryLoop &loop : loops) {
        if (!loop.manifold || loop.vertices.size() < 3) {
            progress_printf("\n  Skipped the hole at vertex %d (%lu edges): its rim passes a vertex with "
                            "several border edges.", loop.vertices[0], (unsigned long)loop.vertices.size());
            report.skipped++;
            continue;
        }
        const LoopSurroundings around = surroundings_of(mesh, loop);
        auto rim_edge = [&](int i, int j) {
            const int a = loop.vertices[i], b = loop.vertices[j];
            for (const int u : mesh.vertex_neighbors[a])
                if (u == b)
                    return true;
            return false;
        };
        HolePatch patch;
        patch.rim = loop.vertices.size();
        for (const int v : loop.vertices)
            patch.points.push_back(mesh.vertices[v]);
        if (!triangulate_hole(patch, around.rim_normals, rim_edge)) {
            progress_printf("\n  Skipped the hole at vertex %d (%lu edges): every way to close it would "
                            "repeat an edge of the surface.", loop.vertices[0], (unsigned long)patch.rim);
            report.skipped++;
            continue;
        }
        refine_patch(patch, around.rim_scale, rim_edge);
        fair_patch(patch, around.beyond);

        // Into the mesh: rim vertices are the loop's, added ones go at the end.
        const int first_added = int(mesh.vertices.size());
        auto global = [&](int local) {
            return size_t(local) < patch.rim ? loop.vertices[local] : first_added + local - int(patch.rim);
        };
        add_vertex_values(mesh, loop, patch);
        mesh.vertices.insert(mesh.vertices.end(), patch.points.begin() + patch.rim, patch.points.end());
        for (const Face &f : patch.faces)
            faces.emplace_back(global(f[0]), global(f[1]), global(f[2]));
        report.filled++;
        report.added_vertices += int(patch.points.size() - patch.rim);
        report.added_faces += int(patch.faces.size());
    }
    replace_faces(mesh, std::move(faces));
    return report;
}
