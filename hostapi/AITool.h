/* AITool.h - tools of the host's toolbox. A tool that a plug-in adds is answered through the plug-in's
   PluginMain with the "AI Tool" messages (kCallerAITool): their selectors, records and what the plug-in must
   do for each are declared in SPMessages.h. */
#ifndef ZZ_AI_TOOL_H
#define ZZ_AI_TOOL_H

#include "ZZTypes.h"
#include "ADMIcon.h"

ZZ_EXTERN_C_BEGIN

#define kAIToolSuite "AI Tool Suite"
#define kAIToolSuiteVersion 9

/* sameGroupAs / sameToolsAs value for "no tool": the new tool starts a group (a tool set) of its own. */
#define kNoTool (-2)

/* Tool options. */
enum { kToolWantsToTrackCursorOption = 1 };

typedef struct AIAddToolData {
    const char* title;   /* shown in the toolbox; copied by the host */
    const char* tooltip; /* copied by the host */
    int32_t helpID;      /* the host's help topic; 0 for none */
    ADMIconRef icon;     /* the tool's icon, from ADM Icon GetFromResource */
    int16_t sameGroupAs; /* number of the tool to share a group with, or kNoTool */
    int16_t sameToolsAs; /* number of the tool to share a tool set with, or kNoTool */
} AIAddToolData;

typedef struct AIToolSuite {
    /* [any message] Adds a tool named `name` owned by `self` with the description `data` and `options`, and
       stores its handle in *tool. Returns 0, kSPBadParameterError (null argument, null icon). */
    SPErr(SPAPI* AddTool)(SPPluginRef self, const char* name, const AIAddToolData* data, int32_t options,
                          AIToolHandle* tool);
    /* [any message] Stores in *hasPressure whether the system has a pressure-sensitive pen, that is whether
       the pressure of tool messages is meaningful. Returns 0, kSPBadParameterError. */
    SPErr(SPAPI* SystemHasPressure)(AIBoolean* hasPressure);
} AIToolSuite;

ZZ_EXTERN_C_END

#endif
