#include "KDtree.h"

#include <algorithm>
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

} // namespace

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
    if (maxdist2 <= 0.0f) {
        maxdist2 = root->npts == 0 ? root->cell.radius * root->cell.radius
                                   : std::numeric_limits<float>::infinity();
    }
    Search search{p, iscompat, nullptr, maxdist2, std::sqrt(maxdist2)};
    search.visit(root);
    return search.best;
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
