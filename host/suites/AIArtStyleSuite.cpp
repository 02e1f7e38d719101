// AIArtStyleSuite over the host's document: a named style's handle is its index plus one.
#include "AIArtStyle.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/DocumentAdapters.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

AIArtStyleHandle toStyleHandle(int32_t index) {
    return reinterpret_cast<AIArtStyleHandle>(static_cast<uintptr_t>(index) + 1);
}

// The index of a named style handle, or -1.
int32_t toStyleIndex(const Document& document, AIArtStyleHandle style) {
    const auto value = reinterpret_cast<uintptr_t>(style);
    if (value == 0 || value > static_cast<uintptr_t>(document.namedStyleCount())) return -1;
    return static_cast<int32_t>(value - 1);
}

SPErr countNamedArtStyles(int32_t* count) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    if (count == nullptr) return kSPBadParameterError;
    *count = document->namedStyleCount();
    return kSPNoError;
}

SPErr getNthNamedArtStyle(int32_t index, AIArtStyleHandle* style) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    if (style == nullptr || document->namedStyle(index) == nullptr) return kSPBadParameterError;
    *style = toStyleHandle(index);
    return kSPNoError;
}

SPErr setArtStyle(AIArtHandle art, AIArtStyleHandle style) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    const int32_t index = toStyleIndex(*document, style);
    if (index < 0) return kSPBadHandleError;
    return toStatus(document->applyNamedStyle(toArtId(art), index));
}

AIReal getArtStyleScaleFactor(AIArtHandle art) {
    Document* document = currentDocument();
    const Art* node = document != nullptr ? document->find(toArtId(art)) : nullptr;
    return node != nullptr ? node->data().styleScale : 1.0f;
}

SPErr setArtStyleScaleFactor(AIArtHandle art, AIReal factor) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    return toStatus(document->setStyleScale(toArtId(art), factor));
}

const AIArtStyleSuite kSuite = {
    ZZ_OP(AIArtStyleSuite, kAIArtStyleSuite, CountNamedArtStyles, countNamedArtStyles),
    ZZ_OP(AIArtStyleSuite, kAIArtStyleSuite, GetNthNamedArtStyle, getNthNamedArtStyle),
    ZZ_OP(AIArtStyleSuite, kAIArtStyleSuite, SetArtStyle, setArtStyle),
    ZZ_OP(AIArtStyleSuite, kAIArtStyleSuite, GetArtStyleScaleFactor, getArtStyleScaleFactor),
    ZZ_OP(AIArtStyleSuite, kAIArtStyleSuite, SetArtStyleScaleFactor, setArtStyleScaleFactor),
};

} // namespace

void registerAIArtStyleSuite(SuiteRegistry& registry) {
    registry.add(kAIArtStyleSuite, kAIArtStyleSuiteVersion, &kSuite);
}

} // namespace zz
