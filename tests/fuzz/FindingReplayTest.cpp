// Every input kept from a fuzzer's findings goes through the fuzzer's own
// entry point again and must pass its checks: a fault that comes back ends
// this test with the fuzzer's trap, an assertion or a sanitizer report.
#include <gtest/gtest.h>

#include <stddef.h>
#include <stdint.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* a_data, size_t a_size);

// One suite per fuzzer, named after it.
TEST(TARVO_FUZZ_SUITE, EveryKeptInputPasses)
{
    std::vector<std::filesystem::path> cases;
    for (const auto& entry : std::filesystem::directory_iterator(TARVO_FUZZ_CASES))
    {
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
            cases.push_back(entry.path());
    }
    std::sort(cases.begin(), cases.end());
    ASSERT_FALSE(cases.empty()) << "no inputs in " << TARVO_FUZZ_CASES;
    for (const std::filesystem::path& path : cases)
    {
        SCOPED_TRACE(path.filename().string());
        std::ifstream stream(path, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(stream),
                                         std::istreambuf_iterator<char>()};
        // A null pointer for an empty input, as libFuzzer may pass.
        EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.empty() ? nullptr : bytes.data(), bytes.size()), 0);
    }
}
