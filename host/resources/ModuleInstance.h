// The host's record of one loaded plug-in module for everything that reaches the module through its platform
// handle: its resources, and the cursors that LoadCursorA loads from it.
//
// On Windows the platform handle (SPPlatformAccessInfo.defaultModule) is the module's HMODULE and the
// system's LoadCursorA reads the cursor itself. Elsewhere the handle is the address of this record: the
// window-system stand-in hands it back to the loader that installCursorLoader registers, which reads the
// cursor group through the record's resources.
#ifndef ZZ_HOST_RESOURCES_MODULE_INSTANCE_H
#define ZZ_HOST_RESOURCES_MODULE_INSTANCE_H

#include <cstdint>
#include <optional>
#include <string>

#include "host/resources/ModuleResources.h"

namespace zz {

class ModuleInstance {
  public:
    // `nativeHandle`: what the module loader holds (HMODULE on Windows, the dlopen handle elsewhere); `path`:
    // the module's file. A module whose resources cannot be read is still a module: resources() is then null
    // and resourceError() says why.
    ModuleInstance(void* nativeHandle, const std::string& path);
    ~ModuleInstance();
    ModuleInstance(const ModuleInstance&) = delete;
    ModuleInstance& operator=(const ModuleInstance&) = delete;

    const ModuleResources* resources() const { return resources_ ? &*resources_ : nullptr; }
    const std::string& resourceError() const { return resourceError_; }
    const std::string& path() const { return path_; }

    // The value for SPPlatformAccessInfo.defaultModule.
    void* defaultModule();
    // The live record whose defaultModule() is `handle`, or null.
    static ModuleInstance* fromDefaultModule(void* handle);

    // Distinguishes records over the life of the process, even where one is made at a freed one's address.
    uint64_t serial() const { return serial_; }
    void* nativeHandle() const { return nativeHandle_; }

  private:
    void* nativeHandle_;
    std::string path_;
    uint64_t serial_;
    std::optional<ModuleResources> resources_;
    std::string resourceError_;
};

// Lets LoadCursorA load numbered cursors from ModuleInstance handles. Needed once per process on systems
// without user32; does nothing on Windows.
void installCursorLoader();

// The resource number of the current cursor when LoadCursorA loaded it from a module's resources (on Windows:
// from the module of a live ModuleInstance); nothing when no cursor is current or it is some other cursor.
std::optional<int> currentCursorResource();

} // namespace zz

#endif
