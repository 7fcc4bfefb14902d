// Feature size: the median edge length of a random sample of faces.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "TriMesh.h"
#include "index_range.h"

namespace {

// The sample sequence shared by the whole process: a 32-bit linear
// congruential generator that starts at 0 and is never reset, so successive
// calls see different samples while every run sees the same ones.
uint32_t sample_seed = 0;

uint32_t next_sample()
{
    sample_seed = sample_seed * 1664525u + 1013904223u;
    return sample_seed;
}

// Appends the squared lengths of the three edges of f (p1-p0, p2-p1, p0-p2);
// a face with an index outside the vertex range adds nothing.
void append_edge_lengths(const TriMesh &mesh, const Face &f, std::vector<float> &out)
{
    if (!face_in_range(f, mesh.vertices.size()))
        return;
    const Point3 &p0 = mesh.vertices[f[0]], &p1 = mesh.vertices[f[1]], &p2 = mesh.vertices[f[2]];
    out.push_back(dist2(p1, p0));
    out.push_back(dist2(p2, p1));
    out.push_back(dist2(p0, p2));
}

} // namespace

float TriMesh::median_edge_length()
{
    ensure_faces();
    const size_t nf = faces.size();
    if (nf == 0)
        return 0;
    const size_t nsamp = std::min<size_t>(nf / 2, 333);
    std::vector<float> lengths;
    lengths.reserve(3 * std::max<size_t>(nsamp, 1));
    // A single face gives no sample; its own edges stand in, and nothing is
    // drawn from the sequence.
    if (nsamp == 0)
        append_edge_lengths(*this, faces[0], lengths);
    for (size_t i = 0; i < nsamp; i++)
        append_edge_lengths(*this, faces[next_sample() % nf], lengths);
    if (lengths.empty())
        return 0;
    const auto mid = lengths.begin() + lengths.size() / 2;
    std::nth_element(lengths.begin(), mid, lengths.end());
    return std::sqrt(*mid);
}
