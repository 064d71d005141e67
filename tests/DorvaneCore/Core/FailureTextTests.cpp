#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <future>
#include <ios>
#include <new>
#include <optional>
#include <tuple>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>

#include "DorvaneCore/Core/BusyFailure.h"
#include "DorvaneCore/Core/FailureText.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Support/FileError.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {
namespace {

using Action = FileError::Action;

// A failure of waiting, as the host's lock throws one.
class Busy : public std::runtime_error, public BusyFailure {
public:
    using std::runtime_error::runtime_error;
};

// What `thrower` throws, as the person reads it and as the log keeps it.
std::pair<std::string, std::string> texts(const std::function<void()>& thrower) {
    try {
        thrower();
    } catch (const std::exception& error) {
        return {shownText(error), technicalText(error)};
    }
    ADD_FAILURE() << "nothing thrown";
    return {};
}

TEST(FailureText, EveryFailureReadsInChineseAndTheLogKeepsItsOwnWords) {
    EXPECT_EQ(texts([] { throw FitError::message("分辨率超出支持范围。"); }),
              std::make_pair(std::string("分辨率超出支持范围。"), std::string("分辨率超出支持范围。")));
    const std::filesystem::path file = "/home/a/Library/Application Support/Dorvane/preferences.json";
    EXPECT_EQ(texts([&] { throw FileError(EACCES, Action::read, file, "open " + file.string()); }),
              std::make_pair(std::string("无法读取 preferences.json：没有权限。"),
                             "open " + file.string() + ": Permission denied"));
    EXPECT_EQ(texts([&] { throw std::system_error(FileError(ENOSPC, Action::write, file, "write").code(), "x"); }).first,
              "系统错误：磁盘已满。") << "the code alone no longer knows the file";
    EXPECT_EQ(texts([&] { throw FileError(EROFS, Action::write, file, "rename"); }).first,
              "无法保存 preferences.json：磁盘是只读的。");
    EXPECT_EQ(texts([&] { throw FileError(EXDEV, Action::moveAside, file, "move"); }).first,
              "无法把 preferences.json 移到一旁：不能跨磁盘移动。");
    EXPECT_EQ(texts([&] { throw FileError(EINVAL, Action::read, file, "read: not a regular file"); }).first,
              "无法读取 preferences.json：那不是一个普通文件。");
    EXPECT_EQ(texts([&] { throw FileError(4242, Action::read, file, "read"); }).first,
              "无法读取 preferences.json：系统错误（4242）。");
    EXPECT_EQ(texts([] { throw std::system_error(EIO, std::generic_category(), "fsync"); }).first,
              "系统错误：读写出错。");
    // A code outside the system's error numbers says whose code it is, once.
    EXPECT_EQ(texts([] { throw std::system_error(std::make_error_code(std::future_errc::broken_promise)); }).first,
              "系统错误（future " + std::to_string(static_cast<int>(std::future_errc::broken_promise)) + "）。");
    EXPECT_EQ(texts([] { throw std::system_error(4242, std::generic_category(), "ioctl"); }).first, "系统错误（4242）。");
    EXPECT_EQ(texts([] { throw std::ios_base::failure("basic_filebuf::underflow"); }).first, "系统错误：读写出错。");
    // Waiting too long for what another program held: busy, not broken.
    EXPECT_EQ(texts([] { throw Busy("cannot lock /h/host.lock: another process has held it for over 10 seconds"); }),
              std::make_pair(std::string(kBusyText),
                             std::string("cannot lock /h/host.lock: another process has held it for over 10 seconds")));
    EXPECT_EQ(texts([] { throw json::DecodeError("missing key", "presets"); }),
              std::make_pair(std::string("数据格式有误。"), std::string("presets: missing key")));
    EXPECT_EQ(texts([] { throw std::bad_alloc(); }).first, "内存不足。");
    EXPECT_EQ(texts([] { throw std::runtime_error("malformed host folder: displays.json"); }),
              std::make_pair(std::string("系统未能完成这项操作。"), std::string("malformed host folder: displays.json")));

    // Nested failures: the outermost is shown, the whole chain is logged.
    const auto nested = texts([] {
        try {
            try {
                throw std::runtime_error("inner");
            } catch (...) {
                std::throw_with_nested(std::logic_error("middle"));
            }
        } catch (...) {
            std::throw_with_nested(FitError::message("外层"));
        }
    });
    EXPECT_EQ(nested, std::make_pair(std::string("外层"), std::string("外层 <- middle <- inner")));
}

// The failure a file's reader throws, renamed after the file as the person knows it.
std::pair<std::string, std::string> named(const std::function<void()>& thrower,
                                          std::optional<std::string_view> document = std::nullopt) {
    return texts([&] {
        try {
            thrower();
        } catch (...) {
            rethrowNamingFile("shortcut-presets.json", document);
        }
    });
}

TEST(FailureText, AFilesFailureNamesTheFileAndTheLineThatDoesNotDecode) {
    const std::string document = "{\n  \"presets\": [\n    {\"id\": 7}\n  ]\n}\n";
    // The path as the decoders build it, from the document's top.
    auto [shown, logged] = named(
        [&] {
            try {
                (void)json::get<std::string>(json::parse(document)["presets"][0], "id");
            } catch (const json::DecodeError& error) {
                throw error.within("[0]").within("presets");
            }
        },
        document);
    EXPECT_EQ(shown, "shortcut-presets.json 第 3 行格式有误。");
    EXPECT_EQ(logged, "shortcut-presets.json 第 3 行格式有误。 <- presets[0].id: expected string, found integer 7");
    EXPECT_EQ(named([&] { json::parse("{\n\n  ,"); }, "{\n\n  ,").first, "shortcut-presets.json 第 3 行格式有误。");
    EXPECT_EQ(named([] { json::parse("{,"); }).first, "shortcut-presets.json 格式有误。") << "no text, no line";

    // Read failures name the file as the person knows it, not the path it was read from.
    std::tie(shown, logged) =
        named([] { throw FileError(EIO, Action::read, "/tmp/x/other.json", "read /tmp/x/other.json"); });
    EXPECT_EQ(shown, "无法读取 shortcut-presets.json：读写出错。");
    EXPECT_EQ(logged, "无法读取 shortcut-presets.json：读写出错。 <- read /tmp/x/other.json: Input/output error");
    // A failure already in the person's words goes on as it is, nothing nested.
    EXPECT_EQ(named([] { throw FitError::message("快捷操作预设重复。"); }),
              std::make_pair(std::string("快捷操作预设重复。"), std::string("快捷操作预设重复。")));
    EXPECT_EQ(named([] { throw std::runtime_error("odd"); }).first,
              "无法读取 shortcut-presets.json：系统未能完成这项操作。");
}

}  // namespace
}  // namespace dorvane
