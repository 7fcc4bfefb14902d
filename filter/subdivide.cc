// The frame shared by every subdivision scheme: numbering the new edge
// vertices, placing them, moving the old ones and splitting the faces.

#include "subdivide.h"

#include <algorithm>

#include "subdivision_rules.h"

namespace {

// The slot of the face across edge j of face f that links back to f over the
// same edge (running the other way), or -1 when that face does not link back.
int back_slot(const TriMesh &mesh, int f, int j)
{
    const int g = mesh.across_edge[f][j];
    if (g == -1)
        return -1;
    const int p = mesh.faces[f][(j + 1) % 3], q = mesh.faces[f][(j + 2) % 3];
    const Face &other = mesh.faces[g];
    for (int k = 0; k < 3; k++)
        if (mesh.across_edge[g][k] == f && other[(k + 1) % 3] == q && other[(k + 2) % 3] == p)
            return k;
    return -1;
}

// The index of the new vertex on each edge of each face, and the vertex count
// that they make.
struct EdgeNumbering {
    std::vector<Face> edge_vertex;
    size_t vertex_count = 0;
};

// Numbers the new vertices from nv on in the order their edges are first met;
// faces linked both ways across an edge share its vertex.
EdgeNumbering number_edge_vertices(const TriMesh &mesh, int nv)
{
    const size_t nf = mesh.faces.size();
    std::vector<Face> edge_vertex(nf, Face(-1, -1, -1));
    int next = nv;
    for (size_t f = 0; f < nf; f++)
        for (int j = 0; j < 3; j++) {
            if (edge_vertex[f][j] != -1)
                continue;
            edge_vertex[f][j] = next;
            if (const int k = back_slot(mesh, int(f), j); k != -1)
                edge_vertex[mesh.across_edge[f][j]][k] = next;
            next++;
        }
    return {std::move(edge_vertex), size_t(next)};
}

// Appends the new vertices in the order of their numbers, with the mean colour
// and confidence of their edge's ends.
void add_edge_vertices(TriMesh &mesh, SubdivisionRules &rules, const std::vector<Face> &edge_vertex)
{
    const bool colors = !mesh.colors.empty(), confidences = !mesh.confidences.empty();
    for (size_t f = 0; f < edge_vertex.size(); f++)
        for (int j = 0; j < 3; j++) {
            // Numbers were given in this same order, so an edge is met for
            // the first time exactly when its number is the next to place.
            if (size_t(edge_vertex[f][j]) != mesh.vertices.size())
                continue;
            mesh.vertices.push_back(rules.edge_point(int(f), j));
            const int p = mesh.faces[f][(j + 1) % 3], q = mesh.faces[f][(j + 2) % 3];
            if (colors) {
                const Color a = mesh.colors[p], b = mesh.colors[q];
                mesh.colors.emplace_back((a.r + b.r) / 2.0f, (a.g + b.g) / 2.0f,
                                         (a.b + b.b) / 2.0f);
            }
            if (confidences)
                mesh.confidences.push_back((mesh.confidences[p] + mesh.confidences[q]) / 2.0f);
        }
}

// Moves the old vertices by the Loop vertex rule, all from their old positions.
void move_old_vertices(TriMesh &mesh, const SubdivisionRules &rules, int nv)
{
    std::vector<Point3> moved(nv);
    for (int v = 0; v < nv; v++)
        moved[v] = rules.vertex_point(v);
    std::copy(moved.begin(), moved.end(), mesh.vertices.begin());
}

// Replaces each face by its middle face and appends its three corner faces.
void split_faces(TriMesh &mesh, const std::vector<Face> &edge_vertex)
{
    const size_t nf = mesh.faces.size();
    mesh.faces.resize(4 * nf);
    for (size_t f = 0; f < nf; f++) {
        const Face x = mesh.faces[f], e = edge_vertex[f];
        mesh.faces[nf + 3 * f] = Face(x[0], e[2], e[1]);
        mesh.faces[nf + 3 * f + 1] = Face(x[1], e[0], e[2]);
        mesh.faces[nf + 3 * f + 2] = Face(x[2], e[1], e[0]);
        mesh.faces[f] = e;
    }
}

} // namespace

void subdivide(TriMesh &mesh, SubdivScheme scheme)
{
    mesh.visit_marks.clear();
    mesh.clear_normals();
    mesh.clear_curvatures();
    mesh.curv_derivs.clear();
    mesh.clear_point_areas();
    mesh.clear_bounding_box();
    mesh.clear_bounding_sphere();
    mesh.ensure_faces();
    mesh.tristrips.clear();
    mesh.range_grid.clear();
    mesh.clear_vertex_neighbors();
    mesh.ensure_across_edge();
    mesh.ensure_vertex_faces();
    progress_printf("Subdividing mesh... ");
    if (mesh.faces.empty()) {
        progress_printf("Done.\n");
        return;
    }

    const int nv = int(mesh.vertices.size());
    const EdgeNumbering numbering = number_edge_vertices(mesh, nv);
    mesh.vertices.reserve(numbering.vertex_count);
    if (!mesh.colors.empty())
        mesh.colors.reserve(numbering.vertex_count);
    if (!mesh.confidences.empty())
        mesh.confidences.reserve(numbering.vertex_count);

    SubdivisionRules rules(mesh, scheme);
    add_edge_vertices(mesh, rules, numbering.edge_vertex);
    if (moves_old_vertices(scheme))
        move_old_vertices(mesh, rules, nv);
    split_faces(mesh, numbering.edge_vertex);
    mesh.clear_vertex_faces();
    mesh.clear_across_edge();
    progress_printf("Done.\n");
}
