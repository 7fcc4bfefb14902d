#pragma once
// Registration of one mesh onto another by iterated closest points.
//
// Each step samples vertices of both meshes, matches every sample to the
// nearest vertex of the other mesh whose normal agrees, drops the matches that
// lie much farther apart than the median, and solves for a small rigid motion
// of the moving mesh. A few point-to-point steps bring the meshes together;
// point-to-plane steps, whose samples are drawn where they best constrain the
// motion, finish the work. Progress goes to the console. The sampling draws
// from a generator of its own that starts at the same state in every process
// and goes on from one alignment to the next.

#include <vector>

#include "KDtree.h"
#include "Matrix4.h"
#include "TriMesh.h"

// Moves mesh2 (the selected mesh) onto mesh1 (the clicked one) by changing
// only its transform xf2; xf1 places mesh1. Builds a closest-point tree over
// each mesh's vertices and runs register_meshes. Returns the final RMS
// point-to-plane error in world units, or -1 when an iteration fails; xf2 then
// keeps the motion of the iterations before it.
float align_meshes(TriMesh &mesh2, TriMesh &mesh1, Matrix4 &xf2, const Matrix4 &xf1);

// A matched pair in world coordinates: a point of mesh 1, the matched point of
// mesh 2, and mesh 1's normal at its point (of about unit length).
struct PointPair {
    Point3 p1, p2, n1;
};

// One mesh of a registration and what the iterations keep about it.
struct AlignSide {
    AlignSide(TriMesh &mesh, const Matrix4 &xf, const KDtree &tree) : mesh(mesh), xf(xf), tree(tree) {}

    TriMesh &mesh;
    Matrix4 xf;            // its placement in the world
    const KDtree &tree;    // over mesh.vertices
    std::vector<float> overlap;  // per vertex: 1 inside the other mesh's occupied space, else 0
    std::vector<float> cdf;      // sampling distribution: non-decreasing, last entry 1
};

// The state carried through the iterations. Only mesh2.xf is changed.
struct Registration {
    AlignSide mesh1;     // fixed
    AlignSide mesh2;     // moving
    float maxdist = 0;   // matches lie nearer than this; 0 until prepared
    float incr = 0;      // spacing of the sample positions in [0, 1)
};

// Makes the registration ready to iterate: normals of both meshes and, for
// meshes with a surface, the adjacency that boundary tests need; a maxdist not
// above 0 becomes half the bounding-box diagonal of the smaller mesh (of mesh 2
// on a tie); uniform sampling distributions; incr 0.08.
void prepare_registration(Registration &reg);

// Prepares the registration, then runs two translation-only and five
// point-to-point steps, marks the overlaps unless both overlap tables are
// sized to their meshes, and runs point-to-plane steps until the error has
// stopped falling (five of the last seven steps no better than the one before,
// at most 100 steps, the overlaps and distributions renewed every tenth), then
// a last one with a quarter of the sample spacing. Returns its RMS error, or -1
// when a step fails.
float register_meshes(Registration &reg);

// Which point of a pair the sample is: the sampled mesh is mesh 1
// (sample_first) or mesh 2 (target_first).
enum class PairOrder { sample_first, target_first };

// Samples vertices of `sample` at positions spaced by incr times a fresh draw
// in [0, 1) through its distribution, and matches each to the closest vertex of
// `target` nearer than maxdist whose normal agrees (NormCompat). A match on a
// boundary vertex of a target with a surface gives no pair. Appends the pairs,
// with the normal of the mesh-1 side.
void gather_pairs(const AlignSide &target, const AlignSide &sample, float incr, float maxdist,
                  PairOrder order, std::vector<PointPair> &pairs);

// One point-to-point step: matches in both directions, rejects outliers,
// adapts the sample spacing (towards 50 pairs) and maxdist, and moves mesh 2 by
// the translation of the pair centroids (translation_only) or by the best
// rigid motion (only the translation when the pairs cannot fix a rotation).
// Returns the RMS distance of the kept pairs, or -1 with too few pairs.
float point_step(Registration &reg, bool translation_only);

// One point-to-plane step: matches and rejects as point_step (aiming at 500
// pairs), then moves mesh 2 by the least-squares rigid motion, leaving weakly
// constrained directions unmoved (reported as small eigenvalues). With
// update_distributions it then sets the sampling distributions of both meshes
// in proportion to how well each overlapping vertex constrains the motion
// (the overlap tables must be marked); "No overlap." and -1 when no vertex
// does. Returns the RMS point-to-plane distance, or -1.
float plane_step(Registration &reg, bool update_distributions);

// Sets the overlap tables: a vertex counts as overlapping when, placed in the
// other mesh's coordinates, it lies strictly inside that mesh's bounding box
// and in a cell of its 16 x 16 x 16 occupancy grid that holds a vertex. A
// maxdist not above 0 becomes the smaller of the two grids' cell sizes.
void mark_overlaps(Registration &reg);
