#include "apps/validate/InterfaceText.h"

#include <cctype>
#include <map>
#include <utility>

namespace zz {

namespace {

bool isWordCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())) != 0)
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0)
        text.remove_suffix(1);
    return text;
}

// The words of `text` that look like identifiers, in order.
std::vector<std::string_view> wordsOf(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        if (!isWordCharacter(text[at])) {
            ++at;
            continue;
        }
        const std::size_t start = at;
        while (at < text.size() && isWordCharacter(text[at]))
            ++at;
        words.push_back(text.substr(start, at - start));
    }
    return words;
}

struct Interface {
    std::map<std::string, SPErr, std::less<>> statuses;                 // kSPBadHandleError -> value
    std::map<std::pair<std::string, std::string>, HostCallFacts> calls; // (suite, operation)
};

// `#define NAME VALUE` lines: the suite names (a string) and the statuses (a number or ZZ_FOURCC of four
// characters).
void readDefines(std::string_view text, std::map<std::string, std::string, std::less<>>* suiteNames,
                 std::map<std::string, SPErr, std::less<>>* statuses) {
    std::size_t at = 0;
    while ((at = text.find("#define ", at)) != std::string_view::npos) {
        const std::size_t end = text.find('\n', at);
        std::string_view line = text.substr(at + 8, end == std::string_view::npos ? end : end - at - 8);
        at = end == std::string_view::npos ? text.size() : end;
        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos) continue;
        const std::string name(line.substr(0, space));
        const std::string_view value = trim(line.substr(space + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            (*suiteNames)[name] = std::string(value.substr(1, value.size() - 2));
        } else if (value.rfind("ZZ_FOURCC(", 0) == 0) {
            uint32_t code = 0;
            int characters = 0;
            for (std::size_t i = 0; i + 2 < value.size() && characters < 4; ++i)
                if (value[i] == '\'' && value[i + 2] == '\'') {
                    code = (code << 8) | static_cast<uint8_t>(value[i + 1]);
                    ++characters;
                    i += 2;
                }
            if (characters == 4) (*statuses)[name] = static_cast<SPErr>(code);
        } else if (name.size() > 3 && (name.ends_with("Error") || name.ends_with("Err"))) {
            std::string digits;
            for (char c : value)
                if (c == '-' || std::isdigit(static_cast<unsigned char>(c)) != 0) digits += c;
            if (!digits.empty() && digits != "-") (*statuses)[name] = static_cast<SPErr>(std::stol(digits));
        }
    }
}

// The members of `typedef struct NAME { ... } NAME;`: each member's declaration with the comment before it.
void readSuite(std::string_view body, const std::string& suite, Interface* interface,
               const std::map<std::string, SPErr, std::less<>>& statuses) {
    std::string comment;
    std::string statement;
    std::size_t at = 0;
    while (at < body.size()) {
        if (body.compare(at, 2, "/*") == 0) {
            const std::size_t end = body.find("*/", at + 2);
            const std::size_t stop = end == std::string_view::npos ? body.size() : end;
            comment += std::string(body.substr(at + 2, stop - at - 2));
            at = end == std::string_view::npos ? body.size() : end + 2;
            continue;
        }
        if (body[at] != ';') {
            statement += body[at++];
            continue;
        }
        ++at;
        // RESULT(SPAPI* Operation)(arguments)
        const std::size_t pointer = statement.find("SPAPI*");
        if (pointer != std::string::npos) {
            const std::vector<std::string_view> words =
                wordsOf(std::string_view(statement).substr(pointer + 6));
            const std::vector<std::string_view> result =
                wordsOf(std::string_view(statement).substr(0, pointer));
            if (!words.empty()) {
                HostCallFacts facts;
                facts.returnsStatus = !result.empty() && result.front() == "SPErr";
                const std::size_t returns = comment.find("Returns");
                if (returns != std::string::npos)
                    for (std::string_view word : wordsOf(std::string_view(comment).substr(returns))) {
                        const auto status = statuses.find(word);
                        if (status == statuses.end() || status->second == kSPNoError) continue;
                        bool seen = false;
                        for (SPErr known : facts.failures)
                            seen = seen || known == status->second;
                        if (!seen) facts.failures.push_back(status->second);
                    }
                interface->calls[{suite, std::string(words.front())}] = std::move(facts);
            }
        }
        comment.clear();
        statement.clear();
    }
}

const Interface& theInterface() {
    static const Interface interface = [] {
        Interface result;
        std::map<std::string, std::string, std::less<>> suiteNames;
        for (const InterfaceHeader& header : interfaceHeaders())
            readDefines(header.text, &suiteNames, &result.statuses);
        result.statuses.erase("kSPNoError");
        for (const InterfaceHeader& header : interfaceHeaders()) {
            const std::string_view text = header.text;
            std::size_t at = 0;
            while ((at = text.find("typedef struct ", at)) != std::string_view::npos) {
                const std::size_t open = text.find('{', at);
                // A declaration of a handle type (typedef struct _X* XRef;) has no body.
                const std::size_t semicolon = text.find(';', at);
                if (semicolon < open) {
                    at = semicolon + 1;
                    continue;
                }
                const std::size_t close = text.find("\n}", at);
                if (open == std::string_view::npos || close == std::string_view::npos || close < open) break;
                const std::string structName(trim(text.substr(at + 15, open - at - 15)));
                at = close + 2;
                // The suite's name is the string defined as k + the structure's name.
                const auto named = suiteNames.find("k" + structName);
                if (named == suiteNames.end()) continue;
                readSuite(text.substr(open + 1, close - open - 1), named->second, &result, result.statuses);
            }
        }
        return result;
    }();
    return interface;
}

} // namespace

std::optional<HostCallFacts> hostCallFacts(std::string_view suite, std::string_view operation) {
    const Interface& interface = theInterface();
    // Acquiring a suite fails as the basic suite's AcquireSuite says.
    if (operation == "acquire") {
        suite = "SP Basic Suite";
        operation = "AcquireSuite";
    }
    const auto found = interface.calls.find({std::string(suite), std::string(operation)});
    if (found == interface.calls.end()) return std::nullopt;
    return found->second;
}

std::string statusName(SPErr status) {
    for (const auto& [name, value] : theInterface().statuses)
        if (value == status) return name;
    return std::to_string(status);
}

} // namespace zz
