// Stand-in for the two window-system cursor functions on systems without user32.
#include "ZZUser32.h"

namespace {
HCURSOR gCurrentCursor = nullptr;
}

extern "C" HCURSOR LoadCursorA(HINSTANCE, const char*) { return nullptr; }

extern "C" HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = gCurrentCursor;
    gCurrentCursor = cursor;
    return previous;
}
