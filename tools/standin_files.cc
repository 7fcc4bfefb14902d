#include "standin_files.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

bool read_lines(const std::string &path, std::vector<std::string> &lines)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "Cannot read %s\n", path.c_str());
        return false;
    }
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return true;
}

// Counts of the elements that OBJ indices refer to: v, vt, vn.
struct Counts {
    long v = 0, vt = 0, vn = 0;
};

Counts count_elements(const std::vector<std::string> &lines)
{
    Counts c;
    for (const std::string &line : lines) {
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        c.v += keyword == "v";
        c.vt += keyword == "vt";
        c.vn += keyword == "vn";
    }
    return c;
}

// One index of a face corner, moved by `offset` when it is positive; text that
// is no number stays as it is.
std::string shift_index(const std::string &text, long offset)
{
    char *end = nullptr;
    const long index = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || index <= 0)
        return text;
    return std::to_string(index + offset);
}

// A corner "v", "v/vt", "v//vn" or "v/vt/vn" with its indices moved.
std::string shift_corner(const std::string &corner, const Counts &offset)
{
    const long offsets[3] = {offset.v, offset.vt, offset.vn};
    std::string out, part;
    int slot = 0;
    std::istringstream parts(corner);
    while (std::getline(parts, part, '/')) {
        if (slot)
            out += '/';
        out += shift_index(part, slot < 3 ? offsets[slot] : 0);
        ++slot;
    }
    if (!corner.empty() && corner.back() == '/')
        out += '/';
    return out;
}

std::string shift_line(const std::string &line, const Counts &offset)
{
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    if (keyword != "f" && keyword != "l" && keyword != "p")
        return line;
    std::string out = keyword;
    for (std::string corner; words >> corner;)
        out += ' ' + shift_corner(corner, offset);
    return out;
}

bool write_lines(const std::string &path, const std::vector<std::string> &lines)
{
    std::ofstream out(path, std::ios::binary);
    for (const std::string &line : lines)
        out << line << '\n';
    if (!out) {
        std::fprintf(stderr, "Cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool copy_file(const std::string &from, const std::string &to)
{
    std::ifstream in(from, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "Cannot read %s\n", from.c_str());
        return false;
    }
    std::ofstream out(to, std::ios::binary);
    out << in.rdbuf();
    if (!out) {
        std::fprintf(stderr, "Cannot write %s\n", to.c_str());
        return false;
    }
    return true;
}

bool join_obj_files(const std::string &first, const std::string &second, const std::string &out)
{
    std::vector<std::string> a, b;
    if (!read_lines(first, a) || !read_lines(second, b))
        return false;
    const Counts offset = count_elements(a);
    a.reserve(a.size() + b.size());
    for (const std::string &line : b)
        a.push_back(shift_line(line, offset));
    return write_lines(out, a);
}
