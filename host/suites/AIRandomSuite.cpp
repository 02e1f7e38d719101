// AIRandomSuite over the host's random source: numbers a session lists first, then the seeded generator.
#include "AIRandom.h"
#include "host/suites/HostServices.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

AIReal floatRnd() {
    HostServices* host = HostServices::current();
    return host != nullptr ? host->random().next() : 0.0f;
}

void setRndSeed(int32_t seed) {
    if (HostServices* host = HostServices::current()) host->random().seed(static_cast<uint32_t>(seed));
}

const AIRandomSuite kSuite = {
    ZZ_OP(AIRandomSuite, kAIRandomSuite, FloatRnd, floatRnd),
    ZZ_OP(AIRandomSuite, kAIRandomSuite, SetRndSeed, setRndSeed),
};

} // namespace

void registerAIRandomSuite(SuiteRegistry& registry) {
    registry.add(kAIRandomSuite, kAIRandomSuiteVersion, &kSuite);
}

} // namespace zz
