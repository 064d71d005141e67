#include "DorvaneCore/Support/LocalizedComparison.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <stdexcept>

#include "DorvaneCore/Support/IcuLibrary.h"

namespace dorvane::text {

namespace {

constexpr std::string_view fallbackLocale = "zh";

bool isPlainCLocale(std::string_view name) {
    const std::string_view language = name.substr(0, name.find_first_of(".@"));
    return language.empty() || language == "C" || language == "POSIX";
}

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

std::string collationLocaleID(std::string_view lcAll, std::string_view lcCollate, std::string_view lang) {
    const std::string_view chosen = !lcAll.empty() ? lcAll : !lcCollate.empty() ? lcCollate : lang;
    if (isPlainCLocale(chosen)) return std::string(fallbackLocale);
    // "language_TERRITORY.codeset@modifier": the codeset and modifier do not change the order.
    return std::string(chosen.substr(0, chosen.find_first_of(".@")));
}

std::string processCollationLocaleID() {
    return collationLocaleID(environment("LC_ALL"), environment("LC_COLLATE"), environment("LANG"));
}

// A configured collator. ICU's comparisons on one collator may run on several threads at once.
struct LocalizedComparison::Collation {
    explicit Collation(UCollator* made) : collator(made) {}
    Collation(const Collation&) = delete;
    Collation& operator=(const Collation&) = delete;
    ~Collation() { icu().closeCollator(collator); }
    UCollator* collator;
};

namespace {

// A locale ICU does not know gets the root's order.
UCollator* makeCollator(const std::string& localeID) {
    const auto& icu = text::icu();
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = icu.openCollator(localeID.c_str(), &status);
    if (U_FAILURE(status) || collator == nullptr) return nullptr;
    // Secondary strength: case does not count, accents do.
    icu.setStrength(collator, UCOL_SECONDARY);
    icu.setAttribute(collator, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    if (U_FAILURE(status)) {
        icu.closeCollator(collator);
        return nullptr;
    }
    return collator;
}

std::shared_ptr<const LocalizedComparison::Collation> sharedCollation(const std::string& localeID) {
    static std::mutex mutex;
    static std::map<std::string, std::shared_ptr<const LocalizedComparison::Collation>, std::less<>> built;

    const std::lock_guard lock(mutex);
    if (auto found = built.find(localeID); found != built.end()) return found->second;

    UCollator* collator = makeCollator(localeID);
    if (collator == nullptr) collator = makeCollator("");
    if (collator == nullptr) throw std::runtime_error("ICU collator unavailable for " + localeID);
    auto collation = std::make_shared<const LocalizedComparison::Collation>(collator);
    built.emplace(localeID, collation);
    return collation;
}

}  // namespace

LocalizedComparison::LocalizedComparison() : LocalizedComparison(processCollationLocaleID()) {}

LocalizedComparison::LocalizedComparison(std::string_view localeID)
    : localeID_(localeID), collation_(sharedCollation(localeID_)) {}

std::weak_ordering LocalizedComparison::operator()(std::string_view left, std::string_view right) const {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result =
        icu().collateUTF8(collation_->collator, left.data(), static_cast<std::int32_t>(left.size()), right.data(),
                          static_cast<std::int32_t>(right.size()), &status);
    if (U_FAILURE(status)) {
        // Only a failed allocation gets here; byte order keeps the sort total.
        return left.compare(right) <=> 0;
    }
    if (result == UCOL_LESS) return std::weak_ordering::less;
    if (result == UCOL_GREATER) return std::weak_ordering::greater;
    return std::weak_ordering::equivalent;
}

std::weak_ordering localizedStandardCompare(std::string_view left, std::string_view right) {
    return LocalizedComparison()(left, right);
}

}  // namespace dorvane::text
