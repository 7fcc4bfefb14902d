// The steps of the alignment: sampling and matching points, rejecting
// outliers, solving for the motion point to point or point to plane, and
// drawing the samples where they constrain the motion best.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "align.h"
#include "lineqn.h"
#include "transforms.h"

namespace {

// The sampling sequence: a 32-bit linear congruential generator of its own,
// starting at 0 in each process and going on from one alignment to the next.
uint32_t sample_state = 0;

// The next draw, in [0, 1).
float next_draw()
{
    sample_state = sample_state * 1664525u + 1013904223u;
    return float(double(sample_state) / 4294967296.0);
}

// How the two kinds of step match: outliers lie beyond sqrt(k) times the
// median pair distance; a step needs at least `fewest` pairs; the sample
// spacing is scaled towards `aim` pairs; the next maxdist reaches `reach`
// times the rejection distance (or 0.7 of the last maxdist, if farther).
struct Matching {
    float k;
    size_t fewest;
    float aim;
    float reach;
};

constexpr Matching translation_matching{19.782984f, 1, 50, 1.5f};
constexpr Matching point_matching{19.782984f, 25, 50, 1.5f};
constexpr Matching plane_matching{13.73818f, 25, 500, 2.0f};

// Pair distances up to this many units in the last place of the largest
// coordinate count as rounding.
constexpr float rounding_ulps = 16;

// The squared pair distance beyond which a pair is an outlier: k times the
// median. Points that differ only by the rounding of their coordinates are
// never outliers, though: once the meshes fit, most pairs may coincide
// exactly, and the median alone would then drop every pair that does not.
float outlier_limit2(const std::vector<PointPair> &pairs, float k)
{
    std::vector<float> d2(pairs.size());
    float magnitude = 0;
    for (size_t i = 0; i < pairs.size(); i++) {
        d2[i] = dist2(pairs[i].p1, pairs[i].p2);
        for (int c = 0; c < 3; c++)
            magnitude = std::max({magnitude, std::abs(pairs[i].p1[c]), std::abs(pairs[i].p2[c])});
    }
    const auto median = d2.begin() + d2.size() / 2;
    std::nth_element(d2.begin(), median, d2.end());
    const float rounding = rounding_ulps * std::numeric_limits<float>::epsilon() * magnitude;
    return std::max(k * *median, rounding * rounding);
}

// Pairs from both directions, the outliers dropped; incr and maxdist adapted
// to what was kept. False, with the message, when too few pairs remain.
bool match_pairs(Registration &reg, const Matching &matching, std::vector<PointPair> &pairs)
{
    progress_printf("maxdist = %f\n", reg.maxdist);
    const uint64_t start = now_ticks();
    gather_pairs(reg.mesh2, reg.mesh1, reg.incr, reg.maxdist, PairOrder::sample_first, pairs);
    gather_pairs(reg.mesh1, reg.mesh2, reg.incr, reg.maxdist, PairOrder::target_first, pairs);
    progress_printf("Generated %lu pairs in %.2f msec.\n", pairs.size(), elapsed_msec(start));
    if (pairs.empty()) {
        progress_printf("Too few point pairs.\n");
        return false;
    }

    const uint64_t reject_start = now_ticks();
    const float limit2 = outlier_limit2(pairs, matching.k);
    const float limit = std::sqrt(limit2);
    progress_printf("Rejecting pairs > %f\n", limit);
    const size_t before = pairs.size();
    std::erase_if(pairs, [limit2](const PointPair &p) { return !(dist2(p.p1, p.p2) <= limit2); });
    progress_printf("Rejected %lu pairs in %.2f msec.\n", before - pairs.size(), elapsed_msec(reject_start));
    if (pairs.size() < matching.fewest) {
        progress_printf("Too few point pairs.\n");
        return false;
    }

    reg.incr = reg.incr * float(pairs.size()) / matching.aim;
    reg.maxdist = std::max(matching.reach * limit, 0.7f * reg.maxdist);
    return true;
}

// Mean of one point of every pair.
Point3 mean(const std::vector<PointPair> &pairs, Point3 PointPair::*point)
{
    double sum[3] = {0, 0, 0};
    for (const PointPair &p : pairs)
        for (int k = 0; k < 3; k++)
            sum[k] += (p.*point)[k];
    const double n = double(pairs.size());
    return Point3(float(sum[0] / n), float(sum[1] / n), float(sum[2] / n));
}

// The rotation about the centroids that best turns the second points of the
// pairs onto the first ones, linearised for small angles: x holds the angles
// about x, y and z. False when the pairs cannot fix it (all on one line).
bool solve_rotation(const std::vector<PointPair> &pairs, const Point3 &c2, std::array<double, 3> &x)
{
    SquareMatrix<double, 3> a{};
    std::array<double, 3> b{};
    for (const PointPair &p : pairs) {
        const Point3 e = p.p1 - p.p2, q = p.p2 - c2;
        const double q2 = double(q.x) * q.x + double(q.y) * q.y + double(q.z) * q.z;
        for (int r = 0; r < 3; r++)
            for (int c = 0; c < 3; c++)
                a[r][c] += (r == c ? q2 : 0.0) - double(q[r]) * q[c];
        b[0] += double(q.y) * e.z - double(q.z) * e.y;
        b[1] += double(q.z) * e.x - double(q.x) * e.z;
        b[2] += double(q.x) * e.y - double(q.y) * e.x;
    }
    std::array<double, 3> rdiag;
    if (!ldlt_decompose(a, rdiag))
        return false;
    ldlt_solve(a, rdiag, b, x);
    return true;
}

using Vector6 = std::array<double, 6>;

// The point-to-plane row of a point p with normal n (both scaled and centred):
// how a small rotation and translation move p along n.
Vector6 plane_row(const Point3 &p, const Point3 &n)
{
    const Point3 t = cross(p, n);
    return {t.x, t.y, t.z, n.x, n.y, n.z};
}

// The motion of the solution x of the scaled problem: a rotation about c from
// the sines x0, x1, x2 (clamped to [-1, 1], cosines not negative), then the
// translation x3, x4, x5 unscaled by 1 / s.
Matrix4 plane_motion(const Vector6 &x, float s, const Point3 &c)
{
    double sn[3], cs[3];
    for (int i = 0; i < 3; i++) {
        sn[i] = std::clamp(x[i], -1.0, 1.0);
        cs[i] = std::sqrt(1.0 - sn[i] * sn[i]);
    }
    const double rot[3][3] = {
        {cs[2] * cs[1], -sn[2] * cs[1], sn[1]},
        {cs[0] * sn[2] + sn[0] * sn[1] * cs[2], cs[0] * cs[2] - sn[0] * sn[1] * sn[2], -sn[0] * cs[1]},
        {sn[0] * sn[2] - cs[0] * sn[1] * cs[2], sn[0] * cs[2] + cs[0] * sn[1] * sn[2], cs[0] * cs[1]},
    };
    Matrix4 motion;
    for (int r = 0; r < 3; r++) {
        double turned_c = 0;
        for (int k = 0; k < 3; k++) {
            motion(r, k) = rot[r][k];
            turned_c += rot[r][k] * c[k];
        }
        motion(r, 3) = x[3 + r] / s + c[r] - turned_c;
    }
    return motion;
}

// v^T q v for the symmetric 6 x 6 matrix q.
double quadratic_form(const SquareMatrix<double, 6> &q, const Vector6 &v)
{
    double sum = 0;
    for (int r = 0; r < 6; r++)
        for (int c = 0; c < 6; c++)
            sum += v[r] * q[r][c] * v[c];
    return sum;
}

// Sets side.cdf in proportion to how strongly each overlapping vertex would
// constrain the motion, by the clamped inverse q of the normal matrix of the
// problem scaled by s about c. False when no vertex weighs anything.
bool draw_where_constrained(AlignSide &side, const SquareMatrix<double, 6> &q, float s, const Point3 &c)
{
    const TriMesh &mesh = side.mesh;
    const Matrix4 normal_xf = normal_transform(side.xf);
    const size_t n = mesh.vertices.size();
    side.cdf.resize(n);
    double total = 0;
    for (size_t i = 0; i < n; i++) {
        if (side.overlap[i] != 0.0f) {
            const Point3 p = s * (side.xf * mesh.vertices[i] - c);
            const Point3 normal = normal_xf * mesh.normals[i];
            total += side.overlap[i] * quadratic_form(q, plane_row(p, normal));
        }
        side.cdf[i] = float(total);
    }
    if (!(total != 0.0)) {
        progress_printf("No overlap.\n");
        return false;
    }
    for (size_t i = 0; i + 1 < n; i++)
        side.cdf[i] = float(side.cdf[i] / total);
    side.cdf[n - 1] = 1.0f;
    return true;
}

} // namespace

