#pragma once
// The projecting pass of bilateral smoothing, in which every vertex moves in
// turn and reads the faces as the vertices before it have left them.

#include <vector>

#include "face_filter.h"

// Which blocks of vertices threads work out ahead: only those with an
// earlier block not yet moved (a block whose predecessors have all moved is
// moved one vertex at a time, the quickest way), or every block. The result
// is the same either way; tests take `always` to reach the working ahead on
// any number of threads.
enum class Lookahead { when_needed, always };

// Moves every vertex v, in increasing order, to filter.filter<true>(v,
// mollified[v], inv_s, inv_r) as it reads after vertices 0 to v - 1 have
// moved. The result is that of doing so one vertex at a time, bit for bit,
// on any number of threads: the threads work out the fills of later vertices
// ahead of their turn, on the records as they stand, and a vertex's turn then
// only redoes the faces of vertices that might have moved meanwhile (all of
// its fill, should one of those stop the fill where the guess did not).
void project_in_order(FaceFilter &filter, const std::vector<Point3> &mollified, float inv_s,
                      float inv_r, Lookahead lookahead = Lookahead::when_needed);
