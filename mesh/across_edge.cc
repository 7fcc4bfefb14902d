// The face across each edge.
//
// Two faces are linked over an edge that runs a -> b in one and b -> a in the
// other. The links are those of a search that visits the faces in index order
// and, for each edge a -> b whose slot is still empty, takes the first face
// around a (in face order, not itself) with an edge b -> a, and links the two
// both ways, overwriting what that face held. Where an edge has one face on
// each side, that is simply the two faces; where more faces meet, the order of
// the search decides.
//
// The search itself jumps between the faces of many vertices for every edge.
// Instead, the links are worked out around each vertex v in turn, from v's own
// faces alone: the edges v -> n and n -> v are the edges after and before v in
// those faces, and v sets the slots of its outgoing edges. Faces that hold a
// vertex twice or name no vertex see their edges differently in that search,
// so the edges between two vertices of such faces are left to the search
// itself.

#include <algorithm>
#include <span>

#include "TriMesh.h"
#include "index_range.h"
#include "parallel.h"

namespace {

// One face around a vertex v, seen from v: the vertex after v and the vertex
// before v in the face's winding, and the slot of the edge from v to the next
// vertex (opposite the corner before v).
struct Wedge {
    int face;
    int next;
    int prev;
    int out_slot;
};

// Marks the vertices of faces that hold a vertex twice or name no vertex.
// Returns whether there was any such face.
bool mark_odd_faces(const std::vector<Face> &faces, std::vector<unsigned char> &odd)
{
    const size_t nv = odd.size();
    bool any = false;
    for (const Face &f : faces) {
        if (face_in_range(f, nv) && f[0] != f[1] && f[1] != f[2] && f[2] != f[0])
            continue;
        any = true;
        for (int j = 0; j < 3; j++)
            if (index_in_range(f[j], nv))
                odd[f[j]] = 1;
    }
    return any;
}

// The positions in `wedges` (in their order, which is face order) whose
// vertex after, or before, v is n.
struct EdgeGroup {
    std::vector<int> out;  // edges v -> n
    std::vector<int> in;   // edges n -> v
};

// Works out the links of the edges v -> n given those edges and the edges
// n -> v. Every face holds at most one of them. Each edge v -> n whose slot is
// still empty when the search reaches it links to the first edge n -> v, and
// each such edge n -> v to the first edge v -> n, overwriting the slot there.
void link_group(std::span<const Wedge> wedges, const EdgeGroup &group, std::vector<Face> &across)
{
    const std::vector<int> &out = group.out, &in = group.in;
    if (in.empty())
        return;
    if (out.size() == 1 && in.size() == 1) {
        const Wedge &w = wedges[out[0]];
        across[w.face][w.out_slot] = wedges[in[0]].face;
        return;
    }
    std::vector<int> out_link(out.size(), -1), in_link(in.size(), -1);
    size_t o = 0, i = 0;
    while (o < out.size() || i < in.size()) {
        if (i == in.size() || (o < out.size() && out[o] < in[i])) {
            if (out_link[o] == -1) {
                out_link[o] = wedges[in[0]].face;
                in_link[0] = wedges[out[o]].face;
            }
            o++;
        } else {
            if (in_link[i] == -1 && !out.empty()) {
                in_link[i] = wedges[out[0]].face;
                out_link[0] = wedges[in[i]].face;
            }
            i++;
        }
    }
    for (size_t k = 0; k < out.size(); k++)
        across[wedges[out[k]].face][wedges[out[k]].out_slot] = out_link[k];
}

// Sets the slots of the edges leaving v. Rings of many faces are searched
// through a sorted copy, so that no vertex costs more than k log k.
class VertexLinker {
public:
    VertexLinker(const TriMesh &mesh, const std::vector<unsigned char> &odd, std::vector<Face> &across)
        : mesh(mesh), odd(odd), across(across)
    {
    }

    void link(int v)
    {
        fill_wedges(v);
        if (!odd[v] && wedges.size() <= small_ring && ends_differ()) {
            link_simple();
            return;
        }
        const bool sorted = wedges.size() > small_ring;
        if (sorted)
            sort_ring();
        for (size_t t = 0; t < wedges.size(); t++) {
            const int n = wedges[t].next;
            if (!index_in_range(n, odd.size()) || (odd[v] && odd[n]))
                continue;
            if (sorted ? find_sorted(n, int(t)) : find_linear(n, int(t)))
                link_group(wedges, group, across);
        }
    }

private:
    static constexpr size_t small_ring = 16;

    // True when no two faces around v leave it towards the same vertex and no
    // two arrive from the same vertex, as around any vertex of a manifold,
    // consistently oriented surface: each edge then has one partner at most.
    bool ends_differ() const
    {
        int same = 0;
        for (size_t t = 0; t < wedges.size(); t++)
            for (size_t u = t + 1; u < wedges.size(); u++)
                same += (wedges[t].next == wedges[u].next) | (wedges[t].prev == wedges[u].prev);
        return same == 0;
    }

    // Links each edge v -> n to the edge n -> v, where there is one.
    void link_simple()
    {
        for (const Wedge &w : wedges)
            for (const Wedge &u : wedges)
                if (u.prev == w.next) {
                    across[w.face][w.out_slot] = u.face;
                    break;
                }
    }

