#include "host/core/Host.h"

#include "host/resources/ModuleInstance.h"

namespace zz {

Host::~Host() {
    // The module goes before the state it may still point into; its resources go before the module.
    unloadModule();
}

bool Host::loadModule(const std::string& path, std::string* error) {
    attachModule(nullptr);
    if (!module_.open(path, error)) return false;
    attachModule(std::make_shared<ModuleInstance>(module_.nativeHandle(), path));
    installCursorLoader();
    return true;
}

void Host::unloadModule() {
    // The resources of a Windows module live in its mapping: they go first.
    attachModule(nullptr);
    module_.close();
}

SPErr Host::sendMessage(const char* caller, const char* selector, void* message) {
    if (!module_.isOpen()) return kSPBadHandleError;
    ServicesScope scope(*this);
    return module_.entryPoint()(caller, selector, message);
}

} // namespace zz
