// AITagSuite over the host's document: string tags only.
#include <algorithm>
#include <cstring>

#include "AITag.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/DocumentAdapters.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

SPErr setTag(AIArtHandle object, const char* name, const char* type, const void* value) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    if (document->find(toArtId(object)) == nullptr) return kSPBadHandleError;
    if (name == nullptr || type == nullptr || value == nullptr || std::strcmp(type, kTagStringType) != 0)
        return kSPBadParameterError;
    return toStatus(document->setTag(toArtId(object), name, static_cast<const char*>(value)));
}

SPErr getTag(AIArtHandle object, const char* name, char* value, int32_t maxLength) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    const Art* node = document->find(toArtId(object));
    if (node == nullptr) return kSPBadHandleError;
    if (name == nullptr || value == nullptr || maxLength < 1) return kSPBadParameterError;
    const auto found = node->data().tags.find(name);
    if (found == node->data().tags.end()) return kResourceNotFoundErr;
    const size_t length = std::min(found->second.size(), static_cast<size_t>(maxLength - 1));
    std::memcpy(value, found->second.data(), length);
    value[length] = '\0';
    return kSPNoError;
}

const AITagSuite kSuite = {
    ZZ_OP(AITagSuite, kAITagSuite, SetTag, setTag),
    ZZ_OP(AITagSuite, kAITagSuite, GetTag, getTag),
};

} // namespace

void registerAITagSuite(SuiteRegistry& registry) {
    registry.add(kAITagSuite, kAITagSuiteVersion, &kSuite);
}

} // namespace zz
