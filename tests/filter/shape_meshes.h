#pragma once
// Meshes and measures shared by the tests of the filters that reshape a
// surface.

#include <string>
#include <vector>

#include "TriMesh.h"
#include "options.h"

// A closed torus of rings x sides vertices, every vertex of valence 6, with
// outward-facing faces.
TriMesh make_torus(int rings, int sides, float major = 2.0f, float minor = 0.7f);

// A closed unit octahedron (every vertex of valence 4), faces outward.
TriMesh make_octahedron();

// A closed sphere of radius 1 made from the octahedron by `levels` midpoint
// splits, each followed by a push of every vertex onto the sphere.
TriMesh make_sphere(int levels);

// Moves every vertex along its direction from the origin by a repeatable
// pseudo-random amount in [-amount, amount].
void roughen(TriMesh &mesh, float amount);

// Variance of the vertices' distances from the origin: how far a mesh of a
// sphere about the origin is from round.
double radial_spread(const TriMesh &mesh);

// Volume enclosed by a closed mesh with outward faces.
double enclosed_volume(const TriMesh &mesh);

// True when every position is finite.
bool all_finite(const TriMesh &mesh);

// Runs the surface option `name` on the mesh with the given following
// arguments; returns what it consumed.
int run_surface_option(TriMesh &mesh, const std::string &name, std::vector<std::string> args);
