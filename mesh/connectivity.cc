// Adjacency tables of the record: the neighbours of each vertex and the faces
// around each vertex, and the boundary test that reads them.
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

namespace {

// The faces around each vertex in increasing face order, a face holding a
// vertex twice listed twice: a counting sort of the face corners by vertex.
// The lists are filled from the last face backwards, each vertex's write
// position counting down from the end of its list, so no separate position
// table is needed.
IndexLists incident_faces(const std::vector<Face> &faces, size_t nv)
{
    std::vector<size_t> starts(nv + 1, 0);
    for (const Face &f : faces)
        for (int j = 0; j < 3; j++)
            if (index_in_range(f[j], nv))
                starts[f[j]]++;
    size_t end = 0;
    for (size_t v = 0; v < nv; v++) {
        end += starts[v];
        starts[v] = end;
    }
    starts[nv] = end;
    std::vector<int> items(end);
    // The write positions of vertices in random order miss the cache; asking
    // for those of a face a few steps ahead keeps several misses in flight.
    const size_t ahead = 16;
    for (size_t i = faces.size(); i-- > 0;) {
        if (i >= ahead)
            for (int j = 0; j < 3; j++)
                if (index_in_range(faces[i - ahead][j], nv))
                    __builtin_prefetch(&starts[faces[i - ahead][j]], 1);
        for (int j = 2; j >= 0; j--)
            if (index_in_range(faces[i][j], nv))
                items[--starts[faces[i][j]]] = int(i);
    }
    return IndexLists(std::move(starts), std::move(items));
}

} // namespace

void TriMesh::ensure_vertex_faces()
{
    if (!vertex_faces.empty())
        return;
    ensure_faces();
    if (faces.empty())
        return;
    progress_printf("Finding vertex to triangle maps... ");
    vertex_faces = incident_faces(faces, vertices.size());
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
