/*
 * SPMessages.h - the messages the host sends to a plug-in's entry point.
 *
 *   SPErr PluginMain(const char* caller, const char* selector, void* message);
 *
 * `caller` names the sender, `selector` the request; `message` points to a record that starts with
 * SPMessageData and continues as the caller's record below. The host owns the record; it is valid during the
 * call only, except that the host keeps the `globals` word between messages.
 *
 * Two scenarios show the order of messages before the details below.
 *
 *   One drag with the tool, from the toolbox to the release (after "Startup" added the tool):
 *     "AI Tool"/"AI Select"          the tool became current
 *     "AI Tool"/"AI Track Cursor"    any number, while the cursor moves over the document
 *     (the host opens the drag's undo context)
 *     "AI Tool"/"AI Mouse Down"      the press point and pressure
 *     "AI Tool"/"AI Mouse Drag"      any number: each brings the art up to date for the cursor
 *     "AI Tool"/"AI Mouse Up"        the release
 *     (the host closes the undo context: one undo takes the whole drag back)
 *
 *   The options dialog, from the double click to OK:
 *     "AI Tool"/"AI Edit Options"    the plug-in calls ADM Dialog Modal, which does not return yet:
 *       init procedure               runs inside Modal: the plug-in fills the items from its options
 *       notify procedures            inside Modal, one per change the user makes
 *       (OK pressed)                 Modal returns the OK button's id; the items are gone
 *     the plug-in keeps the options it read in the notifiers and answers 0 (Cancel: kSPUserCanceledError)
 *   While Modal waits, "About", "AI Track Cursor", "AI Select" and "AI Deselect" may arrive nested.
 *
 * Results. The plug-in answers 0 for success, else a status. A selector or caller the plug-in does not know
 * is answered 0. kSPUserCanceledError means the user cancelled and is never shown to the user; every other
 * failure has been shown to the user by the plug-in itself (the host shows nothing) before it is returned.
 * Below, each selector says what the plug-in must do, what a failure means and what may be nested in it.
 *
 * Nesting. The host sends every message on its user-interface thread. A message is nested when the host
 * sends it while the plug-in is still answering another one (the outer message); that happens only while the
 * plug-in waits in a host call that runs a modal dialog or an alert (ADM Dialog Modal, ADM Basic
 * MessageAlert) inside the outer message. Only "About" and the tool messages "AI Track Cursor", "AI Select"
 * and "AI Deselect" are ever nested; the life-cycle messages ("Startup", "Shutdown", "Unload", "Reload"),
 * "AI Edit Options" and the mouse messages never are. The procedures of a dialog (init, notify) are not
 * messages: they run inside Modal and belong to the message that called it. The suites the outer message
 * acquired stay valid until it releases them, also while a nested message is answered.
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

/* Module life; the record is SPAccessMessage. The module's own data (every variable of its code) is lost
   between "Unload" and "Reload"; only memory the host allocated for the plug-in (SP Blocks) survives. During
   these messages the plug-in may call the basic suite's IsEqual and nothing else: it acquires no suite and
   shows nothing. Nothing is nested in them and they are never nested. */
#define kSPAccessCaller "SP Access"
/* "Unload": the module's code is about to be unmapped. Must: store in `globals` the one word it needs to find
   its state again (null when it has none). Failure: not acted on; the host unmaps the module whatever the
   result, so the plug-in answers 0. No message but "Reload" reaches the module until it is mapped again. */
#define kSPAccessUnloadSelector "Unload"
/* "Reload": the module's code has just been mapped again, with fresh module data. Must: take its state back
   from `globals` (the word "Unload" stored, null if there was no "Unload" before) and forget anything it
   believed held (suites are not held now). Failure: not acted on; the plug-in answers 0. */
#define kSPAccessReloadSelector "Reload"

/* Plug-in life; the record is SPInterfaceMessage. */
#define kSPInterfaceCaller "SP Interface"
/* "Startup": sent once before any tool message, and again only after a failed "Startup" or after "Shutdown".
   Must: allocate the state it keeps across messages (SP Blocks), set its plug-in options and add its tools
   (AI Tool AddTool); answer 0 when the plug-in is running. Failure: the plug-in is not running; it has added
   no tool that it will add a second time, and what it allocated before the failure stays its own (kept
   across "Unload", freed by "Shutdown"). The host may send "Startup" again, which continues from there
   without a second block or tool, or "Shutdown". A "Startup" to a running plug-in changes nothing and is
   answered 0. Nested in it: only while it shows the alert or error dialog of a failure (see Nesting). */
#define kSPInterfaceStartupSelector "Startup"
/* "About": the user asked about the plug-in. Must: show what the plug-in is (usually a modal dialog) and
   answer 0 once it is closed, however it was closed. Failure: the information could not be shown; nothing
   else changed. Nested in it: the messages of Nesting while its dialog is open. May come at any time, even
   before "Startup", and nested in another message. */
#define kSPInterfaceAboutSelector "About"
/* "Shutdown": the host is done with the plug-in. Must: free what it allocated (its SP Blocks block) and set
   `globals` to null; after a 0 the plug-in holds nothing of the host's, and the host sends it no tool message
   until the next "Startup" (or unmaps the module). Failure: something
   could not be freed; the plug-in keeps what it needs to free it (its state and the `globals` word stay as
   they were) and the host may send "Shutdown" again. Nested in it: only while it shows the alert or error
   dialog of a failure (see Nesting). Never sent while another message is being answered. */
