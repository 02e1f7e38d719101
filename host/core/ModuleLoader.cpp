#include "host/core/ModuleLoader.h"

#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace zz {

LoadedModule::~LoadedModule() {
    close();
}

bool LoadedModule::open(const std::string& path, const std::string& entry, std::string* error) {
    close();
    void* symbol = nullptr;
#if defined(_WIN32)
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        if (error) *error = "cannot load module " + path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    FARPROC proc = GetProcAddress(module, entry.c_str());
    std::memcpy(&symbol, &proc, sizeof symbol);
    if (symbol == nullptr) {
        FreeLibrary(module);
        if (error)
            *error =
                "module " + path + " does not export " + entry + ", the entry point its property list names";
        return false;
    }
    handle_ = module;
#else
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* why = dlerror();
        if (error) *error = "cannot load module " + path + ": " + (why ? why : "unknown error");
        return false;
    }
    symbol = dlsym(module, entry.c_str());
    if (symbol == nullptr) {
        dlclose(module);
        if (error)
            *error =
                "module " + path + " does not export " + entry + ", the entry point its property list names";
        return false;
    }
    handle_ = module;
#endif
    static_assert(sizeof entry_ == sizeof symbol);
    std::memcpy(&entry_, &symbol, sizeof entry_);
    path_ = path;
    return true;
}

void LoadedModule::close() {
    if (handle_ == nullptr) return;
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
    handle_ = nullptr;
    entry_ = nullptr;
}

} // namespace zz
