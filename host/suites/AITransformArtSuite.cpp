// AITransformArtSuite over the host's model.
#include "AITransformArt.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AITransformArtSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AITransformArtSuite, kAITransformArtSuite, TransformArt),
};

} // namespace

void registerAITransformArtSuite(SuiteRegistry& registry) { registry.add(kAITransformArtSuite, kAITransformArtSuiteVersion, &kSuite); }

} // namespace zz
