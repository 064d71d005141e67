#pragma once

#include <ostream>
#include <streambuf>

namespace dorvane::hosttool {

// Passes text on to `target` with every control character but the line feed and the tab
// written as \u00XX: C0 controls, DEL and the C1 controls (U+0080–U+009F). Text the host
// holds comes from anyone (a notification's object, a window's title), and a terminal
// would act on an escape sequence in it. JSON stays JSON: its strings take the same escape.
class EscapedOutput final : public std::streambuf {
public:
    explicit EscapedOutput(std::ostream& target) : target_(target) {}
    EscapedOutput(const EscapedOutput&) = delete;
    EscapedOutput& operator=(const EscapedOutput&) = delete;
    ~EscapedOutput() override { sync(); }

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    void escape(unsigned code);

    std::ostream& target_;
    bool leadC2_ = false;  // the last byte was 0xC2, which a C1 control in UTF-8 starts with
};

}  // namespace dorvane::hosttool
