#include "host/suites/HostServices.h"

#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

namespace zz {

thread_local constinit HostServices* detail::currentServices ZZ_PROGRAM_TLS = nullptr;

namespace {

SPErr SPAPI acquireSuite(const char* name, int32_t version, const void** suite) noexcept {
    return guardedCall<SPErr>([&] {
        HostServices* host = HostServices::current();
        if (host == nullptr) return kNotNowErr;
        return host->suites().acquire(name, version, suite, host->faults());
    });
}

SPErr SPAPI releaseSuite(const char* name, int32_t version) noexcept {
    return guardedCall<SPErr>([&] {
        HostServices* host = HostServices::current();
        if (host == nullptr) return kNotNowErr;
        return host->suites().release(name, version, host->faults());
    });
}

SPBoolean SPAPI isEqual(const char* token1, const char* token2) noexcept {
    if (token1 == nullptr || token2 == nullptr) return 0;
    return std::string_view(token1) == std::string_view(token2) ? 1 : 0;
}

const SPBasicSuite kBasicSuite = {acquireSuite, releaseSuite, isEqual};

} // namespace

SPErr strikeFault(HostServices& host, std::string_view suite, std::string_view operation) {
    return host.faults().strike(suite, operation).value_or(kSPNoError);
}

void noteUnimplemented(std::string_view suite, std::string_view operation) {
    if (HostServices* host = HostServices::current()) host->noteUnimplemented(suite, operation);
}

HostServices::HostServices() {
    suites_.add(kSPBasicSuite, kSPBasicSuiteVersion, &kBasicSuite);
    registerAllSuites(suites_);
}

HostServices::~HostServices() = default;

const SPBasicSuite* HostServices::basicSuite() const {
    return &kBasicSuite;
}

void HostServices::noteUnimplemented(std::string_view suite, std::string_view operation) {
    unimplemented_.push_back(std::string(suite) + " / " + std::string(operation));
}

PluginRecord* HostServices::plugin(SPPluginRef ref) {
    return ref == reinterpret_cast<SPPluginRef>(&plugin_) ? &plugin_ : nullptr;
}

AIToolHandle HostServices::addTool(ToolRecord tool) {
    tools_.push_back(std::move(tool));
    return toolHandle(tools_.back());
}

IconRecord* HostServices::icon(ADMIconRef ref) {
    for (IconRecord& record : icons_)
        if (reinterpret_cast<ADMIconRef>(&record) == ref) return &record;
    return nullptr;
}

ServicesScope::ServicesScope(HostServices& services) : previous_(detail::currentServices) {
    detail::currentServices = &services;
}

ServicesScope::~ServicesScope() {
    detail::currentServices = previous_;
}

} // namespace zz
