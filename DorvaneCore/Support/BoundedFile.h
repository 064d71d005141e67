#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace dorvane {

// Why a bounded read gave nothing.
enum class BoundedReadRefusal { missing, notRegular, tooLarge, unreadable };

struct BoundedRead {
    std::optional<std::string> contents;
    std::optional<BoundedReadRefusal> refusal;  // set exactly when there are no contents
};

// The whole of a file that a path from outside names (a bundle's picture, say), read only
// when it is a regular file of at most `limit` bytes: a named pipe, a device or a folder in
// its place is refused without being waited on, and a larger file without being read
// whole. Follows links, as opening the path would. Never throws.
BoundedRead readBoundedRegularFile(const std::filesystem::path& path, std::size_t limit);

}  // namespace dorvane
