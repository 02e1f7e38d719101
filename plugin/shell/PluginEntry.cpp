// The module's only export. Everything else lives in the plug-in core library.
#include "SPMessages.h"
#include "plugin/shell/PluginMain.h"

#if defined(_WIN32)
#include <windows.h>
#define ZZ_EXPORT __declspec(dllexport)

// The module needs no work when it is mapped or unmapped.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
#else
#define ZZ_EXPORT __attribute__((visibility("default")))
#endif

extern "C" ZZ_EXPORT SPErr SPAPI PluginMain(const char* caller, const char* selector, void* message) {
    return dispatchPluginMessage(caller, selector, message);
}
