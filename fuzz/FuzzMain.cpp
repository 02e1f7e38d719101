// One libFuzzer harness: ZZ_FUZZ_TARGET names the body (FuzzTargets.h) it runs. A broken promise aborts, with
// what was broken, as a crash does.
#include <cstdio>
#include <cstdlib>

#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const zz::fuzz::FuzzTarget* const target = zz::fuzz::fuzzTarget(ZZ_FUZZ_TARGET);
    if (target == nullptr) {
        std::fprintf(stderr, "no fuzz target named %s\n", ZZ_FUZZ_TARGET);
        std::abort();
    }
    if (const zz::fuzz::Verdict problem = target->run(zz::fuzz::Bytes(data, size))) {
        std::fprintf(stderr, "%s: %s\n", ZZ_FUZZ_TARGET, problem->c_str());
        std::abort();
    }
    return 0;
}
