// The zigzag tool: adding it to the toolbox and answering its tool messages.
#ifndef ZZ_PLUGIN_TOOL_ZIGZAG_TOOL_H
#define ZZ_PLUGIN_TOOL_ZIGZAG_TOOL_H

#include "SPMessages.h"
#include "plugin/resources/ResourceIds.h"

constexpr const char* kZigzagToolTitle = " KT7 Zigzag Tool";
constexpr const char* kZigzagToolTooltip = " KT7 Zigzag Tool (Drag cursor to create path)";
constexpr int32_t kZigzagToolIconID = ZZ_TOOL_ICON_ID;
constexpr int32_t kZigzagToolIconIndex = ZZ_TOOL_ICON_INDEX;
constexpr int32_t kZigzagToolCursorID = ZZ_TOOL_CURSOR_ID;
constexpr int32_t kOptionsDialogID = ZZ_OPTIONS_DIALOG_ID;
// Start-up fails with this code when the tool icon cannot be loaded.
constexpr SPErr kToolIconMissingError = ZZ_FOURCC('!', 'i', 'c', 'o');

// Loads the tool icon, adds the tool (its handle goes into the settings record) and writes every default.
SPErr addZigzagTool(SPPluginRef self);

// Answers the "AI Tool" messages; 0 for every other caller and for selectors the tool does not handle.
SPErr dispatchToolMessage(const char* caller, const char* selector, void* message);

// Runs the options dialog: 0 when it is closed with OK, the cancel code otherwise.
SPErr editToolOptions(AIToolMessage* message);
// Shows the tool cursor from the module's resources; always 0.
SPErr trackToolCursor(AIToolMessage* message);
// Records the press point and restarts the drag event count.
SPErr toolMouseDown(AIToolMessage* message);
// Generates the zigzag for the drag event.
SPErr toolMouseDrag(AIToolMessage* message);

#endif
