#include "plugin/shell/PluginMain.h"

#include "plugin/settings/ToolSettings.h"
#include "plugin/shell/ErrorReport.h"
#include "plugin/suites/PluginSuites.h"
#include "plugin/tool/ZigzagTool.h"

SPErr startupPlugin(SPInterfaceMessage* message) {
    if (globalsBlock == nullptr) {
        void* block = nullptr;
        SPErr error = sSPBlocks->AllocateBlock(sizeof(ToolSettings), kGlobalsBlockName, &block);
        if (error != kSPNoError) return error;
        if (block == nullptr) return kSPOutOfMemoryError;
        globalsBlock = static_cast<ToolSettings*>(block);
        // The tool handle says whether the tool has been added from this block; nothing else is cleared.
        globalsBlock->toolHandle = nullptr;
    } else if (globalsBlock->toolHandle != nullptr) {
        // Started already: the block and the tool stay as they are, and so do the settings.
        return kSPNoError;
    }
    // A start-up that failed after the allocation left its block held; a retry goes on in that block.
    globalsBlock->hostBasicSuite = message->d.basic;

    int32_t options = 0;
    SPErr error = sAIPlugin->GetPluginOptions(message->d.self, &options);
    if (error != kSPNoError) return error;
    error = sAIPlugin->SetPluginOptions(message->d.self, options | kStartupPluginOption);
    if (error != kSPNoError) return error;

    return addZigzagTool(message->d.self);
}

SPErr shutdownPlugin(SPInterfaceMessage* message) {
    const SPBasicSuite* basic = message->d.basic;
    const void* table = nullptr;
    SPErr error = basic->AcquireSuite(kSPBlocksSuite, kSPBlocksSuiteVersion, &table);
    if (error != kSPNoError) {
        message->d.globals = nullptr;
        return error;
    }
    const SPBlocksSuite* blocks = static_cast<const SPBlocksSuite*>(table);
    if (globalsBlock != nullptr) error = blocks->FreeBlock(globalsBlock);
    basic->ReleaseSuite(kSPBlocksSuite, kSPBlocksSuiteVersion);
    // A block the host would not free is still held: the module keeps it, and the host keeps the word it
    // passed, so that a later shutdown can free it.
    if (error != kSPNoError) return error;
    globalsBlock = nullptr;
    message->d.globals = nullptr;
    return kSPNoError;
}

SPErr unloadPlugin(SPAccessMessage* message) {
    message->d.globals = globalsBlock;
    return kSPNoError;
}

SPErr reloadPlugin(SPAccessMessage* message) {
    sSuiteNestingCount = 0;
    globalsBlock = static_cast<ToolSettings*>(message->d.globals);
    return kSPNoError;
}

SPErr dispatchPluginMessage(const char* caller, const char* selector, void* message) {
    SPMessageData* data = static_cast<SPMessageData*>(message);
    if (data == nullptr || data->basic == nullptr) return kSPBadParameterError;
    const SPBasicSuite* basic = data->basic;

    if (basic->IsEqual(caller, kSPAccessCaller)) {
        SPAccessMessage* access = static_cast<SPAccessMessage*>(message);
        if (basic->IsEqual(selector, kSPAccessUnloadSelector)) return unloadPlugin(access);
        if (basic->IsEqual(selector, kSPAccessReloadSelector)) return reloadPlugin(access);
        return kSPNoError;
    }

    SPErr result = acquireSuites(basic);
    if (result == kSPNoError) {
        if (basic->IsEqual(caller, kSPInterfaceCaller)) {
            SPInterfaceMessage* interfaceMessage = static_cast<SPInterfaceMessage*>(message);
            if (basic->IsEqual(selector, kSPInterfaceStartupSelector))
                result = startupPlugin(interfaceMessage);
            else if (basic->IsEqual(selector, kSPInterfaceAboutSelector))
                result = showAboutBox(data);
            else if (basic->IsEqual(selector, kSPInterfaceShutdownSelector))
                result = shutdownPlugin(interfaceMessage);
        } else {
            result = dispatchToolMessage(caller, selector, message);
        }
    }
    if (result != kSPNoError && result != kSPSuiteNotFoundError) reportError(data, result);
    // A refused release is the host's to deal with; the message's own result goes back unchanged.
    releaseSuites(basic);
    return result;
}
