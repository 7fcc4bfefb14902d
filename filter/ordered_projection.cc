// Each thread takes blocks of vertices in increasing order. For each vertex of
// its block it runs the fill ahead of time and keeps what every face adds;
// then it waits until every earlier vertex has moved and settles its block in
// order: a face that held a vertex which might have been moving during the
// fill (one at or after the first vertex not yet moved, and before the vertex
// filled) is worked out again from its record, which is now exact; the other
// faces' records were final when read. The sums are then added in fill
// order, as the plain filter adds them.

#include "ordered_projection.h"

#include <atomic>

#include "parallel.h"

namespace {

// One face of a fill worked out ahead of the vertex's turn. `guessed`: its
// record might not have been final, and it must be worked out again.
struct AheadTerm {
    int face;
    bool guessed;
    FaceTerm term;
};

// What a thread keeps between blocks, so that no vertex allocates.
struct Scratch {
    explicit Scratch(size_t faces) : marks(faces) {}
    VisitMarks marks;
    std::vector<int> stack;
    std::vector<AheadTerm> terms;  // the block's fills, one after the other
    std::vector<size_t> ends;      // where each vertex's terms end in `terms`
};

class OrderedProjection {
public:
    OrderedProjection(FaceFilter &filter, const std::vector<Point3> &mollified, float inv_s,
                      float inv_r)
        : filter(filter), mesh(filter.surface()), mollified(mollified), inv_s(inv_s), inv_r(inv_r)
    {
    }

    // Works out the block [begin, end) ahead, waits for every vertex before
    // it to move, then moves the block's vertices in order.
    void run_block(size_t begin, size_t end, Scratch &s)
    {
        s.terms.clear();
        s.ends.clear();
        for (size_t v = begin; v < end; v++)
            fill_ahead(int(v), s);
        for (size_t d; (d = moved.load(std::memory_order_acquire)) != begin;)
            moved.wait(d, std::memory_order_acquire);
        const AheadTerm *from = s.terms.data();
        for (size_t v = begin; v < end; v++) {
            const AheadTerm *to = s.terms.data() + s.ends[v - begin];
            filter.move_vertex(int(v), settle(int(v), from, to, s));
            from = to;
        }
        moved.store(end, std::memory_order_release);
        moved.notify_all();
    }

private:
    // The fill of vertex v on the records as they stand. Vertices before
    // `settled` have moved for good and those from v on have not moved yet,
    // but those in between may be moving: the faces that hold one are worked
    // out on a guess, taking such a vertex at its mollified position, which is
    // nearer where it will be than where it was. The records of those faces
    // are not read (but their normals, which stay). Only where the fill goes
    // is kept of a guessed face; settle checks it against the face's final
    // record, so a wrong guess costs a second fill and never a wrong sum.
    void fill_ahead(int v, Scratch &s)
    {
        const size_t settled = moved.load(std::memory_order_acquire);
        const Point3 &x = mollified[v];
        const auto position = [&](int u) -> const Point3 & {
            return size_t(u) >= settled && u < v ? mollified[u] : mesh.vertices[u];
        };
        filter.flood(v, s.marks, s.stack, [&](int f) {
            // u in [settled, v), in one comparison: below `settled` the
            // difference wraps round to a huge number.
            const Face &face = mesh.faces[f];
            bool guessed = false;
            for (const int u : face.v)
                guessed |= size_t(u) - settled < size_t(v) - settled;
            if (guessed) {
                FaceRecord guess;
                sample_triangle(guess, position(face[0]), position(face[1]), position(face[2]));
                guess.normal = filter.record(f).normal;
                const Reach reach = projecting_reach(guess, x, inv_s, inv_r);
                s.terms.push_back({f, true, {reach, 0.0f, Point3()}});
                return reach != Reach::stops;
            }
            const FaceTerm t = face_term<true>(filter.record(f), x, inv_s, inv_r);
            if (t.reach == Reach::adds)
                s.terms.push_back({f, false, t});
            return t.reach != Reach::stops;
        });
        s.ends.push_back(s.terms.size());
    }

    // Vertex v's filtered point from its terms worked out ahead, now that
    // every vertex before it has moved. Should a guessed face stop the fill
    // where it did not, or the other way round, the fill went elsewhere, and
    // the vertex is filtered again from the start.
    Point3 settle(int v, const AheadTerm *begin, const AheadTerm *end, Scratch &s) const
    {
        const Point3 &x = mollified[v];
        Point3 sum;
        float total = 0;
        for (const AheadTerm *a = begin; a != end; a++) {
            if (!a->guessed) {
                add_term(a->term, sum, total);
                continue;
            }
            const FaceTerm t = face_term<true>(filter.record(a->face), x, inv_s, inv_r);
            if (t.reach != a->term.reach)
                return filter.filter<true>(v, x, inv_s, inv_r, s.marks, s.stack);
            add_term(t, sum, total);
        }
        return total != 0.0f ? sum / total : x;
    }

    FaceFilter &filter;
    const TriMesh &mesh;
    const std::vector<Point3> &mollified;
    const float inv_s, inv_r;
    std::atomic<size_t> moved{0};  // vertices [0, moved) are where they stay
};

} // namespace

void project_in_order(FaceFilter &filter, const std::vector<Point3> &mollified, float inv_s,
                      float inv_r)
{
    OrderedProjection projection(filter, mollified, inv_s, inv_r);
    const size_t faces = filter.surface().faces.size();
    for_each_block(mollified.size(), 128, [&](BlockQueue &queue) {
        Scratch scratch(faces);
        size_t begin, end;
        while (queue.next(begin, end))
            projection.run_block(begin, end, scratch);
    });
}
