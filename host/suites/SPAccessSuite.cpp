// SPAccessSuite: the plug-in's module and the platform's handle of it.
#include "SPAccess.h"
#include "host/suites/HostServices.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

SPErr SPAPI getPluginAccess(SPPluginRef plugin, SPAccessRef* access) {
    HostServices* host = HostServices::current();
    if (host == nullptr) return kNotNowErr;
    if (access == nullptr || host->plugin(plugin) == nullptr) return kSPBadParameterError;
    *access = host->access();
    return kSPNoError;
}

SPErr SPAPI getAccessInfo(SPAccessRef access, SPPlatformAccessInfo* info) {
    HostServices* host = HostServices::current();
    if (host == nullptr) return kNotNowErr;
    if (info == nullptr) return kSPBadParameterError;
    if (!host->isAccess(access)) return kSPBadHandleError;
    info->defaultModule = host->platformModuleHandle();
    info->resourceAccess = nullptr;
    return kSPNoError;
}

const SPAccessSuite kSuite = {
    ZZ_OP(SPAccessSuite, kSPAccessSuite, GetPluginAccess, getPluginAccess),
    ZZ_OP(SPAccessSuite, kSPAccessSuite, GetAccessInfo, getAccessInfo),
};

} // namespace

void registerSPAccessSuite(SuiteRegistry& registry) {
    registry.add(kSPAccessSuite, kSPAccessSuiteVersion, &kSuite);
}

} // namespace zz
