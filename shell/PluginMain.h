// Message dispatch of the plug-in's entry point and the module's life cycle around the globals block.
#ifndef ZZ_SHELL_PLUGIN_MAIN_H
#define ZZ_SHELL_PLUGIN_MAIN_H

#include "SPMessages.h"

// Debug name of the globals block and the plug-in option flag that start-up sets.
constexpr const char* kGlobalsBlockName = "globals";
constexpr int32_t kStartupPluginOption = 2;

// Everything PluginMain does: answers `caller` / `selector` with `message` and returns the result to the
// host.
SPErr dispatchPluginMessage(const char* caller, const char* selector, void* message);

SPErr startupPlugin(SPInterfaceMessage* message);
SPErr shutdownPlugin(SPInterfaceMessage* message);
SPErr unloadPlugin(SPAccessMessage* message);
SPErr reloadPlugin(SPAccessMessage* message);

#endif
