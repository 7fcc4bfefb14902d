#pragma once
// Colouring every vertex on all cores.

#include "TriMesh.h"
#include "parallel.h"

// Sets colors[i] = colour(i) for every vertex, in blocks spread over all
// cores. `colour` must depend on i alone (not on which thread runs it), so the
// result is the same whatever the number of cores.
template <class Colour>
void colour_vertices(TriMesh &mesh, const Colour &colour)
{
    for_each_block(mesh.vertices.size(), 1024, [&](BlockQueue &blocks) {
        size_t begin, end;
        while (blocks.next(begin, end))
            for (size_t i = begin; i < end; i++)
                mesh.colors[i] = colour(i);
    });
}
