// Reading the clip box of "-clip".

#include "clip_box.h"

#include <cfloat>
#include <cstdio>
#include <utility>

#include "removal.h"

bool read_clip_box(const char *filename, TriMesh &mesh)
{
    FILE *f = std::fopen(filename, "r");
    if (!f) {
        error_printf("Couldn't open %s\n", filename);
        return false;
    }
    BoundingBox box;
    box.min = Point3(FLT_MAX, FLT_MAX, FLT_MAX);
    box.max = Point3(FLT_MIN, FLT_MIN, FLT_MIN);
    const int read = std::fscanf(f, "%f%f%f%f%f%f", &box.min.x, &box.min.y, &box.min.z,
                                 &box.max.x, &box.max.y, &box.max.z);
    std::fclose(f);
    if (read != 6) {
        error_printf("Couldn't read %s\n", filename);
        return false;
    }
    for (int axis = 0; axis < 3; axis++)
        if (box.max[axis] < box.min[axis])
            std::swap(box.max[axis], box.min[axis]);
    clip_to_box(mesh, box);
    return true;
}
