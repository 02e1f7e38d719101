// AITransformArtSuite over the host's document.
#include "AITransformArt.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/DocumentAdapters.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

SPErr transformArt(AIArtHandle art, const AIRealMatrix* matrix, AIReal lineScale, int32_t flags) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    if (document->find(toArtId(art)) == nullptr) return kSPBadHandleError;
    if (matrix == nullptr) return kSPBadParameterError;
    return toStatus(document->transform(toArtId(art), *matrix, lineScale, flags));
}

const AITransformArtSuite kSuite = {
    ZZ_OP(AITransformArtSuite, kAITransformArtSuite, TransformArt, transformArt),
};

} // namespace

void registerAITransformArtSuite(SuiteRegistry& registry) {
    registry.add(kAITransformArtSuite, kAITransformArtSuiteVersion, &kSuite);
}

} // namespace zz
