#include "apps/script/JsonText.h"

#include <vector>

namespace zz {

namespace {

using nlohmann::json;

// The end of `token` (the text read last) as printable ASCII, at most 24 characters of it.
std::string printable(const std::string& token) {
    std::string text;
    const std::size_t from = token.size() > 24 ? token.size() - 24 : 0;
    if (from > 0) text += "...";
    for (std::size_t i = from; i < token.size(); ++i) {
        const auto c = static_cast<unsigned char>(token[i]);
        if (c >= 32 && c < 127) {
            text += static_cast<char>(c);
        } else {
            static const char digits[] = "0123456789ABCDEF";
            text += "\\x";
            text += digits[c >> 4];
            text += digits[c & 15];
        }
    }
    return text;
}

// What a syntax error is, in a reader's words, from the kind of fault the parser's message names.
std::string syntaxProblem(const std::string& parserMessage, const std::string& token) {
    const auto says = [&](const char* words) { return parserMessage.find(words) != std::string::npos; };
    std::string what;
    if (says("unexpected end of input") || token.empty() || says("<end of input>"))
        what = "the text ends before the JSON value does";
    else if (says("invalid number"))
        what = "a number not written as JSON writes numbers";
    else if (says("UTF-8") || says("control character") || says("escape") || says("surrogate") ||
             says("invalid string"))
        what = "a string with a control character, a bad escape or bytes that are not UTF-8";
    else if (says("invalid literal"))
        what = "a word that is not true, false or null (text needs double quotes)";
    else if (says("expected end of input"))
        what = "more text after the JSON value";
    else
        what = "a character out of place (a missing or extra ',', ':', ']' or '}')";
    // The text read since the last bracket, comma, colon or blank: the word or number at fault.
    const std::size_t cut = token.find_last_of("[{,: ");
    return what + ", at \"" + printable(cut == std::string::npos ? token : token.substr(cut + 1)) + "\"";
}

// Builds the value through the parser's public event interface, following where in the document it is, so
// that a fault can name the place.
class PlaceTrackingSax final : public nlohmann::json_sax<json> {
  public:
    explicit PlaceTrackingSax(json& result) : root_(result) {}

    bool null() override { return value(nullptr); }
    bool boolean(bool v) override { return value(v); }
    bool number_integer(number_integer_t v) override { return value(v); }
    bool number_unsigned(number_unsigned_t v) override { return value(v); }
    bool number_float(number_float_t v, const string_t&) override { return value(v); }
    bool string(string_t& v) override {
        if (!frames_.empty() && !frames_.back().array && frames_.back().key == "do")
            frames_.back().doName = v;
        return value(std::move(v));
    }
    bool binary(binary_t& v) override { return value(json::binary(std::move(v))); }
    bool start_object(std::size_t) override {
        open(json::object());
        frames_.push_back(Frame{false, 0, {}, {}});
        return true;
    }
    bool key(string_t& k) override {
        frames_.back().key = k;
        member_ = &(*containers_.back())[k];
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override {
        open(json::array());
        frames_.push_back(Frame{true, 0, {}, {}});
        return true;
    }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t position, const std::string& token, const json::exception& ex) override {
        errored_ = true;
        problem_ = place();
        // The parser's own message names its exception class and quotes raw bytes: say what is wrong instead.
        const bool outOfRange = dynamic_cast<const json::out_of_range*>(&ex) != nullptr;
        if (outOfRange)
            problem_ += "the number " + printable(token) + " is beyond the range of a double";
        else
            problem_ += syntaxProblem(std::string(ex.what()), token);
        // A number out of range is its own token; a syntax error is found at the last byte read.
        if (outOfRange)
            start_ = position >= token.size() ? position - token.size() : 0;
        else
            start_ = position > 0 ? position - 1 : 0;
        return false;
    }
    bool errored() const { return errored_; }
    const std::string& problem() const { return problem_; }
    // Where the fault was found (bytes from the start).
    std::size_t start() const { return start_; }

