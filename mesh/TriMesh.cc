// The record's own small operations: face materialisation, clearing of derived
// data and the conversion between the two strip storage forms.

#include "TriMesh.h"

void TriMesh::ensure_faces()
{
    if (!faces.empty())
        return;
    if (!tristrips.empty())
        unpack_tristrips();
    else if (!range_grid.empty())
        grid_to_faces();
}

void TriMesh::clear_curvatures()
{
    principal_dir1.clear();
    principal_dir2.clear();
    principal_curv1.clear();
    principal_curv2.clear();
}

void TriMesh::clear_adjacency()
{
    clear_vertex_neighbors();
    clear_vertex_faces();
    clear_across_edge();
}

void TriMesh::set_strip_form(StripForm form)
{
    if (tristrips.empty())
        return;
    std::vector<int> &t = tristrips;
    const size_t n = t.size();
    if (form == StripForm::terminated) {
        if (t.back() == -1)
            return;
        // Shift each strip one place left over its count and end it with -1.
        int left = t[0];
        for (size_t i = 1; i < n; i++) {
            if (left > 0) {
                t[i - 1] = t[i];
                left--;
            } else {
                t[i - 1] = -1;
                left = t[i];
            }
        }
        t[n - 1] = -1;
    } else {
        if (t.back() != -1)
            return;
        // Walk backwards, shifting indices right and writing each strip's count
        // where its terminator was.
        int count = 0;
        for (size_t i = n - 1; i-- > 0;) {
            if (t[i] == -1) {
                t[i + 1] = count;
                count = 0;
            } else {
                t[i + 1] = t[i];
                count++;
            }
        }
        t[0] = count;
    }
}
