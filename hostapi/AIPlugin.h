/* AIPlugin.h - what the host knows of a plug-in: its option flags. */
#ifndef ZZ_AI_PLUGIN_H
#define ZZ_AI_PLUGIN_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAIPluginSuite "AI Plugin Suite"
#define kAIPluginSuiteVersion 3

/* Option flags. */
enum {
    kPluginWantsResultsOption = 1,
    kPluginWantsPersistentGlobalsOption = 2 /* keep the plug-in's globals block across unload and reload */
};

typedef struct AIPluginSuite {
    /* [any message] Stores the option flags of `plugin` in *options (0 for a new plug-in).
       Returns 0, kSPBadParameterError. */
    SPErr(SPAPI* GetPluginOptions)(SPPluginRef plugin, int32_t* options);
    /* [any message] Replaces the option flags of `plugin`. Returns 0, kSPBadParameterError. */
    SPErr(SPAPI* SetPluginOptions)(SPPluginRef plugin, int32_t options);
} AIPluginSuite;

ZZ_EXTERN_C_END

#endif
