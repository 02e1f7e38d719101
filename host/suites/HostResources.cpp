// What the suites read of the loaded module: its resources (strings, icons) and the platform handle that
// SP Access hands out, through which the module loads its cursor.
#include "host/suites/HostServices.h"

#include "host/resources/ModuleInstance.h"
#include "host/resources/ModuleResources.h"
#include "host/resources/ResourceFormats.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include "platform/user32/ZZUser32Host.h"
#endif

namespace zz {

const ModuleResources* HostServices::resources() const {
    return instance_ ? instance_->resources() : nullptr;
}

void* HostServices::platformModuleHandle() const {
    return instance_ ? instance_->defaultModule() : nullptr;
}

ADMIconRef HostServices::loadIcon(int32_t id, int32_t index) {
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

std::optional<std::string> HostServices::indexString(int32_t list, int32_t index) const {
    const int64_t number = static_cast<int64_t>(list) + index;
    if (resources() == nullptr || index < 0 || number < 0 || number > 0xFFFF) return std::nullopt;
    try {
        return loadString(*resources(), static_cast<uint16_t>(number));
    } catch (const ResourceError&) {
        return std::nullopt;
    }
}

void HostServices::clearCursor() {
    SetCursor(nullptr);
}

std::optional<int32_t> HostServices::currentCursor() const {
    if (auto number = currentCursorResource()) return *number;
    return std::nullopt;
}

} // namespace zz
