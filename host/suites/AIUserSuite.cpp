// AIUserSuite over the host's model.
#include "AIUser.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AIUserSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AIUserSuite, kAIUserSuite, NumberToText),
    ZZ_NOT_IMPLEMENTED(AIUserSuite, kAIUserSuite, TextToNumber),
};

} // namespace

void registerAIUserSuite(SuiteRegistry& registry) { registry.add(kAIUserSuite, kAIUserSuiteVersion, &kSuite); }

} // namespace zz
