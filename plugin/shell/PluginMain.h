// Message dispatch of the plug-in's entry point and the module's life cycle around the globals block.
#ifndef ZZ_PLUGIN_SHELL_PLUGIN_MAIN_H
#define ZZ_PLUGIN_SHELL_PLUGIN_MAIN_H

#include "SPMessages.h"

// Debug name of the globals block and the plug-in option flag that start-up sets.
constexpr const char* kGlobalsBlockName = "globals";
constexpr int32_t kStartupPluginOption = 2;

// Everything PluginMain does: answers `caller` / `selector` with `message` and returns the result to the
// host.
SPErr dispatchPluginMessage(const char* caller, const char* selector, void* message);

// Allocates the globals block (unless one is held), sets the start-up plug-in option, adds the tool and
// writes the defaults; answers the first failure. A start-up that failed keeps its block, and a retry
// continues in it. Once the tool is added, a further start-up keeps the block, the tool and the settings and
// answers 0.
SPErr startupPlugin(SPInterfaceMessage* message);
// Frees the globals block through a block suite of its own and clears the message's globals word. Answers
// the failure to acquire that suite (the block stays held, the word is cleared) or to free the block (the
// block and the word are both kept, so that a later shutdown can free it), else 0.
SPErr shutdownPlugin(SPInterfaceMessage* message);
// Hands the globals block to the host in the message's globals word; answers 0.
SPErr unloadPlugin(SPAccessMessage* message);
// Takes the globals block back from the message's globals word and restarts the suite count; answers 0.
SPErr reloadPlugin(SPAccessMessage* message);

#endif
