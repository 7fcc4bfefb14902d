#pragma once
// Closest-point search over a fixed set of 3-D points.
//
// The tree splits its cell at the middle of the longest side of the points'
// bounding box until at most seven points remain; every interior cell keeps a
// bounding sphere so that whole subtrees are skipped with one distance test.
// It does not copy the points: it keeps pointers into the caller's array of
// points (three consecutive floats each), which must stay alive and unmoved
// while the tree exists. Results are such pointers; the caller gets the point's
// index as (result - first) / 3.

#include <cstddef>
#include <vector>

#include "Point3.h"

class TriMesh;
class NearestPoints;

class KDtree {
public:
    // A predicate that restricts which points a query may return.
    class CompatFunc {
    public:
        virtual bool operator()(const float *p) const = 0;
        virtual ~CompatFunc() = default;
    };

    // Builds the tree over the n points starting at `first`. Points with a
    // coordinate that is NaN or infinite are left out: no search finds them.
    KDtree(const float *first, size_t n);
    // Builds the tree over the positions of `points` (the vector must not grow
    // or move while the tree exists).
    explicit KDtree(const std::vector<Point3> &points);
    KDtree(std::vector<Point3> &&) = delete;  // the points must outlive the tree
    ~KDtree();
    KDtree(const KDtree &) = delete;
    KDtree &operator=(const KDtree &) = delete;

    // The point closest to p that is strictly nearer than sqrt(maxdist2) and
    // accepted by `iscompat` (when given), or nullptr. A maxdist2 not greater
    // than 0 stands for the radius of the root cell (half the diagonal of the
    // points' bounding box); a tree of seven points or fewer then searches
    // without a limit. Of several points at the same distance the first one
    // reached wins. The predicate is asked only about points nearer than the
    // best so far.
    const float *closest_point(const float *p, float maxdist2 = 0.0f,
                               const CompatFunc *iscompat = nullptr) const;

    // The accepted points nearest to p, strictly nearer than sqrt(maxdist2)
    // (with the same default as closest_point), up to the count `found` was
    // made for, in one traversal; `found` receives them in increasing
    // distance. Squared distances are computed as closest_point computes
    // them, and of several points at the same distance those reached first
    // in closest_point's order of visiting are kept. Allocates nothing.
    void nearest_points(const float *p, NearestPoints &found, float maxdist2 = 0.0f,
                        const CompatFunc *iscompat = nullptr) const;

    struct Node;

private:
    Node *root = nullptr;
};

// The result of KDtree::nearest_points: up to k points in increasing distance
// from the query. Reusing one object for many queries allocates nothing.
class NearestPoints {
public:
    // Room for k >= 1 points.
    explicit NearestPoints(int k);
    // The number of points found, at most k.
    int size() const { return count; }
    const float *operator[](int j) const { return entries[size_t(j)].point; }
    // True when the points found are, as a set, exactly those that k
    // successive closest_point searches with the same limit would return,
    // each search also rejecting the points that the searches before it
    // returned. False when a cell test of closest_point on the way to one of
    // them is so near its bound that rounding decides whether such a search
    // reaches it; the caller then runs those searches itself.
    bool settled() const { return is_settled; }

    // One point found, with its squared distance and a bound above the best
    // distances at which a cell test of closest_point on the way to it may
    // still turn that search away.
    struct Entry {
        const float *point;
        float d2;
        float gate;
    };

private:
    friend class KDtree;
    int count = 0;
    bool is_settled = false;
    std::vector<Entry> entries;  // k of them, the first `count` in use
};

// Accepts points whose offset from `first`, counted in floats, is not in the
// set. Used to find successive nearest neighbours of a point: insert each
// point's offset once it has been found. The set is a small sorted array that
// keeps its storage across clear(), so reusing one object allocates nothing.
class NotInSet : public KDtree::CompatFunc {
public:
    explicit NotInSet(const float *first) : first(first) {}
    bool operator()(const float *p) const override;
    // Adds an offset, counted in floats from `first` (3 * the point's index).
    void insert(int offset);
    bool contains(int offset) const;
    void clear() { offsets.clear(); }
    size_t size() const { return offsets.size(); }
    // The offsets in increasing order.
    std::vector<int>::const_iterator begin() const { return offsets.begin(); }
    std::vector<int>::const_iterator end() const { return offsets.end(); }

private:
    const float *first;
    std::vector<int> offsets;  // sorted, without repeats
};

// Accepts vertices of `mesh` (the tree must be built over its positions) whose
// normal is near a reference normal n. On a point cloud (no faces and no
// strips) the test is |n . normal| > 0.7; otherwise a boundary vertex is always
// accepted and any other when n . normal > 0.7. Ensures the mesh's normals when
// constructed; boundary tests build its adjacency on demand.
class NormCompat : public KDtree::CompatFunc {
public:
    NormCompat(const Point3 &n, TriMesh &mesh);
    bool operator()(const float *p) const override;

private:
    Point3 n;
    TriMesh &mesh;
    bool pointcloud;
};
