#include "driver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "mesh_io.h"
#include "options.h"

namespace {

// Every option family, in the order the usage text lists them.
using OptionFamily = std::span<const Option> (*)();
const OptionFamily families[] = {attribute_options, topology_options, surface_options, transform_options};

const Option *find_option(const char *arg)
{
    for (auto family : families)
        for (const Option &opt : family())
            for (std::string_view name : opt.names)
                if (name == arg)
                    return &opt;
    return nullptr;
}

void print_usage(FILE *out)
{
    std::fprintf(out, "Usage: Stripline infile [options] [outfile]\n\n"
                      "Reads infile, applies the options in the order given and writes outfile\n"
                      "(format from its extension: .ply .obj .off .stl .ray .sm .cc; \"-\" for\n"
                      "standard output). Widths are multiples of the median edge length.\n\nOptions:\n");
    for (auto family : families)
        for (const Option &opt : family()) {
            std::string left;
            for (std::string_view name : opt.names) {
                if (!left.empty())
                    left.append(", ");
                left.append(name == " " ? "\" \"" : name);
            }
            if (!opt.value_help.empty())
                left.append(" ").append(opt.value_help);
            // A long left column puts the description on a line of its own.
            const char *gap = left.size() > 28 ? "\n                               " : " ";
            std::fprintf(out, "  %-28s%s%.*s\n", left.c_str(), gap, int(opt.help.size()), opt.help.data());
        }
}

bool is_output_name(const char *arg) { return arg[0] != '-' || std::strcmp(arg, "-") == 0; }

// True when every position and normal is a finite number.
bool all_finite(const TriMesh &mesh)
{
    const auto finite = [](const Point3 &p) {
        return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
    };
    return std::all_of(mesh.vertices.begin(), mesh.vertices.end(), finite) &&
           std::all_of(mesh.normals.begin(), mesh.normals.end(), finite);
}

} // namespace

int run_stripline(int argc, char **argv, const char *&written)
{
    if (argc < 2) {
        print_usage(stderr);
        return 1;
    }
    if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        print_usage(stdout);
        return 0;
    }
    const auto mesh = read_mesh(argv[1]);
    if (!mesh) {
        error_printf("Stripline: cannot read the input mesh [%s]; nothing written.\n", argv[1]);
        return 1;
    }
    FilterRun run{*mesh, !mesh->tristrips.empty()};
    // A result that has gone endless or undefined (an overflowing scale, say)
    // is not written over anything; an input that had such values passes.
    const bool finite_input = all_finite(*mesh);
    const char *output = nullptr;
    for (int i = 2; i < argc; i++) {
        const char *arg = argv[i];
        if (const Option *opt = find_option(arg)) {
            const OptionArgs rest(argv + i + 1, size_t(argc - i - 1));
            run.option = arg;
            const int used = int(rest.size()) < opt->values ? incomplete_option : opt->apply(run, rest);
            if (used == incomplete_option) {
                error_printf("Option %s needs %s%.*s, but the command line ends; nothing written.\n",
                             arg, opt->values > 1 ? "the values " : "the value ",
                             int(opt->value_help.size()), opt->value_help.data());
                return 1;
            }
            if (used == refused_value)
                return 1;
            i += used;
        } else if (i == argc - 1 && is_output_name(arg)) {
            output = arg;
        } else {
            error_printf("\nWTF was that option was that option supposed to be? eh? [%s]\n\n", arg);
        }
    }
    if (!output)
        return 0;
    if (finite_input && !all_finite(*mesh)) {
        error_printf("Stripline: the result has coordinates or normals that are not finite "
                     "numbers; nothing written.\n");
        return 1;
    }
    if (run.keep_strips && mesh->tristrips.empty())
        mesh->ensure_tristrips();
    if (!write_mesh(output, *mesh))
        return 1;
    if (std::strcmp(output, "-") != 0)
        written = output;
    return 0;
}
