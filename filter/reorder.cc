// Vertex renumbering in order of first use.

#include "reorder.h"

#include "index_range.h"

namespace {

// New numbers handed out in the order in which vertices are met.
class FirstUseOrder {
public:
    explicit FirstUseOrder(size_t nv) : map(nv, -1) {}

    // Gives v the next number unless it has one or names no vertex.
    void meet(int v)
    {
        if (index_in_range(v, map.size()) && map[v] < 0)
            map[v] = next++;
    }

    // The full table: vertices never met follow in their old order.
    std::vector<int> finish()
    {
        for (int &m : map)
            if (m < 0)
                m = next++;
        return std::move(map);
    }

private:
    std::vector<int> map;
    int next = 0;
};

} // namespace

void reorder_vertices(TriMesh &mesh)
{
    progress_printf("Reordering vertices... ");
    FirstUseOrder order(mesh.vertices.size());
    if (!mesh.range_grid.empty()) {
        for (const int cell : mesh.range_grid)
            order.meet(cell);
    } else if (!mesh.tristrips.empty()) {
        // In terminated form every entry but the -1 ends is a vertex.
        mesh.set_strip_form(StripForm::terminated);
        for (const int v : mesh.tristrips)
            order.meet(v);
        mesh.set_strip_form(StripForm::counted);
    } else {
        for (const Face &f : mesh.faces)
            for (int j = 0; j < 3; j++)
                order.meet(f[j]);
    }
    mesh.remap_verts(order.finish());
    progress_printf("Done.\n");
}
