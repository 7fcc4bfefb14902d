#pragma once
// Edge flipping: an interior edge shared by two triangles is replaced by the
// other diagonal of their quadrilateral when that makes the worse of the two
// triangles better, judged by its largest angle.
//
// Edge j of a face is the edge opposite its corner j, as in `across_edge`.

#include "TriMesh.h"

// The cosine of the largest angle of the triangle (p, q, r): 1/2 for an
// equilateral triangle, 0 for a right one, negative for an obtuse one; larger
// is better. A triangle with a side of length zero, or one whose value cannot
// be computed, counts as the worst, -1. The value depends only on the three
// points, not on their order.
float triangle_quality(const Point3 &p, const Point3 &q, const Point3 &r);

// How much flipping edge j of face f would raise the worse quality of the two
// faces on that edge: min quality of the two new triangles minus min quality
// of the two current ones. 0 when there is no face across, when the two faces
// have the same opposite vertex, or when the new triangles would face apart.
// When the face across does not link back to f (an edge of more than two
// faces), prints a six-line diagnostic with error_printf and returns 0. Needs
// `across_edge` (built on demand).
float flip_benefit(TriMesh &mesh, int f, int j);

// Flips edge j of face f: f = (c, d, e) and the face h across d-e, which holds
// g opposite that edge, become f = (c, g, e) and h = (d, g, c). Updates
// `across_edge` of f, h and the faces beyond them, and clears `vertex_faces`,
// `vertex_neighbors` and the corner and point areas, which no longer match.
// Returns h, or -1 without change when no face across holds d. Meant for edges
// with a positive flip_benefit.
int flip_edge(TriMesh &mesh, int f, int j);

// Flips edges, best first, while some flip has a positive benefit: a priority
// queue ordered by benefit, then face, then edge (larger first), whose records
// are re-evaluated when taken out. Faces are made from strips or grid first;
// `tristrips` and `range_grid` are emptied. When any edge was flipped the
// adjacency tables and the corner and point areas are cleared. Vertices do not
// move; normals are not touched. Logs "Flipping edges... " and "Done.\n".
void edge_flip(TriMesh &mesh);
