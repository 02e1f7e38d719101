#include "host/core/Host.h"

#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

Host* gCurrentHost = nullptr;

SPErr SPAPI acquireSuite(const char* name, int32_t version, const void** suite) {
    Host* host = Host::current();
    if (host == nullptr) return kNotNowErr;
    return host->suites().acquire(name, version, suite, host->faults());
}

SPErr SPAPI releaseSuite(const char* name, int32_t version) {
    Host* host = Host::current();
    if (host == nullptr) return kNotNowErr;
    return host->suites().release(name, version, host->faults());
}

SPBoolean SPAPI isEqual(const char* token1, const char* token2) {
    if (token1 == nullptr || token2 == nullptr) return 0;
    return std::string_view(token1) == std::string_view(token2) ? 1 : 0;
}

const SPBasicSuite kBasicSuite = {acquireSuite, releaseSuite, isEqual};

} // namespace

SPErr strikeFault(std::string_view suite, std::string_view operation) {
    Host* host = Host::current();
    if (host == nullptr || host->faults().empty()) return kSPNoError;
    return host->faults().strike(suite, operation).value_or(kSPNoError);
}

void noteUnimplemented(std::string_view suite, std::string_view operation) {
    if (Host* host = Host::current()) host->noteUnimplemented(suite, operation);
}

Host::Host() {
    suites_.add(kSPBasicSuite, kSPBasicSuiteVersion, &kBasicSuite);
    registerAllSuites(suites_);
}

Host::~Host() {
    // The module goes before the state it may still point into; its resources go before the module.
    unloadModule();
}

Host* Host::current() {
    return gCurrentHost;
}

const SPBasicSuite* Host::basicSuite() const {
    return &kBasicSuite;
}

void Host::noteUnimplemented(std::string_view suite, std::string_view operation) {
    unimplemented_.push_back(std::string(suite) + " / " + std::string(operation));
}

SPErr Host::sendMessage(const char* caller, const char* selector, void* message) {
    if (!module_.isOpen()) return kSPBadHandleError;
    CurrentHost scope(*this);
    return module_.entryPoint()(caller, selector, message);
}

PluginRecord* Host::plugin(SPPluginRef ref) {
    return ref == reinterpret_cast<SPPluginRef>(&plugin_) ? &plugin_ : nullptr;
}

AIToolHandle Host::addTool(ToolRecord tool) {
    tools_.push_back(std::move(tool));
    return toolHandle(tools_.back());
}

IconRecord* Host::icon(ADMIconRef ref) {
    for (IconRecord& record : icons_)
        if (reinterpret_cast<ADMIconRef>(&record) == ref) return &record;
    return nullptr;
}

CurrentHost::CurrentHost(Host& host) : previous_(gCurrentHost) {
    gCurrentHost = &host;
}

CurrentHost::~CurrentHost() {
    gCurrentHost = previous_;
}

} // namespace zz
