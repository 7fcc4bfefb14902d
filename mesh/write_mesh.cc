// Choosing a format and options from a file name, and writing a mesh so that
// an existing file is replaced only by a complete new one.

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "formats.h"
#include "mesh_io.h"
#include "ply.h"

namespace {

enum class Format { ply_ascii, ply_be, ply_le, ray, obj, off, count_first, cpp, stl, stl_ascii };

struct WriteOptions {
    Format format = Format::ply_le;
    bool emit_normals = false;
    bool colors_as_float = false;
    bool emit_grid = false;
};

bool begins_nocase(const std::string &s, const char *prefix)
{
    return strncasecmp(s.c_str(), prefix, std::strlen(prefix)) == 0;
}

Format format_from_extension(const std::string &name)
{
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return Format::ply_le;
    const std::string ext = name.substr(dot);
    if (begins_nocase(ext, ".ply"))
        return Format::ply_le;
    if (begins_nocase(ext, ".ray"))
        return Format::ray;
    if (begins_nocase(ext, ".obj"))
        return Format::obj;
    if (begins_nocase(ext, ".off"))
        return Format::off;
    if (begins_nocase(ext, ".sm"))
        return Format::count_first;
    if (begins_nocase(ext, ".stl"))
        return Format::stl;
    if (begins_nocase(ext, ".c"))
        return Format::cpp;
    return Format::ply_le;
}

// Strips the leading "prefix:" words off `name`, applying each in turn.
void apply_prefixes(std::string &name, WriteOptions &opt)
{
    struct Prefix {
        const char *text;
        void (*apply)(WriteOptions &);
    };
    static const Prefix prefixes[] = {
        {"norm:", [](WriteOptions &o) { o.emit_normals = true; }},
        {"nogrid:", [](WriteOptions &o) { o.emit_grid = false; }},
        {"cflt:", [](WriteOptions &o) { o.colors_as_float = true; }},
        {"ply:", [](WriteOptions &o) { o.format = Format::ply_le; }},
        {"ply_binary:", [](WriteOptions &o) { o.format = Format::ply_le; }},
        {"ply_binary_le:", [](WriteOptions &o) { o.format = Format::ply_le; }},
        {"le:", [](WriteOptions &o) { o.format = Format::ply_le; }},
        {"ply_binary_be:", [](WriteOptions &o) { o.format = Format::ply_be; }},
        {"be:", [](WriteOptions &o) { o.format = Format::ply_be; }},
        {"ply_ascii:", [](WriteOptions &o) { o.format = Format::ply_ascii; }},
        {"ply_asc:", [](WriteOptions &o) { o.format = Format::ply_ascii; }},
        {"ascii:", [](WriteOptions &o) { o.format = Format::ply_ascii; }},
        {"asc:", [](WriteOptions &o) { o.format = Format::ply_ascii; }},
        {"ray:", [](WriteOptions &o) { o.format = Format::ray; }},
        {"obj:", [](WriteOptions &o) { o.format = Format::obj; }},
        {"off:", [](WriteOptions &o) { o.format = Format::off; }},
        {"sm:", [](WriteOptions &o) { o.format = Format::count_first; }},
        {"stl:", [](WriteOptions &o) { o.format = Format::stl; }},
        {"stl_ascii:", [](WriteOptions &o) { o.format = Format::stl_ascii; }},
    };
    for (bool found = true; found;) {
        found = false;
        for (const Prefix &p : prefixes)
            if (begins_nocase(name, p.text)) {
                p.apply(opt);
                name.erase(0, std::strlen(p.text));
                found = true;
            }
    }
}

// The function name of C++ source: the file's base name without its
// extension, with anything that cannot stand in an identifier made '_'.
std::string source_function_name(const std::string &name)
{
    std::string base = name.substr(name.find_last_of('/') + 1);
    base = base.substr(0, base.rfind('.'));
    for (char &c : base)
        if (!std::isalnum((unsigned char)c) && c != '_')
            c = '_';
    return base;
}

bool write_format(OutputStream &out, TriMesh &mesh, const WriteOptions &opt, const std::string &name)
{
    switch (opt.format) {
    case Format::ply_ascii:
        return emit_ply(out, mesh, PlyEncoding::ascii, opt.emit_normals, opt.emit_grid, opt.colors_as_float);
    case Format::ply_be:
        return emit_ply(out, mesh, PlyEncoding::binary_be, opt.emit_normals, opt.emit_grid, opt.colors_as_float);
    case Format::ply_le:
        return emit_ply(out, mesh, PlyEncoding::binary_le, opt.emit_normals, opt.emit_grid, opt.colors_as_float);
    case Format::ray: return write_ray(out, mesh);
    case Format::obj: return write_obj(out, mesh);
    case Format::off: return write_off(out, mesh);
    case Format::count_first: return write_count_first(out, mesh);
    case Format::stl: return write_stl(out, mesh, false);
    case Format::stl_ascii: return write_stl(out, mesh, true);
    case Format::cpp:
        return write_cpp_source(out, mesh, source_function_name(name), opt.emit_normals,
                                opt.colors_as_float);
    }
    return false;
}

// The file a name stands for: a symbolic link is followed to its target, so
// that writing through a link updates the target.
std::string destination_of(const std::string &name)
{
    struct stat st;
    if (::lstat(name.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        if (char *real = ::realpath(name.c_str(), nullptr)) {
            std::string target = real;
            std::free(real);
            return target;
        }
    return name;
}

// A new file in the folder of `path` that takes its place once complete. It
// gets the permissions of the file it replaces, or those of a new file.
int create_temporary(const std::string &path, std::string &temp)
{
    const size_t slash = path.rfind('/');
    temp = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".polmera-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return fd;
    struct stat st;
    mode_t mode;
    if (::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    return fd;
}

} // namespace

bool write_mesh(const char *filename, TriMesh &mesh)
{
    if (!filename || !*filename) {
        error_printf("Can't write to empty filename.\n");
        return false;
    }
    if (mesh.vertices.empty()) {
        error_printf("Empty mesh - nothing to write.\n");
        return false;
    }
    WriteOptions opt;
    opt.format = format_from_extension(filename);
    opt.emit_grid = !mesh.range_grid.empty();
    std::string name = filename;
    apply_prefixes(name, opt);

    const bool standard = name == "-";
    const char *shown = standard ? "standard output" : name.c_str();
    const std::string path = standard ? name : destination_of(name);
    std::string temp;
    const int fd = standard ? 1 : create_temporary(path, temp);
    if (fd < 0) {
        error_printf("Error opening [%s] for writing: %s.\n", name.c_str(), std::strerror(errno));
        return false;
    }
    progress_printf("Writing %s... ", shown);
    bool ok;
    {
        OutputStream out(fd);
        ok = write_format(out, mesh, opt, name);
    }
    if (!standard) {
        ok = ::close(fd) == 0 && ok;
        ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
        if (!ok)
            ::unlink(temp.c_str());
    }
    if (!ok) {
        error_printf("Error writing file [%s].\n", shown);
        return false;
    }
    progress_printf("Done.\n");
    return true;
}
