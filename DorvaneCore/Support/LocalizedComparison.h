#pragma once

#include <algorithm>
#include <compare>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The one ordering of names that people see sorted (applications in the launcher
// and in the application picker): the collation of the process's locale, runs of
// digits compared by value ("Demo 2" before "Demo 10"), case ignored, accents not.
namespace dorvane::text {

// The ICU locale names sort in, from the POSIX locale variables in their order of
// precedence (the first non-empty one counts): "en_US.UTF-8" gives "en_US"; none, "C",
// "POSIX" or "C.UTF-8" give "zh", as the program's users read Chinese.
std::string collationLocaleID(std::string_view lcAll, std::string_view lcCollate, std::string_view lang);

// collationLocaleID over this process's LC_ALL, LC_COLLATE and LANG.
std::string processCollationLocaleID();

// A comparison bound to one locale. Collators are built once per locale and shared,
// so making one of these per sort is cheap; a value may be used from any thread.
class LocalizedComparison {
public:
    // The process's collation locale, read now.
    LocalizedComparison();
    // An ICU locale ID ("zh", "en_US", "sv"); one ICU does not know sorts as the root locale.
    explicit LocalizedComparison(std::string_view localeID);

    std::weak_ordering operator()(std::string_view left, std::string_view right) const;
    bool less(std::string_view left, std::string_view right) const { return (*this)(left, right) < 0; }

    const std::string& localeID() const { return localeID_; }

    struct Collation;

private:
    std::string localeID_;
    std::shared_ptr<const Collation> collation_;
};

// The comparison in the process's locale.
std::weak_ordering localizedStandardCompare(std::string_view left, std::string_view right);

// Sorts `items` ascending by `name(item)`; items with equal names keep their order.
template <typename T, typename NameOf>
void sortByLocalizedName(std::vector<T>& items, NameOf name, const LocalizedComparison& compare = {}) {
    std::stable_sort(items.begin(), items.end(),
                     [&](const T& left, const T& right) { return compare.less(name(left), name(right)); });
}

}  // namespace dorvane::text
