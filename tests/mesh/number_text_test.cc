// Numbers in text files: parsing must give what scanf gives, and writing what
// printf gives, for every well-formed number.

#include <gtest/gtest.h>

#include <fcntl.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "InputStream.h"
#include "OutputStream.h"
#include "test_support.h"

namespace {

const std::vector<std::string> float_texts = {
    "0", "-0", "+0", "1", "-1", "+2.5", "3.14159265358979", ".5", "5.", "-.25", "1e10", "1E-10",
    "-2.5e+3", "6.02214076e23", "1e39", "-1e39", "3.4028235e38", "3.4028236e38", "3.4028237e38",
    "1.17549435e-38", "1e-40", "-1e-40", "1.4e-45", "7e-46", "7.1e-46", "3e-46", "1e-50", "-1e-50",
    "inf", "-inf", "+INF", "Infinity", "-infinity", "nan", "-nan", "NAN", "0x1p3", "0x1.8p1",
    "-0x.8p-1", "0X1P-149", "0x1.fffffep127", "0x1p128", "0x1.000001p0", "0xA", "1e0000000000000001",
    "1e99999999999999999999", "0e99999999999999999999", "123456789012345678901234567890",
    "0.1000000000000000055511151231257827021181583404541015625",
    "1.000000059604644775390625",                     // halfway between two floats: to even
    "1.00000005960464477539062500000000000000000001", // just above halfway: up
    std::string(300, '9'), "0." + std::string(300, '0') + "1", "1" + std::string(40, '0') + "e-40",
    "1." + std::string(600, '0'), "1" + std::string(600, '0') + "e-645",
    "7" + std::string(600, '0') + "e-646", "0x" + std::string(600, '0') + "1p0", "0." + std::string(44, '0') + "1" + std::string(600, '0'),
};

const std::vector<std::string> int_texts = {
    "0", "-0", "+7", "42", "-42", "2147483647", "-2147483648", "1000000",
    std::string(30, '0') + "42", "-" + std::string(30, '0') + "17", std::string(600, '0') + "9",
};

// Long texts shortened for failure messages.
std::string shown(const std::string &text)
{
    if (text.size() <= 40)
        return text;
    return text.substr(0, 12) + "..." + text.substr(text.size() - 12) + " (" +
           std::to_string(text.size()) + " characters)";
}

void expect_same_float(float got, float want, const std::string &full_text)
{
    const std::string text = shown(full_text);
    if (std::isnan(want)) {
        EXPECT_TRUE(std::isnan(got)) << text;
        EXPECT_EQ(std::signbit(got), std::signbit(want)) << text;
    } else {
        EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0) << text << ": " << got << " vs " << want;
    }
}

// A file of the given text, open for reading through an InputStream.
struct TextInput {
    TempDir dir;
    std::unique_ptr<InputStream> in;
    explicit TextInput(const std::string &text)
    {
        write_file(dir.file("t"), text);
        in = std::make_unique<InputStream>(::open(dir.file("t").c_str(), O_RDONLY));
    }
};

std::string joined(const std::vector<std::string> &texts)
{
    std::string all;
    for (const std::string &t : texts)
        all += t + (all.size() % 3 ? "\n" : " \t ");
    return all;
}

} // namespace

TEST(NumberText, float_prefix_gives_what_scanf_gives)
{
    for (const std::string &t : float_texts) {
        float want = 0, got = 0;
        int used = 0;
        ASSERT_EQ(std::sscanf(t.c_str(), "%f%n", &want, &used), 1) << shown(t);
        const size_t n = parse_float_prefix(t.data(), t.data() + t.size(), got);
        EXPECT_EQ(n, size_t(used)) << shown(t);
        expect_same_float(got, want, t);
    }
}

TEST(NumberText, int_prefix_gives_what_scanf_gives)
{
    for (const std::string &t : int_texts) {
        int want = 0, got = 0, used = 0;
        ASSERT_EQ(std::sscanf(t.c_str(), "%d%n", &want, &used), 1) << shown(t);
        EXPECT_EQ(parse_int_prefix(t.data(), t.data() + t.size(), got), size_t(used)) << shown(t);
        EXPECT_EQ(got, want) << shown(t);
    }
}

TEST(NumberText, stream_reads_every_float_of_a_file_in_turn)
{
    TextInput file(joined(float_texts) + "\n7");
    for (const std::string &t : float_texts) {
        float want = 0, got = 0;
        std::sscanf(t.c_str(), "%f", &want);
        ASSERT_TRUE(file.in->read_float(got)) << shown(t);
        expect_same_float(got, want, t);
    }
    float last = 0;
    EXPECT_TRUE(file.in->read_float(last));
    EXPECT_EQ(last, 7.0f);
    EXPECT_FALSE(file.in->read_float(last));
}

TEST(NumberText, stream_reads_every_int_of_a_file_in_turn)
{
    TextInput file(joined(int_texts) + " 7");
    for (const std::string &t : int_texts) {
        int want = 0, got = 0;
        std::sscanf(t.c_str(), "%d", &want);
        ASSERT_TRUE(file.in->read_int(got)) << shown(t);
        EXPECT_EQ(got, want) << shown(t);
    }
    int last = 0;
    EXPECT_TRUE(file.in->read_int(last));
    EXPECT_EQ(last, 7);
}

TEST(NumberText, written_numbers_match_printf)
{
    const std::vector<float> floats = {
        0.0f, -0.0f, 1.0f, -1.0f, 0.1f, 0.5f, 1e-5f, 1e-4f, 123456.7f, 1234567.0f, 12345678.0f,
        1e10f, -3.25e-20f, FLT_MAX, FLT_MIN, std::numeric_limits<float>::denorm_min(), 1e-40f,
        std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
        std::numeric_limits<float>::quiet_NaN(), 0.33333334f, 100.0f, 999999.94f,
    };
    const std::vector<int> ints = {0, -1, 7, 2147483647, -2147483647 - 1};
    TempDir dir;
    std::string want;
    {
        const int fd = ::open(dir.file("n").c_str(), O_WRONLY | O_CREAT, 0644);
        OutputStream out(fd);
        char text[64];
        for (float f : floats) {
            out.write_float(f);
            out.put(' ');
            std::snprintf(text, sizeof text, "%.7g ", f);
            want += text;
        }
        for (int i : ints) {
            out.write_int(i);
            out.put(' ');
            std::snprintf(text, sizeof text, "%d ", i);
            want += text;
        }
        EXPECT_TRUE(out.flush());
        ::close(fd);
    }
    EXPECT_EQ(read_file(dir.file("n")), want);
}
