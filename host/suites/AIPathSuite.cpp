// AIPathSuite over the host's document. Segment numbers and counts are 16-bit, so a path holds at most 32767.
#include "AIPath.h"
#include "host/suites/ArtLimits.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/DocumentAdapters.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

// The live path named by `path`, or the status that says why there is none.
SPErr findPath(AIArtHandle path, const Art** node) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    *node = document->find(toArtId(path));
    if (*node == nullptr) return kSPBadHandleError;
    if ((*node)->type() != kPathArt) return kBadArtTypeErr;
    return kSPNoError;
}

SPErr getPathSegmentCount(AIArtHandle path, int16_t* count) {
    const Art* node = nullptr;
    if (SPErr status = findPath(path, &node)) return status;
    if (count == nullptr) return kSPBadParameterError;
    *count = static_cast<int16_t>(node->data().segments.size());
    return kSPNoError;
}

SPErr getPathSegments(AIArtHandle path, int16_t segNumber, int16_t count, AIPathSegment* segments) {
    const Art* node = nullptr;
    if (SPErr status = findPath(path, &node)) return status;
    const auto& stored = node->data().segments;
    if (segNumber < 0 || count < 0 ||
        static_cast<size_t>(segNumber) + static_cast<size_t>(count) > stored.size())
        return kSPBadParameterError;
    if (count == 0) return kSPNoError;
    if (segments == nullptr) return kSPBadParameterError;
    std::copy(stored.begin() + segNumber, stored.begin() + segNumber + count, segments);
    return kSPNoError;
}

SPErr setPathSegments(AIArtHandle path, int16_t segNumber, int16_t count, const AIPathSegment* segments) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    // What the path grows by counts against the limits.
    if (const Art* node = document->find(toArtId(path)); node != nullptr && count > 0 && segNumber >= 0) {
        const auto end = static_cast<uint64_t>(segNumber) + static_cast<uint64_t>(count);
        const uint64_t size = node->data().segments.size();
        if (end > size && !chargeArt(0, end - size)) return kSPOutOfMemoryError;
    }
    return toStatus(document->setSegments(toArtId(path), segNumber, count, segments));
}

SPErr getPathClosed(AIArtHandle path, AIBoolean* closed) {
    const Art* node = nullptr;
    if (SPErr status = findPath(path, &node)) return status;
    if (closed == nullptr) return kSPBadParameterError;
    *closed = node->data().closed ? 1 : 0;
    return kSPNoError;
}

SPErr setPathClosed(AIArtHandle path, AIBoolean closed) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    return toStatus(document->setClosed(toArtId(path), closed != 0));
}

const AIPathSuite kSuite = {
    ZZ_OP(AIPathSuite, kAIPathSuite, GetPathSegmentCount, getPathSegmentCount),
    ZZ_OP(AIPathSuite, kAIPathSuite, GetPathSegments, getPathSegments),
    ZZ_OP(AIPathSuite, kAIPathSuite, SetPathSegments, setPathSegments),
    ZZ_OP(AIPathSuite, kAIPathSuite, GetPathClosed, getPathClosed),
    ZZ_OP(AIPathSuite, kAIPathSuite, SetPathClosed, setPathClosed),
};

} // namespace

void registerAIPathSuite(SuiteRegistry& registry) {
    registry.add(kAIPathSuite, kAIPathSuiteVersion, &kSuite);
}

} // namespace zz
