/* SPAccess.h - the loaded module behind a plug-in: its access record and the platform's handle of it. */
#ifndef ZZ_SP_ACCESS_H
#define ZZ_SP_ACCESS_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kSPAccessSuite "SP Access Suite"
#define kSPAccessSuiteVersion 3

/* What the platform knows of a loaded module. `defaultModule` is the module's instance handle: on Windows the
   HINSTANCE that LoadCursorA and the other resource functions accept, on other systems the host's equivalent
   (accepted by the same functions of ZZUser32.h). */
typedef struct SPPlatformAccessInfo {
    void* defaultModule;
    void* resourceAccess; /* reserved, null */
} SPPlatformAccessInfo;

typedef struct SPAccessSuite {
    /* [any message] Stores the access record of `plugin`'s module in *access. Returns 0,
     * kSPBadParameterError. */
    SPErr(SPAPI* GetPluginAccess)(SPPluginRef plugin, SPAccessRef* access);

    /* [any message] Fills *info for the module of `access`. Returns 0, kSPBadHandleError,
     * kSPBadParameterError. */
    SPErr(SPAPI* GetAccessInfo)(SPAccessRef access, SPPlatformAccessInfo* info);
} SPAccessSuite;

ZZ_EXTERN_C_END

#endif
