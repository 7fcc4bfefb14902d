#pragma once
// The header of a PLY file, parsed into the layouts of its elements.

#include <vector>

#include "InputStream.h"
#include "TriMesh.h"
#include "ply_layout.h"

enum class PlySurface { none, faces, strips, grid };

struct PlyHeader {
    bool ascii = false;
    bool swap = false;                    // binary data in the other byte order
    std::vector<SkippedElement> before;   // elements before the vertices
    int vertex_count = 0;
    VertexLayout vertex;
    std::vector<SkippedElement> between;  // elements between vertices and surface
    PlySurface surface = PlySurface::none;
    int surface_count = 0;
    FaceLayout face;
};

// Reads the header from just after the letters "ply" through "end_header".
// Sets the mesh's grid size from "obj_info num_cols/num_rows" lines that stand
// before the first element. Prints a message for the faults it names and
// returns false on any fault.
bool parse_ply_header(InputStream &in, TriMesh &mesh, PlyHeader &header);
