#pragma once
// Subdivision: every triangle becomes four.

#include "TriMesh.h"

// The schemes, numbered as the command line counts them. Midpoint and the two
// butterflies keep the old vertices where they are; the Loop schemes move them.
enum class SubdivScheme {
    midpoint = 0,                // "-subD": new vertices at edge midpoints
    loop = 1,                    // "-subDloop": Loop, tabulated vertex weights
    loop_formula = 2,            // "-loop2": Loop, vertex weight 3/8 + a^2
    loop_extraordinary = 3,      // "-loop3": Loop, weight 1 - q + a^2, stencils
                                 // around extraordinary vertices
    butterfly = 4,               // "-fly2": butterfly, four-point rule on boundaries
    butterfly_extraordinary = 5, // "-subDfly": butterfly with extraordinary stencils
};

// True for the Loop schemes, which move the old vertices.
constexpr bool moves_old_vertices(SubdivScheme scheme)
{
    return scheme == SubdivScheme::loop || scheme == SubdivScheme::loop_formula ||
           scheme == SubdivScheme::loop_extraordinary;
}

// Inserts one new vertex on every edge, moves the old vertices under the Loop
// schemes, and replaces each face f = (x0, x1, x2) by its middle face
// (e0, e1, e2), which keeps the index f, and the corner faces (x0, e2, e1),
// (x1, e0, e2), (x2, e1, e0) at nf + 3f, nf + 3f + 1, nf + 3f + 2, where ej is
// the new vertex on the edge opposite corner j. New vertices are numbered from
// the old vertex count on, in the order their edges are first met (face by
// face, edges 0, 1, 2); two faces linked across an edge share its vertex, so a
// closed or open manifold mesh gets V + E vertices and always 4F faces. New
// vertices get the mean colour and confidence of their edge's ends.
// Calls ensure_faces and ensure_across_edge (so ensure_vertex_faces); drops
// strips, grid, normals, curvatures, point and corner areas, visit marks and
// every adjacency table, and invalidates the bounding box and sphere. Prints
// "Subdividing mesh... " and "Done.\n". A mesh without faces keeps its
// vertices.
void subdivide(TriMesh &mesh, SubdivScheme scheme);
