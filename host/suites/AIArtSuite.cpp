// AIArtSuite over the host's document.
#include "AIArt.h"
#include "host/suites/ArtLimits.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/DocumentAdapters.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

SPErr newArt(int16_t type, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArt) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    if (newArt == nullptr) return kSPBadParameterError;
    if (!chargeArt(1, 0)) return kSPOutOfMemoryError;
    ArtId id = 0;
    const SPErr status = toStatus(document->newArt(type, paintOrder, toArtId(prep), &id));
    if (status == kSPNoError) *newArt = toArtHandle(id);
    return status;
}

SPErr disposeArt(AIArtHandle art) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    return toStatus(document->disposeArt(toArtId(art)));
}

SPErr duplicateArt(AIArtHandle art, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArt) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    if (newArt == nullptr) return kSPBadParameterError;
    if (const Art* source = document->find(toArtId(art)); source != nullptr && !chargeCopy(*source))
        return kSPOutOfMemoryError;
    ArtId id = 0;
    const SPErr status = toStatus(document->duplicateArt(toArtId(art), paintOrder, toArtId(prep), &id));
    if (status == kSPNoError) *newArt = toArtHandle(id);
    return status;
}

SPErr getArtBounds(AIArtHandle art, AIRealRect* bounds) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    if (document->find(toArtId(art)) == nullptr) return kSPBadHandleError;
    if (bounds == nullptr) return kSPBadParameterError;
    return toStatus(document->bounds(toArtId(art), bounds));
}

SPErr getArtType(AIArtHandle art, int16_t* type) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    const Art* node = document->find(toArtId(art));
    if (node == nullptr) return kSPBadHandleError;
    if (type == nullptr) return kSPBadParameterError;
    *type = node->type();
    return kSPNoError;
}

SPErr getArtFirstChild(AIArtHandle art, AIArtHandle* child) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    const Art* node = document->find(toArtId(art));
    if (node == nullptr) return kSPBadHandleError;
    if (child == nullptr) return kSPBadParameterError;
    const Art* first = node->isContainer() ? node->firstChild() : nullptr;
    *child = first != nullptr ? toArtHandle(first->id()) : nullptr;
    return kSPNoError;
}

SPErr getArtSibling(AIArtHandle art, AIArtHandle* sibling) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    const Art* node = document->find(toArtId(art));
    if (node == nullptr) return kSPBadHandleError;
    if (sibling == nullptr) return kSPBadParameterError;
    const Art* next = node->nextSibling();
    *sibling = next != nullptr ? toArtHandle(next->id()) : nullptr;
    return kSPNoError;
}

const AIArtSuite kSuite = {
    ZZ_OP(AIArtSuite, kAIArtSuite, NewArt, newArt),
    ZZ_OP(AIArtSuite, kAIArtSuite, DisposeArt, disposeArt),
    ZZ_OP(AIArtSuite, kAIArtSuite, DuplicateArt, duplicateArt),
    ZZ_OP(AIArtSuite, kAIArtSuite, GetArtBounds, getArtBounds),
    ZZ_OP(AIArtSuite, kAIArtSuite, GetArtType, getArtType),
    ZZ_OP(AIArtSuite, kAIArtSuite, GetArtFirstChild, getArtFirstChild),
    ZZ_OP(AIArtSuite, kAIArtSuite, GetArtSibling, getArtSibling),
};

} // namespace

void registerAIArtSuite(SuiteRegistry& registry) {
    registry.add(kAIArtSuite, kAIArtSuiteVersion, &kSuite);
}

} // namespace zz