  private:
    struct Frame {
        bool array;
        std::size_t count; // lists: values read so far
        std::string key;   // objects: the member being read
        std::string doName;
    };

    // Where the next value goes: the top, the end of the open list, or the member whose key was read last.
    json* put(json&& v) {
        if (containers_.empty()) {
            root_ = std::move(v);
            return &root_;
        }
        json& container = *containers_.back();
        if (container.is_array()) {
            container.push_back(std::move(v));
            return &container.back();
        }
        *member_ = std::move(v);
        return member_;
    }

    // A value read whole; a list moves on to its next index.
    bool value(json&& v) {
        put(std::move(v));
        if (!frames_.empty() && frames_.back().array) ++frames_.back().count;
        return true;
    }

    void open(json&& container) { containers_.push_back(put(std::move(container))); }

    // A list or object ended: it counts as one value of the one around it.
    bool close() {
        frames_.pop_back();
        containers_.pop_back();
        if (!frames_.empty() && frames_.back().array) ++frames_.back().count;
        return true;
    }

    // "events[3] (\"drag\"): \"to\"[0]: " for the value being read; "" at the top.
    std::string place() const {
        // Appended piece by piece: GCC 12 at -O3 warns falsely of overlapping copies in "[" + text.
        std::string text;
        for (std::size_t i = 0; i < frames_.size(); ++i) {
            const Frame& frame = frames_[i];
            if (frame.array) {
                text += '[';
                text += std::to_string(frame.count);
                text += ']';
                if (i + 1 < frames_.size() && !frames_[i + 1].doName.empty()) {
                    text += " (\"";
                    text += frames_[i + 1].doName;
                    text += "\")";
                }
            } else if (!frame.key.empty()) {
                if (i == 0) {
                    text += frame.key;
                } else {
                    if (!text.empty()) text += ": ";
                    text += '"';
                    text += frame.key;
                    text += '"';
                }
            }
        }
        if (!text.empty()) text += ": ";
        return text;
    }

    json& root_;
    std::vector<json*> containers_; // the lists and objects open, innermost last
    json* member_ = nullptr;        // the member of the innermost object whose key was read last
    std::vector<Frame> frames_;
    bool errored_ = false;
    std::string problem_;
    std::size_t start_ = 0;
};

} // namespace

std::optional<json> parseJsonNamingPlace(const std::string& text, std::string* problem) {
    json result;
    PlaceTrackingSax sax(result);
    const bool ok = json::sax_parse(text, &sax, json::input_format_t::json, true);
    if (!ok || sax.errored()) {
        if (problem != nullptr) {
            // Where the fault is, as an editor shows it.
            std::size_t line = 1, column = 1;
            for (std::size_t i = 0; i < sax.start() && i < text.size(); ++i) {
                column = text[i] == '\n' ? 1 : column + 1;
                line += text[i] == '\n' ? 1 : 0;
            }
            *problem = "the script is not valid JSON: " +
                       (sax.problem().empty() ? std::string("cannot be read") : sax.problem()) + " (line " +
                       std::to_string(line) + ", column " + std::to_string(column) + ")";
        }
        return std::nullopt;
    }
    return result;
}

void writeJson(std::ostream& out, const nlohmann::ordered_json& value, unsigned indent) {
    const std::string text = value.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    if (indent == 0 || !value.is_structured()) {
        out << text;
        return;
    }
    // A text's own line breaks are written escaped, so every one here is between lines of the value.
    const std::string margin = "\n" + std::string(indent, ' ');
    size_t from = 0;
    for (size_t at = text.find('\n'); at != std::string::npos; from = at + 1, at = text.find('\n', from)) {
        out.write(text.data() + from, static_cast<std::streamsize>(at - from));
        out << margin;
    }
    out.write(text.data() + from, static_cast<std::streamsize>(text.size() - from));
}

} // namespace zz
