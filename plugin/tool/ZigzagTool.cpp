#include "plugin/tool/ZigzagTool.h"

#include "ZZUser32.h"
#include "plugin/dialog/OptionsDialog.h"
#include "plugin/settings/ToolSettings.h"
#include "plugin/suites/PluginSuites.h"
#include "plugin/tool/GenerationDriver.h"

SPErr addZigzagTool(SPPluginRef self) {
    ADMIconRef icon = sADMIcon->GetFromResource(self, kZigzagToolIconID, kZigzagToolIconIndex);
    if (sADMIcon->GetType(icon) == kUnknownIcon) return kToolIconMissingError;

    AIAddToolData data;
    data.title = kZigzagToolTitle;
    data.tooltip = kZigzagToolTooltip;
    data.helpID = 0;
    data.icon = icon;
    data.sameGroupAs = kNoTool;
    data.sameToolsAs = kNoTool;
    SPErr error = sAITool->AddTool(self, kZigzagToolTitle, &data, kToolWantsToTrackCursorOption,
                                   &globalsBlock->toolHandle);
    if (error != kSPNoError) {
        // No tool was added: a later start-up must add it.
        globalsBlock->toolHandle = nullptr;
        return error;
    }

    writeDefaultSettings(*globalsBlock);
    return kSPNoError;
}

SPErr editToolOptions(AIToolMessage* message) {
    int32_t item = sADMDialog->Modal(message->d.self, "ZigzagTool", kOptionsDialogID, kADMModalDialogStyle,
                                     initOptionsDialog, nullptr, 0);
    return item == kADMDefaultItemID ? kSPNoError : kSPUserCanceledError;
}

SPErr trackToolCursor(AIToolMessage* message) {
    SPAccessRef access = nullptr;
    if (sSPAccess->GetPluginAccess(message->d.self, &access) != kSPNoError) return kSPNoError;
    SPPlatformAccessInfo info = {nullptr, nullptr};
    if (sSPAccess->GetAccessInfo(access, &info) != kSPNoError) return kSPNoError;
    HCURSOR cursor =
        LoadCursorA(static_cast<HINSTANCE>(info.defaultModule), MAKEINTRESOURCEA(kZigzagToolCursorID));
    if (cursor != nullptr) SetCursor(cursor);
    return kSPNoError;
}

SPErr toolMouseDown(AIToolMessage* message) {
    globalsBlock->pressPointX = message->cursor.h;
    globalsBlock->pressPointY = message->cursor.v;
    globalsBlock->dragEventCounter = 0.0f;
    return kSPNoError;
}

SPErr toolMouseDrag(AIToolMessage* message) {
    return generateZigzagArt(message->cursor.h, message->cursor.v, message->pressure);
}

SPErr dispatchToolMessage(const char* caller, const char* selector, void* message) {
    const SPBasicSuite* basic = static_cast<SPMessageData*>(message)->basic;
    if (!basic->IsEqual(caller, kCallerAITool)) return kSPNoError;
    AIToolMessage* toolMessage = static_cast<AIToolMessage*>(message);

    // The handlers below that use the settings record need the globals block that start-up allocates.
    bool hasSettings = globalsBlock != nullptr;
    if (basic->IsEqual(selector, kSelectorAIEditToolOptions))
        return hasSettings ? editToolOptions(toolMessage) : kSPBadHandleError;
    if (basic->IsEqual(selector, kSelectorAITrackToolCursor)) return trackToolCursor(toolMessage);
    if (basic->IsEqual(selector, kSelectorAIToolMouseDown))
        return hasSettings ? toolMouseDown(toolMessage) : kSPBadHandleError;
    if (basic->IsEqual(selector, kSelectorAIToolMouseDrag))
        return hasSettings ? toolMouseDrag(toolMessage) : kSPBadHandleError;
    // Mouse up, select and deselect need nothing: a drag's art is already in the document.
    return kSPNoError;
}
