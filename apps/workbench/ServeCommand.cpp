#include "apps/workbench/ServeCommand.h"

#include <csignal>
#include <mutex>
#include <optional>
#include <thread>

#include <pthread.h>

#include <CLI/CLI.hpp>

#include "host/base/NumberText.h"
#include "apps/commandline/CommandLine.h"
#include "apps/workbench/Access.h"
#include "apps/workbench/HostLoop.h"
#include "apps/workbench/Server.h"
#include "apps/workbench/Thumbnails.h"

namespace zz {

namespace {

// What the command line asks for (the numbers as given, until serveOptions() reads them).
struct ServeOptions {
    std::string host = "127.0.0.1";
    int port = 8407;
    std::string portText, dragTimeout, dialogTimeout, tokenFile;
    Workbench::Options workbench;
    Server::Options server;
};

void declareOptions(CommandLine& line, ServeOptions& options) {
    CLI::App& app = line.app();
    app.add_option("--port", options.portText, "port to listen on, 0 for a free one (8407)")->type_name("N");
    app.add_option("--host", options.host, "address to listen on (127.0.0.1)")->type_name("ADDR");
    app.add_option("--module", options.workbench.modulePath,
                   "the plug-in module (KT07_Zigzag.aip beside zigzag)")
        ->type_name("PATH");
    app.add_option("--drag-timeout", options.dragTimeout,
                   "a drag with no pointer event for this long is ended (5000)")
        ->type_name("MS");
    app.add_option("--dialog-timeout", options.dialogTimeout,
                   "a dialog with no page open to drive it for this long is cancelled (30000)")
        ->type_name("MS");
    app.add_option("--token-file", options.tokenFile,
                   "the token pages must show, on the file's first line (default: a new one)")
        ->type_name("FILE");
    app.add_option("--documents", options.workbench.documentsPath,
                   "the folder the drawings are kept in (default: $XDG_DATA_HOME/zigzag/documents,\n"
                   "else ~/.local/share/zigzag/documents)")
        ->type_name("DIR");
}

// A decimal option from `low` to `high` (its text empty when not given: `fallback`); OptionError otherwise.
int64_t decimalOption(const std::string& option, const std::string& text, int64_t low, int64_t high,
                      const std::string& expected, int64_t fallback) {
    if (text.empty()) return fallback;
    const std::optional<int64_t> number = parseDecimal(text, low, high);
    if (!number)
        throw OptionError{option + " " + text + ": expected " + expected + " from " + std::to_string(low) +
                          " to " + std::to_string(high)};
    return *number;
}

// The options as the workbench and the server take them; a status to end with instead, the reason on `err`.
std::optional<int> serveOptions(const std::vector<std::string>& args, const std::string& defaultModule,
                                ServeOptions& options, std::ostream& out, std::ostream& err) {
    CommandLine line("zigzag serve", "The workbench: the tool in a browser, served until interrupted.");
    declareOptions(line, options);
    if (const std::optional<int> status = line.read(args, out, err)) return status;
    Workbench::Options& workbench = options.workbench;
    try {
        options.port = static_cast<int>(decimalOption("--port", options.portText, 0, 65535, "a port", 8407));
        workbench.dragTimeout = std::chrono::milliseconds(
            decimalOption("--drag-timeout", options.dragTimeout, 1, 3600000, "milliseconds", 5000));
        workbench.dialogTimeout = std::chrono::milliseconds(
            decimalOption("--dialog-timeout", options.dialogTimeout, 1, 86400000, "milliseconds", 30000));
    } catch (const OptionError& problem) {
        return line.mistake(problem.message, err);
    }
    if (workbench.modulePath.empty()) workbench.modulePath = defaultModule;
    if (workbench.documentsPath.empty()) workbench.documentsPath = DocumentFolder::defaultPath();
    return std::nullopt;
}

// Who may use the workbench: the token (read from --token-file, else a new one) and the host names pages may
// reach it by. A status to end with instead, the reason on `err`.
std::optional<int> grantAccess(const ServeOptions& options, AccessPolicy& access, std::ostream& err) {
    std::string why;
    if (!options.tokenFile.empty()) {
        std::optional<std::string> token = readTokenFile(options.tokenFile, &why);
        if (!token) {
            err << "zigzag serve: " << why << "\n";
            return kCommandUsage;
        }
        access.token = std::move(*token);
    } else {
        access.token = makeToken();
        if (access.token.empty()) {
            err << "zigzag serve: the system gave no random bytes for the token\n";
            return kCommandFailed;
        }
    }
    const std::string& host = options.host;
    access.anyAddress = host == "0.0.0.0" || host == "::" || host == "[::]";
    if (!access.anyAddress) access.hostNames.push_back(host);
    return std::nullopt;
}

// Interrupts go to one waiting thread, which stops the server; every other thread has them blocked.
sigset_t blockStopSignals() {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return stopSignals;
}

// Says where the workbench is, and warns when other machines can reach it.
void announce(const ServeOptions& options, int port, std::ostream& out, std::ostream& err) {
    const std::string& host = options.host;
    if (!isLoopback(host))
        err << "zigzag serve: WARNING: listening on " << host
            << ", not on loopback: other machines can reach the workbench. Anyone who has its address with "
               "the token can draw, undo and read the document; share it with no one.\n";
    out << "Documents: " << options.workbench.documentsPath << std::endl;
    const std::string shown = options.server.access.anyAddress ? "127.0.0.1" : host;
    out << "Workbench: http://" << (shown.find(':') != std::string::npos ? "[" + shown + "]" : shown) << ":"
        << port << "/?token=" << options.server.access.token << std::endl;
}

// Waits on its own thread for a stop signal, which may come at any time: while the host opens the last
// document (then the host stops playing it), or while the server serves (then the server stops too).
class StopWaiter {
  public:
    StopWaiter(const sigset_t& signals, HostLoop& loop) : loop_(loop) {
        thread_ = std::thread([this, signals] {
            int signal = 0;
            sigwait(&signals, &signal);
            std::lock_guard lock(mutex_);
            stopped_ = true;
            loop_.interrupt();
            if (server_ != nullptr) server_->stop();
        });
    }
    ~StopWaiter() {
        // Wakes the thread with a signal of its own when none came.
        pthread_kill(thread_.native_handle(), SIGTERM);
        thread_.join();
    }
    StopWaiter(const StopWaiter&) = delete;
    StopWaiter& operator=(const StopWaiter&) = delete;

