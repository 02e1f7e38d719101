#include "host/document/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace zz {

namespace {

std::string temporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
#if defined(_WIN32)
    const unsigned long process = GetCurrentProcessId();
#else
    const unsigned long process = static_cast<unsigned long>(getpid());
#endif
    return path + ".tmp-" + std::to_string(process) + "-" + std::to_string(counter.fetch_add(1));
}

bool fail(std::string* error, std::string message) {
    if (error != nullptr) *error = std::move(message);
    return false;
}

// Moves `from` over `to`; on failure returns the system's reason.
std::optional<std::string> replaceFile(const std::string& from, const std::string& to) {
#if defined(_WIN32)
    // The loader's functions report through GetLastError, not errno.
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0)
        return std::nullopt;
    const DWORD code = GetLastError();
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        code, 0, text, sizeof text, nullptr);
    std::string reason(text, length);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
        reason.pop_back();
    return (reason.empty() ? "error" : reason) + " (" + std::to_string(code) + ")";
#else
    if (std::rename(from.c_str(), to.c_str()) == 0) return std::nullopt;
    return std::string(std::strerror(errno));
#endif
}

// Pushes the file's data to the disk before it is renamed into place.
bool flushToDisk(std::FILE* file) {
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

} // namespace

bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error) {
    if (path.empty()) return fail(error, "no file name given");
    const std::string temporary = temporaryName(path);
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) return fail(error, "cannot create " + temporary + ": " + std::strerror(errno));
    // Every step runs (the file is closed whatever happens); the reason is the first step's that failed.
    int firstErrno = 0;
    auto step = [&firstErrno](bool ok) {
        if (!ok && firstErrno == 0) firstErrno = errno != 0 ? errno : EIO;
        return ok;
    };
    errno = 0;
    bool written = step(std::fwrite(content.data(), 1, content.size(), file) == content.size());
    written = step(std::fflush(file) == 0) && written;
    written = step(flushToDisk(file)) && written;
    written = step(std::fclose(file) == 0) && written;
    if (!written) {
        std::remove(temporary.c_str());
        return fail(error, "cannot write " + temporary + ": " + std::strerror(firstErrno));
    }
    if (const auto reason = replaceFile(temporary, path)) {
        std::remove(temporary.c_str());
        return fail(error, "cannot replace " + path + ": " + *reason);
    }
    return true;
}

} // namespace zz
