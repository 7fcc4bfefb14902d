// Parsing of PLY headers: the format line, the elements and their properties,
// and which vertex properties carry positions, normals, colours and confidences.

#include "ply_header.h"

#include <cctype>
#include <cstdio>
#include <optional>
#include <string>

namespace {

constexpr size_t line_size = 1024;

// Case-insensitive test that `line` begins with `word`.
bool begins(const char *line, const char *word)
{
    for (; *word; line++, word++)
        if (std::tolower((unsigned char)*line) != std::tolower((unsigned char)*word))
            return false;
    return true;
}

// Case-insensitive test that `line` begins with "property TYPE NAME" for one of the types.
bool declares(const char *line, std::initializer_list<const char *> types, const char *name)
{
    for (const char *type : types)
        if (begins(line, ("property " + std::string(type) + " " + name).c_str()))
            return true;
    return false;
}

struct TypeName {
    const char *name;
    PlyType type;
};

// Eight-byte spellings come before the four-byte ones so that a prefix test
// does not take float64 for float.
constexpr TypeName type_names[] = {
    {"char", PlyType::int8},      {"uchar", PlyType::uint8},    {"int8", PlyType::int8},
    {"uint8", PlyType::uint8},    {"short", PlyType::int16},    {"ushort", PlyType::uint16},
    {"int16", PlyType::int16},    {"uint16", PlyType::uint16},  {"float64", PlyType::float64},
    {"double", PlyType::float64}, {"int", PlyType::int32},      {"uint", PlyType::uint32},
    {"float", PlyType::float32},  {"int32", PlyType::int32},    {"uint32", PlyType::uint32},
    {"float32", PlyType::float32},
};

// The type of a scalar property line, by a prefix test of the word after "property ".
std::optional<PlyType> scalar_type(const char *line)
{
    if (!begins(line, "property "))
        return std::nullopt;
    for (const TypeName &t : type_names)
        if (begins(line + 9, t.name))
            return t.type;
    return std::nullopt;
}

// Case-insensitive equality of two words.
bool same_word(const std::string &a, const char *b)
{
    return a.size() == std::string_view(b).size() && begins(a.c_str(), b);
}

// The type named by a whole word.
std::optional<PlyType> type_named(const std::string &word)
{
    for (const TypeName &t : type_names)
        if (same_word(word, t.name))
            return t.type;
    return std::nullopt;
}

bool is_integer(PlyType t) { return t != PlyType::float32 && t != PlyType::float64; }

// "property list COUNTTYPE ITEMTYPE NAME"; sets `is_index_list` for the
// integer lists named vertex_indices or vertex_index.
std::optional<PlyProperty> list_property(const char *line, bool &is_index_list)
{
    char count[64], item[64], name[256];
    if (std::sscanf(line, "%*s %*s %63s %63s %255s", count, item, name) != 3)
        return std::nullopt;
    const auto count_type = type_named(count), item_type = type_named(item);
    if (!count_type || !item_type || !is_integer(*count_type))
        return std::nullopt;
    PlyProperty p;
    p.is_list = true;
    p.count_type = *count_type;
    p.type = *item_type;
    // A one-byte count is unsigned whatever its spelling.
    if (p.count_type == PlyType::int8)
        p.count_type = PlyType::uint8;
    is_index_list = is_integer(*item_type) && (same_word(name, "vertex_indices") || same_word(name, "vertex_index"));
    return p;
}

class HeaderParser {
public:
    HeaderParser(InputStream &in_, TriMesh &mesh_) : in(in_), mesh(mesh_) {}

    bool parse(PlyHeader &h)
    {
        // The rest of the magic line, blank lines and comments before the format.
        do {
            if (!in.read_line(line, line_size))
                return false;
        } while (std::isspace((unsigned char)line[0]) || begins(line, "comment"));

        if (begins(line, "format binary_big_endian 1.0")) {
            h.swap = true;
        } else if (begins(line, "format binary_little_endian 1.0")) {
        } else if (begins(line, "format ascii 1.0")) {
            h.ascii = true;
        } else {
            error_printf("Unknown ply format or version.\n");
            return false;
        }
        if (!next())
            return false;
        while (!begins(line, "element vertex") && !begins(line, "end_header")) {
            if (!read_element(h.before, false))
                return false;
        }
        if (!begins(line, "element vertex") ||
            std::sscanf(line, "element vertex %d", &h.vertex_count) != 1) {
            error_printf("Expected \"element vertex\".\n");
            return false;
        }
        if (!read_vertex_properties(h.vertex))
            return false;
        while (!begins(line, "end_header")) {
            if (begins(line, "element face"))
                return read_face_element(h) && finish(h);
            if (begins(line, "element tristrips"))
                return read_strip_element(h) && finish(h);
            if (begins(line, "element range_grid"))
                return read_grid_element(h) && finish(h);
            if (begins(line, "element")) {
                if (!read_element(h.between, true))
                    return false;
            } else if (!next()) {
                return false;
            }
        }
        return finish(h);
    }

private:
    // The next header line, passing over comments and obj_info lines; the grid
    // size is taken from obj_info lines before the first element.
    bool next()
    {
        for (;;) {
            if (!in.read_line(line, line_size))
                return false;
            if (begins(line, "obj_info")) {
                if (!seen_element) {
                    std::sscanf(line, "obj_info num_cols %d", &mesh.grid_cols);
                    std::sscanf(line, "obj_info num_rows %d", &mesh.grid_rows);
                }
            } else if (!begins(line, "comment")) {
                seen_element = seen_element || begins(line, "element");
                return true;
            }
        }
    }

