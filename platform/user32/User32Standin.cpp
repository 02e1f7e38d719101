// Stand-in for the two window-system cursor functions on systems without user32. Cursors themselves are the
// host's: LoadCursorA asks the loader the host installed (ZZUser32Host.h), SetCursor only remembers the
// handle.
#include "ZZUser32Host.h"

#include <atomic>
#include <cstdint>

namespace {

std::atomic<ZZCursorLoader> gLoader{nullptr};
std::atomic<HCURSOR> gCurrentCursor{nullptr};

} // namespace

extern "C" HCURSOR LoadCursorA(HINSTANCE instance, const char* name) {
    // Only numbered cursors (MAKEINTRESOURCEA) exist in modules; named and system cursors are not offered.
    const uintptr_t value = reinterpret_cast<uintptr_t>(name);
    const ZZCursorLoader loader = gLoader.load();
    if (loader == nullptr || instance == nullptr || value == 0 || value > 0xFFFF) return nullptr;
    return loader(instance, static_cast<int>(value));
}

extern "C" HCURSOR SetCursor(HCURSOR cursor) {
    return gCurrentCursor.exchange(cursor);
}

extern "C" void zzUser32SetCursorLoader(ZZCursorLoader loader) {
    gLoader.store(loader);
}

extern "C" HCURSOR zzUser32CurrentCursor(void) {
    return gCurrentCursor.load();
}
