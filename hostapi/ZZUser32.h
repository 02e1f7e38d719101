/*
 * ZZUser32.h - the two window-system cursor functions a tool uses.
 *
 * On Windows these are the system's own (user32). On other systems the host provides functions of the same
 * names and meaning in its stand-in library, which a plug-in links as it would link user32 on Windows, so the
 * plug-in's code is the same on both.
 */
#ifndef ZZ_USER32_H
#define ZZ_USER32_H

#if defined(_WIN32)
#include <windows.h>
#else
#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

typedef void* HINSTANCE;
typedef void* HCURSOR;

/* Builds the "resource name" argument from a resource number, as on Windows. */
#define MAKEINTRESOURCEA(n) ((const char*)(uintptr_t)(uint16_t)(n))

/* Loads cursor group `name` (a number made with MAKEINTRESOURCEA) from the module `instance`
   (SPPlatformAccessInfo.defaultModule). Returns the cursor, or null when the module has no such cursor. The
   cursor belongs to the system. */
HCURSOR LoadCursorA(HINSTANCE instance, const char* name);

/* Makes `cursor` the current cursor (null hides it) and returns the previous one. */
HCURSOR SetCursor(HCURSOR cursor);

ZZ_EXTERN_C_END

#endif

#endif
