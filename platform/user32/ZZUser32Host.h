// The host's side of the window-system stand-in (systems without user32 only). The plug-in sees LoadCursorA
// and SetCursor (ZZUser32.h); the host tells the stand-in how to load a cursor from a module instance and
// asks which cursor is current. Plug-in code never includes this header.
#ifndef ZZ_PLATFORM_USER32_ZZUSER32_HOST_H
#define ZZ_PLATFORM_USER32_ZZUSER32_HOST_H

#include "ZZUser32.h"

#if !defined(_WIN32)

ZZ_EXTERN_C_BEGIN

/* Loads cursor group `resourceNumber` from the module `instance` (the defaultModule the host handed out).
   Returns the cursor, or null when the module has none. Repeated calls for one cursor return the same handle.
 */
typedef HCURSOR (*ZZCursorLoader)(HINSTANCE instance, int resourceNumber);

/* Installs the loader LoadCursorA uses for numbered cursors (null: LoadCursorA finds nothing). */
void zzUser32SetCursorLoader(ZZCursorLoader loader);

/* The cursor the last SetCursor made current, or null. */
HCURSOR zzUser32CurrentCursor(void);

ZZ_EXTERN_C_END

#endif

#endif
