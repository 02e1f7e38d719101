// A plug-in module mapped into the host process: dlopen on Linux, LoadLibrary on Windows.
#ifndef ZZ_HOST_CORE_MODULE_LOADER_H
#define ZZ_HOST_CORE_MODULE_LOADER_H

#include <string>

#include "SPMessages.h"

namespace zz {

class LoadedModule {
  public:
    LoadedModule() = default;
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    // Maps the module at `path` and resolves the exported function `entry` as its entry point. On failure
    // returns false and says why in *error; the object stays closed.
    bool open(const std::string& path, const std::string& entry, std::string* error);
    // Unmaps the module (PluginMain becomes invalid).
    void close();

    bool isOpen() const { return handle_ != nullptr; }
    const std::string& path() const { return path_; }
    // The platform's handle of the module (HMODULE on Windows, the dlopen handle elsewhere).
    void* nativeHandle() const { return handle_; }
    SPPluginMainProc entryPoint() const { return entry_; }

  private:
    void* handle_ = nullptr;
    SPPluginMainProc entry_ = nullptr;
    std::string path_;
};

} // namespace zz

#endif
