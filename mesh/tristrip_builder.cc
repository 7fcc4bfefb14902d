// Triangle strips: building strips from faces.
//
// Strips grow greedily across `across_edge` links. Each face keeps a count of
// its neighbours still free to join a strip (-1 once it is in one); faces whose
// count drops to 1 go on a stack and start the next strips, since a face with a
// single free neighbour is left stranded if no strip starts there. Every face
// is placed once and each stack entry is popped once, so building is linear.

#include "TriMesh.h"
#include "index_range.h"

namespace {

// The corner c of f that holds v with w at corner (c + step) mod 3; the first
// corner holding v when there is none. Pairing v with its edge partner picks
// the right corner of a degenerate face that holds v twice.
int corner_on_edge(const Face &f, int v, int w, int step)
{
    for (int c = 0; c < 3; c++)
        if (f[c] == v && f[(c + step) % 3] == w)
            return c;
    return f[0] == v ? 0 : f[1] == v ? 1 : 2;
}

class StripBuilder {
public:
    explicit StripBuilder(TriMesh &mesh)
        : faces(mesh.faces), across_edge(mesh.across_edge), strips(mesh.tristrips),
          nf(int(mesh.faces.size())), free_neighbors(nf)
    {
        for (int f = 0; f < nf; f++) {
            int count = 0;
            for (int j = 0; j < 3; j++)
                count += across(f, j) != -1;
            free_neighbors[f] = static_cast<signed char>(count);
            if (count == 1)
                start_stack.push_back(f);
        }
    }

    // Builds all strips in counted form; returns how many.
    int build()
    {
        strips.reserve(2 * size_t(nf));
        int nstrips = 0;
        int i = 0;
        while (i < nf) {
            int next;
            if (!start_stack.empty()) {
                next = start_stack.back();
                start_stack.pop_back();
            } else {
                next = i++;
            }
            if (free_neighbors[next] >= 0) {
                build_strip(next);
                nstrips++;
            }
        }
        return nstrips;
    }

private:
    // The face across the edge opposite corner j of f, -1 for none.
    int across(int f, int j) const
    {
        const int g = size_t(f) < across_edge.size() ? across_edge[f][j] : -1;
        return index_in_range(g, size_t(nf)) ? g : -1;
    }

    bool is_free(int g) const { return g != -1 && free_neighbors[g] >= 0; }

    // How well a strip continues from f over edge j: 0 no free face there,
    // 1 a free face g, 2 g is followed by another free face, 3 moreover g has
    // exactly two free neighbours (so the strip does not strand it).
    int score(int f, int j) const
    {
        const int g = across(f, j);
        if (!is_free(g))
            return 0;
        // g holds the shared edge the other way round: f[j+2] then f[j+1].
        const int c = corner_on_edge(faces[g], faces[f][(j + 1) % 3], faces[f][(j + 2) % 3], 2);
        if (!is_free(across(g, c)))
            return 1;
        return free_neighbors[g] == 2 ? 3 : 2;
    }

    // Puts f into the current strip and tells its neighbours.
    void take(int f)
    {
        free_neighbors[f] = -1;
        for (int j = 0; j < 3; j++) {
            const int g = across(f, j);
            if (g == -1)
                continue;
            if (free_neighbors[g] > 0) {
                free_neighbors[g]--;
                // A free neighbour is likely to be met again soon: ask for
                // its data now, so that it arrives while other work goes on.
                __builtin_prefetch(&faces[g]);
                __builtin_prefetch(&across_edge[g]);
            }
            if (free_neighbors[g] == 1)
                start_stack.push_back(g);
        }
    }

    void build_strip(int f)
    {
        if (free_neighbors[f] == 0) {
            strips.insert(strips.end(), {3, faces[f][0], faces[f][1], faces[f][2]});
            free_neighbors[f] = -1;
            return;
        }
        int best = 0, best_score = score(f, 0);
        for (int j = 1; j < 3; j++) {
            const int s = score(f, j);
            if (s > best_score) {
                best = j;
                best_score = s;
            }
        }
        // cb2 is the corner of back2 in f; dir alternates with the winding of
        // the strip's triangles.
        int cb2 = best, dir = 1;
        int back2 = faces[f][best], back1 = faces[f][(best + 1) % 3], ahead = faces[f][(best + 2) % 3];
        const size_t count_at = strips.size();
        strips.push_back(0);
        strips.push_back(back2);
        strips.push_back(back1);
        for (;;) {
            strips.push_back(ahead);
            take(f);
            const int next = across(f, cb2);  // across the edge back1-ahead
            if (!is_free(next))
                break;
            back2 = back1;
            back1 = ahead;
            // In the next face back1 sits just before back2 for an even step
            // and just after it for an odd one.
            const int c = corner_on_edge(faces[next], back2, back1, dir == 1 ? 2 : 1);
            ahead = faces[next][(c + dir + 3) % 3];
            dir = -dir;
            f = next;
            cb2 = c;
        }
        strips[count_at] = int(strips.size() - count_at - 1);
    }

    const std::vector<Face> &faces;
    const std::vector<Face> &across_edge;
    std::vector<int> &strips;
    const int nf;
    std::vector<signed char> free_neighbors;
    std::vector<int> start_stack;
};

} // namespace

void TriMesh::ensure_tristrips()
{
    if (!tristrips.empty())
        return;
    if (faces.empty() && !range_grid.empty())
        ensure_faces();
    if (faces.empty())
        return;
    ensure_across_edge();
    progress_printf("Building triangle strips... ");
    const int nstrips = StripBuilder(*this).build();
    progress_printf("Done.\n  %d strips (Avg. length %.1f)\n", nstrips,
                    float(faces.size()) / float(nstrips));
}