    void fill_wedges(int v)
    {
        wedges.clear();
        for (const int f : mesh.vertex_faces[v]) {
            const Face &face = mesh.faces[f];
            const int c = mesh.corner_index(f, v);
            wedges.push_back({f, face[(c + 1) % 3], face[(c + 2) % 3], (c + 2) % 3});
        }
    }

    // Collects the group of edge t (v -> n) unless an earlier edge v -> n
    // stands for it; false then.
    bool find_linear(int n, int t)
    {
        for (int u = 0; u < t; u++)
            if (wedges[u].next == n)
                return false;
        group.out.clear();
        group.in.clear();
        for (int u = 0; u < int(wedges.size()); u++) {
            if (u >= t && wedges[u].next == n)
                group.out.push_back(u);
            if (wedges[u].prev == n)
                group.in.push_back(u);
        }
        return true;
    }

    // Pairs (vertex, position) sorted, so that equal vertices come in
    // position order.
    void sort_ring()
    {
        by_next.clear();
        by_prev.clear();
        for (int u = 0; u < int(wedges.size()); u++) {
            by_next.emplace_back(wedges[u].next, u);
            by_prev.emplace_back(wedges[u].prev, u);
        }
        std::sort(by_next.begin(), by_next.end());
        std::sort(by_prev.begin(), by_prev.end());
    }

    bool find_sorted(int n, int t)
    {
        const auto key_less = [](const std::pair<int, int> &a, int b) { return a.first < b; };
        auto o = std::lower_bound(by_next.begin(), by_next.end(), n, key_less);
        if (o->second != t)
            return false;
        group.out.clear();
        group.in.clear();
        for (; o != by_next.end() && o->first == n; ++o)
            group.out.push_back(o->second);
        for (auto i = std::lower_bound(by_prev.begin(), by_prev.end(), n, key_less);
             i != by_prev.end() && i->first == n; ++i)
            group.in.push_back(i->second);
        return true;
    }

    const TriMesh &mesh;
    const std::vector<unsigned char> &odd;
    std::vector<Face> &across;
    std::vector<Wedge> wedges;
    std::vector<std::pair<int, int>> by_next, by_prev;
    EdgeGroup group;
};

// The search itself, for the edges whose two ends both belong to faces that
// hold a vertex twice or name no vertex. The faces around each such vertex a
// are kept as pairs (the vertex before a in the face, the face), sorted, so
// that the faces with an edge b -> a come together in face order and are
// found by a binary search instead of a walk around a.
void link_odd_edges(const TriMesh &mesh, const std::vector<unsigned char> &odd, std::vector<Face> &across)
{
    const size_t nv = odd.size();
    std::vector<size_t> starts(nv + 1);
    std::vector<std::pair<int, int>> arriving;
    for (size_t a = 0; a < nv; a++) {
        starts[a] = arriving.size();
        if (!odd[a])
            continue;
        for (const int o : mesh.vertex_faces[a]) {
            const int d = mesh.corner_index(o, int(a));
            arriving.emplace_back(mesh.faces[o][(d + 2) % 3], o);
        }
        std::sort(arriving.begin() + ptrdiff_t(starts[a]), arriving.end());
    }
    starts[nv] = arriving.size();
    for (size_t i = 0; i < mesh.faces.size(); i++) {
        for (int j = 0; j < 3; j++) {
            const int a = mesh.faces[i][(j + 1) % 3], b = mesh.faces[i][(j + 2) % 3];
            if (across[i][j] != -1 || !index_in_range(a, nv) || !index_in_range(b, nv) || !odd[a] || !odd[b])
                continue;
            const auto last = arriving.begin() + ptrdiff_t(starts[a + 1]);
            for (auto e = std::lower_bound(arriving.begin() + ptrdiff_t(starts[a]), last, std::pair(b, -1));
                 e != last && e->first == b; ++e) {
                const int o = e->second;
                if (o == int(i))
                    continue;
                across[i][j] = o;
                across[o][(mesh.corner_index(o, a) + 1) % 3] = int(i);
                break;
            }
        }
    }
}

} // namespace

void TriMesh::ensure_across_edge()
{
    if (!across_edge.empty())
        return;
    ensure_vertex_faces();
    if (vertex_faces.empty())
        return;
    progress_printf("Finding across-edge maps... ");
    const size_t nv = vertices.size();
    across_edge.assign(faces.size(), Face(-1, -1, -1));
    std::vector<unsigned char> odd(nv, 0);
    const bool any_odd = mark_odd_faces(faces, odd);
    // Each vertex sets only the slots of the edges leaving it, so vertices
    // can be taken in parts at the same time.
    for_each_part(nv, 1 << 16, [&](size_t begin, size_t end) {
        VertexLinker linker(*this, odd, across_edge);
        // Vertices come in index order, their faces anywhere: asking a few
        // vertices ahead for those faces keeps several cache misses in flight.
        const size_t ahead = 4;
        for (size_t v = begin; v < end; v++) {
            if (v + ahead < end)
                for (const int f : vertex_faces[v + ahead]) {
                    __builtin_prefetch(&faces[f]);
                    __builtin_prefetch(&across_edge[f], 1);
                }
            linker.link(int(v));
        }
    });
    if (any_odd)
        link_odd_edges(*this, odd, across_edge);
    progress_printf("Done.\n");
}
