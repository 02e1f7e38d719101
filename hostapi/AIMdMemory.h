/* AIMdMemory.h - relocatable memory handles. Offered so that a plug-in may acquire the suite; this host does
   not implement its operations yet: each returns kSPUnimplementedError. */
#ifndef ZZ_AI_MDMEMORY_H
#define ZZ_AI_MDMEMORY_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAIMdMemorySuite "AI MdMemory Suite"
#define kAIMdMemorySuiteVersion 1

typedef struct _AIMdMemoryHandle* AIMdMemoryHandle;

typedef struct AIMdMemorySuite {
    /* [any message] Allocates a handle of `size` bytes, cleared. Returns 0, kSPOutOfMemoryError. */
    SPErr(SPAPI* MdMemoryNewHandle)(size_t size, AIMdMemoryHandle* handle);
    /* [any message] Frees a handle. Returns 0, kSPBadHandleError. */
    SPErr(SPAPI* MdMemoryDisposeHandle)(AIMdMemoryHandle handle);
    /* [any message] Stores the handle's memory address in *pointer. Returns 0, kSPBadHandleError. */
    SPErr(SPAPI* MdMemoryLock)(AIMdMemoryHandle handle, void** pointer);
} AIMdMemorySuite;

ZZ_EXTERN_C_END

#endif
