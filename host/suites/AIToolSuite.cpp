// AIToolSuite: the host's toolbox (every added tool is recorded) and the pen.
#include "AITool.h"
#include "host/suites/HostServices.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

SPErr SPAPI addTool(SPPluginRef self, const char* name, const AIAddToolData* data, int32_t options,
                    AIToolHandle* tool) {
    HostServices* host = HostServices::current();
    if (host == nullptr) return kNotNowErr;
    if (host->plugin(self) == nullptr || name == nullptr || data == nullptr || tool == nullptr ||
        data->icon == nullptr || host->icon(data->icon) == nullptr)
        return kSPBadParameterError;
    ToolRecord record;
    record.name = name;
    record.title = data->title ? data->title : "";
    record.tooltip = data->tooltip ? data->tooltip : "";
    record.helpID = data->helpID;
    record.icon = data->icon;
    record.sameGroupAs = data->sameGroupAs;
    record.sameToolsAs = data->sameToolsAs;
    record.options = options;
    *tool = host->addTool(std::move(record));
    return kSPNoError;
}

SPErr SPAPI systemHasPressure(AIBoolean* hasPressure) {
    HostServices* host = HostServices::current();
    if (host == nullptr) return kNotNowErr;
    if (hasPressure == nullptr) return kSPBadParameterError;
    *hasPressure = host->facts().pressure ? 1 : 0;
    return kSPNoError;
}

const AIToolSuite kSuite = {
    ZZ_OP(AIToolSuite, kAIToolSuite, AddTool, addTool),
    ZZ_OP(AIToolSuite, kAIToolSuite, SystemHasPressure, systemHasPressure),
};

} // namespace

void registerAIToolSuite(SuiteRegistry& registry) {
    registry.add(kAIToolSuite, kAIToolSuiteVersion, &kSuite);
}

} // namespace zz
