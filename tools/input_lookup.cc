#include "input_lookup.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

#include "console.h"

namespace fs = std::filesystem;

namespace {

bool is_mesh_extension(std::string ext)
{
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const char *known : {".ply", ".obj", ".off", ".stl", ".sm", ".ray", ".3ds", ".vvd"})
        if (ext == known)
            return true;
    return false;
}

} // namespace

std::string lookup_input(const char *program, const std::string &path)
{
    std::error_code ec;
    if (fs::exists(path, ec))
        return path;
    const fs::path wanted(path);
    const fs::path folder = wanted.has_parent_path() ? wanted.parent_path() : fs::path(".");
    std::vector<std::string> found;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path &p = it->path();
        if (p.stem() == wanted.stem() && p.extension() != wanted.extension() &&
            is_mesh_extension(p.extension().string()) && it->is_regular_file(ec))
            found.push_back((wanted.has_parent_path() ? p : p.filename()).string());
    }
    if (found.size() == 1) {
        progress_printf("%s: [%s] does not exist; reading [%s], the one mesh file of that name.\n", program,
                        path.c_str(), found[0].c_str());
        return found[0];
    }
    if (found.empty()) {
        error_printf("%s: cannot find the mesh [%s], nor a mesh file of that name with another extension; "
                     "nothing written.\n", program, path.c_str());
    } else {
        std::sort(found.begin(), found.end());
        std::string names;
        for (const std::string &name : found)
            names += (names.empty() ? "" : ", ") + name;
        error_printf("%s: [%s] does not exist, and several mesh files of that name could stand for it (%s); "
                     "nothing written.\n", program, path.c_str(), names.c_str());
    }
    return "";
}
