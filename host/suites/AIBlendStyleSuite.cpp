// AIBlendStyleSuite over the host's document.
#include "AIBlendStyle.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/DocumentAdapters.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

AIReal getOpacity(AIArtHandle art) {
    Document* document = currentDocument();
    const Art* node = document != nullptr ? document->find(toArtId(art)) : nullptr;
    return node != nullptr ? node->data().opacity : 1.0f;
}

SPErr setOpacity(AIArtHandle art, AIReal opacity) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    return toStatus(document->setOpacity(toArtId(art), opacity));
}

int32_t getBlendingMode(AIArtHandle art) {
    Document* document = currentDocument();
    const Art* node = document != nullptr ? document->find(toArtId(art)) : nullptr;
    return node != nullptr ? node->data().blendMode : kNormalBlendingMode;
}

SPErr setBlendingMode(AIArtHandle art, int32_t mode) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    return toStatus(document->setBlendMode(toArtId(art), mode));
}

const AIBlendStyleSuite kSuite = {
    ZZ_OP(AIBlendStyleSuite, kAIBlendStyleSuite, GetOpacity, getOpacity),
    ZZ_OP(AIBlendStyleSuite, kAIBlendStyleSuite, SetOpacity, setOpacity),
    ZZ_OP(AIBlendStyleSuite, kAIBlendStyleSuite, GetBlendingMode, getBlendingMode),
    ZZ_OP(AIBlendStyleSuite, kAIBlendStyleSuite, SetBlendingMode, setBlendingMode),
};

} // namespace

void registerAIBlendStyleSuite(SuiteRegistry& registry) {
    registry.add(kAIBlendStyleSuite, kAIBlendStyleSuiteVersion, &kSuite);
}

} // namespace zz
