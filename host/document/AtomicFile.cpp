#include "host/document/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
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

bool replaceFile(const std::string& from, const std::string& to) {
#if defined(_WIN32)
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

} // namespace

bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error) {
    if (path.empty()) return fail(error, "no file name given");
    const std::string temporary = temporaryName(path);
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) return fail(error, "cannot create " + temporary + ": " + std::strerror(errno));
    bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    written = std::fflush(file) == 0 && written;
#if !defined(_WIN32)
    written = fsync(fileno(file)) == 0 && written;
#endif
    const int savedErrno = errno;
    written = std::fclose(file) == 0 && written;
    if (!written) {
        std::remove(temporary.c_str());
        return fail(error, "cannot write " + temporary + ": " + std::strerror(savedErrno));
    }
    if (!replaceFile(temporary, path)) {
        const int renameErrno = errno;
        std::remove(temporary.c_str());
        return fail(error, "cannot replace " + path + ": " + std::strerror(renameErrno));
    }
    return true;
}

} // namespace zz
