// AIPathStyleSuite over the host's document.
#include "AIPathStyle.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/DocumentAdapters.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

SPErr getPathStyle(AIArtHandle art, AIPathStyle* style) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    return toStatus(document->pathStyle(toArtId(art), style));
}

SPErr setPathStyle(AIArtHandle art, const AIPathStyle* style) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    if (document->find(toArtId(art)) == nullptr) return kSPBadHandleError;
    if (style == nullptr) return kSPBadParameterError;
    return toStatus(document->setPathStyle(toArtId(art), *style));
}

const AIPathStyleSuite kSuite = {
    ZZ_OP(AIPathStyleSuite, kAIPathStyleSuite, GetPathStyle, getPathStyle),
    ZZ_OP(AIPathStyleSuite, kAIPathStyleSuite, SetPathStyle, setPathStyle),
};

} // namespace

void registerAIPathStyleSuite(SuiteRegistry& registry) {
    registry.add(kAIPathStyleSuite, kAIPathStyleSuiteVersion, &kSuite);
}

} // namespace zz
