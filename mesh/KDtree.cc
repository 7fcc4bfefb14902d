#include "KDtree.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>
#include <limits>
#include <memory>

#include "TriMesh.h"

static_assert(sizeof(Point3) == 3 * sizeof(float), "points must be three packed floats");

namespace {

constexpr int max_leaf_points = 7;

} // namespace

// A leaf holds 1 to 7 point pointers; an interior node (npts == 0) holds its
// cell's bounding sphere, split axis and two children, the lower side first.
struct KDtree::Node {
    struct Cell {
        float center[3];
        float radius;
        int axis;
        Node *child[2];
    };
    int npts;
    union {
        const float *pts[max_leaf_points];
        Cell cell;
        Node *next_free;  // while the node sits in the pool's free list
    };
};

namespace {

using Node = KDtree::Node;

// Process-wide node storage: blocks of 127 nodes, released nodes kept on a free
// list for the next tree. Blocks are never given back, so building and
// destroying many trees costs no general allocation per node.
class NodePool {
public:
    Node *take()
    {
        if (!free_list)
            grow();
        Node *node = free_list;
        free_list = node->next_free;
        return node;
    }

    void give_back(Node *node)
    {
        node->next_free = free_list;
        free_list = node;
    }

private:
    static constexpr int block_size = 127;

    void grow()
    {
        blocks.push_back(std::make_unique<Node[]>(block_size));
        Node *block = blocks.back().get();
        for (int i = block_size; i-- > 0;)
            give_back(block + i);
    }

    std::vector<std::unique_ptr<Node[]>> blocks;
    Node *free_list = nullptr;
};

// The pool lives until the process ends (never destroyed, so trees held in
// static objects can still release their nodes during exit).
NodePool &node_pool()
{
    static NodePool *pool = new NodePool;
    return *pool;
}

// Returns a subtree to the pool, children first. The second child goes back
// before the first, so that the free list hands the nodes out again in the
// order they were built in: the next tree keeps each subtree close together
// in memory.
void release(Node *node)
{
    if (node->npts == 0) {
        release(node->cell.child[1]);
        release(node->cell.child[0]);
    }
    node_pool().give_back(node);
}

// Builds a node over pts[0 .. n-1] (n >= 1), reordering the pointers.
Node *build(const float **pts, size_t n)
{
    Node *node = node_pool().take();
    if (n <= size_t(max_leaf_points)) {
        node->npts = int(n);
        std::copy(pts, pts + n, node->pts);
        return node;
    }
    node->npts = 0;
    Node::Cell &cell = node->cell;

    float lo[3] = {pts[0][0], pts[0][1], pts[0][2]};
    float hi[3] = {lo[0], lo[1], lo[2]};
    for (size_t i = 1; i < n; i++) {
        for (int k = 0; k < 3; k++) {
            lo[k] = std::min(lo[k], pts[i][k]);
            hi[k] = std::max(hi[k], pts[i][k]);
        }
    }
    for (int k = 0; k < 3; k++)
        cell.center[k] = 0.5f * (lo[k] + hi[k]);
    const float dx = hi[0] - lo[0], dy = hi[1] - lo[1], dz = hi[2] - lo[2];
    cell.radius = 0.5f * std::sqrt(dx * dx + dy * dy + dz * dz);
    if (dx > dy)
        cell.axis = dx > dz ? 0 : 2;
    else
        cell.axis = dy > dz ? 1 : 2;

    // Hoare partition about the cell centre: coordinates below it go left.
    const int axis = cell.axis;
    const float split = cell.center[axis];
    std::ptrdiff_t left = 0, right = std::ptrdiff_t(n) - 1;
    while (true) {
        while (left <= right && pts[left][axis] < split)
            left++;
        while (right >= left && pts[right][axis] >= split)
            right--;
        if (right < left)
            break;
        std::swap(pts[left], pts[right]);
        left++;
        right--;
    }
    size_t nleft = size_t(left);
    if (nleft == 0 || nleft == n)
        nleft = n / 2;

    cell.child[0] = build(pts, nleft);
    cell.child[1] = build(pts + nleft, n - nleft);
    return node;
}

struct Search {
    const float *p;
    const KDtree::CompatFunc *iscompat;
    const float *best = nullptr;
    float best_d2;
    float best_d;

