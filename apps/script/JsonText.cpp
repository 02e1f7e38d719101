#include "apps/script/JsonText.h"

#include <vector>

namespace zz {

namespace {

using nlohmann::json;

// The DOM builder, following where in the document it is, so that a fault can name the place.
class PlaceTrackingSax : public nlohmann::detail::json_sax_dom_parser<json> {
    using Base = nlohmann::detail::json_sax_dom_parser<json>;

  public:
    explicit PlaceTrackingSax(json& result) : Base(result, false) {}

    bool null() { return value(Base::null()); }
    bool boolean(bool v) { return value(Base::boolean(v)); }
    bool number_integer(json::number_integer_t v) { return value(Base::number_integer(v)); }
    bool number_unsigned(json::number_unsigned_t v) { return value(Base::number_unsigned(v)); }
    bool number_float(json::number_float_t v, const json::string_t& s) {
        return value(Base::number_float(v, s));
    }
    bool string(json::string_t& v) {
        if (!frames_.empty() && !frames_.back().array && frames_.back().key == "do")
            frames_.back().doName = v;
        return value(Base::string(v));
    }
    bool binary(json::binary_t& v) { return value(Base::binary(v)); }
    bool start_object(std::size_t size) {
        frames_.push_back(Frame{false, 0, {}, {}});
        return Base::start_object(size);
    }
    bool key(json::string_t& k) {
        frames_.back().key = k;
        return Base::key(k);
    }
    bool end_object() {
        frames_.pop_back();
        return value(Base::end_object());
    }
    bool start_array(std::size_t size) {
        frames_.push_back(Frame{true, 0, {}, {}});
        return Base::start_array(size);
    }
    bool end_array() {
        frames_.pop_back();
        return value(Base::end_array());
    }
    template <class Exception>
    bool parse_error(std::size_t position, const std::string& token, const Exception& ex) {
        problem_ = place() + ex.what();
        return Base::parse_error(position, token, ex);
    }
    const std::string& problem() const { return problem_; }

  private:
    struct Frame {
        bool array;
        std::size_t count; // lists: values read so far
        std::string key;   // objects: the member being read
        std::string doName;
    };

    // A value ended: a list moves on to its next index.
    bool value(bool ok) {
        if (!frames_.empty() && frames_.back().array) ++frames_.back().count;
        return ok;
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

    std::vector<Frame> frames_;
    std::string problem_;
};

} // namespace

std::optional<json> parseJsonNamingPlace(const std::string& text, std::string* problem) {
    json result;
    PlaceTrackingSax sax(result);
    const bool ok = json::sax_parse(text, &sax, json::input_format_t::json, true);
    if (!ok || sax.is_errored()) {
        if (problem != nullptr)
            *problem = "the script is not valid JSON: " +
                       (sax.problem().empty() ? std::string("cannot be read") : sax.problem());
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
