// The reference host: the services a plug-in reaches through the suites, and the plug-in module itself,
// mapped into the process and called through its entry point.
#ifndef ZZ_HOST_CORE_HOST_H
#define ZZ_HOST_CORE_HOST_H

#include <string>

#include "SPBasic.h"
#include "host/core/ModuleLoader.h"
#include "host/suites/HostServices.h"

namespace zz {

class Host : public HostServices {
  public:
    Host() = default;
    ~Host() override;

    // Reads the module's property list from its file and refuses a module without one, of another kind or
    // naming no entry point; then maps the module, resolves the entry point the list names and reads the
    // module's resources. False with the reason in *error: the module is not loaded then.
    bool loadModule(const std::string& path, std::string* error);
    // Unmaps the module; the host keeps everything else (blocks, tools, the plug-in record).
    void unloadModule();
    LoadedModule& module() { return module_; }

    // Sends one message to the loaded module with these services current on this thread; returns what the
    // entry point returned (kSPBadHandleError when no module is loaded).
    SPErr sendMessage(const char* caller, const char* selector, void* message);

  private:
    LoadedModule module_;
};

// The host answering the plug-in on this thread for the lifetime of the scope.
using CurrentHost = ServicesScope;

} // namespace zz

#endif
