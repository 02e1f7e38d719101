#include "host/base/Platform.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <vector>

namespace zz {

std::string executableDirectory() {
    std::string path;
#if defined(_WIN32)
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return ".";
        if (length < buffer.size()) {
            path.assign(buffer.data(), length);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    const std::size_t slash = path.find_last_of("\\/");
#else
    std::vector<char> buffer(4096);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) return ".";
    path.assign(buffer.data(), static_cast<std::size_t>(length));
    const std::size_t slash = path.find_last_of('/');
#endif
    if (slash == std::string::npos) return ".";
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string besideExecutable(const std::string& name) {
#if defined(_WIN32)
    return executableDirectory() + "\\" + name;
#else
    return executableDirectory() + "/" + name;
#endif
}

} // namespace zz
