#include "host/suites/ArtLimits.h"

#include <algorithm>

#include "host/document/Art.h"

namespace zz {

namespace {

thread_local ArtAllowance* currentAllowance = nullptr;

void count(const Art& art, uint64_t* objects, uint64_t* segments) {
    ++*objects;
    *segments += art.data().segments.size();
    for (const Art* child = art.firstChild(); child != nullptr; child = child->nextSibling())
        count(*child, objects, segments);
}

} // namespace

ArtAllowance::ArtAllowance(ArtLimits limits) : limits_(limits), outer_(currentAllowance) {
    currentAllowance = this;
}

ArtAllowance::~ArtAllowance() {
    currentAllowance = outer_;
}

bool chargeArt(uint64_t objects, uint64_t segments) {
    ArtAllowance* allowance = currentAllowance;
    if (allowance == nullptr) return true;
    const ArtLimits& limits = allowance->limits_;
    if (limits.objects != 0 && objects > limits.objects - std::min(allowance->objects_, limits.objects)) {
        allowance->exceeded_ = std::to_string(limits.objects) + " art objects";
        return false;
    }
    if (limits.segments != 0 &&
        segments > limits.segments - std::min(allowance->segments_, limits.segments)) {
        allowance->exceeded_ = std::to_string(limits.segments) + " path segments";
        return false;
    }
    allowance->objects_ += objects;
    allowance->segments_ += segments;
    allowance->contextObjects_ += objects;
    allowance->contextSegments_ += segments;
    return true;
}

void beginArtContext() {
    if (currentAllowance == nullptr) return;
    currentAllowance->contextObjects_ = 0;
    currentAllowance->contextSegments_ = 0;
}

void undoArtContext() {
    ArtAllowance* allowance = currentAllowance;
    if (allowance == nullptr) return;
    allowance->objects_ -= std::min(allowance->objects_, allowance->contextObjects_);
    allowance->segments_ -= std::min(allowance->segments_, allowance->contextSegments_);
    beginArtContext();
}

bool chargeCopy(const Art& art) {
    if (currentAllowance == nullptr) return true;
    uint64_t objects = 0, segments = 0;
    count(art, &objects, &segments);
    return chargeArt(objects, segments);
}

} // namespace zz
