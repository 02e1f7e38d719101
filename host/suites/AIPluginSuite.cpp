// AIPluginSuite: the option flags of the plug-in record.
#include "AIPlugin.h"
#include "host/suites/HostServices.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

SPErr SPAPI getPluginOptions(SPPluginRef plugin, int32_t* options) {
    HostServices* host = HostServices::current();
    if (host == nullptr) return kNotNowErr;
    PluginRecord* record = host->plugin(plugin);
    if (record == nullptr || options == nullptr) return kSPBadParameterError;
    *options = record->options;
    return kSPNoError;
}

SPErr SPAPI setPluginOptions(SPPluginRef plugin, int32_t options) {
    HostServices* host = HostServices::current();
    if (host == nullptr) return kNotNowErr;
    PluginRecord* record = host->plugin(plugin);
    if (record == nullptr) return kSPBadParameterError;
    record->options = options;
    return kSPNoError;
}

const AIPluginSuite kSuite = {
    ZZ_OP(AIPluginSuite, kAIPluginSuite, GetPluginOptions, getPluginOptions),
    ZZ_OP(AIPluginSuite, kAIPluginSuite, SetPluginOptions, setPluginOptions),
};

} // namespace

void registerAIPluginSuite(SuiteRegistry& registry) {
    registry.add(kAIPluginSuite, kAIPluginSuiteVersion, &kSuite);
}

} // namespace zz