    // Everything after the surface element is ignored up to "end_header".
    bool finish(const PlyHeader &h)
    {
        while (!begins(line, "end_header"))
            if (!next())
                return false;
        if (!h.ascii && line[10] == '\r')
            error_printf("Warning: possibly corrupt file. (Transferred as ASCII instead of BINARY?)\n");
        return true;
    }

    bool unsupported()
    {
        error_printf("Unsupported vertex property: [%s].\n", line);
        return false;
    }

    // A property line: a scalar, or (when allowed) a list. `is_index_list`
    // tells whether a list holds vertex indices.
    bool property(PlyProperty &p, bool lists_allowed, bool &is_index_list)
    {
        is_index_list = false;
        if (begins(line, "property list")) {
            const auto list = lists_allowed ? list_property(line, is_index_list) : std::nullopt;
            if (!list)
                return unsupported();
            p = *list;
            return true;
        }
        const auto t = scalar_type(line);
        if (!t)
            return unsupported();
        p = PlyProperty{};
        p.type = *t;
        return true;
    }

    // Calls on(property, is_index_list) for each property line that follows;
    // false on an unsupported one or when the header ends.
    template <typename OnProperty>
    bool properties(bool lists_allowed, OnProperty on)
    {
        for (;;) {
            if (!next())
                return false;
            if (!begins(line, "property"))
                return true;
            PlyProperty p;
            bool index_list;
            if (!property(p, lists_allowed, index_list))
                return false;
            on(p, index_list);
        }
    }

    // "element NAME N" and its properties, to be skipped.
    bool read_element(std::vector<SkippedElement> &elements, bool lists_allowed)
    {
        SkippedElement e;
        char name[line_size];
        long long count = 0;
        if (std::sscanf(line, "element %1023s %lld", name, &count) == 2 && count > 0)
            e.count = count;
        if (!properties(lists_allowed, [&](const PlyProperty &p, bool) { e.properties.push_back(p); }))
            return false;
        elements.push_back(e);
        return true;
    }

    // Which attribute, if any, the current property line begins.
    void note_vertex_attribute(VertexLayout &v, int index) const
    {
        static const std::initializer_list<const char *> reals = {"float", "float32", "double", "float64"};
        if (declares(line, reals, "x")) {
            v.position = index;
        } else if (declares(line, reals, "nx")) {
            v.normal = index;
        } else if (declares(line, reals, "confidence")) {
            v.confidence = index;
        } else {
            const struct {
                std::initializer_list<const char *> types;
                float scale;
            } colors[] = {{{"uchar", "uint8"}, 1.0f / 255.0f}, {{"ushort", "uint16"}, 1.0f / 65535.0f},
                          {reals, 1.0f}};
            for (const auto &c : colors)
                if (declares(line, c.types, "diffuse_red") || declares(line, c.types, "red")) {
                    v.color = index;
                    v.color_scale = c.scale;
                }
        }
    }

    bool read_vertex_properties(VertexLayout &v)
    {
        return properties(false, [&](const PlyProperty &p, bool) {
            note_vertex_attribute(v, int(v.properties.size()));
            v.properties.push_back(p);
        });
    }

    bool read_face_element(PlyHeader &h)
    {
        h.surface = PlySurface::faces;
        if (std::sscanf(line, "element face %d", &h.surface_count) != 1)
            h.surface_count = 0;
        return properties(true, [&](const PlyProperty &p, bool index_list) {
            if (index_list && h.face.indices < 0)
                h.face.indices = int(h.face.properties.size());
            h.face.properties.push_back(p);
        });
    }

    bool read_strip_element(PlyHeader &h)
    {
        h.surface = PlySurface::strips;
        return next() &&
               (begins(line, "property list int int vertex_indices") ||
                begins(line, "property list int32 int32 vertex_indices")) &&
               next();
    }

    bool read_grid_element(PlyHeader &h)
    {
        h.surface = PlySurface::grid;
        if (std::sscanf(line, "element range_grid %d", &h.surface_count) != 1)
            h.surface_count = -1;
        // A grid needs its size from both obj_info lines, and the cell count must match.
        if (mesh.grid_cols <= 0 || mesh.grid_rows <= 0 ||
            int64_t(h.surface_count) != int64_t(mesh.grid_cols) * mesh.grid_rows) {
            error_printf("Range grid size does not equal num_rows*num_cols.\n");
            return false;
        }
        if (!next())
            return false;
        for (const char *s : {"property list uchar int vertex_indices", "property list uint8 int32 vertex_indices",
                              "property list char int vertex_indices", "property list int8 int32 vertex_indices"})
            if (begins(line, s))
                return next();
        return false;
    }

    InputStream &in;
    TriMesh &mesh;
    char line[line_size] = {};
    bool seen_element = false;
};

} // namespace

bool parse_ply_header(InputStream &in, TriMesh &mesh, PlyHeader &header)
{
    return HeaderParser(in, mesh).parse(header);
}
