// Principal curvatures: a curvature tensor per face fitted to the change of the
// vertex normals along its edges, spread to the corners by their share of area
// and diagonalised per vertex.

#include "curvature.h"

#include <cmath>
#include <utility>

#include "TriMesh.h"
#include "lineqn.h"

void diagonalize_curvature(const Point3 &old_u, const Point3 &old_v, float ku, float kuv, float kv,
                           const Point3 &normal, Point3 &pdir1, Point3 &pdir2, float &k1,
                           float &k2)
{
    Point3 r_old_u, r_old_v;
    rotate_frame(old_u, old_v, normal, r_old_u, r_old_v);

    // One Jacobi rotation diagonalises the 2x2 tensor.
    float c = 1, s = 0, tt = 0;
    if (kuv != 0.0f) {
        const float h = 0.5f * (kv - ku) / kuv;
        tt = h < 0.0f ? 1.0f / (h - std::sqrt(1.0f + h * h)) : 1.0f / (h + std::sqrt(1.0f + h * h));
        c = 1.0f / std::sqrt(1.0f + tt * tt);
        s = tt * c;
    }
    k1 = ku - tt * kuv;
    k2 = kv + tt * kuv;
    if (std::abs(k1) >= std::abs(k2)) {
        pdir1 = c * r_old_u - s * r_old_v;
    } else {
        std::swap(k1, k2);
        pdir1 = s * r_old_u + c * r_old_v;
    }
    pdir2 = cross(normal, pdir1);
}

namespace {

// Starting frames: each vertex takes an edge of the last face that uses it,
// made perpendicular to its normal.
void initial_frames(TriMesh &mesh)
{
    for (const Face &f : mesh.faces) {
        for (int j = 0; j < 3; j++)
            mesh.principal_dir1[f[j]] = mesh.vertices[f[(j + 1) % 3]] - mesh.vertices[f[j]];
    }
    for (size_t i = 0; i < mesh.vertices.size(); i++) {
        Point3 &dir1 = mesh.principal_dir1[i];
        dir1 = cross(dir1, mesh.normals[i]);
        normalize(dir1);
        mesh.principal_dir2[i] = cross(mesh.normals[i], dir1);
    }
}

// Fits the curvature tensor of face f in its own frame (t, b) by least
// squares to the change of the normals along its three edges. Returns false
// when the system is degenerate.
bool face_tensor(const TriMesh &mesh, const Face &f, Point3 &t, Point3 &b, std::array<float, 3> &k)
{
    const Point3 e[3] = {mesh.vertices[f[2]] - mesh.vertices[f[1]],
                         mesh.vertices[f[0]] - mesh.vertices[f[2]],
                         mesh.vertices[f[1]] - mesh.vertices[f[0]]};
    t = e[0];
    normalize(t);
    const Point3 n = cross(e[0], e[1]);
    b = cross(n, t);
    normalize(b);

    SquareMatrix<float, 3> w{};
    std::array<float, 3> m{};
    for (int j = 0; j < 3; j++) {
        const float u = dot(e[j], t), v = dot(e[j], b);
        w[0][0] += u * u;
        w[0][1] += u * v;
        w[2][2] += v * v;
        const Point3 dn = mesh.normals[f[(j + 2) % 3]] - mesh.normals[f[(j + 1) % 3]];
        const float dnu = dot(dn, t), dnv = dot(dn, b);
        m[0] += dnu * u;
        m[1] += dnu * v + dnv * u;
        m[2] += dnv * v;
    }
    w[1][1] = w[0][0] + w[2][2];
    w[1][2] = w[0][1];
    std::array<float, 3> rdiag;
    if (!ldlt_decompose(w, rdiag))
        return false;
    ldlt_solve(w, rdiag, m, k);
    return true;
}

} // namespace

void TriMesh::ensure_curvatures()
{
    if (principal_curv1.size() == vertices.size())
        return;
    ensure_faces();
    ensure_normals();
    ensure_point_areas();
    progress_printf("Computing curvatures... ");

    const size_t nv = vertices.size();
    principal_curv1.assign(nv, 0.0f);
    principal_curv2.assign(nv, 0.0f);
    principal_dir1.assign(nv, Point3());
    principal_dir2.assign(nv, Point3());
    std::vector<float> curv12(nv, 0.0f);

    initial_frames(*this);
    for (size_t i = 0; i < faces.size(); i++) {
        const Face &f = faces[i];
        Point3 t, b;
        std::array<float, 3> k;
        if (!face_tensor(*this, f, t, b, k))
            continue;
        for (int j = 0; j < 3; j++) {
            const int v = f[j];
            // A vertex without area has no faces with area to weigh.
            if (!(point_areas[v] > 0.0f))
                continue;
            float c1, c12, c2;
            project_curvature(t, b, k[0], k[1], k[2], principal_dir1[v], principal_dir2[v], c1,
                              c12, c2);
            const float wt = corner_areas[i][j] / point_areas[v];
            principal_curv1[v] += wt * c1;
            curv12[v] += wt * c12;
            principal_curv2[v] += wt * c2;
        }
    }

    for (size_t i = 0; i < nv; i++) {
        diagonalize_curvature(principal_dir1[i], principal_dir2[i], principal_curv1[i], curv12[i],
                              principal_curv2[i], normals[i], principal_dir1[i], principal_dir2[i],
                              principal_curv1[i], principal_curv2[i]);
    }
    progress_printf("Done.\n");
}
