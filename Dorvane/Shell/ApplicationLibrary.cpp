#include "Dorvane/Shell/ApplicationLibrary.h"

#include <algorithm>
#include <ostream>

#include <dlfcn.h>

namespace dorvane {

namespace {

int refuse(std::ostream& errors, const char* reason) {
    std::string line = reason ? reason : "未知错误";
    std::replace(line.begin(), line.end(), '\n', ' ');
    errors << "无法加载 Corvelle 应用程序库：" << line << "\n";
    errors.flush();
    return 1;
}

}  // namespace

int runApplicationLibrary(const std::filesystem::path& library, const std::filesystem::path& root,
                          const std::string& executable, std::ostream& errors) {
    // A path with a slash is opened as it is; a bare name would be searched for.
    std::error_code error;
    const std::string path = std::filesystem::absolute(library, error).string();
    if (error || library.empty()) return refuse(errors, (library.string() + ": " + error.message()).c_str());
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return refuse(errors, ::dlerror());
    auto* entry = reinterpret_cast<ApplicationLibraryEntry*>(::dlsym(handle, applicationLibraryEntryName));
    if (!entry) {
        const int status = refuse(errors, ::dlerror());
        ::dlclose(handle);
        return status;
    }
    return entry(root.c_str(), executable.c_str());
}

}  // namespace dorvane
