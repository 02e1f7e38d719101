// AIEnvelopeSuite over the host's model.
#include "AIEnvelope.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AIEnvelopeSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AIEnvelopeSuite, kAIEnvelopeSuite, MakeEnvelope),
    ZZ_NOT_IMPLEMENTED(AIEnvelopeSuite, kAIEnvelopeSuite, ResetWithWarp),
};

} // namespace

void registerAIEnvelopeSuite(SuiteRegistry& registry) { registry.add(kAIEnvelopeSuite, kAIEnvelopeSuiteVersion, &kSuite); }

} // namespace zz
