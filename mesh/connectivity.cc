// Adjacency tables of the record: the neighbours of each vertex, the faces
// around each vertex and the face across each edge, and the boundary test that
// reads them.
//
// Every table is sized in one counting pass before it is filled. A face corner
// whose index names no vertex is skipped: it adds no neighbour, no incident face
// and no edge link. Readers reject such faces; skipping them only keeps a
// damaged record from being read out of range.

#include <algorithm>

#include "TriMesh.h"
#include "index_range.h"

namespace {

// How many face corners each vertex holds (three increments per valid face).
std::vector<int> corner_counts(const TriMesh &mesh)
{
    const size_t nv = mesh.vertices.size();
    std::vector<int> counts(nv, 0);
    for (const Face &f : mesh.faces)
        for (int j = 0; j < 3; j++)
            if (index_in_range(f[j], nv))
                counts[f[j]]++;
    return counts;
}

} // namespace

void TriMesh::ensure_vertex_neighbors()
{
    if (!vertex_neighbors.empty())
        return;
    ensure_faces();
    if (faces.empty())
        return;
    progress_printf("Finding vertex neighbors... ");
    const size_t nv = vertices.size();
    const std::vector<int> counts = corner_counts(*this);
    vertex_neighbors.resize(nv);
    // Two spare slots: a vertex on a boundary fan has one more neighbour than faces.
    for (size_t i = 0; i < nv; i++)
        vertex_neighbors[i].reserve(counts[i] + 2);
    for (const Face &f : faces) {
        for (int j = 0; j < 3; j++) {
            if (!index_in_range(f[j], nv))
                continue;
            std::vector<int> &list = vertex_neighbors[f[j]];
            for (const int w : {f[(j + 1) % 3], f[(j + 2) % 3]})
                if (index_in_range(w, nv) && std::find(list.begin(), list.end(), w) == list.end())
                    list.push_back(w);
        }
    }
    progress_printf("Done.\n");
}

void TriMesh::ensure_vertex_faces()
{
    if (!vertex_faces.empty())
        return;
    ensure_faces();
    if (faces.empty())
        return;
    progress_printf("Finding vertex to triangle maps... ");
    const size_t nv = vertices.size();
    const std::vector<int> counts = corner_counts(*this);
    vertex_faces.resize(nv);
    for (size_t i = 0; i < nv; i++)
        vertex_faces[i].reserve(counts[i]);
    for (size_t i = 0; i < faces.size(); i++)
        for (int j = 0; j < 3; j++)
            if (index_in_range(faces[i][j], nv))
                vertex_faces[faces[i][j]].push_back(int(i));
    progress_printf("Done.\n");
}

namespace {

// The faces around every vertex as one flat array, in the order of
// `vertex_faces`, each with what the across-edge search asks of it: the
// vertex just before this one in the face's winding, and the face's corner
// opposite the edge between them. Reading these instead of the faces keeps
// the search within one short run of memory per vertex.
struct FaceRing {
    std::vector<size_t> first;   // entries of vertex v: first[v] .. first[v + 1]
    std::vector<int> face;
    std::vector<int> previous;
    std::vector<unsigned char> opposite;
};

FaceRing face_rings(const TriMesh &mesh)
{
    const size_t nv = mesh.vertex_faces.size();
    FaceRing ring;
    ring.first.resize(nv + 1, 0);
    for (size_t v = 0; v < nv; v++)
        ring.first[v + 1] = ring.first[v] + mesh.vertex_faces[v].size();
    const size_t n = ring.first[nv];
    ring.face.resize(n);
    ring.previous.resize(n);
    ring.opposite.resize(n);
    for (size_t v = 0; v < nv; v++) {
        size_t e = ring.first[v];
        for (const int o : mesh.vertex_faces[v]) {
            // The first corner that holds v, as a face repeating v is seen from it.
            const int d = mesh.corner_index(o, int(v));
            ring.face[e] = o;
            ring.previous[e] = mesh.faces[o][(d + 2) % 3];
            ring.opposite[e] = (unsigned char)((d + 1) % 3);
            e++;
        }
    }
    return ring;
}

} // namespace

void TriMesh::ensure_across_edge()
{
    if (!across_edge.empty())
        return;
    ensure_vertex_faces();
    if (vertex_faces.empty())
        return;
    progress_printf("Finding across-edge maps... ");
    const size_t nv = vertices.size();
    const FaceRing ring = face_rings(*this);
    across_edge.assign(faces.size(), Face(-1, -1, -1));
    for (size_t i = 0; i < faces.size(); i++) {
        for (int j = 0; j < 3; j++) {
            if (across_edge[i][j] != -1)
                continue;
            // Edge a -> b of face i; a consistently oriented neighbour o runs
            // b -> a, so b comes just before a in o. The first such face around
            // a (in face order) is linked on both sides.
            const int a = faces[i][(j + 1) % 3], b = faces[i][(j + 2) % 3];
            if (!index_in_range(a, nv) || !index_in_range(b, nv))
                continue;
            for (size_t e = ring.first[a]; e < ring.first[a + 1]; e++) {
                const int o = ring.face[e];
                if (o == int(i) || ring.previous[e] != b)
                    continue;
                across_edge[i][j] = o;
                across_edge[o][ring.opposite[e]] = int(i);
                break;
            }
        }
    }
    progress_printf("Done.\n");
}

bool TriMesh::is_boundary(int v)
{
    ensure_vertex_neighbors();
    ensure_vertex_faces();
    if (!index_in_range(v, vertex_neighbors.size()) || !index_in_range(v, vertex_faces.size()))
        return false;
    return vertex_neighbors[v].size() != vertex_faces[v].size();
}
