#include "host/resources/ModuleProperties.h"

#include <cstdio>

namespace zz {

namespace {

// A four-byte property value as the little-endian number it stores.
std::optional<uint32_t> u32Property(const PluginPropertyList& list, uint32_t key) {
    const PluginProperty* property = list.find(key);
    if (property == nullptr) return std::nullopt;
    if (property->value.size() != 4)
        throw ResourceError("plug-in property list: '" + fourCharText(key) + "' holds " +
                            std::to_string(property->value.size()) + " bytes, not 4");
    return static_cast<uint32_t>(property->value[0]) | static_cast<uint32_t>(property->value[1]) << 8 |
           static_cast<uint32_t>(property->value[2]) << 16 | static_cast<uint32_t>(property->value[3]) << 24;
}

std::optional<ModuleProperties> failWith(std::string* error, std::string message) {
    if (error != nullptr) *error = std::move(message);
    return std::nullopt;
}

} // namespace

std::string fourCharText(uint32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<unsigned char>((code >> shift) & 0xFF);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            text.push_back(static_cast<char>(c));
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            text += escaped;
        }
    }
    return text;
}

ModuleProperties modulePropertiesOf(const PluginPropertyList& list) {
    ModuleProperties properties;
    properties.kind = u32Property(list, fourCharCode("kind"));
    properties.interfaceVersion = u32Property(list, fourCharCode("ivrs"));
    properties.entryPoint = list.entryPointName().value_or("");
    return properties;
}

std::optional<ModuleProperties> readModuleProperties(const ModuleResources& resources,
                                                     const std::string& what, std::string* error) {
    std::optional<std::span<const uint8_t>> data;
    try {
        data = resources.find("PiPL", kPropertyListResource);
    } catch (const ResourceError& problem) {
        return failWith(error, what + ": the property list cannot be read: " + problem.what());
    }
    if (!data)
        return failWith(error, what + ": has no property list (resource PiPL " +
                                   std::to_string(kPropertyListResource) + " in language " +
                                   std::to_string(kNeutralLanguage) + ")");
    try {
        return modulePropertiesOf(parsePluginPropertyList(*data));
    } catch (const ResourceError& problem) {
        std::string detail = problem.what();
        const std::string prefix = "plug-in property list: ";
        if (detail.rfind(prefix, 0) == 0) detail.erase(0, prefix.size());
        return failWith(error, what + ": malformed property list: " + detail);
    }
}

std::optional<ModuleProperties> readModuleProperties(const std::string& path, std::string* error) {
    try {
        const ModuleResources resources = ModuleResources::readModuleFile(path);
        return readModuleProperties(resources, path, error);
    } catch (const ResourceError& problem) {
        return failWith(error, problem.what());
    } catch (const std::bad_alloc&) {
        return failWith(error, path + ": out of memory reading the module");
    }
}

std::optional<std::string> checkModuleProperties(const ModuleProperties& properties) {
    if (!properties.kind) return "the property list declares no kind";
    if (*properties.kind != kSuitePluginKind)
        return "the module is of kind '" + fourCharText(*properties.kind) + "', not '" +
               fourCharText(kSuitePluginKind) + "'";
    if (properties.entryPoint.empty()) return "the property list names no entry point";
    return std::nullopt;
}

} // namespace zz
