// SPBlocksSuite over the host's block store.
#include "SPBlocks.h"
#include "host/suites/HostServices.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

SPErr SPAPI allocateBlock(size_t size, const char* debugName, void** block) {
    HostServices* host = HostServices::current();
    if (host == nullptr) return kNotNowErr;
    return host->blocks().allocate(size, debugName ? debugName : "", block);
}

SPErr SPAPI freeBlock(void* block) {
    HostServices* host = HostServices::current();
    if (host == nullptr) return kNotNowErr;
    return host->blocks().free(block);
}

const SPBlocksSuite kSuite = {
    ZZ_OP(SPBlocksSuite, kSPBlocksSuite, AllocateBlock, allocateBlock),
    ZZ_OP(SPBlocksSuite, kSPBlocksSuite, FreeBlock, freeBlock),
};

} // namespace

void registerSPBlocksSuite(SuiteRegistry& registry) {
    registry.add(kSPBlocksSuite, kSPBlocksSuiteVersion, &kSuite);
}

} // namespace zz
