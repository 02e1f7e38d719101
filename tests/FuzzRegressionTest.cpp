// Every input that ever made a fuzzer find a fault (fuzz/regressions/HARNESS/) is played through the harness
// that found it, the same function the fuzzer calls: no crash, and none of the promises the harness checks
// broken. The sanitizer build runs them under AddressSanitizer and UndefinedBehaviorSanitizer as the fuzzers
// do.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/FuzzTargets.h"

namespace zz {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(FuzzRegression, EveryKeptInputPassesTheHarnessThatFoundIt) {
    int played = 0;
    for (const fs::directory_entry& folder :
         fs::directory_iterator(fs::path(ZZ_SOURCE_DIR) / "fuzz" / "regressions")) {
        const std::string name = folder.path().filename().string();
        const fuzz::FuzzTarget* target = fuzz::fuzzTarget(name);
#if defined(_WIN32)
        if (target == nullptr && (name == "requests" || name == "workbench")) continue; // Linux only
#endif
        ASSERT_NE(target, nullptr) << "no harness named " << name;
        for (const fs::directory_entry& file : fs::directory_iterator(folder.path())) {
            const std::vector<uint8_t> input = bytesOf(file.path());
            const fuzz::Verdict problem = target->run(input);
            EXPECT_FALSE(problem) << file.path().string() << ": " << problem.value_or("");
            ++played;
        }
    }
    EXPECT_GT(played, 0);
}

} // namespace
} // namespace zz
