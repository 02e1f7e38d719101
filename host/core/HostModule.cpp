// The host's side of the loaded module: mapping it, its resources (strings, icons, cursors) and the platform
// handle that SP Access hands out.
#include "host/core/Host.h"

#if __has_include("host/resources/ResourceFormats.h") && __has_include("host/user32/ZZUser32Host.h")
#define ZZ_HAVE_RESOURCE_READER 1
#include "host/resources/ModuleResources.h"
#include "host/resources/ResourceFormats.h"
#if defined(_WIN32)
#include <windows.h>
#else
#include "host/user32/ZZUser32Host.h"
#endif
#endif

namespace zz {

#if defined(ZZ_HAVE_RESOURCE_READER)
namespace {

#if !defined(_WIN32)
// Cursors of the stand-in: one handle per cursor group of the current host's module, the address of the
// host's record of its number.
HCURSOR loadModuleCursor(HINSTANCE instance, int number) {
    Host* host = Host::current();
    if (host == nullptr || instance == nullptr || instance != host->platformModuleHandle()) return nullptr;
    return host->cursorHandle(number);
}
#endif

} // namespace

bool Host::loadModule(const std::string& path, std::string* error) {
    resources_.reset();
    resourceProblem_.clear();
    if (!module_.open(path, error)) return false;
    try {
        resources_ = std::make_shared<const ModuleResources>(
            ModuleResources::fromLoadedModule(module_.nativeHandle(), path));
    } catch (const std::exception& problem) {
        resourceProblem_ = problem.what();
    }
#if !defined(_WIN32)
    zzUser32SetCursorLoader(loadModuleCursor);
#endif
    return true;
}

void Host::unloadModule() {
    // The resources of a Windows module live in its mapping: they go first.
    resources_.reset();
    module_.close();
}

void* Host::platformModuleHandle() const {
    return module_.nativeHandle();
}

ADMIconRef Host::loadIcon(int32_t id, int32_t index) {
    IconRecord record;
    record.id = id;
    record.index = index;
    const int32_t group = id + index;
    bool found = false;
    if (resources_ && group > 0 && group <= 0xFFFF) {
        try {
            found = zz::loadIcon(*resources_, static_cast<uint16_t>(group)).has_value();
        } catch (const std::exception&) {
            found = false; // a malformed icon is no icon
        }
    }
    record.type = facts_.iconType.value_or(found ? kWinIcon : kUnknownIcon);
    icons_.push_back(record);
    return reinterpret_cast<ADMIconRef>(&icons_.back());
}

std::optional<std::string> Host::indexString(int32_t list, int32_t index) const {
    if (!resources_) return std::nullopt;
    const int64_t number = static_cast<int64_t>(list) + index;
    if (index < 0 || number < 0 || number > 0xFFFF) return std::nullopt;
    try {
        return loadString(*resources_, static_cast<uint16_t>(number));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void* Host::cursorHandle(int number) {
    if (!resources_ || number <= 0 || number > 0xFFFF) return nullptr;
    try {
        if (!loadCursor(*resources_, static_cast<uint16_t>(number))) return nullptr;
    } catch (const std::exception&) {
        return nullptr;
    }
    auto& slot = cursors_[number];
    if (!slot) slot = std::make_unique<int32_t>(number);
    return slot.get();
}

void Host::clearCursor() {
    SetCursor(nullptr);
}

std::optional<int32_t> Host::currentCursor() const {
#if defined(_WIN32)
    HCURSOR current = GetCursor();
    if (current == nullptr || !resources_) return std::nullopt;
    // LoadCursorA hands out one shared handle per cursor of a module: compare with each of the module's
    // cursors.
    for (const ResourceEntry& entry : resources_->list()) {
        if (!entry.type.isNumber() || entry.type.number() != kCursorGroupResource || !entry.name.isNumber())
            continue;
        HCURSOR candidate =
            LoadCursorA(static_cast<HMODULE>(module_.nativeHandle()), MAKEINTRESOURCEA(entry.name.number()));
        if (candidate == current) return entry.name.number();
    }
    return std::nullopt;
#else
    const void* current = zzUser32CurrentCursor();
    for (const auto& [number, record] : cursors_)
        if (record.get() == current) return number;
    return std::nullopt;
#endif
}

#else // built before the resource reader: a module without resources

bool Host::loadModule(const std::string& path, std::string* error) {
    resources_.reset();
    resourceProblem_ = "this build cannot read module resources";
    return module_.open(path, error);
}

void Host::unloadModule() {
    module_.close();
}

void* Host::platformModuleHandle() const {
    return module_.nativeHandle();
}

ADMIconRef Host::loadIcon(int32_t id, int32_t index) {
    icons_.push_back(IconRecord{id, index, facts_.iconType.value_or(kUnknownIcon)});
    return reinterpret_cast<ADMIconRef>(&icons_.back());
}

std::optional<std::string> Host::indexString(int32_t, int32_t) const {
    return std::nullopt;
}

void* Host::cursorHandle(int) {
    return nullptr;
}

void Host::clearCursor() {}

std::optional<int32_t> Host::currentCursor() const {
    return std::nullopt;
}

#endif

} // namespace zz
