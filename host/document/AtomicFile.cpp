#include "host/document/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <streambuf>

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

// A stream buffer that writes to a C file in blocks; a failed write leaves the stream bad.
class FileBuffer : public std::streambuf {
  public:
    explicit FileBuffer(std::FILE* file) : file_(file), buffer_(new char[kSize]) {
        setp(buffer_.get(), buffer_.get() + kSize);
    }

  protected:
    int_type overflow(int_type c) override {
        if (!drain()) return traits_type::eof();
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
        return c;
    }
    int sync() override { return drain() ? 0 : -1; }

  private:
    bool drain() {
        const auto pending = static_cast<size_t>(pptr() - pbase());
        const bool ok = pending == 0 || std::fwrite(pbase(), 1, pending, file_) == pending;
        setp(buffer_.get(), buffer_.get() + kSize);
        return ok;
    }

    static constexpr size_t kSize = size_t{1} << 16;
    std::FILE* file_;
    std::unique_ptr<char[]> buffer_;
};

} // namespace

bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error) {
    return writeFileAtomically(
        path,
        [content](std::ostream& out, std::string*) {
            out.write(content.data(), static_cast<std::streamsize>(content.size()));
            return true;
        },
        error);
}

bool writeFileAtomically(const std::string& path,
                         const std::function<bool(std::ostream&, std::string*)>& produce,
                         std::string* error) {
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
    std::string refusal;
    bool produced = true;
    bool written = true;
    try {
        FileBuffer buffer(file);
        std::ostream out(&buffer);
        produced = produce(out, &refusal);
        if (produced) written = step(static_cast<bool>(out.flush()));
    } catch (...) {
        std::fclose(file);
        std::remove(temporary.c_str());
        throw;
    }
    if (!produced) {
        std::fclose(file);
        std::remove(temporary.c_str());
        return fail(error, refusal);
    }
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
