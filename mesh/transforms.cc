// Applying transforms to a mesh, and the centroids and second moments that
// the placing operations need.

#include "transforms.h"

void transform_mesh(const Matrix4 &xf, TriMesh &mesh)
{
    for (Point3 &p : mesh.vertices)
        p = xf * p;

    if (!mesh.normals.empty()) {
        const Matrix4 normal_xf = normal_transform(xf);
        for (Point3 &n : mesh.normals)
            normalize(n = normal_xf * n);
    }

    mesh.clear_bounding_box();
    mesh.clear_bounding_sphere();
    mesh.clear_point_areas();
    mesh.clear_curvatures();
}

Matrix4 normal_transform(const Matrix4 &xf)
{
    // The transposed upper 3x3 of the inverse; the inverse's fourth row gives
    // the homogeneous divisor (1 when affine).
    const Matrix4 inv = inverse(xf);
    Matrix4 normal_xf;
    for (int r = 0; r < 3; r++)
        for (int c = 0; c < 3; c++)
            normal_xf(r, c) = inv(c, r);
    for (int c = 0; c < 4; c++)
        normal_xf(3, c) = inv(3, c);
    return normal_xf;
}

void translate_mesh(TriMesh &mesh, const Point3 &v)
{
    transform_mesh(Matrix4::translation(v.x, v.y, v.z), mesh);
}

void scale_mesh(TriMesh &mesh, float s) { transform_mesh(Matrix4::scale(s), mesh); }

void rotate_mesh(TriMesh &mesh, float angle, const Point3 &axis)
{
    transform_mesh(Matrix4::rotation(angle, axis.x, axis.y, axis.z), mesh);
}

Point3 vertex_centroid(const TriMesh &mesh)
{
    if (mesh.vertices.empty())
        return Point3();
    Point3 sum;
    for (const Point3 &p : mesh.vertices)
        sum += p;
    return sum / float(mesh.vertices.size());
}

namespace {

// Corner positions, centre and area of face f.
struct FaceGeometry {
    Point3 corner[3];
    Point3 centre;
    float area;
};

FaceGeometry face_geometry(const TriMesh &mesh, const Face &f, const Point3 &about)
{
    FaceGeometry g;
    for (int j = 0; j < 3; j++)
        g.corner[j] = mesh.vertices[f[j]] - about;
    g.centre = (g.corner[0] + g.corner[1] + g.corner[2]) / 3.0f;
    g.area = len(0.5f * cross(g.corner[2] - g.corner[0], g.corner[1] - g.corner[0]));
    return g;
}

// Adds w d d^T to the upper triangle of s.
void add_outer(SquareMatrix<float, 3> &s, const Point3 &d, float w)
{
    for (int r = 0; r < 3; r++)
        for (int c = r; c < 3; c++)
            s[r][c] += w * d[r] * d[c];
}

// Divides the upper triangle by w and mirrors it into the lower.
void finish_moment(SquareMatrix<float, 3> &s, float w)
{
    for (int r = 0; r < 3; r++)
        for (int c = r; c < 3; c++)
            s[c][r] = s[r][c] /= w;
}

SquareMatrix<float, 3> vertex_covariance(const TriMesh &mesh, const Point3 &about)
{
    SquareMatrix<float, 3> s{};
    if (mesh.vertices.empty())
        return s;
    for (const Point3 &p : mesh.vertices)
        add_outer(s, p - about, 1.0f);
    finish_moment(s, float(mesh.vertices.size()));
    return s;
}

bool has_surface(const TriMesh &mesh) { return !mesh.faces.empty() || !mesh.tristrips.empty(); }

} // namespace

Point3 surface_centroid(TriMesh &mesh)
{
    if (!has_surface(mesh))
        return vertex_centroid(mesh);
    mesh.ensure_faces();
    Point3 sum;
    float total = 0.0f;
    for (const Face &f : mesh.faces) {
        const FaceGeometry g = face_geometry(mesh, f, Point3());
        sum += g.area * g.centre;
        total += g.area;
    }
    if (!(total > 0.0f))
        return vertex_centroid(mesh);
    return sum / total;
}

SquareMatrix<float, 3> surface_covariance(TriMesh &mesh, const Point3 &about)
{
    if (!has_surface(mesh))
        return vertex_covariance(mesh, about);
    mesh.ensure_faces();
    SquareMatrix<float, 3> s{};
    float total = 0.0f;
    for (const Face &f : mesh.faces) {
        const FaceGeometry g = face_geometry(mesh, f, about);
        for (const Point3 &q : g.corner)
            add_outer(s, q - g.centre, g.area / 12.0f);
        add_outer(s, g.centre, g.area);
        total += g.area;
    }
    if (!(total > 0.0f))
        return vertex_covariance(mesh, about);
    finish_moment(s, total);
    return s;
}
