#include "driver.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "curvature_colourings.h"
#include "free_space_colourings.h"
#include "mesh_io.h"
#include "plain_colourings.h"
#include "ring_distance_colourings.h"

namespace {

// A real argument as atof reads it (text that is no number gives 0); refused
// with a message naming it when it is not finite ("inf", "nan", "1e999").
bool real_argument(const char *operation, const char *name, const char *text, double &value)
{
    value = std::atof(text);
    if (std::isfinite(value))
        return true;
    error_printf("%s: %s [%s] is not a finite number.\n", operation, name, text);
    return false;
}

// The colour of "col": hexadecimal digits, with or without "0x", that fit in
// 32 bits; refused with a message otherwise.
bool hex_argument(const char *text, uint32_t &value)
{
    const char *digits = text[0] == '0' && (text[1] == 'x' || text[1] == 'X') ? text + 2 : text;
    bool ok = *digits != '\0' && std::strspn(digits, "0123456789abcdefABCDEF") == std::strlen(digits);
    if (ok) {
        errno = 0;
        const unsigned long long v = std::strtoull(digits, nullptr, 16);
        ok = errno == 0 && v <= 0xFFFFFFFFull;
        value = uint32_t(v);
    }
    if (!ok)
        error_printf("col: colour [%s] is not hexadecimal RRGGBB (such as ff8000).\n", text);
    return ok;
}

bool colour_remap(TriMesh &mesh, char *const *args)
{
    double scale, offset, gamma;
    return real_argument("colRemap", "scale", args[0], scale) &&
           real_argument("colRemap", "offset", args[1], offset) &&
           real_argument("colRemap", "gamma", args[2], gamma) &&
           remap_colours(mesh, float(scale), float(offset), float(gamma));
}

bool uniform_colour(TriMesh &mesh, char *const *args)
{
    uint32_t rrggbb;
    if (!hex_argument(args[0], rrggbb))
        return false;
    bake_uniform_colour(mesh, rrggbb);
    return true;
}

bool normal_colours(TriMesh &mesh, char *const *)
{
    bake_normal_colours(mesh);
    return true;
}

bool shape(TriMesh &mesh, char *const *args)
{
    double scale, smoothing;
    return real_argument("shape", "scale", args[0], scale) &&
           real_argument("shape", "smoothing", args[1], smoothing) && bake_shape(mesh, scale, smoothing);
}

bool mean_curvature(TriMesh &mesh, char *const *args)
{
    double scale, smoothing;
    return real_argument("ao", "scale", args[0], scale) && real_argument("ao", "smoothing", args[1], smoothing) &&
           bake_mean_curvature_shading(mesh, scale, smoothing);
}

bool accessibility(TriMesh &mesh, char *const *args)
{
    double maxsize, offset;
    if (!real_argument("acc", "maxsize", args[0], maxsize) || !real_argument("acc", "offset", args[1], offset))
        return false;
    bake_accessibility(mesh, maxsize, offset);
    return true;
}

bool boundary_distance(TriMesh &mesh, char *const *args)
{
    return bake_boundary_distance(mesh, std::atoi(args[0]));
}

bool reference_distance(TriMesh &mesh, char *const *args)
{
    double dmax;
    if (!real_argument("ao2", "maximum distance", args[1], dmax))
        return false;
    const auto reference = read_mesh(args[0]);
    if (!reference) {
        error_printf("Couldn't read this shit %s\n", args[0]);
        return false;
    }
    return bake_reference_distance(mesh, *reference, float(dmax));
}

bool vertex_distance(TriMesh &mesh, char *const *args)
{
    return bake_vertex_distance(mesh, std::atoi(args[0]), std::atoi(args[1]));
}

bool depth(TriMesh &mesh, char *const *args)
{
    double x, y, z, fraction;
    return real_argument("depth", "direction x", args[0], x) && real_argument("depth", "direction y", args[1], y) &&
           real_argument("depth", "direction z", args[2], z) &&
           real_argument("depth", "fraction", args[3], fraction) &&
           bake_depth(mesh, Point3(float(x), float(y), float(z)), float(fraction));
}

const SubCommand table[] = {
    {"colRemap", 5, 7, "scale offset gamma", "existing colours c become (offset + scale c)^(1/gamma)", colour_remap},
    {"col", 3, 5, "RRGGBB", "one colour, hexadecimal, for every vertex", uniform_colour},
    {"norm", 4, 4, "", "normal directions as colours", normal_colours},
    {"shape", 4, 6, "scale smoothing", "hue and saturation from the kind of curvature", shape},
    {"ao", 5, 6, "scale smoothing", "grey from the mean curvature", mean_curvature},
    {"acc", 3, 6, "maxsize offset", "grey from the largest free ball above each vertex", accessibility},
    {"bdy", 3, 5, "rings", "red at the boundary, fading to white over the rings", boundary_distance},
    {"ao2", 4, 6, "reference maxdist", "hue from the distance to a reference mesh", reference_distance},
    {"findv", 5, 6, "vertex rings", "red at one vertex, fading to white over the rings", vertex_distance},
    {"depth", 5, 8, "x y z fraction", "grey from the position along a direction", depth},
};

// The first vertex whose colour is not a finite number, or -1.
long first_unfinished_colour(const TriMesh &mesh)
{
    for (size_t i = 0; i < mesh.colors.size(); i++) {
        const Color &c = mesh.colors[i];
        if (!std::isfinite(c.r) || !std::isfinite(c.g) || !std::isfinite(c.b))
            return long(i);
    }
    return -1;
}

} // namespace

