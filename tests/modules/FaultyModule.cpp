// Test modules with one planted fault each, for the validator's tests: the real plug-in behind an entry point
// that adds the fault. Never part of the product.
//   ZZ_PLANTED_LEAK          after a shutdown, one acquisition of the blocks suite is never released
//   ZZ_PLANTED_CRASH         every drag event writes into a block it allocates without checking the status
//   ZZ_PLANTED_SWALLOW       every drag event answers 0, whatever went wrong
//   ZZ_PLANTED_OVERRUN       every start-up writes 4 bytes past the end of the globals block
//   ZZ_PLANTED_TOOLTWICE     every fresh start-up adds the tool a second time
//   ZZ_PLANTED_OKFORGETS     the options dialog's OK keeps nothing: the settings are put back as they were
//   ZZ_PLANTED_ALLOCSWALLOW  start-up asks for a scratch block and answers 0 when it does not get it
//   ZZ_PLANTED_COUNTER       a count of start-ups, kept in the module, moves every drag point to the right
//   ZZ_PLANTED_SLOW          the mouse-up takes 2.5 s
//   ZZ_PLANTED_EMPTYPATH     the mouse-up leaves a path without segments
#include <chrono>
#include <cstddef>
#include <cstring>
#include <thread>

#include "AIArt.h"
#include "AITool.h"
#include "SPBlocks.h"
#include "SPMessages.h"
#include "plugin/settings/ToolSettings.h"
#include "plugin/shell/PluginMain.h"

#define ZZ_EXPORT __attribute__((visibility("default")))

namespace {

bool is(const SPBasicSuite* basic, const char* a, const char* b) {
    return basic->IsEqual(a, b) != 0;
}

[[maybe_unused]] bool isStartup(const SPBasicSuite* basic, const char* caller, const char* selector) {
    return basic != nullptr && is(basic, caller, kSPInterfaceCaller) &&
           is(basic, selector, kSPInterfaceStartupSelector);
}

[[maybe_unused]] bool isTool(const SPBasicSuite* basic, const char* caller, const char* selector,
                             const char* which) {
    return basic != nullptr && is(basic, caller, kCallerAITool) && is(basic, selector, which);
}

// Allocates a block of `size` bytes and frees it again; the allocation's status.
[[maybe_unused]] SPErr allocateScratch(const SPBasicSuite* basic, size_t size, bool write) {
    const void* table = nullptr;
    SPErr error = basic->AcquireSuite(kSPBlocksSuite, kSPBlocksSuiteVersion, &table);
    if (error != kSPNoError) return error;
    const SPBlocksSuite* blocks = static_cast<const SPBlocksSuite*>(table);
    void* block = nullptr;
    error = blocks->AllocateBlock(size, "scratch", &block);
    if (write) static_cast<volatile char*>(block)[0] = 1; // the status is not looked at
    if (error == kSPNoError) blocks->FreeBlock(block);
    basic->ReleaseSuite(kSPBlocksSuite, kSPBlocksSuiteVersion);
    return error;
}

[[maybe_unused]] void addEmptyPath(const SPBasicSuite* basic) {
    const void* table = nullptr;
    if (basic->AcquireSuite(kAIArtSuite, kAIArtSuiteVersion, &table) != kSPNoError) return;
    AIArtHandle art = nullptr;
    static_cast<const AIArtSuite*>(table)->NewArt(kPathArt, kPlaceAboveAll, nullptr, &art);
    basic->ReleaseSuite(kAIArtSuite, kAIArtSuiteVersion);
}

[[maybe_unused]] int startups = 0;

} // namespace

extern "C" ZZ_EXPORT SPErr SPAPI PluginMain(const char* caller, const char* selector, void* message) {
    const SPMessageData* data = static_cast<const SPMessageData*>(message);
    const SPBasicSuite* basic = data != nullptr ? data->basic : nullptr;
    [[maybe_unused]] const bool fresh = globalsBlock == nullptr || globalsBlock->toolHandle == nullptr;
#if defined(ZZ_PLANTED_CRASH)
    if (isTool(basic, caller, selector, kSelectorAIToolMouseDrag)) allocateScratch(basic, 64, true);
#endif
#if defined(ZZ_PLANTED_ALLOCSWALLOW)
    if (isStartup(basic, caller, selector)) allocateScratch(basic, 16, false);
#endif
#if defined(ZZ_PLANTED_COUNTER)
    if (isTool(basic, caller, selector, kSelectorAIToolMouseDrag))
        static_cast<AIToolMessage*>(message)->cursor.h += static_cast<AIReal>(startups);
#endif
#if defined(ZZ_PLANTED_OKFORGETS)
    ToolSettings before;
    if (globalsBlock != nullptr) std::memcpy(&before, globalsBlock, sizeof before);
#endif
    SPErr result = dispatchPluginMessage(caller, selector, message);
#if defined(ZZ_PLANTED_OKFORGETS)
    if (globalsBlock != nullptr && isTool(basic, caller, selector, kSelectorAIEditToolOptions))
        std::memcpy(globalsBlock, &before, sizeof before);
#endif
#if defined(ZZ_PLANTED_OVERRUN)
    if (result == kSPNoError && globalsBlock != nullptr && isStartup(basic, caller, selector))
        std::memset(reinterpret_cast<char*>(globalsBlock) + sizeof(ToolSettings), 0, 4);
#endif
#if defined(ZZ_PLANTED_TOOLTWICE)
    // With the tool handle cleared, a second start-up message adds the tool again.
    if (result == kSPNoError && fresh && isStartup(basic, caller, selector)) {
        globalsBlock->toolHandle = nullptr;
        result = dispatchPluginMessage(caller, selector, message);
    }
#endif
#if defined(ZZ_PLANTED_COUNTER)
    if (result == kSPNoError && fresh && isStartup(basic, caller, selector)) ++startups;
#endif
#if defined(ZZ_PLANTED_SLOW)
    if (isTool(basic, caller, selector, kSelectorAIToolMouseUp))
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
#endif
#if defined(ZZ_PLANTED_EMPTYPATH)
    if (isTool(basic, caller, selector, kSelectorAIToolMouseUp)) addEmptyPath(basic);
#endif
#if defined(ZZ_PLANTED_LEAK)
    if (basic != nullptr && result == kSPNoError && is(basic, caller, kSPInterfaceCaller) &&
        is(basic, selector, kSPInterfaceShutdownSelector)) {
        const void* table = nullptr;
        basic->AcquireSuite(kSPBlocksSuite, kSPBlocksSuiteVersion, &table);
    }
#endif
#if defined(ZZ_PLANTED_SWALLOW)
    if (isTool(basic, caller, selector, kSelectorAIToolMouseDrag)) return kSPNoError;
#endif
    return result;
}
