// AIMdMemorySuite over the host's model.
#include "AIMdMemory.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

const AIMdMemorySuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AIMdMemorySuite, kAIMdMemorySuite, MdMemoryNewHandle),
    ZZ_NOT_IMPLEMENTED(AIMdMemorySuite, kAIMdMemorySuite, MdMemoryDisposeHandle),
    ZZ_NOT_IMPLEMENTED(AIMdMemorySuite, kAIMdMemorySuite, MdMemoryLock),
};

} // namespace

void registerAIMdMemorySuite(SuiteRegistry& registry) {
    registry.add(kAIMdMemorySuite, kAIMdMemorySuiteVersion, &kSuite);
}

} // namespace zz
