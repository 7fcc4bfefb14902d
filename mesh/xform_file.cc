#include "xform_file.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

bool read_xform_file(const std::string &name, Matrix4 &xf)
{
    std::ifstream in(name);
    if (!in)
        return false;
    Matrix4 read;
    for (int r = 0; r < 4; r++) {
        for (int c = 0; c < 4; c++) {
            // End of file right after the last number is fine; anything that
            // stops a number from being read is not.
            if (!(in >> read(r, c)))
                return false;
        }
    }
    xf = read;
    return true;
}

bool write_xform_file(const std::string &name, const Matrix4 &xf)
{
    const std::string temp = name + ".tmp" + std::to_string(getpid());
    bool ok;
    {
        std::ofstream out(temp);
        for (int r = 0; r < 4; r++)
            out << xf(r, 0) << " " << xf(r, 1) << " " << xf(r, 2) << " " << xf(r, 3) << std::endl;
        out.close();
        ok = !out.fail();
    }
    if (ok && std::rename(temp.c_str(), name.c_str()) == 0)
        return true;
    std::remove(temp.c_str());
    return false;
}

std::string transform_file_name(const std::string &mesh_file_name)
{
    const size_t dot = mesh_file_name.find_last_of('.');
    const size_t slash = mesh_file_name.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return mesh_file_name + ".xf";
    return mesh_file_name.substr(0, dot) + ".xf";
}
