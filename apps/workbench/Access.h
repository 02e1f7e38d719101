// Who may use the workbench. Any web page the user opens can send requests to a server on loopback, so
// every request must show three things before it reaches anything:
//
//   - its Host names this server: a loopback name (localhost, 127.0.0.1, [::1]) or the address it was
//     told to listen on, with its port. A page served under some other name that resolves to this
//     machine (DNS rebinding) is refused, though the browser thinks it is talking to its own site.
//   - it carries the secret, unless it asks for one of the page's own files (index.html, its scripts and
//     style), which hold none: the token made at start (or read from the file the user named), printed in
//     the workbench's address. It travels only where the page or a tool puts it, never in a cookie: a
//     browser sends a cookie of 127.0.0.1 to every server on that address whatever its port, so any other
//     local server the user's browser visits would be handed it. The page takes it from its address once,
//     keeps it in the tab's sessionStorage and sends it as "Authorization: Bearer TOKEN" (its socket, which
//     can carry no header, as "?token=TOKEN"); tools may send either. A Cookie header grants nothing.
//   - a browser's request comes from the workbench's own page: an Origin, when there is one, is this
//     server's, and a request the browser says another page started (Sec-Fetch-Site: cross-site, or
//     same-site: a page on another port of this machine, which is the same site to the browser) is refused,
//     but for the person following a link to the page itself.
//
// Commands come only over the page's WebSocket, which no browser opens as a "simple request" and whose
// handshake carries the page's Origin; plain HTTP serves nothing but reads.
#ifndef ZZ_APPS_WORKBENCH_ACCESS_H
#define ZZ_APPS_WORKBENCH_ACCESS_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zz {

struct AccessPolicy {
    std::string token;
    int port = 0;
    // Host names besides the loopback ones that name this server (the address given to listen on).
    std::vector<std::string> hostNames;
    // Listening on every address: a Host that is an IP address literal is let in too (a literal cannot be
    // rebound by DNS).
    bool anyAddress = false;
};

// What a request shows, read from its headers and target.
struct RequestFacts {
    std::string host;          // the Host header
    std::string origin;        // the Origin header, "" when absent
    std::string fetchSite;     // Sec-Fetch-Site, "" when absent
    bool openingPage = false;  // a navigation to the page itself (Sec-Fetch-Mode: navigate, GET /)
    bool pageFile = false;     // one of the page's own files, served without the token
    std::string authorization; // the Authorization header
    std::string queryToken;    // the "token" parameter of the target's query
};

struct Refusal {
    int status;
    std::string why;
};

// Why the request may not go on, or nothing.
std::optional<Refusal> refusal(const AccessPolicy& policy, const RequestFacts& request);

// The Set-Cookie header value that makes a browser forget the token cookie earlier workbenches on this
// port handed their pages: it carries no token, and stops the browser sending an old one (the same token,
// when it comes from a token file) to every other server on this machine.
std::string expiredTokenCookie(int port);

// A new token: 32 random bytes as hexadecimal. Empty when the system has no randomness to give.
std::string makeToken();
// The token in `path`: its first line without surrounding blanks, at least 16 printable characters with
// no blank, quote, semicolon or comma. Nothing, with the reason, otherwise.
std::optional<std::string> readTokenFile(const std::string& path, std::string* why);

// The value of `name` in a URL query ("a=1&token=x"), percent-decoded; nothing when absent.
std::optional<std::string> queryParameter(std::string_view query, std::string_view name);

// Whether `host` (an address to listen on) is a loopback address or name.
bool isLoopback(std::string_view host);

} // namespace zz

#endif
