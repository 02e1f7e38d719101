#include "apps/workbench/ServeCommand.h"

#include <csignal>
#include <optional>
#include <thread>

#include <pthread.h>

#include "host/base/NumberText.h"
#include "apps/workbench/Access.h"
#include "apps/workbench/HostLoop.h"
#include "apps/workbench/Server.h"
#include "apps/workbench/Thumbnails.h"

namespace zz {

namespace {

const char* const kUsage =
    "usage: zigzag serve [--port N] [--host ADDR] [--module PATH] [--drag-timeout MS] [--dialog-timeout MS]\n"
    "                    [--token-file FILE] [--documents DIR]\n"
    "  --port N             port to listen on, 0 for a free one (8407)\n"
    "  --host ADDR          address to listen on (127.0.0.1)\n"
    "  --module PATH        the plug-in module (KT07_Zigzag.aip beside zigzag)\n"
    "  --drag-timeout MS    a drag with no pointer event for this long is ended (5000)\n"
    "  --dialog-timeout MS  a dialog with no page open to drive it for this long is cancelled (30000)\n"
    "  --token-file FILE    the token pages must show, on the file's first line (default: a new one)\n"
    "  --documents DIR      the folder the drawings are kept in (default: $XDG_DATA_HOME/zigzag/documents,\n"
    "                       else ~/.local/share/zigzag/documents)\n";

} // namespace

int runServeCommand(const std::vector<std::string>& args, const std::string& defaultModule, std::ostream& out,
                    std::ostream& err) {
    std::string host = "127.0.0.1";
    long port = 8407;
    std::string tokenFile;
    Workbench::Options options;
    options.modulePath = defaultModule;
    options.documentsPath = DocumentFolder::defaultPath();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            out << kUsage;
            return 0;
        }
        if (i + 1 >= args.size()) {
            err << "zigzag serve: " << option << ": missing value\n" << kUsage;
            return 2;
        }
        const std::string& value = args[++i];
        if (option == "--port") {
            const std::optional<int64_t> number = parseDecimal(value, 0, 65535);
            if (!number) {
                err << "zigzag serve: --port " << value << ": expected a port from 0 to 65535\n";
                return 2;
            }
            port = *number;
        } else if (option == "--host" && !value.empty()) {
            host = value;
        } else if (option == "--module" && !value.empty()) {
            options.modulePath = value;
        } else if (option == "--drag-timeout") {
            const std::optional<int64_t> number = parseDecimal(value, 1, 3600000);
            if (!number) {
                err << "zigzag serve: --drag-timeout " << value
                    << ": expected milliseconds from 1 to 3600000\n";
                return 2;
            }
            options.dragTimeout = std::chrono::milliseconds(*number);
        } else if (option == "--dialog-timeout") {
            const std::optional<int64_t> number = parseDecimal(value, 1, 86400000);
            if (!number) {
                err << "zigzag serve: --dialog-timeout " << value
                    << ": expected milliseconds from 1 to 86400000\n";
                return 2;
            }
            options.dialogTimeout = std::chrono::milliseconds(*number);
        } else if (option == "--token-file" && !value.empty()) {
            tokenFile = value;
        } else if (option == "--documents" && !value.empty()) {
            options.documentsPath = value;
        } else {
            err << "zigzag serve: " << option << ": unknown argument\n" << kUsage;
            return 2;
        }
    }

    Server::Options serverOptions;
    std::string why;
    if (!tokenFile.empty()) {
        std::optional<std::string> token = readTokenFile(tokenFile, &why);
        if (!token) {
            err << "zigzag serve: " << why << "\n";
            return 2;
        }
        serverOptions.access.token = std::move(*token);
    } else {
        serverOptions.access.token = makeToken();
        if (serverOptions.access.token.empty()) {
            err << "zigzag serve: the system gave no random bytes for the token\n";
            return 1;
        }
    }
    const bool wildcard = host == "0.0.0.0" || host == "::" || host == "[::]";
    serverOptions.access.anyAddress = wildcard;
    if (!wildcard) serverOptions.access.hostNames.push_back(host);

    // Interrupts go to one waiting thread, which stops the server; every other thread has them blocked.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    Thumbnails thumbnails;
    options.thumbnailer = [&thumbnails](std::string document, std::string svg) {
        thumbnails.add(std::move(document), std::move(svg));
    };
    HostLoop loop(options);
    thumbnails.start(loop);
    if (!loop.start(&why)) {
        thumbnails.stop();
        err << "zigzag serve: " << why << "\n";
        return 1;
    }
    Server server(loop, serverOptions);
    const int bound = server.bind(host, static_cast<int>(port), &why);
    if (bound < 0) {
        thumbnails.stop();
        err << "zigzag serve: " << why << "\n";
        return 1;
    }
    if (!isLoopback(host))
        err << "zigzag serve: WARNING: listening on " << host
            << ", not on loopback: other machines can reach the workbench. Anyone who has its address with "
               "the token can draw, undo and read the document; share it with no one.\n";
    out << "Documents: " << options.documentsPath << std::endl;
    const std::string shown = wildcard ? "127.0.0.1" : host;
    out << "Workbench: http://" << (shown.find(':') != std::string::npos ? "[" + shown + "]" : shown) << ":"
        << bound << "/?token=" << serverOptions.access.token << std::endl;

    std::thread waiter([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        loop.stop();
        server.stop();
    });
    server.serve();
    thumbnails.stop();
    // The server may also stop without a signal: wake the waiter with one of its own.
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    out << "Workbench stopped" << std::endl;
    return 0;
}

} // namespace zz
