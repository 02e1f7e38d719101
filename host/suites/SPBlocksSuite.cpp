// SPBlocksSuite over the host's model.
#include "SPBlocks.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const SPBlocksSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(SPBlocksSuite, kSPBlocksSuite, AllocateBlock),
    ZZ_NOT_IMPLEMENTED(SPBlocksSuite, kSPBlocksSuite, FreeBlock),
};

} // namespace

void registerSPBlocksSuite(SuiteRegistry& registry) { registry.add(kSPBlocksSuite, kSPBlocksSuiteVersion, &kSuite); }

} // namespace zz
