// Placing a mesh: centring, size normalisation and principal-axis alignment,
// each about a centre that stays where it was.

#include <cmath>

#include "transforms.h"

namespace {

// Matrix whose first three columns are a, b and c.
Matrix4 from_columns(const Point3 &a, const Point3 &b, const Point3 &c)
{
    Matrix4 xf;
    for (int r = 0; r < 3; r++) {
        xf(r, 0) = a[r];
        xf(r, 1) = b[r];
        xf(r, 2) = c[r];
    }
    return xf;
}

// Column k of m.
Point3 column(const SquareMatrix<float, 3> &m, int k) { return Point3(m[0][k], m[1][k], m[2][k]); }

// Flips e unless at least half of the vertices (rounded down) lie strictly on
// its positive side.
void orient_axis(const TriMesh &mesh, Point3 &e)
{
    size_t positive = 0;
    for (const Point3 &p : mesh.vertices)
        if (dot(p, e) > 0.0f)
            positive++;
    if (positive < mesh.vertices.size() / 2)
        e = -e;
}

// Index of the coordinate axis nearest to e: x or y by the larger magnitude,
// z whenever its magnitude is at least that of the winner.
int nearest_axis(const Point3 &e)
{
    const float ax = std::abs(e.x), ay = std::abs(e.y), az = std::abs(e.z);
    if (ay < ax)
        return az >= ax ? 2 : 0;
    return az >= ay ? 2 : 1;
}

// The unit vector along `axis`, pointing the way e's component does.
Point3 signed_axis(const Point3 &e, int axis)
{
    Point3 s;
    s[axis] = e[axis] < 0.0f ? -1.0f : 1.0f;
    return s;
}

// Centres the mesh on its surface centroid c and returns c together with the
// main (e2) and second (e1) principal axes, oriented, of the centred mesh.
Point3 centre_and_principal_axes(TriMesh &mesh, Point3 &e2, Point3 &e1)
{
    const Point3 c = surface_centroid(mesh);
    translate_mesh(mesh, -c);
    SquareMatrix<float, 3> s = surface_covariance(mesh);
    std::array<float, 3> eigenvalues;
    eigen_symmetric(s, eigenvalues);
    e2 = column(s, 2);
    e1 = column(s, 1);
    orient_axis(mesh, e2);
    orient_axis(mesh, e1);
    return c;
}

// Turns the frame (e2, e1, e2 x e1) onto (x, y, z) and moves the mesh back
// to its centre c.
void align_frame_and_return(TriMesh &mesh, const Point3 &e2, const Point3 &e1, const Point3 &c)
{
    transform_mesh(inverse(from_columns(e2, e1, cross(e2, e1))), mesh);
    translate_mesh(mesh, c);
}

// Scales by s about the point c.
void scale_about(TriMesh &mesh, const Point3 &c, float s)
{
    translate_mesh(mesh, -c);
    scale_mesh(mesh, s);
    translate_mesh(mesh, c);
}

} // namespace

void center_mesh(TriMesh &mesh) { translate_mesh(mesh, -surface_centroid(mesh)); }

void bbcenter_mesh(TriMesh &mesh)
{
    mesh.ensure_bounding_box();
    if (!mesh.bounding_box.valid)
        return;
    translate_mesh(mesh, -0.5f * (mesh.bounding_box.min + mesh.bounding_box.max));
}

void varnorm_mesh(TriMesh &mesh)
{
    const Point3 c = surface_centroid(mesh);
    const SquareMatrix<float, 3> s = surface_covariance(mesh, c);
    const float trace = s[0][0] + s[1][1] + s[2][2];
    if (!(trace > 0.0f) || !std::isfinite(trace)) {
        error_printf("Not normalizing the variance: the surface has no spread.\n");
        return;
    }
    scale_about(mesh, c, 1.0f / std::sqrt(trace));
}

void bbnorm_mesh(TriMesh &mesh)
{
    mesh.ensure_bounding_box();
    if (!mesh.bounding_box.valid)
        return;
    const Point3 extent = mesh.bounding_box.max - mesh.bounding_box.min;
    float longest = extent.x;
    if (extent.y > longest)
        longest = extent.y;
    if (extent.z > longest)
        longest = extent.z;
    if (!(longest > 0.0f) || !std::isfinite(longest)) {
        error_printf("Not normalizing the size: the bounding box has no extent.\n");
        return;
    }
    scale_about(mesh, 0.5f * (mesh.bounding_box.min + mesh.bounding_box.max), 1.0f / longest);
}

void pca_rotate_mesh(TriMesh &mesh)
{
    Point3 e2, e1;
    const Point3 c = centre_and_principal_axes(mesh, e2, e1);
    align_frame_and_return(mesh, e2, e1, c);
}

void pca_snap_mesh(TriMesh &mesh)
{
    Point3 e2, e1;
    const Point3 c = centre_and_principal_axes(mesh, e2, e1);
    const int main_axis = nearest_axis(e2);
    e2 = signed_axis(e2, main_axis);
    e1 -= dot(e1, e2) * e2;
    int second_axis = nearest_axis(e1);
    // e1 has nothing left once it lies along e2 (only when the axes are not
    // unique): take the next axis round.
    if (second_axis == main_axis)
        second_axis = (main_axis + 1) % 3;
    e1 = signed_axis(e1, second_axis);
    align_frame_and_return(mesh, e2, e1, c);
}
