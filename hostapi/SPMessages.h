/*
 * SPMessages.h - the messages the host sends to a plug-in's entry point.
 *
 *   SPErr PluginMain(const char* caller, const char* selector, void* message);
 *
 * `caller` names the sender, `selector` the request; `message` points to a record that starts with
 * SPMessageData and continues as the caller's record below. The host owns the record; it is valid during the
 * call only, except that the host keeps the `globals` word between messages.
 */
#ifndef ZZ_SP_MESSAGES_H
#define ZZ_SP_MESSAGES_H

#include "ZZTypes.h"
#include "SPBasic.h"

ZZ_EXTERN_C_BEGIN

/* The check word of every message record the host builds. */
#define kSPValidSPMessageData ZZ_FOURCC('S', 'P', 'C', 'K')

/* The common header of every message. */
typedef struct SPMessageData {
    int32_t SPCheck;           /* kSPValidSPMessageData */
    SPPluginRef self;          /* the plug-in itself; passed back in most suite calls */
    void* globals;             /* a word the host keeps for the plug-in between messages (see "Unload") */
    const SPBasicSuite* basic; /* the basic suite */
} SPMessageData;

/* ---- callers and selectors ---- */

/* Module life: the plug-in's code is about to be unmapped ("Unload": store what must survive in `globals`) or
   has just been mapped again ("Reload": take it back). No suite is held during these messages. */
#define kSPAccessCaller "SP Access"
#define kSPAccessUnloadSelector "Unload"
#define kSPAccessReloadSelector "Reload"

/* Plug-in life. */
#define kSPInterfaceCaller "SP Interface"
#define kSPInterfaceStartupSelector "Startup"
#define kSPInterfaceAboutSelector "About"
#define kSPInterfaceShutdownSelector "Shutdown"

/* Tool messages; the record is AIToolMessage. */
#define kCallerAITool "AI Tool"
#define kSelectorAIEditToolOptions "AI Edit Options"
#define kSelectorAITrackToolCursor "AI Track Cursor"
#define kSelectorAIToolMouseDown "AI Mouse Down"
#define kSelectorAIToolMouseDrag "AI Mouse Drag"
#define kSelectorAIToolMouseUp "AI Mouse Up"
#define kSelectorAISelectTool "AI Select"
#define kSelectorAIDeselectTool "AI Deselect"

typedef struct SPAccessMessage {
    SPMessageData d;
} SPAccessMessage;

typedef struct SPInterfaceMessage {
    SPMessageData d;
} SPInterfaceMessage;

/* Pen pressure runs from 0 (none) to kMaxPointPressure (full); a system without a pen reports the full value.
 */
#define kMaxPointPressure 255

typedef struct AIToolMessage {
    SPMessageData d;
    AIToolHandle tool;  /* the tool the message is for */
    AIRealPoint cursor; /* the cursor in document coordinates (points, y up) */
    int16_t pressure;   /* pen pressure, 0 .. kMaxPointPressure */
} AIToolMessage;

/* The entry point every plug-in module exports. */
typedef SPErr(SPAPI* SPPluginMainProc)(const char* caller, const char* selector, void* message);
#define kSPPluginMainName "PluginMain"

ZZ_EXTERN_C_END

#endif
