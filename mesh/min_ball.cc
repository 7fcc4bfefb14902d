// Smallest enclosing ball: Welzl's move-to-front recursion over the support set
// with Gaertner's pivoting, which starts each round from the point farthest
// outside the current ball. The point list is a doubly linked list over point
// indices, so moving a point to the front is constant time and allocation free.

#include "min_ball.h"

namespace {

constexpr int dim = 3;

// The ball through up to dim + 1 affinely independent support points, kept
// incrementally: each push adds one point by a Gram-Schmidt step. The current
// ball is the one of the last successful push; pop only forgets the newest
// support point, so the ball found with it stays current.
class Basis {
public:
    int size() const { return m; }
    const Point3 &center() const { return current_c; }
    float squared_radius() const { return current_sqr_r; }

    // Squared distance of p to the centre minus the squared radius: positive
    // exactly when p lies outside.
    float excess(const Point3 &p) const { return dist2(p, current_c) - current_sqr_r; }

    // Adds p; false (and no change) when p is too close to the affine hull of
    // the points already there.
    bool push(const Point3 &p)
    {
        if (m == 0) {
            q0 = p;
            c[0] = p;
            sqr_r[0] = 0;
        } else {
            // v[m]: p relative to q0, made orthogonal to the earlier directions.
            Point3 vm = p - q0;
            float a[dim + 1];
            for (int i = 1; i < m; i++)
                a[i] = (2 / z[i]) * dot(v[i], vm);
            for (int i = 1; i < m; i++)
                vm -= a[i] * v[i];
            const float zm = 2 * len2(vm);
            if (zm < 1e-13f * current_sqr_r)
                return false;
            const float e = dist2(p, c[m - 1]) - sqr_r[m - 1];
            const float f = e / zm;
            v[m] = vm;
            z[m] = zm;
            c[m] = c[m - 1] + f * vm;
            sqr_r[m] = sqr_r[m - 1] + e * f / 2;
        }
        current_c = c[m];
        current_sqr_r = sqr_r[m];
        m++;
        return true;
    }

    void pop() { m--; }

private:
    int m = 0;  // number of support points
    Point3 q0, current_c;
    float current_sqr_r = -1;
    Point3 v[dim + 1], c[dim + 1];
    float z[dim + 1] = {}, sqr_r[dim + 1] = {};
};

class BallSolver {
public:
    explicit BallSolver(const std::vector<Point3> &pts) : points(pts), n(int(pts.size()))
    {
        // Index n is the list's sentinel: next of the last element, prev of the first.
        next.resize(n + 1);
        prev.resize(n + 1);
        for (int i = 0; i <= n; i++) {
            next[i] = i == n ? 0 : i + 1;
            prev[i] = i == 0 ? n : i - 1;
        }
    }

    Ball solve()
    {
        if (n == 0)
            return {};
        int t = next[first()];
        move_to_front_ball(t);
        float old_sqr_r = -1, max_e;
        do {
            int pivot = end();
            max_e = max_excess(t, pivot);
            if (max_e > 0) {
                t = support_end;
                if (t == pivot)
                    t = next[t];
                old_sqr_r = basis.squared_radius();
                basis.push(points[pivot]);
                move_to_front_ball(support_end);
                basis.pop();
                move_to_front(pivot);
            }
        } while (max_e > 0 && basis.squared_radius() > old_sqr_r);
        return {basis.center(), basis.squared_radius()};
    }

private:
    int first() const { return next[n]; }
    int end() const { return n; }

    // Makes the ball enclose every point before `stop` with the current basis
    // as boundary points; points that had to be added move to the front.
    void move_to_front_ball(int stop)
    {
        support_end = first();
        if (basis.size() == dim + 1)
            return;
        for (int k = first(); k != stop;) {
            const int j = k;
            k = next[k];
            if (basis.excess(points[j]) > 0 && basis.push(points[j])) {
                move_to_front_ball(j);
                basis.pop();
                move_to_front(j);
            }
        }
    }

    void move_to_front(int j)
    {
        if (support_end == j)
            support_end = next[j];
        if (j == first())
            return;
        next[prev[j]] = next[j];
        prev[next[j]] = prev[j];
        const int old_first = first();
        next[n] = j;
        prev[j] = n;
        next[j] = old_first;
        prev[old_first] = j;
    }

    // The largest positive excess among the points from `from` to the end of
    // the list, 0 when none lies outside; `pivot` is set to its point.
    float max_excess(int from, int &pivot) const
    {
        float max_e = 0;
        for (int k = from; k != end(); k = next[k]) {
            const float e = basis.excess(points[k]);
            if (e > max_e) {
                max_e = e;
                pivot = k;
            }
        }
        return max_e;
    }

    const std::vector<Point3> &points;
    const int n;
    std::vector<int> next, prev;
    int support_end = 0;
    Basis basis;
};

} // namespace

Ball smallest_enclosing_ball(const std::vector<Point3> &points)
{
    return BallSolver(points).solve();
}
