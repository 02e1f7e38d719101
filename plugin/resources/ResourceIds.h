/*
 * ResourceIds.h - the numbers of the module's resources and of the dialog items its templates lay out.
 *
 * Included by the resource script and by the plug-in's C++ sources, so it holds only preprocessor lines that
 * a resource compiler reads as well as a C++ compiler: plain decimal #define lines and the include guard.
 */
#ifndef ZZ_PLUGIN_RESOURCES_RESOURCE_IDS_H
#define ZZ_PLUGIN_RESOURCES_RESOURCE_IDS_H

/* The plug-in property list, which the host reads before it loads the module. */
#define ZZ_PIPL_ID 16000

/* The tool cursor (cursor group). */
#define ZZ_TOOL_CURSOR_ID 16001

/* The icon group that holds the tool's icon, and the number and index under which the plug-in asks the host's
   icon suite for it; the host finds the group for that request. */
#define ZZ_ICON_GROUP_ID 16051
#define ZZ_TOOL_ICON_ID 16050
#define ZZ_TOOL_ICON_INDEX 1

/* Dialog templates. */
#define ZZ_ABOUT_DIALOG_ID 16050
#define ZZ_ERROR_DIALOG_ID 16051
#define ZZ_OPTIONS_DIALOG_ID 16201

/* The error list: string ZZ_ERROR_STRING_LIST holds a marker, string ZZ_ERROR_STRING_LIST + i the list's
   entry i (code texts at odd i, each followed by its message). */
#define ZZ_ERROR_STRING_LIST 16050

/* Design thumbnails: bitmap ZZ_FIRST_THUMBNAIL_BITMAP + k shows design k, for k = 0 to
   ZZ_THUMBNAIL_BITMAP_COUNT - 1. */
#define ZZ_FIRST_THUMBNAIL_BITMAP 100
#define ZZ_THUMBNAIL_BITMAP_COUNT 63

/* Items of the about box and the error dialog templates. The OK button has the id that every dialog of the
   host takes for its default button. */
#define ZZ_DIALOG_OK_ITEM 1
#define ZZ_ERROR_MESSAGE_ITEM 2
#define ZZ_ERROR_CODE_ITEM 3
#define ZZ_ERROR_FRAME_ITEM 4

#endif
