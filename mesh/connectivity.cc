// Adjacency tables of the record: the neighbours of each vertex and the faces
// around each vertex, and the boundary test that reads them.
//
// Every table is sized in one counting pass before it is filled. A face corner
// whose index names no vertex is skipped: it adds no neighbour, no incident face
// and no edge link. Readers reject such faces; skipping them only keeps a
// damaged record from being read out of range.

#include "TriMesh.h"
#include "index_range.h"

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

void TriMesh::ensure_vertex_neighbors()
{
    if (!vertex_neighbors.empty())
        return;
    ensure_faces();
    if (faces.empty())
        return;
    progress_printf("Finding vertex neighbors... ");
    const size_t nv = vertices.size();
    // Each vertex's neighbours in order of discovery (faces in index order,
    // in each face the corners in order, the next corner's vertex before the
    // previous one's), found from its own faces. A mark per vertex replaces
    // the search of the list, which took quadratic time around a vertex of
    // many faces.
    const IndexLists around = incident_faces(faces, nv);
    vertex_neighbors.resize(nv);
    std::vector<int> listed_for(nv, -1);  // listed_for[w] == v: w is in v's list
    for (size_t v = 0; v < nv; v++) {
        std::vector<int> &list = vertex_neighbors[v];
        // Two spare slots: a vertex on a boundary fan has one more neighbour than faces.
        list.reserve(around[v].size() + 2);
        int last_face = -1;
        for (const int f : around[v]) {
            if (f == last_face)
                continue;  // a face holding v twice is listed twice
            last_face = f;
            for (int j = 0; j < 3; j++) {
                if (faces[f][j] != int(v))
                    continue;
                for (const int w : {faces[f][(j + 1) % 3], faces[f][(j + 2) % 3]})
                    if (index_in_range(w, nv) && listed_for[w] != int(v)) {
                        listed_for[w] = int(v);
                        list.push_back(w);
                    }
            }
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
