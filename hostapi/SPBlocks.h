/* SPBlocks.h - memory blocks that the host allocates for a plug-in and that may outlive the module's code. */
#ifndef ZZ_SP_BLOCKS_H
#define ZZ_SP_BLOCKS_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kSPBlocksSuite "SP Blocks Suite"
#define kSPBlocksSuiteVersion 2

typedef struct SPBlocksSuite {
    /* [any message] Allocates `size` bytes under the label `debugName` (kept by the host for diagnostics) and
       stores the block's address in *block. The content is not cleared. The block belongs to the plug-in
       until it passes it to FreeBlock; the host keeps it alive while the module is unloaded. Returns 0,
       kSPOutOfMemoryError (*block set to null), kSPBadParameterError (null block pointer). */
    SPErr(SPAPI* AllocateBlock)(size_t size, const char* debugName, void** block);

    /* [any message] Frees a block that AllocateBlock returned. Returns 0, or kSPBadHandleError when `block`
       is not a live block of this host (nothing is freed then). */
    SPErr(SPAPI* FreeBlock)(void* block);
} SPBlocksSuite;

ZZ_EXTERN_C_END

#endif