void gather_pairs(const AlignSide &target, const AlignSide &sample, float incr, float maxdist,
                  PairOrder order, std::vector<PointPair> &pairs)
{
    const Matrix4 to_target = inverse(target.xf) * sample.xf;
    const Matrix4 normal_to_target = normal_transform(to_target);
    const Matrix4 target_normals = normal_transform(target.xf), sample_normals = normal_transform(sample.xf);
    TriMesh &t = target.mesh;
    const TriMesh &s = sample.mesh;
    const bool target_is_cloud = t.faces.empty() && t.tristrips.empty();
    const float *first = reinterpret_cast<const float *>(t.vertices.data());
    const float maxdist2 = maxdist * maxdist;
    const std::vector<float> &cdf = sample.cdf;

    auto next = cdf.begin();
    for (float pos = incr * next_draw(); pos < 1.0f; pos += incr * next_draw()) {
        // The first vertex whose entry exceeds pos; positions only grow.
        next = std::upper_bound(next, cdf.end(), pos);
        if (next == cdf.end())
            break;
        const size_t l = size_t(next - cdf.begin());
        const Point3 p = to_target * s.vertices[l];
        const NormCompat compat(normal_to_target * s.normals[l], t);
        const float *match = target.tree.closest_point(&p.x, maxdist2, &compat);
        if (!match)
            continue;
        const int j = int((match - first) / 3);
        if (!target_is_cloud && t.is_boundary(j))
            continue;
        const Point3 sample_point = sample.xf * s.vertices[l], target_point = target.xf * t.vertices[j];
        if (order == PairOrder::sample_first)
            pairs.push_back({sample_point, target_point, sample_normals * s.normals[l]});
        else
            pairs.push_back({target_point, sample_point, target_normals * t.normals[j]});
    }
}

