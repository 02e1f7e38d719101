// AIArtSuite over the host's model.
#include "AIArt.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AIArtSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AIArtSuite, kAIArtSuite, NewArt),
    ZZ_NOT_IMPLEMENTED(AIArtSuite, kAIArtSuite, DisposeArt),
    ZZ_NOT_IMPLEMENTED(AIArtSuite, kAIArtSuite, DuplicateArt),
    ZZ_NOT_IMPLEMENTED(AIArtSuite, kAIArtSuite, GetArtBounds),
    ZZ_NOT_IMPLEMENTED(AIArtSuite, kAIArtSuite, GetArtType),
    ZZ_NOT_IMPLEMENTED(AIArtSuite, kAIArtSuite, GetArtFirstChild),
    ZZ_NOT_IMPLEMENTED(AIArtSuite, kAIArtSuite, GetArtSibling),
};

} // namespace

void registerAIArtSuite(SuiteRegistry& registry) { registry.add(kAIArtSuite, kAIArtSuiteVersion, &kSuite); }

} // namespace zz
