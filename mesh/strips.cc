// Triangle strips: unpacking counted strips into faces.

#include "TriMesh.h"
#include "strip_triangles.h"

void TriMesh::unpack_tristrips()
{
    if (tristrips.empty() || !faces.empty())
        return;
    progress_printf("Unpacking triangle strips... ");
    size_t count = 0;
    for_each_strip_triangle(tristrips, [&](int, int, int) { count++; });
    faces.reserve(count);
    for_each_strip_triangle(tristrips, [&](int a, int b, int c) { faces.emplace_back(a, b, c); });
    progress_printf("Done.\n  %d triangles\n", int(count));
}
