#pragma once
// Moving meshes with Matrix4 transforms, the statistics that place them
// (centroids, second moments), and the placing operations built on both:
// centring, size normalisation and alignment of the principal axes.
//
// Every operation that moves vertices goes through transform_mesh, which moves
// positions and normals and clears the derived data that depends on positions.

#include "Matrix4.h"
#include "TriMesh.h"
#include "lineqn.h"

// Applies xf to every position (with the homogeneous division) and the
// transposed inverse of xf to every normal, renormalising it. Clears the
// bounding box and sphere, point areas and curvatures; faces, strips, grid,
// colours, confidences and adjacency stay.
void transform_mesh(const Matrix4 &xf, TriMesh &mesh);

// The transform that carries normals along with xf: the transposed upper 3x3
// of inverse(xf), with the inverse's fourth row as the homogeneous divisor (1
// for affine transforms) and no translation. Apply it with Matrix4 * Point3;
// the result is not renormalised.
Matrix4 normal_transform(const Matrix4 &xf);

// transform_mesh with a translation by v, a uniform scale by s, or a rotation
// by `angle` radians about `axis` through the origin.
void translate_mesh(TriMesh &mesh, const Point3 &v);
void scale_mesh(TriMesh &mesh, float s);
void rotate_mesh(TriMesh &mesh, float angle, const Point3 &axis);

// Mean of the positions (float sums); (0, 0, 0) without vertices.
Point3 vertex_centroid(const TriMesh &mesh);

// Area-weighted centroid of the surface. A mesh without faces and strips (a
// point set, or a bare range grid) and a mesh whose faces have no area give
// vertex_centroid instead. Calls ensure_faces.
Point3 surface_centroid(TriMesh &mesh);

// Second moment of the surface, taken as a uniform sheet, about the point
// `about`: the integral of (q - about)(q - about)^T over the surface divided by
// its area. A mesh without faces and strips, or whose faces have no area, gives
// the mean of (p - about)(p - about)^T over its vertices (zero without
// vertices). Calls ensure_faces.
SquareMatrix<float, 3> surface_covariance(TriMesh &mesh, const Point3 &about = Point3());

// The placing operations of the filter's command line. Each moves the mesh
// with transform_mesh and so clears what that clears.

// Moves the surface centroid to the origin.
void center_mesh(TriMesh &mesh);

// Moves the centre of the bounding box to the origin (ensure_bounding_box);
// nothing happens without vertices.
void bbcenter_mesh(TriMesh &mesh);

// Scales about the surface centroid so that the root-mean-square distance of
// the surface from it becomes 1. A surface without spread (all points at the
// centroid) is left as it is, with a message.
void varnorm_mesh(TriMesh &mesh);

// Scales about the centre of the bounding box (ensure_bounding_box) so that
// the box's largest side becomes 1. A box without extent is left as it is,
// with a message.
void bbnorm_mesh(TriMesh &mesh);

// Rotates about the surface centroid so that the principal axes of the surface
// lie along x (largest spread), y and z. Each axis points to the side that
// holds at least half of the vertices.
void pca_rotate_mesh(TriMesh &mesh);

// Like pca_rotate_mesh, but only permutes and flips the coordinate axes: the
// axis nearest the main principal axis becomes x, the one nearest the second
// becomes y.
void pca_snap_mesh(TriMesh &mesh);