std::span<const SubCommand> subcommands() { return table; }

const SubCommand *find_subcommand(const char *word)
{
    for (const SubCommand &sub : table)
        if (strncasecmp(word, sub.key, sub.letters) == 0)
            return &sub;
    return nullptr;
}

void print_usage(FILE *out)
{
    std::fputs("Usage: bake input sub-command [arguments] output\n\n"
               "Replaces the vertex colours of input by one colouring and writes output\n"
               "(format from its extension; \"-\" for standard output). Sub-command words\n"
               "are matched without regard to case; scale, smoothing, maxsize and offset\n"
               "are multiples of the mesh's feature size.\n\n"
               "Sub-commands:\n", out);
    for (const SubCommand &sub : table) {
        char left[64];
        std::snprintf(left, sizeof left, "%s %s", sub.key, sub.arguments);
        std::fprintf(out, "  %-28s  %s\n", left, sub.help);
    }
    std::fflush(out);
}

void print_banner()
{
    std::fputs("\n\n\n\n", stderr);
    std::fputs("===============================================\n", stderr);
    std::fputs("Vertex Color Baker : Arkwell\n", stderr);
    std::fputs("===============================================\n\n\n", stderr);
    print_usage(stderr);
}

int run_bake(int argc, char **argv, const char *&written)
{
    if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        print_usage(stdout);
        return 0;
    }
    if (argc < 4) {
        print_banner();
        return 1;
    }
    const auto mesh = read_mesh(argv[1]);
    if (!mesh) {
        error_printf("bake: cannot read the input mesh [%s]; nothing written.\n", argv[1]);
        print_banner();
        return 1;
    }
    // Colours read from the file stay; vertices without one start black.
    mesh->colors.resize(mesh->vertices.size());

    const SubCommand *sub = find_subcommand(argv[2]);
    if (!sub) {
        error_printf("\nWTF DUDE??? [%s]\n\n", argv[2]);
        print_banner();
        return 1;
    }
    if (argc < sub->min_argc) {
        error_printf("bake: %s needs %s%san output name; nothing written.\n", sub->key, sub->arguments,
                     *sub->arguments ? " and " : "");
        print_banner();
        return 1;
    }
    if (!sub->colour(*mesh, argv + 3)) {
        print_banner();
        return 1;
    }
    if (const long bad = first_unfinished_colour(*mesh); bad >= 0) {
        const Color &c = mesh->colors[size_t(bad)];
        error_printf("bake: %s gave vertex %ld the colour (%g, %g, %g), which is not a finite number; "
                     "nothing written.\n", sub->key, bad, double(c.r), double(c.g), double(c.b));
        return 1;
    }
    const char *output = argv[sub->min_argc - 1];
    if (!write_mesh(output, *mesh))
        return 1;
    if (std::strcmp(output, "-") != 0)
        written = output;
    return 0;
}
