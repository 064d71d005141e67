#pragma once

#include <charconv>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dorvane::hosttool {

// The command line itself is wrong: answered with the usage text and kExitUsage.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words of a command line, consumed front to back.
class Arguments {
public:
    explicit Arguments(const std::vector<std::string>& words) : words_(words) {}

    bool empty() const { return index_ >= words_.size(); }

    std::string next(std::string_view what) {
        if (empty()) throw UsageError("missing " + std::string(what));
        return words_[index_++];
    }

    // The next word, left in place.
    const std::string& peek() const {
        if (empty()) throw UsageError("missing argument");
        return words_[index_];
    }

    // Takes `--name` when it comes next.
    bool flag(std::string_view name) {
        if (!empty() && words_[index_] == name) {
            ++index_;
            return true;
        }
        return false;
    }

    void finish() {
        if (!empty()) throw UsageError("unexpected argument \"" + words_[index_] + "\"");
    }

private:
    const std::vector<std::string>& words_;
    std::size_t index_ = 0;
};

template <typename T>
T parseNumber(std::string_view text, std::string_view what) {
    T value{};
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size()) {
        throw UsageError("not a valid " + std::string(what) + ": \"" + std::string(text) + "\"");
    }
    return value;
}

}  // namespace dorvane::hosttool
