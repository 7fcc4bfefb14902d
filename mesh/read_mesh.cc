// Opening a mesh file, recognising its format by its first bytes, and checking
// what was read before anyone indexes with it.

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

#include "formats.h"
#include "mesh_io.h"
#include "ply.h"

namespace {

// The first word from byte `k` on, looked at without consuming it.
std::string peek_word(InputStream &in, size_t k)
{
    // A very long run of white space is no ray-tracer keyword.
    while (k < 65536 && std::isspace(in.peek(k)))
        k++;
    std::string word;
    for (int c = in.peek(k); c >= 0 && !std::isspace(c) && word.size() < 1024; c = in.peek(++k))
        word.push_back(char(c));
    return word;
}

// Consumes `magic` when the input continues with it. Returns 1 when it did,
// 0 when other bytes stand there, -1 when the input ends first.
int take_magic(InputStream &in, const char *magic)
{
    const size_t n = std::strlen(magic);
    for (size_t k = 0; k < n; k++) {
        const int c = in.peek(k);
        if (c < 0)
            return -1;
        if (c != (unsigned char)magic[k])
            return 0;
    }
    in.skip(n);
    return 1;
}

// A format after its magic bytes, or the failure to read them.
bool after_magic(InputStream &in, TriMesh &mesh, const char *magic,
                 bool (*reader)(InputStream &, TriMesh &))
{
    const int m = take_magic(in, magic);
    if (m < 0)
        error_printf("Can't read header.\n");
    return m > 0 && reader(in, mesh);
}

bool read_by_first_byte(InputStream &in, TriMesh &mesh)
{
    const int c = in.peek();
    // Binary STL has no magic; its size tells it (a PLY header cannot be one).
    if (c != 'p' && stl_binary_size_matches(in))
        return read_stl_binary(in, mesh);
    if ((c == 's' || c == 'S') && stl_ascii_starts(in))
        return read_stl_ascii(in, mesh);
    if (c == 'S' || c == 'C' || c == 'N' || c == '4') {
        const std::string word = peek_word(in, 0);
        if (is_off_variant(word))
            return read_off_variant(in, mesh, word);
    }
    switch (c) {
    case -1: error_printf("Can't read header.\n"); return false;
    case '#': {
        // The ray-tracer format's keywords; its own files begin with "#camera".
        const std::string word = peek_word(in, 1);
        for (const char *ray : {"material", "vertex", "shape_", "camera", "background", "ambient"})
            if (strncasecmp(word.c_str(), ray, std::strlen(ray)) == 0)
                return read_ray(in, mesh);
        return read_obj(in, mesh);
    }
    case 'M': return in.peek(1) == 'M' && read_3ds(in, mesh);
    case 'O': return after_magic(in, mesh, "OFF", read_off);
    case 'V': return after_magic(in, mesh, "VIVID", read_vivid);
    case 'p': return after_magic(in, mesh, "ply", parse_ply);
    case 'f':
    case 'g':
    case 'o':
    case 's':
    case 'u':
    case 'v': return read_obj(in, mesh);
    default:
        if (c >= '0' && c <= '9')
            return read_count_first(in, mesh);
        error_printf("Unknown file type.\n");
        return false;
    }
}

// Faces written with indices from 1 (or another base) that cover exactly the
// vertex range are shifted to start at 0. Returns whether every face index is
// then in range, so that the faces need no second look when they are.
bool correct_index_base(TriMesh &mesh)
{
    if (mesh.faces.empty())
        return true;
    // Over the indices as one flat array, which the compiler can vectorise.
    static_assert(sizeof(Face) == 3 * sizeof(int));
    const int *index = mesh.faces.front().v;
    const size_t n_indices = 3 * mesh.faces.size();
    int lo = INT_MAX, hi = INT_MIN;
    for (size_t k = 0; k < n_indices; k++) {
        lo = std::min(lo, index[k]);
        hi = std::max(hi, index[k]);
    }
    const int n = int(mesh.vertices.size());
    if (lo == 0 || int64_t(hi) - lo + 1 != n)
        return lo >= 0 && hi < n;
    progress_printf("Found indices ranging from %d through %d\n", lo, hi);
    progress_printf("Remapping to %d through %d\n", 0, n - 1);
    for (Face &f : mesh.faces)
        for (int j = 0; j < 3; j++)
            f[j] -= lo;
    return true;
}

// Every face and strip must name existing vertices, and counted strips must
// stay inside their array; otherwise the file is rejected with the first fault.
bool check_indices(const TriMesh &mesh, const char *shown, bool faces_in_range)
{
    const int n = int(mesh.vertices.size());
    for (size_t i = 0; !faces_in_range && i < mesh.faces.size(); i++)
        for (int j = 0; j < 3; j++)
            if (mesh.faces[i][j] < 0 || mesh.faces[i][j] >= n) {
                error_printf("Face %lu of [%s] uses vertex %d, but there are only %d vertices.\n",
                             (unsigned long)i, shown, mesh.faces[i][j], n);
                return false;
            }
    const std::vector<int> &t = mesh.tristrips;
    for (size_t i = 0, strip = 0; i < t.size(); strip++) {
        const int count = t[i];
        if (count < 0 || size_t(count) > t.size() - i - 1) {
            error_printf("Triangle strip %lu of [%s] has a bad length (%d).\n",
                         (unsigned long)strip, shown, count);
            return false;
        }
        for (size_t k = i + 1; k <= i + size_t(count); k++)
            if (t[k] < 0 || t[k] >= n) {
                error_printf("Triangle strip %lu of [%s] uses vertex %d, but there are only %d vertices.\n",
                             (unsigned long)strip, shown, t[k], n);
                return false;
            }
        i += size_t(count) + 1;
    }
    return true;
}

} // namespace

std::unique_ptr<TriMesh> read_mesh(const char *filename)
{
    if (!filename || !*filename)
        return nullptr;
    const bool standard = std::strcmp(filename, "-") == 0;
    const char *shown = standard ? "standard input" : filename;
    const int fd = standard ? ::dup(0) : ::open(filename, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error_printf("Error opening [%s] for reading: %s.\n", filename, std::strerror(errno));
        return nullptr;
    }
    progress_printf("Reading %s... ", shown);
    auto mesh = std::make_unique<TriMesh>();
    bool ok;
    {
        InputStream in(fd);
        ok = read_by_first_byte(in, *mesh);
    }
    if (!ok || mesh->vertices.empty()) {
        error_printf("Error reading file [%s].\n", shown);
        return nullptr;
    }
    progress_printf("Done.\n");
    const bool faces_in_range = correct_index_base(*mesh);
    if (!check_indices(*mesh, shown, faces_in_range)) {
        error_printf("Error reading file [%s].\n", shown);
        return nullptr;
    }
    return mesh;
}