    // The server a later signal stops; false when a signal already came, and it should not serve.
    bool serving(Server* server) {
        std::lock_guard lock(mutex_);
        server_ = server;
        return !stopped_;
    }
    bool stopped() {
        std::lock_guard lock(mutex_);
        return stopped_;
    }

  private:
    HostLoop& loop_;
    std::mutex mutex_;
    Server* server_ = nullptr;
    bool stopped_ = false;
    std::thread thread_;
};

// Starts the host and the server, and serves until a stop signal or the server ends.
int serve(ServeOptions& options, const sigset_t& stopSignals, std::ostream& out, std::ostream& err) {
    Thumbnails thumbnails;
    options.workbench.thumbnailer = [&thumbnails](std::string document, std::string svg) {
        thumbnails.add(std::move(document), std::move(svg));
    };
    HostLoop loop(options.workbench);
    thumbnails.start(loop);
    StopWaiter waiter(stopSignals, loop);
    std::string why;
    if (!loop.start(&why)) {
        thumbnails.stop();
        // Stopped while it opened the last document: a stop as asked, not a failure.
        if (waiter.stopped()) {
            out << "Workbench stopped" << std::endl;
            return kCommandOk;
        }
        err << "zigzag serve: " << why << "\n";
        return kCommandFailed;
    }
    Server server(loop, options.server);
    const int bound = server.bind(options.host, options.port, &why);
    if (bound < 0) {
        thumbnails.stop();
        err << "zigzag serve: " << why << "\n";
        return kCommandFailed;
    }
    if (waiter.serving(&server)) {
        announce(options, bound, out, err);
        server.serve();
    }
    waiter.serving(nullptr);
    thumbnails.stop();
    loop.stop();
    out << "Workbench stopped" << std::endl;
    return kCommandOk;
}

} // namespace

int runServeCommand(const std::vector<std::string>& args, const std::string& defaultModule, std::ostream& out,
                    std::ostream& err) {
    ServeOptions options;
    if (const std::optional<int> status = serveOptions(args, defaultModule, options, out, err))
        return *status;
    if (const std::optional<int> status = grantAccess(options, options.server.access, err)) return *status;
    const sigset_t stopSignals = blockStopSignals();
    return serve(options, stopSignals, out, err);
}

} // namespace zz
