#include "face_filter.h"

#include "lineqn.h"
#include "parallel.h"

FaceFilter::FaceFilter(TriMesh &mesh) : mesh(mesh), records(mesh.faces.size())
{
    for_each_index(records.size(), 16384, [&](size_t f) {
        sample_face(int(f));
        records[f].across = mesh.across_edge[f];
    });
}

void FaceFilter::set_planes(const std::vector<Point3> &positions)
{
    for_each_index(records.size(), 16384, [&](size_t f) {
        const Face &face = mesh.faces[f];
        const Point3 &p0 = positions[face[0]], &p1 = positions[face[1]], &p2 = positions[face[2]];
        Point3 n = 0.5f * cross(p2 - p0, p1 - p0);
        records[f].normal = len2(n) > 0.0f ? normalize(n) : Point3();
    });
}

void FaceFilter::move_vertex(int v, const Point3 &p)
{
    mesh.vertices[v] = p;
    if (size_t(v) < mesh.vertex_faces.size())
        for (const int f : mesh.vertex_faces[v])
            sample_face(f);
}

void FaceFilter::sample_face(int f)
{
    const Face &face = mesh.faces[f];
    sample_triangle(records[f], mesh.vertices[face[0]], mesh.vertices[face[1]], mesh.vertices[face[2]]);
}
