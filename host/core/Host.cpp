#include "host/core/Host.h"

#include <filesystem>

#include "host/resources/ModuleInstance.h"
#include "host/resources/ModuleProperties.h"

namespace zz {

Host::~Host() {
    // The module goes before the state it may still point into; its resources go before the module.
    unloadModule();
}

bool Host::loadModule(const std::string& path, std::string* error) {
    attachModule(nullptr);
    // A module is a file: a bare name means the file of that name here, never a search of the system's
    // library paths.
    std::error_code code;
    const std::filesystem::path absolute = std::filesystem::absolute(path, code);
    const std::string file = code ? path : absolute.string();
    // Like any host, read what the module says it is before running any of its code.
    const std::optional<ModuleProperties> properties = readModuleProperties(file, error);
    if (!properties) return false;
    if (const std::optional<std::string> refusal = checkModuleProperties(*properties)) {
        if (error != nullptr) *error = "module " + path + " is refused: " + *refusal;
        return false;
    }
    if (!module_.open(file, properties->entryPoint, error)) return false;
    attachModule(std::make_shared<ModuleInstance>(module_.nativeHandle(), file));
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
