// AISymbolSuite over the host's model.
#include "AISymbol.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AISymbolSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AISymbolSuite, kAISymbolSuite, NewSymbolPattern),
};

} // namespace

void registerAISymbolSuite(SuiteRegistry& registry) { registry.add(kAISymbolSuite, kAISymbolSuiteVersion, &kSuite); }

} // namespace zz
