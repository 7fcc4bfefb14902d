// Threads take blocks of vertices in increasing order. A block whose
// predecessors have all moved is moved one vertex at a time. Otherwise the
// thread runs each vertex's fill ahead of time and keeps what every face adds
// on the block's tape, until its predecessors have moved (then it settles the
// tape so far and goes on one vertex at a time) or the block is done. Tapes
// are settled in block order, by whichever thread finds the next one ready
// and nobody else settling: a face that held a vertex which might have been
// moving during the fill (one at or after the first vertex not yet moved, and
// before the vertex filled) is worked out again from its record, which is now
// exact; the other faces' records were final when read. The sums are then
// added in fill order, as the plain filter adds them. A thread never waits
// for another to settle while it has a block to fill, so a thread held up by
// the system holds the others up little.

#include "ordered_projection.h"

#include <algorithm>
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

// The fills of one block worked out ahead, kept until the block is settled.
struct BlockTape {
    std::vector<AheadTerm> terms;    // the block's fills, one after the other
    std::vector<size_t> ends;        // where each vertex's terms end in `terms`
    std::atomic<bool> ready{false};  // filled and not yet settled
};

constexpr size_t block_size = 128;

class OrderedProjection {
public:
    OrderedProjection(FaceFilter &filter, const std::vector<Point3> &mollified, float inv_s,
                      float inv_r, Lookahead lookahead)
        : filter(filter), mesh(filter.surface()), mollified(mollified), inv_s(inv_s),
          inv_r(inv_r), lookahead(lookahead),
          blocks((mollified.size() + block_size - 1) / block_size), tapes(4 * thread_limit())
    {
    }

    // Fills block [begin, end) ahead on a tape, then settles what is ready.
    // Should every block before it have moved meanwhile, the thread settles
    // what it has filled and moves the rest of the block one vertex at a
    // time, which needs no tape and no guess. A tape is free again once the
    // block four rounds of threads before has been settled; until then the
    // thread settles, or waits for whoever does.
    void run_block(size_t begin, size_t end, FillScratch &s)
    {
        const size_t block = begin / block_size;
        for (size_t done; block >= (done = settled.load()) + tapes.size();)
            if (!settle_ready(s))
                settled.wait(done);
        BlockTape &tape = tapes[block % tapes.size()];
        tape.terms.clear();
        tape.ends.clear();
        size_t v = begin;
        for (; v < end && (lookahead == Lookahead::always || settled.load() != block); v++)
            fill_ahead(int(v), tape, s);
        if (v == end) {
            tape.ready.store(true);
        } else {
            // The tape is not ready, so no other thread settles this block.
            settle_vertices(begin, v, tape, s);
            for (; v < end; v++)
                filter.move_vertex(int(v), filter.filter<true>(int(v), mollified[v], inv_s, inv_r, s));
            settled.store(block + 1);
            settled.notify_all();
        }
        settle_ready(s);
    }

private:
    // The fill of vertex v on the records as they stand. Vertices before
    // `moved` have moved for good and those from v on have not moved yet,
    // but those in between may be moving: the faces that hold one are worked
    // out on a guess, taking such a vertex at its mollified position, which is
    // nearer where it will be than where it was. The records of those faces
    // are not read (but their normals, which stay). Only where the fill goes
    // is kept of a guessed face; settle checks it against the face's final
    // record, so a wrong guess costs a second fill and never a wrong sum.
    void fill_ahead(int v, BlockTape &tape, FillScratch &s)
    {
        const size_t moved = std::min(settled.load() * block_size, mollified.size());
        const Point3 &x = mollified[v];
        const auto position = [&](int u) -> const Point3 & {
            return size_t(u) >= moved && u < v ? mollified[u] : mesh.vertices[u];
        };
        filter.flood(v, s.marks, s.stack, [&](int f) {
            // u in [moved, v), in one comparison: below `moved` the
            // difference wraps round to a huge number.
            const Face &face = mesh.faces[f];
            bool guessed = false;
            for (const int u : face.v)
                guessed |= size_t(u) - moved < size_t(v) - moved;
            if (guessed) {
                FaceRecord guess;
                sample_triangle(guess, position(face[0]), position(face[1]), position(face[2]));
                guess.normal = filter.record(f).normal;
                PendingTerm p;
                const Reach reach = pending_term<true>(guess, x, inv_s, inv_r, p);
                tape.terms.push_back({f, true, {reach, 0.0f, Point3()}});
                return reach != Reach::stops;
            }
            const FaceTerm t = face_term<true>(filter.record(f), x, inv_s, inv_r);
            if (t.reach == Reach::adds)
                tape.terms.push_back({f, false, t});
            return t.reach != Reach::stops;
        });
        tape.ends.push_back(tape.terms.size());
    }

