// AIPathStyleSuite over the host's model.
#include "AIPathStyle.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AIPathStyleSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AIPathStyleSuite, kAIPathStyleSuite, GetPathStyle),
    ZZ_NOT_IMPLEMENTED(AIPathStyleSuite, kAIPathStyleSuite, SetPathStyle),
};

} // namespace

void registerAIPathStyleSuite(SuiteRegistry& registry) { registry.add(kAIPathStyleSuite, kAIPathStyleSuiteVersion, &kSuite); }

} // namespace zz
