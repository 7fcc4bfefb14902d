// Face winding: consistent orientation of connected pieces, and reversal.

#include "orient.h"

#include <limits>
#include <span>
#include <utility>

#include "face_change.h"
#include "index_range.h"

namespace {

constexpr uint32_t unlabelled = std::numeric_limits<uint32_t>::max();

void reverse_by_corners_1_2(Face &f) { std::swap(f[1], f[2]); }

// x of vertex v; minus infinity for an index that names no vertex, so that
// such a corner is never the extreme one.
float x_of(const TriMesh &mesh, int v)
{
    return index_in_range(v, mesh.vertices.size()) ? mesh.vertices[v].x
                                                   : -std::numeric_limits<float>::infinity();
}

// The corner of f with the largest x; the earlier corner wins a tie.
int extreme_corner(const TriMesh &mesh, const Face &f)
{
    int best = 0;
    for (int j = 1; j < 3; j++)
        if (x_of(mesh, f[j]) > x_of(mesh, f[best]))
            best = j;
    return best;
}

float largest_x(const TriMesh &mesh, const Face &f) { return x_of(mesh, f[extreme_corner(mesh, f)]); }

// largest_x of every face. Reading the corners in one pass over the faces
// lets their loads overlap, where the labelling walk would wait for each.
std::vector<float> largest_x_of_faces(const TriMesh &mesh)
{
    std::vector<float> x(mesh.faces.size());
    for (size_t i = 0; i < mesh.faces.size(); i++)
        x[i] = largest_x(mesh, mesh.faces[i]);
    return x;
}

// The faces around each vertex that may still be unlabelled. Labels are never
// taken back, so the labelled faces at the front of a list are passed once
// and for good: a vertex of many faces is not read in full again for each of
// them.
class UnlabelledFaces {
public:
    UnlabelledFaces(const IndexLists &lists, const std::vector<uint32_t> &label)
        : lists(lists), label(label), first(lists.size(), 0)
    {
    }

    // The list of v from its first unlabelled face on (a short list whole);
    // empty for an index that names no vertex.
    std::span<const int> of(int v)
    {
        if (!index_in_range(v, lists.size()))
            return {};
        const std::span<const int> list = lists[v];
        if (list.size() <= short_list)
            return list;  // not worth a cursor
        size_t &i = first[v];
        while (i < list.size() && label[list[i]] != unlabelled)
            i++;
        return list.subspan(i);
    }

private:
    static constexpr size_t short_list = 32;
    const IndexLists &lists;
    const std::vector<uint32_t> &label;
    std::vector<size_t> first;
};

// Labels the edge-connected pieces in `visit_marks` and winds each piece like
// its first face: a neighbour that runs a shared edge the same way as the face
// that reaches it is reversed. Returns the face of largest x of each piece and
// sets `changed` when a face was reversed.
std::vector<int> label_and_align(TriMesh &mesh, bool &changed)
{
    std::vector<Face> &faces = mesh.faces;
    std::vector<uint32_t> &label = mesh.visit_marks;
    // Reversing a face keeps its corners, so their largest x stays.
    const std::vector<float> face_x = largest_x_of_faces(mesh);
    UnlabelledFaces around(mesh.vertex_faces, label);
    std::vector<int> extreme_faces;
    std::vector<int> stack;
    for (size_t start = 0; start < faces.size(); start++) {
        if (label[start] != unlabelled)
            continue;
        const uint32_t k = uint32_t(extreme_faces.size());
        label[start] = k;
        int extreme = int(start);
        float extreme_x = face_x[start];
        stack.push_back(int(start));
        while (!stack.empty()) {
            const Face f = faces[stack.back()];
            stack.pop_back();
            for (int j = 0; j < 3; j++) {
                const int a = f[j], b = f[(j + 1) % 3];
                if (!index_in_range(a, mesh.vertex_faces.size()))
                    continue;
                // The unlabelled faces holding both a and b, in face order,
                // are the same whether taken from a's list or from b's: the
                // shorter one is read.
                const bool from_b = index_in_range(b, mesh.vertex_faces.size()) &&
                                    mesh.vertex_faces[b].size() < mesh.vertex_faces[a].size();
                const std::span<const int> candidates = around.of(from_b ? b : a);
                for (const int g : candidates) {
                    if (label[g] != unlabelled)
                        continue;
                    const int ca = mesh.corner_index(g, a), cb = mesh.corner_index(g, b);
                    if (ca < 0 || cb < 0)
                        continue;  // g touches f only at a
                    if (cb == (ca + 1) % 3) {
                        reverse_by_corners_1_2(faces[g]);
                        changed = true;
                    }
                    label[g] = k;
                    if (face_x[g] > extreme_x) {
                        extreme = g;
                        extreme_x = face_x[g];
                    }
                    stack.push_back(g);
                }
            }
        }
        extreme_faces.push_back(extreme);
    }
    return extreme_faces;
}

// True when the faces around the vertex of largest x of the extreme face,
// summed as area vectors, point toward -x: the piece faces inward.
bool faces_inward(const TriMesh &mesh, int extreme_face)
{
    const Face &f = mesh.faces[extreme_face];
    const int v = f[extreme_corner(mesh, f)];
    if (!index_in_range(v, mesh.vertex_faces.size()))
        return false;
    const size_t nv = mesh.vertices.size();
    Point3 sum;
    for (const int g : mesh.vertex_faces[v]) {
        const Face &h = mesh.faces[g];
        if (!face_in_range(h, nv))
            continue;
        const Point3 &p0 = mesh.vertices[h[0]], &p1 = mesh.vertices[h[1]], &p2 = mesh.vertices[h[2]];
        sum += 0.5f * cross(p1 - p0, p2 - p0);
    }
    return sum.x < 0;
}

} // namespace

void orient_faces(TriMesh &mesh)
{
    mesh.ensure_faces();
    mesh.tristrips.clear();
    mesh.ensure_vertex_faces();
    mesh.visit_marks.assign(mesh.faces.size(), unlabelled);
    progress_printf("Auto-orienting mesh... ");

    bool changed = false;
    const std::vector<int> extreme_faces = label_and_align(mesh, changed);
    // All pieces are judged before any is turned: a vertex may join pieces.
    std::vector<bool> turn(extreme_faces.size());
    for (size_t k = 0; k < extreme_faces.size(); k++)
        turn[k] = faces_inward(mesh, extreme_faces[k]);
    for (size_t i = 0; i < mesh.faces.size(); i++) {
        if (turn[mesh.visit_marks[i]]) {
            reverse_by_corners_1_2(mesh.faces[i]);
            changed = true;
        }
    }
    if (changed)
        clear_face_derived_data(mesh);
    progress_printf("Done.\n");
}

void flip_faces(TriMesh &mesh)
{
    const bool had_strips = !mesh.tristrips.empty();
    mesh.ensure_faces();
    mesh.tristrips.clear();
    progress_printf("Flipping faces... ");
    for (Face &f : mesh.faces)
        std::swap(f[0], f[2]);
    progress_printf("Done.\n");
    clear_face_derived_data(mesh);
    if (had_strips)
        mesh.ensure_tristrips();
}