    // Settles, in order, the blocks whose tapes are ready, unless another
    // thread is settling. Returns whether it settled any.
    bool settle_ready(FillScratch &s)
    {
        bool any = false;
        while (!settling.exchange(true)) {
            for (size_t b; (b = settled.load()) < blocks && tapes[b % tapes.size()].ready.load();) {
                settle_block(b, tapes[b % tapes.size()], s);
                any = true;
            }
            settling.store(false);
            // A tape that came ready after the last look, from a thread that
            // found the settling taken, is still to be settled: look again.
            const size_t b = settled.load();
            if (b >= blocks || !tapes[b % tapes.size()].ready.load())
                break;
        }
        return any;
    }

    // Moves the vertices of block b in order and frees its tape.
    void settle_block(size_t b, BlockTape &tape, FillScratch &s)
    {
        const size_t begin = b * block_size;
        settle_vertices(begin, std::min(begin + block_size, mollified.size()), tape, s);
        tape.ready.store(false);
        settled.store(b + 1);
        settled.notify_all();
    }

    // Moves vertices [begin, end), the first of a tape's block, in order.
    void settle_vertices(size_t begin, size_t end, const BlockTape &tape, FillScratch &s)
    {
        const AheadTerm *from = tape.terms.data();
        for (size_t v = begin; v < end; v++) {
            const AheadTerm *to = tape.terms.data() + tape.ends[v - begin];
            filter.move_vertex(int(v), settle(int(v), from, to, s));
            from = to;
        }
    }

    // Vertex v's filtered point from its terms worked out ahead, now that
    // every vertex before it has moved. Should a guessed face stop the fill
    // where it did not, or the other way round, the fill went elsewhere, and
    // the vertex is filtered again from the start.
    Point3 settle(int v, const AheadTerm *begin, const AheadTerm *end, FillScratch &s) const
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
                return filter.filter<true>(v, x, inv_s, inv_r, s);
            add_term(t, sum, total);
        }
        return total != 0.0f ? sum / total : x;
    }

    FaceFilter &filter;
    const TriMesh &mesh;
    const std::vector<Point3> &mollified;
    const float inv_s, inv_r;
    const Lookahead lookahead;
    const size_t blocks;
    std::vector<BlockTape> tapes;  // block b's on tapes[b % tapes.size()]
    std::atomic<size_t> settled{0};       // blocks [0, settled) have moved
    std::atomic<bool> settling{false};    // a thread is settling
};

} // namespace

void project_in_order(FaceFilter &filter, const std::vector<Point3> &mollified, float inv_s,
                      float inv_r, Lookahead lookahead)
{
    OrderedProjection projection(filter, mollified, inv_s, inv_r, lookahead);
    const size_t faces = filter.surface().faces.size();
    for_each_block(mollified.size(), block_size, [&](BlockQueue &queue) {
        FillScratch scratch(faces);
        size_t begin, end;
        while (queue.next(begin, end))
            projection.run_block(begin, end, scratch);
    });
}
