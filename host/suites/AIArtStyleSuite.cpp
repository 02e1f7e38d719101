// AIArtStyleSuite over the host's model.
#include "AIArtStyle.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AIArtStyleSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AIArtStyleSuite, kAIArtStyleSuite, CountNamedArtStyles),
    ZZ_NOT_IMPLEMENTED(AIArtStyleSuite, kAIArtStyleSuite, GetNthNamedArtStyle),
    ZZ_NOT_IMPLEMENTED(AIArtStyleSuite, kAIArtStyleSuite, SetArtStyle),
    ZZ_NOT_IMPLEMENTED(AIArtStyleSuite, kAIArtStyleSuite, GetArtStyleScaleFactor),
    ZZ_NOT_IMPLEMENTED(AIArtStyleSuite, kAIArtStyleSuite, SetArtStyleScaleFactor),
};

} // namespace

void registerAIArtStyleSuite(SuiteRegistry& registry) { registry.add(kAIArtStyleSuite, kAIArtStyleSuiteVersion, &kSuite); }

} // namespace zz
