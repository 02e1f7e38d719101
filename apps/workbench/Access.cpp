#include "apps/workbench/Access.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>

#include <sys/random.h>

namespace zz {

namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// Compares without stopping at the first difference, so that the time taken tells nothing of the token.
bool sameSecret(std::string_view given, std::string_view token) {
    if (given.size() != token.size() || token.empty()) return false;
    unsigned char difference = 0;
    for (std::size_t i = 0; i < token.size(); ++i)
        difference |= static_cast<unsigned char>(given[i] ^ token[i]);
    return difference == 0;
}

// Splits "name:port" or "[v6]:port" into the name (brackets kept) and the port ("" when none).
std::pair<std::string, std::string> splitAuthority(std::string_view authority) {
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) return {std::string(authority), ""};
        const std::string_view rest = authority.substr(close + 1);
        return {std::string(authority.substr(0, close + 1)),
                rest.size() > 1 && rest.front() == ':' ? std::string(rest.substr(1)) : std::string()};
    }
    const std::size_t colon = authority.rfind(':');
    if (colon == std::string_view::npos) return {std::string(authority), ""};
    return {std::string(authority.substr(0, colon)), std::string(authority.substr(colon + 1))};
}

bool isIpLiteral(std::string_view name) {
    if (name.size() > 2 && name.front() == '[' && name.back() == ']') return true;
    int dots = 0;
    for (const char c : name) {
        if (c == '.')
            ++dots;
        else if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return dots == 3;
}

// The name in Host, lowered, when it names this server; nothing otherwise.
bool namesThisServer(const AccessPolicy& policy, std::string_view host) {
    const auto [name, port] = splitAuthority(lowered(host));
    if (port != std::to_string(policy.port)) return false;
    if (name == "localhost" || name == "127.0.0.1" || name == "[::1]") return true;
    for (const std::string& allowed : policy.hostNames) {
        const std::string bracketed =
            allowed.find(':') != std::string::npos && allowed.front() != '[' ? "[" + allowed + "]" : allowed;
        if (name == lowered(bracketed)) return true;
    }
    return policy.anyAddress && isIpLiteral(name);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<Refusal> refusal(const AccessPolicy& policy, const RequestFacts& request) {
    if (!namesThisServer(policy, request.host))
        return Refusal{403, "the host name \"" + request.host +
                                "\" is not this workbench's: open the address zigzag serve printed"};
    if (!request.origin.empty()) {
        const std::string own = "http://" + lowered(request.host);
        if (lowered(request.origin) != own)
            return Refusal{403, "pages from " + request.origin + " may not use the workbench"};
    }
    if ((request.fetchSite == "cross-site" || request.fetchSite == "same-site") && !request.openingPage)
        return Refusal{403, "another page than the workbench's own may not use the workbench"};
    if (request.pageFile) return std::nullopt;
    const std::string bearer = "Bearer ";
    const bool authorized =
        (request.authorization.rfind(bearer, 0) == 0 &&
         sameSecret(std::string_view(request.authorization).substr(bearer.size()), policy.token)) ||
        sameSecret(request.queryToken, policy.token);
    if (!authorized)
        return Refusal{401,
                       "the workbench's token is missing or wrong: open the address zigzag serve printed, "
                       "with its token"};
    return std::nullopt;
}

std::string expiredTokenCookie(int port) {
    return "zigzag-token-" + std::to_string(port) + "=; Path=/; Max-Age=0; HttpOnly; SameSite=Strict";
}

std::string makeToken() {
    std::array<unsigned char, 32> bytes{};
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t read = getrandom(bytes.data() + got, bytes.size() - got, 0);
        if (read <= 0) return "";
        got += static_cast<std::size_t>(read);
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string token;
    for (const unsigned char byte : bytes) {
        token += kHex[byte >> 4];
        token += kHex[byte & 15];
    }
    return token;
}

std::optional<std::string> readTokenFile(const std::string& path, std::string* why) {
    const auto fail = [&](std::string reason) -> std::optional<std::string> {
        if (why != nullptr) *why = "the token file " + path + " " + reason;
        return std::nullopt;
    };
    std::ifstream in(path, std::ios::binary);
    if (!in) return fail("cannot be read");
    std::string line;
    std::getline(in, line);
    const auto blank = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!line.empty() && blank(static_cast<unsigned char>(line.back())))
        line.pop_back();
    std::size_t first = 0;
    while (first < line.size() && blank(static_cast<unsigned char>(line[first])))
        ++first;
    line.erase(0, first);
    if (line.size() < 16) return fail("must hold a token of at least 16 characters on its first line");
    for (const unsigned char c : line)
        if (c <= ' ' || c >= 127 || c == '"' || c == ';' || c == ',' || c == '\\')
            return fail("holds a character a token may not have (blanks, quotes, ';', ',', '\\' or "
                        "non-ASCII)");
    return line;
}

std::optional<std::string> queryParameter(std::string_view query, std::string_view name) {
    std::size_t at = 0;
    while (at <= query.size()) {
        std::size_t end = query.find('&', at);
        if (end == std::string_view::npos) end = query.size();
        const std::string_view pair = query.substr(at, end - at);
        const std::size_t equals = pair.find('=');
        if (pair.substr(0, equals) == name) {
            const std::string_view raw = equals == std::string_view::npos ? "" : pair.substr(equals + 1);
            std::string value;
            for (std::size_t i = 0; i < raw.size(); ++i) {
                if (raw[i] == '%' && i + 2 < raw.size() && hexValue(raw[i + 1]) >= 0 &&
                    hexValue(raw[i + 2]) >= 0) {
                    value += static_cast<char>(hexValue(raw[i + 1]) * 16 + hexValue(raw[i + 2]));
                    i += 2;
                } else {
                    value += raw[i] == '+' ? ' ' : raw[i];
                }
            }
            return value;
        }
        at = end + 1;
    }
    return std::nullopt;
}

bool isLoopback(std::string_view host) {
    const std::string name = lowered(host);
    return name == "localhost" || name == "::1" || name == "[::1]" || name.rfind("127.", 0) == 0;
}

} // namespace zz
