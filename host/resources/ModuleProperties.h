// What a host reads of a plug-in module before it loads it: the module's property list (resource "PiPL"
// 16000), read from the module's file without loading or mapping the module.
#ifndef ZZ_HOST_RESOURCES_MODULE_PROPERTIES_H
#define ZZ_HOST_RESOURCES_MODULE_PROPERTIES_H

#include <cstdint>
#include <optional>
#include <string>

#include "host/resources/ModuleResources.h"
#include "host/resources/ResourceFormats.h"

namespace zz {

// The property list's resource number.
constexpr uint16_t kPropertyListResource = 16000;
// The one kind of module this host runs: a suite-based plug-in, 'SPEA'.
constexpr uint32_t kSuitePluginKind = fourCharCode("SPEA");

struct ModuleProperties {
    std::optional<uint32_t> kind;             // 'kind', a four-character code; nothing when the list has none
    std::optional<uint32_t> interfaceVersion; // 'ivrs'; nothing when the list has none
    std::string entryPoint; // 'wx86' up to its first zero byte; empty when the list has none
};

// The properties a parsed property list declares. A 'kind' or 'ivrs' value that is not four bytes raises
// ResourceError.
ModuleProperties modulePropertiesOf(const PluginPropertyList& list);

// Reads the property list of the module file at `path` (an ELF module or a PE module, on every system).
// Nothing when it cannot, with the reason in `*error` (when not null), naming the file: no such file, not a
// module, no property list, a malformed module or property list.
std::optional<ModuleProperties> readModuleProperties(const std::string& path, std::string* error);
// The same from a module's resources; `what` names the module in the reason.
std::optional<ModuleProperties> readModuleProperties(const ModuleResources& resources,
                                                     const std::string& what, std::string* error);

// Why a host refuses to load a module with these properties: a kind other than kSuitePluginKind (or none), or
// no entry point name. Nothing when the properties are acceptable. Whether the named entry exists is known
// only once the module is loaded.
std::optional<std::string> checkModuleProperties(const ModuleProperties& properties);

// A four-character code as text: 'SPEA' as "SPEA"; bytes outside printable ASCII as \xNN.
std::string fourCharText(uint32_t code);

} // namespace zz

#endif
