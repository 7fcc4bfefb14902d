#include "boundary.h"

#include <algorithm>

std::vector<BoundaryEdge> boundary_edges(TriMesh &mesh)
{
    mesh.ensure_vertex_faces();
    std::vector<BoundaryEdge> edges;
    for (int f = 0; f < int(mesh.faces.size()); f++) {
        const Face &face = mesh.faces[f];
        for (int j = 0; j < 3; j++) {
            const int a = face[j], b = face[(j + 1) % 3];
            int users = 0;
            for (const int g : mesh.vertex_faces[a])
                users += mesh.corner_index(g, b) >= 0;
            if (users == 1)
                edges.push_back({a, b, f});
        }
    }
    return edges;
}

std::vector<bool> boundary_vertex_marks(TriMesh &mesh)
{
    std::vector<bool> marks(mesh.vertices.size(), false);
    for (const BoundaryEdge &e : boundary_edges(mesh))
        marks[e.from] = marks[e.to] = true;
    return marks;
}

std::vector<BoundaryLoop> boundary_loops(TriMesh &mesh, int &open_chains)
{
    const std::vector<BoundaryEdge> edges = boundary_edges(mesh);
    const size_t nv = mesh.vertices.size();
    // The boundary edges leaving each vertex, as lists end to end.
    std::vector<int> start(nv + 1, 0), incoming(nv, 0);
    for (const BoundaryEdge &e : edges) {
        start[e.from + 1]++;
        incoming[e.to]++;
    }
    for (size_t v = 0; v < nv; v++)
        start[v + 1] += start[v];
    std::vector<int> leaving(edges.size()), fill(start.begin(), start.end() - 1);
    for (int e = 0; e < int(edges.size()); e++)
        leaving[fill[edges[e].from]++] = e;

    std::vector<bool> used(edges.size(), false);
    auto next_unused = [&](int v) {
        for (int k = start[v]; k < start[v + 1]; k++)
            if (!used[leaving[k]])
                return leaving[k];
        return -1;
    };
    std::vector<BoundaryLoop> loops;
    open_chains = 0;
    for (int first = 0; first < int(edges.size()); first++) {
        if (used[first])
            continue;
        BoundaryLoop loop;
        bool closed = false;
        for (int e = first; e >= 0; e = next_unused(edges[e].to)) {
            used[e] = true;
            const int v = edges[e].from;
            loop.vertices.push_back(v);
            loop.faces.push_back(edges[e].face);
            loop.manifold &= start[v + 1] - start[v] == 1 && incoming[v] == 1;
            if (edges[e].to == edges[first].from) {
                closed = true;
                break;
            }
        }
        if (closed)
            loops.push_back(std::move(loop));
        else
            open_chains++;
    }
    return loops;
}
