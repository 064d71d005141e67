#include "DorvaneCore/Display/CommitRequest.h"

namespace dorvane {

json::Json CommitRequest::toJson() const {
    json::Json object = json::Json::object();
    object["targets"] = encodeDisplayStates(targets);
    return object;
}

CommitRequest CommitRequest::fromJson(const json::Json& value) {
    return CommitRequest{json::get<std::vector<DisplayState>>(value, "targets")};
}

}  // namespace dorvane
