// Every committed fuzz input, the seeds and the inputs of past findings, goes
// through the fuzz targets' checks without a failure (and, in the sanitizer
// flavour, without a sanitizer report).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz_entries.h"

namespace {

struct Replay {
    const char *name;
    std::vector<std::string> folders;  // under the fuzz folder
    std::string (*check)(const uint8_t *, size_t);
};

// The round trip begins with the mesh read, so it replays that target's inputs too.
const Replay replays[] = {
    {"mesh_files", {"corpus/mesh", "regressions/read_mesh", "regressions/round_trip"}, check_round_trip},
    {"xform_files", {"corpus/xform_file", "regressions/xform_file"}, check_xform_file},
};

class FuzzInputs : public testing::TestWithParam<Replay> {};

TEST_P(FuzzInputs, PassTheirChecks)
{
    size_t files = 0;
    for (const std::string &folder : GetParam().folders) {
        const std::filesystem::path dir = std::filesystem::path(POLMERA_FUZZ_DIR) / folder;
        if (!std::filesystem::exists(dir))
            continue;
        for (const auto &entry : std::filesystem::directory_iterator(dir)) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            EXPECT_EQ(GetParam().check(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size()), "")
                << entry.path();
            files++;
        }
    }
    EXPECT_GT(files, 0u);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzInputs, testing::ValuesIn(replays),
                         [](const testing::TestParamInfo<Replay> &info) { return info.param.name; });

} // namespace
