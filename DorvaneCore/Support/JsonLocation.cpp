#include "DorvaneCore/Support/JsonLocation.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <variant>
#include <vector>

namespace dorvane::json {

namespace {

using Segment = std::variant<std::string_view, std::size_t>;

// "presets[0].key" as the key "presets", the index 0 and the key "key".
std::vector<Segment> segments(std::string_view path) {
    std::vector<Segment> result;
    std::size_t at = 0;
    while (at < path.size()) {
        if (path[at] == '.') {
            ++at;
        } else if (path[at] == '[') {
            const std::size_t close = path.find(']', at);
            if (close == std::string_view::npos) break;
            std::size_t index = 0;
            const auto digits = path.substr(at + 1, close - at - 1);
            if (std::from_chars(digits.data(), digits.data() + digits.size(), index).ec != std::errc()) break;
            result.emplace_back(index);
            at = close + 1;
        } else {
            const std::size_t end = std::min(path.find('.', at), path.find('[', at));
            result.emplace_back(path.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
            at = end == std::string_view::npos ? path.size() : end;
        }
    }
    return result;
}

// A cursor over JSON text that skips values without building them.
class Walker {
public:
    explicit Walker(std::string_view text) : text_(text) {}

    std::size_t at() const { return at_; }
    void moveTo(std::size_t at) { at_ = at; }

    void skipSpace() {
        while (at_ < text_.size() && isSpace(text_[at_])) ++at_;
    }

    // To the value of `key` in the object here.
    bool enterMember(std::string_view key) {
        if (!take('{')) return false;
        while (true) {
            skipSpace();
            if (peek() != '"') return false;
            const std::size_t start = at_ + 1;
            if (!skipString()) return false;
            const std::string_view name = text_.substr(start, at_ - 1 - start);
            if (!take(':')) return false;
            skipSpace();
            if (name == key) return true;
            if (!skipValue() || !take(',')) return false;
        }
    }

    // To element `index` of the array here.
    bool enterElement(std::size_t index) {
        if (!take('[')) return false;
        for (std::size_t element = 0;; ++element) {
            skipSpace();
            if (peek() == ']' || at_ >= text_.size()) return false;
            if (element == index) return true;
            if (!skipValue() || !take(',')) return false;
        }
    }

private:
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }

    bool take(char expected) {
        skipSpace();
        if (peek() != expected) return false;
        ++at_;
        return true;
    }

    bool skipString() {
        for (++at_; at_ < text_.size(); ++at_) {
            if (text_[at_] == '\\') {
                ++at_;
            } else if (text_[at_] == '"') {
                ++at_;
                return true;
            }
        }
        return false;
    }

    bool skipValue() {
        skipSpace();
        if (peek() == '"') return skipString();
        if (peek() != '{' && peek() != '[') {
            while (at_ < text_.size() && !isSpace(text_[at_]) && text_[at_] != ',' && text_[at_] != '}' &&
                   text_[at_] != ']') {
                ++at_;
            }
            return true;
        }
        std::size_t depth = 0;
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '"') {
                if (!skipString()) return false;
                continue;
            }
            ++at_;
            if (c == '{' || c == '[') ++depth;
            if ((c == '}' || c == ']') && --depth == 0) return true;
        }
        return false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

std::size_t offsetOf(std::string_view document, std::string_view path) {
    Walker walker(document);
    walker.skipSpace();
    for (const Segment& segment : segments(path)) {
        const std::size_t before = walker.at();
        const bool entered = std::holds_alternative<std::size_t>(segment)
                                 ? walker.enterElement(std::get<std::size_t>(segment))
                                 : walker.enterMember(std::get<std::string_view>(segment));
        if (!entered) {
            walker.moveTo(before);
            break;
        }
    }
    return walker.at();
}

std::optional<std::size_t> errorLine(std::string_view document, const DecodeError& error) {
    std::optional<std::size_t> offset = error.offset();
    if (!offset && !error.path().empty()) offset = offsetOf(document, error.path());
    if (!offset) return std::nullopt;
    const auto end = document.begin() + static_cast<std::ptrdiff_t>(std::min(*offset, document.size()));
    return 1 + static_cast<std::size_t>(std::count(document.begin(), end, '\n'));
}

}  // namespace dorvane::json
