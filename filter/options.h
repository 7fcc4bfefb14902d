#pragma once
// Stripline's options. Each family of operations describes its options in a
// table of its own; the driver matches every argument exactly against the
// names of all tables and applies the first match.

#include <span>
#include <string_view>
#include <vector>

#include "TriMesh.h"

// What an option works on while the command line is walked.
struct FilterRun {
    TriMesh &mesh;
    bool keep_strips = false;      // write the output as triangle strips
    const char *option = nullptr;  // the option being applied, for messages
};

// The arguments that follow an option, up to the end of the command line.
using OptionArgs = std::span<char *const>;

// Result of an option that could not take its values: the driver reports the
// option as incomplete and stops.
constexpr int incomplete_option = -1;
// Result of an option that refused one of its values after saying why: the
// driver stops without writing.
constexpr int refused_value = -2;

struct Option {
    std::vector<std::string_view> names;  // every spelling, matched exactly
    int values;                           // arguments it needs at least
    std::string_view value_help;          // its values as shown by the usage text
    std::string_view help;                // one line for the usage text
    // Applies the option; `args` starts at the first argument after the option
    // and holds at least `values` entries. Returns how many arguments it
    // consumed, or incomplete_option.
    int (*apply)(FilterRun &run, OptionArgs args);
};

// The families of options, in the order the usage text lists them.
std::span<const Option> attribute_options();   // colours, confidences, strips, grid
std::span<const Option> topology_options();    // strips, vertex order, removal, winding, flips
std::span<const Option> surface_options();     // subdivision, smoothing, sharpening, noise
std::span<const Option> transform_options();   // moving, scaling and placing the mesh

// An option without values that applies one operation to the mesh.
template <void (*operation)(TriMesh &)>
int apply_to_mesh(FilterRun &run, OptionArgs)
{
    operation(run.mesh);
    return 0;
}

// Reads the first values.size() arguments as real numbers the way atof does
// (text that is no number gives 0), held as floats. A value that is not a
// finite float ("nan", "inf", "1e999") is refused: prints a line naming the
// option and the value and returns false.
bool real_values(const FilterRun &run, OptionArgs args, std::span<float> values);

// True, after printing the same refusal, when `value` (read from `text`) is
// not a finite number.
bool refuse_non_finite(const FilterRun &run, const char *text, float value);

// True when `text` is a whole number as strtod reads it (false for null or "").
bool is_number(const char *text);
