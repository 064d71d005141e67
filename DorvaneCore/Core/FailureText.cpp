#include "DorvaneCore/Core/FailureText.h"

#include <cerrno>
#include <ios>
#include <new>
#include <optional>
#include <system_error>

#include "DorvaneCore/Core/BusyFailure.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Support/FileError.h"
#include "DorvaneCore/Support/JsonLocation.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

namespace {

// What the system's own code of a failure says, where nothing better can be said: the
// number, and for a code that is not the system's error number, whose code it is.
std::string systemCodeText(const std::error_code& code) {
    if (code.category() == std::generic_category() || code.category() == std::system_category()) {
        return "系统错误（" + std::to_string(code.value()) + "）";
    }
    return "系统错误（" + std::string(code.category().name()) + " " + std::to_string(code.value()) + "）";
}

// Why the system refused, as the person would say it; nothing for a code that says no more
// than its number.
std::optional<std::string> knownReason(const std::error_code& code, bool aboutAFile) {
    // A stream's failure is a read or a write that failed.
    if (code.category() == std::iostream_category()) return "读写出错";
    if (code.category() != std::generic_category() && code.category() != std::system_category()) return std::nullopt;
    switch (code.value()) {
        case EACCES:
        case EPERM: return "没有权限";
        case ENOENT: return "文件不存在";
        case ENOTDIR: return "路径中有一项不是文件夹";
        case EISDIR: return "那是一个文件夹";
        // The file functions say so of a folder, a pipe or a device in a file's place.
        case EINVAL: return aboutAFile ? "那不是一个普通文件" : "参数无效";
        case ELOOP: return "那是一个符号链接";
        case ENOSPC: return "磁盘已满";
        case EDQUOT: return "超出了磁盘配额";
        case EROFS: return "磁盘是只读的";
        case EIO: return "读写出错";
        case ENAMETOOLONG: return "路径过长";
        case EMFILE:
        case ENFILE: return "打开的文件过多";
        case EBUSY:
        case ETXTBSY: return "文件正被占用";
        case EEXIST: return "文件已存在";
        case EXDEV: return "不能跨磁盘移动";
        case ENOMEM: return "内存不足";
        case EAGAIN: return "暂时无法完成";
        case ETIMEDOUT: return "操作超时";
        default: return std::nullopt;
    }
}

std::string systemReason(const std::error_code& code, bool aboutAFile) {
    return knownReason(code, aboutAFile).value_or(systemCodeText(code));
}

std::string fileText(const FileError& error, std::string_view file) {
    const std::string reason = systemReason(error.code(), true);
    switch (error.action()) {
        case FileError::Action::read: return "无法读取 " + std::string(file) + "：" + reason + "。";
        case FileError::Action::write: return "无法保存 " + std::string(file) + "：" + reason + "。";
        case FileError::Action::moveAside:
            return "无法把 " + std::string(file) + " 移到一旁：" + reason + "。";
    }
    return "无法读取 " + std::string(file) + "：" + reason + "。";
}

std::string decodeText(const json::DecodeError& error, std::string_view file,
                       std::optional<std::string_view> document) {
    const std::optional<std::size_t> line = document ? json::errorLine(*document, error) : std::nullopt;
    if (line) return std::string(file) + " 第 " + std::to_string(*line) + " 行格式有误。";
    return std::string(file) + " 格式有误。";
}

void appendNested(const std::exception& error, std::string& text) {
    try {
        std::rethrow_if_nested(error);
    } catch (const std::exception& cause) {
        text += " <- ";
        text += cause.what();
        appendNested(cause, text);
    } catch (...) {
        text += " <- (not a std::exception)";
    }
}

}  // namespace

std::string shownText(const std::exception& error) {
    if (dynamic_cast<const FitError*>(&error) != nullptr) return error.what();
    if (const auto* file = dynamic_cast<const FileError*>(&error)) {
        return fileText(*file, file->path().filename().string());
    }
    if (const auto* system = dynamic_cast<const std::system_error*>(&error)) {
        const auto reason = knownReason(system->code(), false);
        return reason ? "系统错误：" + *reason + "。" : systemCodeText(system->code()) + "。";
    }
    if (dynamic_cast<const BusyFailure*>(&error) != nullptr) return kBusyText;
    if (dynamic_cast<const json::DecodeError*>(&error) != nullptr) return "数据格式有误。";
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) return "内存不足。";
    return "系统未能完成这项操作。";
}

std::string technicalText(const std::exception& error) {
    std::string text = error.what();
    appendNested(error, text);
    return text;
}

void rethrowNamingFile(std::string_view file, std::optional<std::string_view> document) {
    try {
        throw;
    } catch (const FitError&) {
        throw;
    } catch (const FileError& error) {
        std::throw_with_nested(FitError::message(fileText(error, file)));
    } catch (const json::DecodeError& error) {
        std::throw_with_nested(FitError::message(decodeText(error, file, document)));
    } catch (const std::exception& error) {
        std::throw_with_nested(FitError::message("无法读取 " + std::string(file) + "：" + shownText(error)));
    }
}

}  // namespace dorvane
