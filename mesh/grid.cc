// Range grids: triangulation of the grid of scan samples into faces.

#include "TriMesh.h"
#include "remove.h"
#include "slivers.h"

namespace {

// Cleans the grid: cells out of range or naming a vertex at the exact origin
// hold no sample.
void clean_grid(TriMesh &mesh)
{
    const int nv = int(mesh.vertices.size());
    for (int &cell : mesh.range_grid)
        if (cell < 0 || cell >= nv || mesh.vertices[cell] == Point3(0, 0, 0))
            cell = -1;
}

// Calls emit(a, b, c) for every face of the grid's triangulation, blocks in row
// order. A block of four samples is split along its shorter diagonal (lr-ul on
// a tie); a block of three gives the one face they span.
template <typename Emit>
void for_each_grid_face(const TriMesh &mesh, Emit emit)
{
    const int cols = mesh.grid_cols, rows = mesh.grid_rows;
    const std::vector<int> &g = mesh.range_grid;
    for (int y = 0; y + 1 < rows; y++) {
        for (int x = 0; x + 1 < cols; x++) {
            const int ll = g[x + y * cols], lr = g[x + 1 + y * cols];
            const int ul = g[x + (y + 1) * cols], ur = g[x + 1 + (y + 1) * cols];
            const int valid = (ll >= 0) + (lr >= 0) + (ul >= 0) + (ur >= 0);
            if (valid == 4) {
                const float d1 = dist2(mesh.vertices[ll], mesh.vertices[ur]);
                const float d2 = dist2(mesh.vertices[lr], mesh.vertices[ul]);
                if (d2 > d1) {
                    emit(ll, lr, ur);
                    emit(ll, ur, ul);
                } else {
                    emit(ll, lr, ul);
                    emit(lr, ur, ul);
                }
            } else if (valid == 3) {
                if (ll < 0)
                    emit(lr, ur, ul);
                else if (lr < 0)
                    emit(ll, ur, ul);
                else if (ul < 0)
                    emit(ll, lr, ur);
                else
                    emit(ll, lr, ul);
            }
        }
    }
}

// True when the grid's size matches its cell count, so that it can be walked.
bool grid_is_consistent(const TriMesh &mesh)
{
    return mesh.grid_cols > 0 && mesh.grid_rows > 0 &&
           size_t(mesh.grid_cols) * size_t(mesh.grid_rows) == mesh.range_grid.size();
}

} // namespace

void TriMesh::grid_to_faces()
{
    progress_printf("Triangulating... ");
    size_t count = 0;
    if (grid_is_consistent(*this)) {
        clean_grid(*this);
        for_each_grid_face(*this, [&](int, int, int) { count++; });
        faces.reserve(faces.size() + count);
        for_each_grid_face(*this, [&](int a, int b, int c) { faces.emplace_back(a, b, c); });
    }
    progress_printf("%lu faces.\n  ", (unsigned long)count);
    // Blocks that bridge a depth jump make long thin faces that the scan never saw.
    if (!faces.empty())
        delete_faces(*this, mark_long_slivers(*this));
    progress_printf("  ");
}
