#pragma once
// Frame and curvature-tensor helpers used by TriMesh::ensure_curvatures.
//
// A curvature tensor is given in a tangent frame (u, v) as its three entries
// ku, kuv, kv (the symmetric 2x2 second fundamental form).

#include "Point3.h"

// Turns the frame (old_u, old_v) about the axis shared by its normal
// old_u x old_v and new_norm, so that the result lies in the plane of
// new_norm. Returns (-old_u, -old_v) when the normals are opposite.
void rotate_frame(const Point3 &old_u, const Point3 &old_v, const Point3 &new_norm, Point3 &new_u,
                  Point3 &new_v);

// Re-expresses the tensor (old_ku, old_kuv, old_kv) given in the frame
// (old_u, old_v) in the frame (new_u, new_v), after turning the new frame into
// the old frame's plane.
void project_curvature(const Point3 &old_u, const Point3 &old_v, float old_ku, float old_kuv,
                       float old_kv, const Point3 &new_u, const Point3 &new_v, float &new_ku,
                       float &new_kuv, float &new_kv);

// Principal curvatures and directions of the tensor (ku, kuv, kv) in the frame
// (old_u, old_v), turned into the plane of `normal`: k1 is the curvature of
// larger magnitude, pdir1 its direction and pdir2 = normal x pdir1.
void diagonalize_curvature(const Point3 &old_u, const Point3 &old_v, float ku, float kuv, float kv,
                           const Point3 &normal, Point3 &pdir1, Point3 &pdir2, float &k1,
                           float &k2);
