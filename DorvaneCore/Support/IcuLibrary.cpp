#include "DorvaneCore/Support/IcuLibrary.h"

#include <stdexcept>
#include <string>

#include <dlfcn.h>

#include <unicode/uvernum.h>

// ICU's headers rename every function for its version (u_charType is u_charType_72): the
// name to look up is the renamed one.
#define DORVANE_ICU_TEXT(name) #name
#define DORVANE_ICU_NAME(name) DORVANE_ICU_TEXT(name)

namespace dorvane::text {

namespace {

void* openLibrary(const std::string& name) {
    void* handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = ::dlerror();
        throw std::runtime_error("cannot load " + name + ": " + (reason ? reason : "unknown error"));
    }
    return handle;
}

template <typename Function>
void resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    if (function == nullptr) throw std::runtime_error(std::string("ICU lacks ") + name);
}

IcuFunctions load() {
    // Kept for the life of the process, as a linked library would be.
    void* common = openLibrary("libicuuc.so." DORVANE_ICU_NAME(U_ICU_VERSION_MAJOR_NUM));
    void* international = openLibrary("libicui18n.so." DORVANE_ICU_NAME(U_ICU_VERSION_MAJOR_NUM));
    IcuFunctions f{};
    resolve(common, DORVANE_ICU_NAME(u_hasBinaryProperty), f.hasBinaryProperty);
    resolve(common, DORVANE_ICU_NAME(u_charType), f.charType);
    resolve(common, DORVANE_ICU_NAME(u_strFromUTF8WithSub), f.fromUTF8);
    resolve(common, DORVANE_ICU_NAME(u_strToUTF8WithSub), f.toUTF8);
    resolve(common, DORVANE_ICU_NAME(u_strFoldCase), f.foldCase);
    resolve(common, DORVANE_ICU_NAME(u_strToUpper), f.toUpper);
    resolve(common, DORVANE_ICU_NAME(u_strToLower), f.toLower);
    resolve(common, DORVANE_ICU_NAME(unorm2_getNFDInstance), f.nfd);
    resolve(common, DORVANE_ICU_NAME(unorm2_getNFCInstance), f.nfc);
    resolve(common, DORVANE_ICU_NAME(unorm2_normalize), f.normalize);
    resolve(common, DORVANE_ICU_NAME(ubrk_open), f.openBreaks);
    resolve(common, DORVANE_ICU_NAME(ubrk_setText), f.setBreakText);
    resolve(common, DORVANE_ICU_NAME(ubrk_first), f.firstBreak);
    resolve(common, DORVANE_ICU_NAME(ubrk_next), f.nextBreak);
    resolve(common, DORVANE_ICU_NAME(ubrk_close), f.closeBreaks);
    resolve(international, DORVANE_ICU_NAME(ucol_open), f.openCollator);
    resolve(international, DORVANE_ICU_NAME(ucol_setStrength), f.setStrength);
    resolve(international, DORVANE_ICU_NAME(ucol_setAttribute), f.setAttribute);
    resolve(international, DORVANE_ICU_NAME(ucol_strcollUTF8), f.collateUTF8);
    resolve(international, DORVANE_ICU_NAME(ucol_close), f.closeCollator);
    return f;
}

}  // namespace

const IcuFunctions& icu() {
    static const IcuFunctions functions = load();
    return functions;
}

}  // namespace dorvane::text
