// The only file that calls meshoptimizer.
#include "reduce.h"

#include <meshoptimizer.h>

#include "index_buffer.h"
#include "tool_mesh.h"

namespace {

// The error the simplifiers may accept, relative to the mesh's extent: all of
// it, so that the budget alone decides where they stop.
constexpr float any_error = 1.0f;

} // namespace

ReduceResult reduce_mesh(TriMesh &mesh, size_t max_faces, const ReduceOptions &options)
{
    ReduceResult result;
    result.collapsed = result.faces = mesh.faces.size();
    if (mesh.faces.size() <= max_faces)
        return result;
    const std::vector<unsigned> source = index_buffer(mesh);
    std::vector<unsigned> collapsed(source.size());
    const unsigned lock = options.keep_borders ? meshopt_SimplifyLockBorder : 0;
    size_t count = meshopt_simplify(collapsed.data(), source.data(), source.size(), position_array(mesh),
                                    mesh.vertices.size(), sizeof(Point3), 3 * max_faces, any_error, lock,
                                    nullptr);
    result.collapsed = count / 3;
    const unsigned *kept = collapsed.data();
    std::vector<unsigned> clustered;
    if (result.collapsed > max_faces && !options.keep_topology) {
        clustered.resize(count);
        count = meshopt_simplifySloppy(clustered.data(), collapsed.data(), count, position_array(mesh),
                                       mesh.vertices.size(), sizeof(Point3), 3 * max_faces, any_error,
                                       nullptr);
        kept = clustered.data();
        result.clustered = true;
    }
    set_faces_from_indices(mesh, kept, count);
    remove_unused_vertices(mesh);
    result.faces = mesh.faces.size();
    return result;
}
