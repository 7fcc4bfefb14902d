// The PLY reader: header parsing into record layouts, then the vertex data and
// the surface (faces, strips or range grid).

#include "byte_order.h"
#include "ply.h"
#include "ply_header.h"

namespace {

bool skip_elements(InputStream &in, const std::vector<SkippedElement> &elements, bool ascii, bool swap)
{
    for (const SkippedElement &e : elements)
        if (!skip_element(in, e, ascii, swap))
            return false;
    return true;
}

bool read_strips(InputStream &in, TriMesh &mesh, bool ascii, bool swap)
{
    int n = 0;
    if (ascii) {
        in.skip_comment_lines();
        if (!in.read_int(n))
            return false;
    } else if (!read_value(in, swap, n)) {
        return false;
    }
    if (n < 0)
        return false;
    progress_printf("\n  Reading triangle strips... ");
    mesh.tristrips.reserve(mesh.tristrips.size() + reservable(in, size_t(n), ascii ? 2 : 4));
    if (ascii)
        in.skip_comment_lines();
    for (int i = 0; i < n; i++) {
        int v;
        if (ascii ? !in.read_int(v) : !read_value(in, swap, v))
            return false;
        mesh.tristrips.push_back(v);
    }
    if (!mesh.tristrips.empty() && mesh.tristrips.back() == -1)
        mesh.set_strip_form(StripForm::counted);
    return true;
}

bool read_grid(InputStream &in, TriMesh &mesh, bool ascii, bool swap)
{
    progress_printf("\n  Reading range grid... ");
    const size_t cells = size_t(mesh.grid_cols) * size_t(mesh.grid_rows);
    mesh.range_grid.clear();
    mesh.range_grid.reserve(reservable(in, cells, ascii ? 2 : 1));
    for (size_t i = 0; i < cells; i++) {
        // Each cell lists its samples; the last one counts, none leaves it empty.
        int n = 0, cell = -1;
        if (ascii) {
            if (!in.read_int(n))
                return false;
        } else {
            const int c = in.get();
            if (c < 0)
                return false;
            n = c;
        }
        for (int k = 0; k < n; k++)
            if (ascii ? !in.read_int(cell) : !read_value(in, swap, cell))
                return false;
        mesh.range_grid.push_back(cell);
    }
    mesh.grid_to_faces();
    return true;
}

} // namespace

bool parse_ply(InputStream &in, TriMesh &mesh)
{
    PlyHeader h;
    if (!parse_ply_header(in, mesh, h) || !skip_elements(in, h.before, h.ascii, h.swap))
        return false;
    bool swap = h.swap;
    const bool vertices_read = h.ascii ? read_ascii_vertices(in, mesh, h.vertex_count, h.vertex)
                                       : read_binary_vertices(in, mesh, h.vertex_count, h.vertex, swap);
    if (!vertices_read || !skip_elements(in, h.between, h.ascii, swap))
        return false;
    switch (h.surface) {
    case PlySurface::none: return true;
    case PlySurface::faces:
        return h.ascii ? read_ascii_faces(in, mesh, h.surface_count, h.face)
                       : read_binary_faces(in, mesh, h.surface_count, h.face, swap);
    case PlySurface::strips: return read_strips(in, mesh, h.ascii, swap);
    case PlySurface::grid: return read_grid(in, mesh, h.ascii, swap);
    }
    return false;
}
