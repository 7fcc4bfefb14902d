#pragma once
// The flood fill of the bilateral filter over faces across their edges, and
// what each face it reaches adds to a vertex's sum.

#include <cmath>
#include <cstdint>
#include <vector>

#include "TriMesh.h"
#include "gaussian_weight.h"
#include "shape_filter_support.h"

// What the filter reads of a face, side by side: its centre and area in the
// current positions, its unit normal in the mollified positions ((0, 0, 0)
// without area there, or before set_planes) and the faces across its edges.
struct FaceRecord {
    Point3 centre;
    float area = 0;
    Point3 normal;
    Face across;
};

// Sets the centre and area of a record to those of the triangle p0 p1 p2.
inline void sample_triangle(FaceRecord &r, const Point3 &p0, const Point3 &p1, const Point3 &p2)
{
    r.centre = ((p0 + p1) + p2) * 0.33333334f;
    r.area = len(0.5f * cross(p2 - p0, p1 - p0));
}

// How a face takes part in a fill: it stops the fill there, or the fill goes
// on across its edges, with or without adding the face's term to the sum.
enum class Reach : uint8_t { stops, passes, adds };

// A face's term in a fill as far as it goes without the exponentials: the
// squared distances over the squared widths of the face's centre (`d2s`)
// and, projecting, of the projection (`d2r`), the face's area, and the point
// that is weighed.
struct PendingTerm {
    float d2s = 0, d2r = 0, area = 0;
    Point3 point;
};

// The weight of a pending term: its area times the Gaussian of d2s (within
// reach) and, projecting, the Gaussian weight of d2r (0 out of reach, which
// only an area that is not a finite number keeps from stopping the fill).
template <bool projecting>
[[gnu::always_inline]] inline float term_weight(const PendingTerm &p)
{
    float w = gaussian(p.d2s) * p.area;
    if constexpr (projecting)
        w *= within_reach(p.d2r) ? gaussian(p.d2r) : 0.0f;
    return w;
}

// How face record r takes part in the fill around x, and its pending term `p`
// when it adds. Plain: the face's centre, weighted by its area and the
// Gaussian (inv_s) of its distance to x. Projecting: x projected onto the
// face's plane, weighted also by the Gaussian (inv_r) of the projection's
// distance to x; a face without a plane passes without adding. The fill stops
// where the centre is out of reach and, projecting, where the weight comes to
// 0: through the projection out of reach or, as a Gaussian within reach is at
// least exp(-4.5), through an area of 0 or one so small that the product
// falls below the smallest float. (An area that is not a finite number gives
// a weight that is not 0 either.) Always inline: it is the inner step of
// every fill.
template <bool projecting>
[[gnu::always_inline]] inline Reach pending_term(const FaceRecord &r, const Point3 &x, float inv_s,
                                                 float inv_r, PendingTerm &p)
{
    p.d2s = dist2(r.centre, x) * inv_s;
    if (!within_reach(p.d2s))
        return Reach::stops;
    p.area = r.area;
    if constexpr (!projecting) {
        p.point = r.centre;
    } else {
        if (r.normal == Point3())
            return Reach::passes;
        p.point = x - dot(x - r.centre, r.normal) * r.normal;
        p.d2r = dist2(p.point, x) * inv_r;
        if (std::isfinite(r.area) && (!within_reach(p.d2r) || r.area == 0.0f ||
                                      (r.area < 1e-30f && term_weight<true>(p) == 0.0f)))
            return Reach::stops;
    }
    return Reach::adds;
}

// What a face adds to the sum of a fill: `weight` times `point`, and `weight`
// to the total of the weights, when `reach` is adds.
struct FaceTerm {
    Reach reach = Reach::stops;
    float weight = 0;
    Point3 point;
};

// The term of face record r in the fill around x, weighed: see pending_term.
template <bool projecting>
[[gnu::always_inline]] inline FaceTerm face_term(const FaceRecord &r, const Point3 &x, float inv_s,
                                                 float inv_r)
{
    PendingTerm p;
    const Reach reach = pending_term<projecting>(r, x, inv_s, inv_r, p);
    if (reach != Reach::adds)
        return {reach, 0.0f, Point3()};
    return {reach, term_weight<projecting>(p), p.point};
}

// Adds a term to a fill's sums, in the one way every caller must share for
// the sums to agree bit for bit.
inline void add_term(const FaceTerm &t, Point3 &sum, float &total)
{
    if (t.reach == Reach::adds) {
        sum += t.weight * t.point;
        total += t.weight;
    }
}

// What a thread keeps for its fills, so that no vertex allocates.
struct FillScratch {
    explicit FillScratch(size_t faces) : marks(faces) {}
    VisitMarks marks;
    std::vector<int> stack;
    std::vector<PendingTerm> pending;
};

// The face records of a mesh and the fill of one vertex over them.
class FaceFilter {
public:
    // Samples every face of `mesh`, which must have its faces, vertex faces and
    // faces across edges.
    explicit FaceFilter(TriMesh &mesh);

    // Unit normals of the faces in `positions`, (0, 0, 0) for a face without
    // area there, for the projecting filter.
    void set_planes(const std::vector<Point3> &positions);

    // Visits the faces that the fill from vertex v reaches: it pops the last
    // pushed face, skips it if marked, marks it, calls visit(f) and, when
    // that returns true, pushes the unmarked faces across f's edges. Starts
    // from v's faces; visits nothing when v has none. Reads the face
    // connectivity alone, so that threads with marks and stacks of their own
    // may fill at the same time.
    template <class Visit>
    void flood(int v, VisitMarks &marks, std::vector<int> &stack, Visit &&visit) const
    {
        const IndexLists &vertex_faces = mesh.vertex_faces;
        if (size_t(v) >= vertex_faces.size() || vertex_faces[v].empty())
            return;
        const uint32_t stamp = marks.next();
        uint32_t *mark = marks.data();
        stack.assign(vertex_faces[v].begin(), vertex_faces[v].end());
        while (!stack.empty()) {
            const int f = stack.back();
            stack.pop_back();
            if (mark[f] == stamp)
                continue;
            mark[f] = stamp;
            if (!visit(f))
                continue;
            for (const int across : records[f].across.v)
                if (across != -1 && mark[across] != stamp)
                    stack.push_back(across);
        }
    }

    // The filtered point for vertex v, starting from x: the weighted mean of
    // the face terms of its fill, x when nothing has weight. The weights are
    // taken after the fill, whose branches follow no pattern and would
    // otherwise undo the exponentials under way. Reads the records alone.
    template <bool projecting>
    Point3 filter(int v, const Point3 &x, float inv_s, float inv_r, FillScratch &s) const
    {
        s.pending.clear();
        flood(v, s.marks, s.stack, [&](int f) {
            PendingTerm p;
            const Reach reach = pending_term<projecting>(records[f], x, inv_s, inv_r, p);
            if (reach == Reach::adds)
                s.pending.push_back(p);
            return reach != Reach::stops;
        });
        Point3 sum;
        float total = 0;
        for (const PendingTerm &p : s.pending)
            add_term({Reach::adds, term_weight<projecting>(p), p.point}, sum, total);
        return total != 0.0f ? sum / total : x;
    }

    // Moves vertex v and brings the records of its faces up to date.
    void move_vertex(int v, const Point3 &p);

    const FaceRecord &record(int f) const { return records[f]; }
    const TriMesh &surface() const { return mesh; }

private:
    void sample_face(int f);

    TriMesh &mesh;
    std::vector<FaceRecord> records;
};
