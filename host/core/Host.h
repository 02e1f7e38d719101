// The reference host: one instance owns everything a plug-in can reach through the suites (the suite registry,
// fault injection, and the host's state that later parts add: blocks, the plug-in record, the document, dialogs).
//
// Suite functions are plain C functions without a context argument; they find the host answering the plug-in
// through Host::current(), which a CurrentHost scope sets around every call into the module.
#ifndef ZZ_HOST_CORE_HOST_H
#define ZZ_HOST_CORE_HOST_H

#include <string>
#include <string_view>
#include <vector>

#include "SPBasic.h"
#include "host/core/Faults.h"
#include "host/core/RandomSource.h"
#include "host/document/Document.h"
#include "host/core/ModuleLoader.h"
#include "host/core/SuiteRegistry.h"

namespace zz {

class Host {
  public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The host the plug-in is talking to now, or null outside any call.
    static Host* current();

    SuiteRegistry& suites() { return suites_; }
    FaultInjector& faults() { return faults_; }
    const SPBasicSuite* basicSuite() const;

    // Operations the plug-in called that this host does not offer, as "suite / operation", in call order.
    const std::vector<std::string>& unimplementedCalls() const { return unimplemented_; }
    void noteUnimplemented(std::string_view suite, std::string_view operation);

    LoadedModule& module() { return module_; }
    Document& document() { return document_; }
    RandomSource& random() { return random_; }

    // Sends one message to the loaded module with this host current; returns what PluginMain returned.
    SPErr sendMessage(const char* caller, const char* selector, void* message);

  private:
    SuiteRegistry suites_;
    FaultInjector faults_;
    LoadedModule module_;
    Document document_;
    RandomSource random_;
    std::vector<std::string> unimplemented_;
};

// Makes a host current for the lifetime of the scope (nested scopes restore the previous one).
class CurrentHost {
  public:
    explicit CurrentHost(Host& host);
    ~CurrentHost();
    CurrentHost(const CurrentHost&) = delete;
    CurrentHost& operator=(const CurrentHost&) = delete;

  private:
    Host* previous_;
};

} // namespace zz

#endif