    void visit(const Node *node)
    {
        if (node->npts == 0) {
            const Node::Cell &cell = node->cell;
            const float cx = cell.center[0] - p[0], cy = cell.center[1] - p[1],
                        cz = cell.center[2] - p[2];
            const float reach = cell.radius + best_d;
            if (reach * reach <= cx * cx + cy * cy + cz * cz)
                return;
            const float d = cell.center[cell.axis] - p[cell.axis];
            if (d >= 0) {
                visit(cell.child[0]);
                if (d < best_d)
                    visit(cell.child[1]);
            } else {
                visit(cell.child[1]);
                if (-d < best_d)
                    visit(cell.child[0]);
            }
            return;
        }
        for (int i = 0; i < node->npts; i++) {
            const float *q = node->pts[i];
            const float dx = q[0] - p[0], dy = q[1] - p[1], dz = q[2] - p[2];
            const float d2 = dx * dx + dy * dy + dz * dz;
            if (d2 < best_d2 && (!iscompat || (*iscompat)(q))) {
                best = q;
                best_d2 = d2;
                best_d = std::sqrt(d2);
            }
        }
    }
};

// Rounding allowances of the cell tests below: float's relative precision,
// and a distance small enough never to matter but whose square is still a
// normal float.
constexpr float eps = std::numeric_limits<float>::epsilon();
constexpr float tiny = 1e-15f;

// Collects the nearest accepted points of p into a sorted array of fixed
// size. Its cell tests are those of Search against the farthest point kept,
// widened by a margin that covers the rounding of the cell centres, radii and
// squared distances, so that it never skips a point nearer than that one.
//
// Along the way it notes for every point kept its gate: a bound above the
// best distances at which a test of Search on the way to the point's leaf
// may fail (a cell test, or the distance to a splitting plane before the far
// child). A search whose best distance stays above the gate until it has a
// point as near as this one cannot miss it.
struct NearestSearch {
    const float *p;
    const KDtree::CompatFunc *iscompat;
    NearestPoints::Entry *entries;
    int capacity;
    int count;
    float worst_d2;  // a point must be strictly nearer than this to be kept
    float worst_d;
    float slack;     // absolute allowance for rounded cell centres

    void visit(const Node *node, float gate)
    {
        // Once every point kept is at distance 0, none can be kept any more.
        if (!(worst_d2 > 0.0f))
            return;
        if (node->npts == 0) {
            const Node::Cell &cell = node->cell;
            const float cx = cell.center[0] - p[0], cy = cell.center[1] - p[1],
                        cz = cell.center[2] - p[2];
            const float dist2 = cx * cx + cy * cy + cz * cz;
            // A cell without extent holds copies of one point, its centre, whose
            // squared distance is dist2 exactly: skip it when that one cannot be
            // kept (the margins below would let a large cluster of copies in).
            if (cell.radius == 0.0f && !(dist2 < worst_d2))
                return;
            const float reach = (cell.radius + worst_d) * (1.0f + 32 * eps) + slack;
            if (reach * reach <= dist2)
                return;
            // Search passes this cell's test while (radius + best_d)^2 > dist2,
            // surely so while best_d exceeds sqrt(dist2) - radius by more than
            // the rounding of that test: always when p lies well inside the
            // cell's sphere.
            if (dist2 > 0.999f * cell.radius * cell.radius || cell.radius < 1e-9f) {
                const float dist = std::sqrt(dist2);
                gate = std::max(gate, dist - cell.radius + 4 * eps * (dist + cell.radius) + tiny);
            }
            const float d = cell.center[cell.axis] - p[cell.axis];
            const int near = d >= 0 ? 0 : 1;
            visit(cell.child[near], gate);
            if (std::abs(d) < worst_d * (1.0f + 32 * eps) + slack)
                visit(cell.child[1 - near], std::max(gate, std::abs(d)));
            return;
        }
        for (int i = 0; i < node->npts; i++) {
            const float *q = node->pts[i];
            const float dx = q[0] - p[0], dy = q[1] - p[1], dz = q[2] - p[2];
            const float d2 = dx * dx + dy * dy + dz * dz;
            if (d2 < worst_d2 && (!iscompat || (*iscompat)(q)))
                keep(q, d2, gate);
        }
    }

