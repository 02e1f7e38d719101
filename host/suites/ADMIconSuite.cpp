// ADMIconSuite: icons from the module's resources. Icon `id` with index `index` is the icon group id + index.
#include "ADMIcon.h"
#include "host/suites/HostServices.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

ADMIconRef SPAPI getFromResource(SPPluginRef plugin, int32_t iconID, int32_t iconIndex) {
    HostServices* host = HostServices::current();
    if (host == nullptr || host->plugin(plugin) == nullptr) return nullptr;
    return host->loadIcon(iconID, iconIndex);
}

int32_t SPAPI getType(ADMIconRef icon) {
    HostServices* host = HostServices::current();
    if (host == nullptr) return kUnknownIcon;
    const IconRecord* record = host->icon(icon);
    return record ? record->type : kUnknownIcon;
}

const ADMIconSuite kSuite = {
    ZZ_OP(ADMIconSuite, kADMIconSuite, GetFromResource, getFromResource),
    ZZ_OP(ADMIconSuite, kADMIconSuite, GetType, getType),
};

} // namespace

void registerADMIconSuite(SuiteRegistry& registry) {
    registry.add(kADMIconSuite, kADMIconSuiteVersion, &kSuite);
}

} // namespace zz
