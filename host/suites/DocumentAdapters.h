// Shared by the suites over the document: the current host's document, art handles <-> document ids, and the
// document's statuses as host statuses.
#ifndef ZZ_HOST_SUITES_DOCUMENT_ADAPTERS_H
#define ZZ_HOST_SUITES_DOCUMENT_ADAPTERS_H

#include <cstdint>

#include "ZZTypes.h"
#include "host/suites/HostServices.h"
#include "host/document/Document.h"

namespace zz {

// The document of the host answering the plug-in, or null outside any call.
inline Document* currentDocument() {
    HostServices* host = HostServices::current();
    return host != nullptr ? &host->document() : nullptr;
}

// An art handle is the art's document id, which is never reused: a stale handle is recognised, never
// followed.
inline AIArtHandle toArtHandle(ArtId id) {
    return reinterpret_cast<AIArtHandle>(static_cast<uintptr_t>(id));
}
inline ArtId toArtId(AIArtHandle art) {
    const auto value = reinterpret_cast<uintptr_t>(art);
    return value > UINT32_MAX ? 0 : static_cast<ArtId>(value);
}

inline SPErr toStatus(DocStatus status) {
    switch (status) {
    case DocStatus::ok:
        return kSPNoError;
    case DocStatus::badHandle:
        return kSPBadHandleError;
    case DocStatus::badParameter:
        return kSPBadParameterError;
    case DocStatus::badArtType:
        return kBadArtTypeErr;
    case DocStatus::tooManySegments:
        return kTooManySegmentsErr;
    case DocStatus::noContext:
        return kNotNowErr;
    }
    return kSPBadParameterError;
}

} // namespace zz

#endif
