#include "DorvaneCore/Launcher/ApplicationSection.h"

#include <unordered_set>

namespace dorvane {

std::string_view ApplicationSection::title() const { return rawValue(kind); }

std::vector<ApplicationSection> ApplicationSection::make(const std::vector<std::string>& recent,
                                                         const std::vector<std::string>& running,
                                                         const std::vector<std::string>& all) {
    std::unordered_set<std::string_view> claimed;
    std::vector<ApplicationSection> sections;
    const std::pair<Kind, const std::vector<std::string>*> lists[] = {
        {Kind::recent, &recent}, {Kind::running, &running}, {Kind::all, &all}};
    for (const auto& [kind, list] : lists) {
        ApplicationSection section{kind, {}};
        for (const auto& identifier : *list) {
            if (!identifier.empty() && claimed.insert(identifier).second) section.identifiers.push_back(identifier);
        }
        if (!section.identifiers.empty()) sections.push_back(std::move(section));
    }
    return sections;
}

}  // namespace dorvane