    // Inserts a point after those not farther; when the array is full the
    // farthest point drops out and the next farthest sets the bound.
    void keep(const float *q, float d2, float gate)
    {
        int j = std::min(count, capacity - 1);
        for (; j > 0 && entries[j - 1].d2 > d2; j--)
            entries[j] = entries[j - 1];
        entries[j] = {q, d2, gate};
        if (count < capacity)
            count++;
        if (count == capacity) {
            worst_d2 = entries[capacity - 1].d2;
            worst_d = std::sqrt(worst_d2);
        }
    }
};

// The limit that a maxdist2 not greater than 0 stands for.
float default_limit(const Node *root)
{
    return root->npts == 0 ? root->cell.radius * root->cell.radius
                           : std::numeric_limits<float>::infinity();
}

} // namespace

NearestPoints::NearestPoints(int k) : entries(size_t(k)) {}

KDtree::KDtree(const float *first, size_t n)
{
    // A point with a NaN or infinite coordinate is never nearer than any
    // limit, but it would make the cells around it infinite or undefined and
    // hide their other points from every search: leave it out.
    std::vector<const float *> pts;
    pts.reserve(n);
    for (size_t i = 0; i < n; i++) {
        const float *p = first + 3 * i;
        if (std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]))
            pts.push_back(p);
    }
    if (!pts.empty())
        root = build(pts.data(), pts.size());
}

KDtree::KDtree(const std::vector<Point3> &points)
    : KDtree(reinterpret_cast<const float *>(points.data()), points.size())
{
}

KDtree::~KDtree()
{
    if (root)
        release(root);
}

const float *KDtree::closest_point(const float *p, float maxdist2, const CompatFunc *iscompat) const
{
    if (!root)
        return nullptr;
    if (maxdist2 <= 0.0f)
        maxdist2 = default_limit(root);
    Search search{p, iscompat, nullptr, maxdist2, std::sqrt(maxdist2)};
    search.visit(root);
    return search.best;
}

void KDtree::nearest_points(const float *p, NearestPoints &found, float maxdist2,
                            const CompatFunc *iscompat) const
{
    found.count = 0;
    found.is_settled = true;
    if (!root)
        return;
    if (maxdist2 <= 0.0f)
        maxdist2 = default_limit(root);
    // The largest coordinate of the points, to which the rounding of cell
    // centres is relative.
    float extent = 0.0f;
    if (root->npts == 0) {
        const float *c = root->cell.center;
        extent = std::max({std::abs(c[0]), std::abs(c[1]), std::abs(c[2])}) + root->cell.radius;
    }
    NearestSearch search{p,        iscompat,           found.entries.data(), int(found.entries.size()), 0,
                         maxdist2, std::sqrt(maxdist2), 4 * eps * extent + tiny};
    search.visit(root, 0.0f);
    found.count = search.count;

    // Both searches visit in the same order and keep, of equidistant points,
    // the one reached first; so successive searches return the same set when
    // each of them reaches each point while its best distance is one that a
    // farther point gives. Coordinates this large could overflow the squared
    // distances, which the margins do not cover.
    bool settled = extent < 1e18f;
    for (int j = 0; j < found.count; j++) {
        const NearestPoints::Entry &e = found.entries[size_t(j)];
        // The next float above d2 (which is finite and not negative).
        const float next_d2 = std::bit_cast<float>(std::bit_cast<uint32_t>(e.d2) + 1);
        const float next_d = std::sqrt(next_d2);
        if (!(next_d > e.gate))
            settled = false;
    }
    found.is_settled = settled;
}

bool NotInSet::operator()(const float *p) const
{
    return !contains(int(p - first));
}

void NotInSet::insert(int offset)
{
    const auto it = std::lower_bound(offsets.begin(), offsets.end(), offset);
    if (it == offsets.end() || *it != offset)
        offsets.insert(it, offset);
}

bool NotInSet::contains(int offset) const
{
    return std::binary_search(offsets.begin(), offsets.end(), offset);
}

NormCompat::NormCompat(const Point3 &n, TriMesh &mesh)
    : n(n), mesh(mesh), pointcloud(mesh.faces.empty() && mesh.tristrips.empty())
{
    mesh.ensure_normals();
}

bool NormCompat::operator()(const float *p) const
{
    const float *first = reinterpret_cast<const float *>(mesh.vertices.data());
    const std::ptrdiff_t i = (p - first) / 3;
    if (p < first || size_t(i) >= mesh.normals.size())
        return false;
    const float d = dot(n, mesh.normals[i]);
    if (pointcloud)
        return std::abs(d) > 0.7f;
    return mesh.is_boundary(int(i)) || d > 0.7f;
}
