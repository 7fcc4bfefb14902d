// Building a k-d tree over one million points and answering one million
// closest-point queries, side by side with nanoflann when it is installed.
// Before timing, every query's answer is checked against nanoflann's.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "KDtree.h"
#include "bench_points.h"

#ifdef POLMERA_HAVE_NANOFLANN
#include "nanoflann_cloud.h"
#endif

namespace {

constexpr size_t point_count = 1'000'000;
constexpr size_t query_count = 1'000'000;

const std::vector<Point3> &points()
{
    static const std::vector<Point3> pts = random_points(point_count, 1);
    return pts;
}

const std::vector<Point3> &queries()
{
    static const std::vector<Point3> q = random_points(query_count, 2);
    return q;
}

void BM_KDtree_build(benchmark::State &state)
{
    for (auto _ : state) {
        KDtree tree(points());
        benchmark::DoNotOptimize(&tree);
    }
}
BENCHMARK(BM_KDtree_build)->Unit(benchmark::kMillisecond);

void BM_KDtree_query(benchmark::State &state)
{
    const KDtree tree(points());
    for (auto _ : state) {
        size_t found = 0;
        for (const Point3 &q : queries())
            found += tree.closest_point(&q.x) != nullptr;
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(int64_t(state.iterations() * query_count));
}
BENCHMARK(BM_KDtree_query)->Unit(benchmark::kMillisecond);

#ifdef POLMERA_HAVE_NANOFLANN

size_t nano_closest(const NanoTree &tree, const Point3 &q)
{
    size_t index = 0;
    float d2 = 0;
    nanoflann::KNNResultSet<float> result(1);
    result.init(&index, &d2);
    tree.findNeighbors(result, &q.x, nanoflann::SearchParams());
    return index;
}

void BM_nanoflann_build(benchmark::State &state)
{
    const NanoCloud cloud{points()};
    for (auto _ : state) {
        NanoTree tree(3, cloud, nanoflann::KDTreeSingleIndexAdaptorParams(nano_leaf_size));
        benchmark::DoNotOptimize(&tree);
    }
}
BENCHMARK(BM_nanoflann_build)->Unit(benchmark::kMillisecond);

void BM_nanoflann_query(benchmark::State &state)
{
    const NanoCloud cloud{points()};
    const NanoTree tree(3, cloud, nanoflann::KDTreeSingleIndexAdaptorParams(nano_leaf_size));
    for (auto _ : state) {
        size_t sum = 0;
        for (const Point3 &q : queries())
            sum += nano_closest(tree, q);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(int64_t(state.iterations() * query_count));
}
BENCHMARK(BM_nanoflann_query)->Unit(benchmark::kMillisecond);

// Both trees must name the same nearest point for every query (or, on a tie,
// a point at the same distance).
bool same_answers()
{
    const std::vector<Point3> &pts = points();
    const KDtree tree(pts);
    const NanoCloud cloud{pts};
    const NanoTree nano(3, cloud, nanoflann::KDTreeSingleIndexAdaptorParams(nano_leaf_size));
    size_t differ = 0;
    for (const Point3 &q : queries()) {
        const float *p = tree.closest_point(&q.x);
        const size_t mine = p ? size_t((p - &pts[0].x) / 3) : pts.size();
        const size_t theirs = nano_closest(nano, q);
        if (mine != theirs && (mine == pts.size() || dist2(pts[mine], q) != dist2(pts[theirs], q)))
            differ++;
    }
    std::printf("Nearest neighbours checked against nanoflann: %zu of %zu differ\n", differ,
                queries().size());
    return differ == 0;
}

#endif

} // namespace

int main(int argc, char **argv)
{
#ifdef POLMERA_HAVE_NANOFLANN
    if (!same_answers())
        return EXIT_FAILURE;
#endif
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
