#include "DorvaneCore/Remote/RemoteSoftware.h"

namespace dorvane {

std::string_view title(RemoteSoftware software) {
    switch (software) {
        case RemoteSoftware::uu: return "UU 远程";
        case RemoteSoftware::toDesk: return "ToDesk";
    }
    return {};
}

json::Json RemoteSessionSnapshot::toJson() const {
    auto list = [](const std::set<RemoteSoftware>& members) {
        json::Json array = json::Json::array();
        for (auto software : allCases<RemoteSoftware>()) {
            if (members.contains(software)) array.push_back(std::string(rawValue(software)));
        }
        return array;
    };
    json::Json object = json::Json::object();
    object["active"] = list(active);
    object["unknown"] = list(unknown);
    return object;
}

}  // namespace dorvane
