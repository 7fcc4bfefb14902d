// A libFuzzer target around one check of fuzz_entries.h, chosen when compiling
// (FUZZ_CHECK). A failed check is reported like a sanitizer finding.

#include <sanitizer/common_interface_defs.h>

#include <cstdlib>

#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string failure = FUZZ_CHECK(data, size);
    if (!failure.empty()) {
        __sanitizer_report_error_summary(failure.c_str());
        std::abort();
    }
    return 0;
}
