// The host's side of the loaded module: mapping it, its resources (strings, icons) and the platform handle
// that SP Access hands out, through which the module loads its cursor.
#include "host/core/Host.h"

#include "host/resources/ModuleInstance.h"
#include "host/resources/ModuleResources.h"
#include "host/resources/ResourceFormats.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include "host/user32/ZZUser32Host.h"
#endif

namespace zz {

bool Host::loadModule(const std::string& path, std::string* error) {
    instance_.reset();
    if (!module_.open(path, error)) return false;
    instance_ = std::make_shared<ModuleInstance>(module_.nativeHandle(), path);
    installCursorLoader();
    return true;
}

void Host::unloadModule() {
    // The resources of a Windows module live in its mapping: they go first.
    instance_.reset();
    module_.close();
}

const ModuleResources* Host::resources() const {
    return instance_ ? instance_->resources() : nullptr;
}

void* Host::platformModuleHandle() const {
    return instance_ ? instance_->defaultModule() : nullptr;
}

ADMIconRef Host::loadIcon(int32_t id, int32_t index) {
    IconRecord record;
    record.id = id;
    record.index = index;
    const int64_t group = static_cast<int64_t>(id) + index;
    bool found = false;
    if (resources() != nullptr && group > 0 && group <= 0xFFFF) {
        try {
            found = zz::loadIcon(*resources(), static_cast<uint16_t>(group)).has_value();
        } catch (const ResourceError&) {
            found = false; // a malformed icon is no icon
        }
    }
    record.type = facts_.iconType.value_or(found ? kWinIcon : kUnknownIcon);
    icons_.push_back(record);
    return reinterpret_cast<ADMIconRef>(&icons_.back());
}

std::optional<std::string> Host::indexString(int32_t list, int32_t index) const {
    const int64_t number = static_cast<int64_t>(list) + index;
    if (resources() == nullptr || index < 0 || number < 0 || number > 0xFFFF) return std::nullopt;
    try {
        return loadString(*resources(), static_cast<uint16_t>(number));
    } catch (const ResourceError&) {
        return std::nullopt;
    }
}

void Host::clearCursor() {
    SetCursor(nullptr);
}

std::optional<int32_t> Host::currentCursor() const {
    if (auto number = currentCursorResource()) return *number;
    return std::nullopt;
}

} // namespace zz