#define kSPInterfaceShutdownSelector "Shutdown"

/* Tool messages; the record is AIToolMessage, whose `tool` names the tool the message is for. They come only
   between a successful "Startup" and "Shutdown", for tools the plug-in added. */
#define kCallerAITool "AI Tool"
/* "AI Edit Options": the user double-clicked the tool in the toolbox. Must: let the user edit the tool's
   options (usually in a modal dialog) and keep what the user confirmed. Answers 0 when the user confirmed,
   kSPUserCanceledError when the user cancelled (nothing is shown for it). Failure: the options could not be
   edited; the tool stays usable. Nested in it: the messages of Nesting while its dialog is open. */
#define kSelectorAIEditToolOptions "AI Edit Options"
/* "AI Track Cursor": the cursor moved over the document while the tool is current; sent only to a tool added
   with kToolWantsToTrackCursorOption. `cursor` holds its position. Must: make the tool's cursor current
   (SetCursor of ZZUser32.h on this host). Failure: the host's cursor stays as it was; nothing else changed.
   Nothing is nested in it unless it shows an error. It may be nested in another message. */
#define kSelectorAITrackToolCursor "AI Track Cursor"
/* "AI Mouse Down": the button went down on the document with the tool; `cursor` and `pressure` hold the
   press. Begins a drag: the host opens the drag's undo context (AI Undo) before it sends this message and
   closes it after "AI Mouse Up". Must: begin whatever a drag of the tool does (for example note the press
   point). Failure: the host goes on with the drag (its drag and up messages still follow) and undoes
   nothing. Nested in it: only while it shows the alert or error dialog of a failure. */
#define kSelectorAIToolMouseDown "AI Mouse Down"
/* "AI Mouse Drag": the cursor moved while the button is down; `cursor` and `pressure` hold the new position.
   Sent any number of times between "AI Mouse Down" and "AI Mouse Up". Must: bring the document up to date
   for the new position; art it makes belongs to the drag's undo context. Failure: the art made before the
   failure stays in the document (the host undoes nothing) and later drag messages of the same drag still
   come. Nested in it: only while it shows the alert or error dialog of a failure. */
#define kSelectorAIToolMouseDrag "AI Mouse Drag"
/* "AI Mouse Up": the button was released; `cursor` holds the release point. Ends the drag. Must: finish the
   drag (a tool that draws while dragging has nothing left to do). Failure: the document keeps what the drag
   made. Nested in it: only while it shows the alert or error dialog of a failure. */
#define kSelectorAIToolMouseUp "AI Mouse Up"
/* "AI Select": the tool became the current tool. "AI Deselect": another tool became current. Must: nothing
   (a tool may prepare or drop what it shows while current). Failure: the change of tool happens anyway.
   Nothing is nested in them unless they show an error; either may be nested in another message. */
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

/* The records' layout, which host and plug-in must agree on whatever their compilers: natural alignment, no
   packing. With P = sizeof(void*) (8 on x86_64, 4 on i686): the header is four words, the tool fields follow
   it, and the record is padded to a whole number of words. */
ZZ_STATIC_ASSERT(sizeof(void*) == 4 || sizeof(void*) == 8, "a pointer is one 32- or 64-bit word");
ZZ_STATIC_ASSERT(offsetof(SPMessageData, SPCheck) == 0, "SPMessageData.SPCheck");
ZZ_STATIC_ASSERT(offsetof(SPMessageData, self) == sizeof(void*), "SPMessageData.self");
ZZ_STATIC_ASSERT(offsetof(SPMessageData, globals) == 2 * sizeof(void*), "SPMessageData.globals");
ZZ_STATIC_ASSERT(offsetof(SPMessageData, basic) == 3 * sizeof(void*), "SPMessageData.basic");
ZZ_STATIC_ASSERT(sizeof(SPMessageData) == 4 * sizeof(void*), "SPMessageData size");
ZZ_STATIC_ASSERT(offsetof(SPAccessMessage, d) == 0 && sizeof(SPAccessMessage) == sizeof(SPMessageData),
                 "SPAccessMessage is the header alone");
ZZ_STATIC_ASSERT(offsetof(SPInterfaceMessage, d) == 0 && sizeof(SPInterfaceMessage) == sizeof(SPMessageData),
                 "SPInterfaceMessage is the header alone");
ZZ_STATIC_ASSERT(offsetof(AIToolMessage, d) == 0, "AIToolMessage.d");
ZZ_STATIC_ASSERT(offsetof(AIToolMessage, tool) == 4 * sizeof(void*), "AIToolMessage.tool");
ZZ_STATIC_ASSERT(offsetof(AIToolMessage, cursor) == 5 * sizeof(void*), "AIToolMessage.cursor");
ZZ_STATIC_ASSERT(offsetof(AIToolMessage, pressure) == 5 * sizeof(void*) + 8, "AIToolMessage.pressure");
ZZ_STATIC_ASSERT(sizeof(AIToolMessage) ==
                     (5 * sizeof(void*) + 10 + sizeof(void*) - 1) / sizeof(void*) * sizeof(void*),
                 "AIToolMessage size: 56 bytes on x86_64, 32 on i686");

/* The entry point every plug-in module exports. */
typedef SPErr(SPAPI* SPPluginMainProc)(const char* caller, const char* selector, void* message);
#define kSPPluginMainName "PluginMain"

ZZ_EXTERN_C_END

#endif
