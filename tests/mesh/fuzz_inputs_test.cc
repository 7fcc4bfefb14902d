// Every committed fuzz input, the seeds and the inputs of past findings, goes
// through the fuzz targets' checks without a failure (and, in the sanitizer
// flavour, without a sanitizer report); every prefix of every binary seed is
// read safely.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz_entries.h"
#include "test_support.h"

namespace {

std::string file_bytes(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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
            const std::string bytes = file_bytes(entry.path());
            EXPECT_EQ(GetParam().check(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size()), "")
                << entry.path();
            files++;
        }
    }
    EXPECT_GT(files, 0u);
}

// The seeds are the corpus files with names of their own (the campaigns'
// inputs are named by their hashes); a binary one holds a zero byte.
TEST(FuzzSeeds, every_truncated_prefix_of_a_binary_seed_reads_safely)
{
    size_t seeds = 0;
    for (const auto &entry : std::filesystem::directory_iterator(std::filesystem::path(POLMERA_FUZZ_DIR) / "corpus/mesh")) {
        const std::string bytes = file_bytes(entry.path());
        if (entry.path().filename().string().size() == 40 || bytes.find('\0') == std::string::npos)
            continue;
        seeds++;
        for (size_t n = 0; n < bytes.size(); n++)
            stderr_of([&] {
                EXPECT_EQ(check_read_mesh(reinterpret_cast<const uint8_t *>(bytes.data()), n), "")
                    << entry.path() << " cut at " << n;
            });
    }
    EXPECT_GE(seeds, 12u);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzInputs, testing::ValuesIn(replays),
                         [](const testing::TestParamInfo<Replay> &info) { return info.param.name; });

} // namespace