float point_step(Registration &reg, bool translation_only)
{
    std::vector<PointPair> pairs;
    if (!match_pairs(reg, translation_only ? translation_matching : point_matching, pairs))
        return -1;
    const uint64_t start = now_ticks();
    const Point3 c1 = mean(pairs, &PointPair::p1), c2 = mean(pairs, &PointPair::p2);
    double sum2 = 0;
    for (const PointPair &p : pairs)
        sum2 += dist2(p.p1, p.p2);
    const float error = float(std::sqrt(sum2 / double(pairs.size())));
    progress_printf("RMS point-to-point error = %f\n", error);

    Matrix4 motion = Matrix4::translation(c1.x - c2.x, c1.y - c2.y, c1.z - c2.z);
    std::array<double, 3> x;
    if (!translation_only && solve_rotation(pairs, c2, x)) {
        motion = Matrix4::translation(c1.x, c1.y, c1.z) * Matrix4::rotation(x[0], 1, 0, 0) *
                 Matrix4::rotation(x[1], 0, 1, 0) * Matrix4::rotation(x[2], 0, 0, 1) *
                 Matrix4::translation(-c2.x, -c2.y, -c2.z);
    }
    reg.mesh2.xf = motion * reg.mesh2.xf;
    progress_printf("Computed xform in %.2f msec.\n", elapsed_msec(start));
    return error;
}

float plane_step(Registration &reg, bool update_distributions)
{
    std::vector<PointPair> pairs;
    if (!match_pairs(reg, plane_matching, pairs))
        return -1;
    const uint64_t start = now_ticks();
    // Centred on mesh 2's points and scaled to unit spread, so that rotation
    // and translation weigh alike in the solve.
    const Point3 c = mean(pairs, &PointPair::p2);
    double spread = 0;
    for (const PointPair &p : pairs)
        spread += dist2(p.p2, c);
    const float s = float(1.0 / std::sqrt(spread / double(pairs.size())));

    SquareMatrix<double, 6> a{};
    Vector6 b{};
    double sum_r2 = 0;
    for (const PointPair &p : pairs) {
        const double r = s * dot(p.p1 - p.p2, p.n1);
        const Vector6 row = plane_row(s * (p.p2 - c), p.n1);
        for (int i = 0; i < 6; i++) {
            for (int j = 0; j < 6; j++)
                a[i][j] += row[i] * row[j];
            b[i] += r * row[i];
        }
        sum_r2 += r * r;
    }
    const float error = float(std::sqrt(sum_r2 / double(pairs.size())) / s);
    progress_printf("RMS point-to-plane error = %f\n", error);

    // a = V diag(lambda) V^T; directions with small eigenvalues are weakly
    // constrained and do not move.
    Vector6 lambda;
    eigen_symmetric(a, lambda);
    const SquareMatrix<double, 6> &v = a;
    const double weak = 0.01 * lambda[5];
    for (int i = 0; i < 5; i++)
        if (lambda[i] < weak)
            progress_printf("Small eigenvalue %f (largest is %f)\n", lambda[i], lambda[5]);
    Vector6 x{};
    for (int i = 0; i < 6; i++) {
        if (lambda[i] < weak)
            continue;
        double along = 0;
        for (int k = 0; k < 6; k++)
            along += v[k][i] * b[k];
        for (int k = 0; k < 6; k++)
            x[k] += v[k][i] * along / lambda[i];
    }
    reg.mesh2.xf = plane_motion(x, s, c) * reg.mesh2.xf;
    progress_printf("Computed xform in %.2f msec.\n", elapsed_msec(start));

    if (update_distributions) {
        const uint64_t cdf_start = now_ticks();
        SquareMatrix<double, 6> q{};
        for (int i = 0; i < 6; i++) {
            const double inv = 1.0 / std::max(lambda[i], weak);
            for (int r = 0; r < 6; r++)
                for (int col = 0; col < 6; col++)
                    q[r][col] += v[r][i] * inv * v[col][i];
        }
        if (!draw_where_constrained(reg.mesh1, q, s, c) || !draw_where_constrained(reg.mesh2, q, s, c))
            return -1;
        progress_printf("Updated CDFs in %.2f msec.\n", elapsed_msec(cdf_start));
    }
    return error;
}
