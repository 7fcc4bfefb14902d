#pragma once
// Helpers shared by the test programs: temporary folders, files, running the
// built programs as processes, small meshes and the record's invariants.

#include <functional>
#include <string>
#include <vector>

#include "TriMesh.h"

// A fresh empty folder for one test, removed when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &path() const { return dir; }
    // path() + "/" + name
    std::string file(const std::string &name) const;

private:
    std::string dir;
};

std::string read_file(const std::string &path);
void write_file(const std::string &path, const std::string &contents);
bool file_exists(const std::string &path);

struct ProcessResult {
    int status = -1;  // exit status, or -1 when the process did not exit normally
    std::string out;  // standard output
    std::string err;  // standard error
};

// Runs a program of the suite (by name, from the build's program folder) with
// the given arguments and standard input, and waits for it.
ProcessResult run_program(const std::string &name, const std::vector<std::string> &args,
                          const std::string &input = "");

// The folder that holds the built programs of this test's flavour.
std::string program_dir();
// The folder of the bundled sample meshes.
std::string samples_dir();

// What `action` writes to the standard error stream (the progress log).
std::string stderr_of(const std::function<void()> &action);

// A mesh from positions and faces.
TriMesh make_mesh(const std::vector<Point3> &vertices, const std::vector<Face> &faces = {});

// An n x n grid of vertices in the plane z = 0 (unit spacing), triangulated into
// 2 (n-1)^2 faces.
TriMesh make_grid_mesh(int n);

// A closed sphere of the given radius about the origin: an icosahedron whose
// faces are split into four `levels` times, every vertex pushed onto the
// sphere; faces counter-clockwise seen from outside.
TriMesh make_icosphere(int levels, float radius = 1.0f);

// The faces sorted, each turned to its smallest rotation: two lists compare
// equal when they hold the same triangles with the same winding.
std::vector<Face> canonical(std::vector<Face> faces);

// The lists as plain vectors, to compare with expected values.
std::vector<std::vector<int>> as_vectors(const IndexLists &lists);

// True when every edge is used exactly once in each direction, as on a closed,
// consistently wound manifold.
bool every_edge_once_each_way(const std::vector<Face> &faces);

// Checks what every operation must leave true: face indices in range, every
// per-vertex array empty or one entry per vertex, per-face tables sized to the
// faces, counted strips well formed. Returns "" or a description of the fault.
std::string invariant_violation(const TriMesh &mesh);

// A command line for robustness tests: an option or sub-command with its
// values, some of them cut off or replaced by bad text.
struct BadValueLine {
    std::vector<std::string> words;
    bool non_finite;  // a value was replaced by "nan", "inf", "-inf" or "1e999"
};

// `words` (an option or sub-command and good values for it) with its values
// cut off at each place, and with each value in turn replaced by empty text,
// text that is no number, a huge, a negative and a non-finite number.
std::vector<BadValueLine> bad_value_lines(const std::vector<std::string> &words);

// True when every position, normal, colour and confidence is a finite number.
bool all_values_finite(const TriMesh &mesh);
