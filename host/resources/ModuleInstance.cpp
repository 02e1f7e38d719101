#include "host/resources/ModuleInstance.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "host/resources/ResourceFormats.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include "platform/user32/ZZUser32Host.h"
#endif

namespace zz {

namespace {

std::atomic<uint64_t> gNextSerial{1};

// Live records. Cursor handles and the current-cursor query go through this list, so a stale handle from an
// unloaded module is recognised instead of followed.
std::mutex gMutex;
std::vector<ModuleInstance*> gLive;

#if !defined(_WIN32)

// A cursor handed out by the stand-in's LoadCursorA. Kept for the life of the process, like a system cursor,
// so a handle stays valid after its module is gone.
struct LoadedCursor {
    uint64_t moduleSerial;
    int resourceNumber;
    CursorImage image;
};
std::vector<std::unique_ptr<LoadedCursor>> gCursors;

HCURSOR loadCursorFromInstance(HINSTANCE instance, int resourceNumber) {
    if (resourceNumber < 1 || resourceNumber > 0xFFFF) return nullptr;
    std::lock_guard<std::mutex> lock(gMutex);
    const auto live = std::find(gLive.begin(), gLive.end(), static_cast<ModuleInstance*>(instance));
    if (live == gLive.end()) return nullptr;
    const ModuleInstance& module = **live;
    for (const std::unique_ptr<LoadedCursor>& cursor : gCursors)
        if (cursor->moduleSerial == module.serial() && cursor->resourceNumber == resourceNumber)
            return cursor.get();
    if (module.resources() == nullptr) return nullptr;
    try {
        std::optional<CursorImage> image =
            loadCursor(*module.resources(), static_cast<uint16_t>(resourceNumber));
        if (!image) return nullptr;
        gCursors.push_back(
            std::make_unique<LoadedCursor>(LoadedCursor{module.serial(), resourceNumber, *image}));
        return gCursors.back().get();
    } catch (const ResourceError&) {
        return nullptr; // a malformed cursor is no cursor
    }
}

#endif

} // namespace

ModuleInstance::ModuleInstance(void* nativeHandle, const std::string& path)
    : nativeHandle_(nativeHandle), path_(path), serial_(gNextSerial++) {
    try {
        resources_ = ModuleResources::fromLoadedModule(nativeHandle, path);
    } catch (const ResourceError& error) {
        resourceError_ = error.what();
    }
    std::lock_guard<std::mutex> lock(gMutex);
    gLive.push_back(this);
}

ModuleInstance::~ModuleInstance() {
    std::lock_guard<std::mutex> lock(gMutex);
    gLive.erase(std::remove(gLive.begin(), gLive.end(), this), gLive.end());
}

void* ModuleInstance::defaultModule() {
#if defined(_WIN32)
    return nativeHandle_;
#else
    return this;
#endif
}

ModuleInstance* ModuleInstance::fromDefaultModule(void* handle) {
    std::lock_guard<std::mutex> lock(gMutex);
    for (ModuleInstance* module : gLive)
        if (module->defaultModule() == handle) return module;
    return nullptr;
}

void installCursorLoader() {
#if !defined(_WIN32)
    zzUser32SetCursorLoader(loadCursorFromInstance);
#endif
}

std::optional<int> currentCursorResource() {
#if defined(_WIN32)
    const HCURSOR current = GetCursor();
    if (current == nullptr) return std::nullopt;
    std::lock_guard<std::mutex> lock(gMutex);
    for (ModuleInstance* module : gLive) {
        if (module->resources() == nullptr) continue;
        for (const ResourceEntry& entry : module->resources()->list()) {
            if (!(entry.type == ResourceId(kCursorGroupResource)) || !entry.name.isNumber()) continue;
            const HCURSOR candidate = LoadCursorA(static_cast<HINSTANCE>(module->nativeHandle()),
                                                  MAKEINTRESOURCEA(entry.name.number()));
            if (candidate == current) return entry.name.number();
        }
    }
    return std::nullopt;
#else
    const HCURSOR current = zzUser32CurrentCursor();
    if (current == nullptr) return std::nullopt;
    std::lock_guard<std::mutex> lock(gMutex);
    for (const std::unique_ptr<LoadedCursor>& cursor : gCursors)
        if (cursor.get() == current) return cursor->resourceNumber;
    return std::nullopt;
#endif
}

} // namespace zz
