#pragma once
// Frame and curvature-tensor helpers used by TriMesh::ensure_curvatures and by
// callers that re-express many tensors. rotate_frame and project_curvature are
// inline, so that a loop over many tensors can run them on several lanes.
//
// A curvature tensor is given in a tangent frame (u, v) as its three entries
// ku, kuv, kv (the symmetric 2x2 second fundamental form).

#include "Point3.h"

// Turns the frame (old_u, old_v) about the axis shared by its normal
// old_norm = old_u x old_v and new_norm, so that the result lies in the plane
// of new_norm. Returns (-old_u, -old_v) when the normals are opposite.
inline void rotate_frame(const Point3 &old_u, const Point3 &old_v, const Point3 &old_norm,
                         const Point3 &new_norm, Point3 &new_u, Point3 &new_v)
{
    const Point3 u = old_u, v = old_v, n = old_norm;
    const float ndot = dot(n, new_norm);
    if (ndot <= -1.0f) {
        new_u = -u;
        new_v = -v;
        return;
    }
    const Point3 perp_old = new_norm - ndot * n;
    const Point3 dperp = (n + new_norm) * (1.0f / (1.0f + ndot));
    new_u = u - dperp * dot(u, perp_old);
    new_v = v - dperp * dot(v, perp_old);
}

inline void rotate_frame(const Point3 &old_u, const Point3 &old_v, const Point3 &new_norm, Point3 &new_u,
                         Point3 &new_v)
{
    rotate_frame(old_u, old_v, cross(old_u, old_v), new_norm, new_u, new_v);
}

// Re-expresses the tensor (old_ku, old_kuv, old_kv) given in the frame
// (old_u, old_v) with normal old_norm = old_u x old_v in the frame
// (new_u, new_v) with normal new_norm = new_u x new_v, after turning the new
// frame into the old frame's plane. Callers that project many tensors may
// compute the two normals once; the other form computes them.
inline void project_curvature(const Point3 &old_u, const Point3 &old_v, const Point3 &old_norm, float old_ku,
                              float old_kuv, float old_kv, const Point3 &new_u, const Point3 &new_v,
                              const Point3 &new_norm, float &new_ku, float &new_kuv, float &new_kv)
{
    Point3 r_new_u, r_new_v;
    rotate_frame(new_u, new_v, new_norm, old_norm, r_new_u, r_new_v);
    const float u1 = dot(r_new_u, old_u), v1 = dot(r_new_u, old_v);
    const float u2 = dot(r_new_v, old_u), v2 = dot(r_new_v, old_v);
    new_ku = old_ku * u1 * u1 + old_kuv * (2.0f * u1 * v1) + old_kv * v1 * v1;
    new_kuv = old_ku * u1 * u2 + old_kuv * (u1 * v2 + u2 * v1) + old_kv * v1 * v2;
    new_kv = old_ku * u2 * u2 + old_kuv * (2.0f * u2 * v2) + old_kv * v2 * v2;
}

inline void project_curvature(const Point3 &old_u, const Point3 &old_v, float old_ku, float old_kuv,
                              float old_kv, const Point3 &new_u, const Point3 &new_v, float &new_ku,
                              float &new_kuv, float &new_kv)
{
    project_curvature(old_u, old_v, cross(old_u, old_v), old_ku, old_kuv, old_kv, new_u, new_v,
                      cross(new_u, new_v), new_ku, new_kuv, new_kv);
}

// Principal curvatures and directions of the tensor (ku, kuv, kv) in the frame
// (old_u, old_v), turned into the plane of `normal`: k1 is the curvature of
// larger magnitude, pdir1 its direction and pdir2 = normal x pdir1.
void diagonalize_curvature(const Point3 &old_u, const Point3 &old_v, float ku, float kuv, float kv,
                           const Point3 &normal, Point3 &pdir1, Point3 &pdir2, float &k1,
                           float &k2);
