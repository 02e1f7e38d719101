// Test modules with one planted fault each, for the validator's tests: the real plug-in behind an entry point
// that adds the fault. Never part of the product.
//   ZZ_PLANTED_LEAK     after a shutdown, one acquisition of the blocks suite is never released
//   ZZ_PLANTED_CRASH    every drag event writes into a block it allocates without checking the status
//   ZZ_PLANTED_SWALLOW  every drag event answers 0, whatever went wrong
#include <cstddef>

#include "AITool.h"
#include "SPBlocks.h"
#include "SPMessages.h"
#include "plugin/shell/PluginMain.h"

#define ZZ_EXPORT __attribute__((visibility("default")))

namespace {

bool is(const SPBasicSuite* basic, const char* a, const char* b) {
    return basic->IsEqual(a, b) != 0;
}

} // namespace

extern "C" ZZ_EXPORT SPErr SPAPI PluginMain(const char* caller, const char* selector, void* message) {
    const SPMessageData* data = static_cast<const SPMessageData*>(message);
    const SPBasicSuite* basic = data != nullptr ? data->basic : nullptr;
#if defined(ZZ_PLANTED_CRASH)
    if (basic != nullptr && is(basic, caller, kCallerAITool) &&
        is(basic, selector, kSelectorAIToolMouseDrag)) {
        const void* table = nullptr;
        if (basic->AcquireSuite(kSPBlocksSuite, kSPBlocksSuiteVersion, &table) == kSPNoError) {
            const SPBlocksSuite* blocks = static_cast<const SPBlocksSuite*>(table);
            void* block = nullptr;
            blocks->AllocateBlock(64, "scratch", &block);
            static_cast<volatile char*>(block)[0] = 1;
            blocks->FreeBlock(block);
            basic->ReleaseSuite(kSPBlocksSuite, kSPBlocksSuiteVersion);
        }
    }
#endif
    const SPErr result = dispatchPluginMessage(caller, selector, message);
#if defined(ZZ_PLANTED_LEAK)
    if (basic != nullptr && result == kSPNoError && is(basic, caller, kSPInterfaceCaller) &&
        is(basic, selector, kSPInterfaceShutdownSelector)) {
        const void* table = nullptr;
        basic->AcquireSuite(kSPBlocksSuite, kSPBlocksSuiteVersion, &table);
    }
#endif
#if defined(ZZ_PLANTED_SWALLOW)
    if (basic != nullptr && is(basic, caller, kCallerAITool) && is(basic, selector, kSelectorAIToolMouseDrag))
        return kSPNoError;
#endif
    return result;
}
