// ADMBasicSuite: strings from the module's string lists, and alerts (recorded by the host).
#include "ADMBasic.h"
#include "host/suites/HostServices.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

#include <cstring>

namespace zz {

namespace {

SPErr SPAPI getIndexString(SPPluginRef plugin, int32_t stringID, int32_t stringIndex, char* string,
                           int32_t maxLength) {
    HostServices* host = HostServices::current();
    if (host == nullptr) return kNotNowErr;
    if (string == nullptr || maxLength < 1 || stringIndex < 0 || host->plugin(plugin) == nullptr)
        return kSPBadParameterError;
    string[0] = '\0';
    // The list exists when its marker string L does; a missing entry then reads as "".
    if (!host->indexString(stringID, 0)) return kResourceNotFoundErr;
    const std::string text = host->indexString(stringID, stringIndex).value_or("");
    const std::size_t length = std::min<std::size_t>(text.size(), static_cast<std::size_t>(maxLength - 1));
    std::memcpy(string, text.data(), length);
    string[length] = '\0';
    return kSPNoError;
}

void SPAPI messageAlert(const char* message) {
    if (HostServices* host = HostServices::current()) host->alerts().push_back(message ? message : "");
}

const ADMBasicSuite kSuite = {
    ZZ_OP(ADMBasicSuite, kADMBasicSuite, GetIndexString, getIndexString),
    ZZ_OP(ADMBasicSuite, kADMBasicSuite, MessageAlert, messageAlert),
};

} // namespace

void registerADMBasicSuite(SuiteRegistry& registry) {
    registry.add(kADMBasicSuite, kADMBasicSuiteVersion, &kSuite);
}

} // namespace zz
