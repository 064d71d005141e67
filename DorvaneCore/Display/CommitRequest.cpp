#include "DorvaneCore/Display/CommitRequest.h"

#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane {

namespace {

constexpr auto commitRequestFields = [](auto& f, auto& request) { f.required("targets", request.targets); };

}  // namespace

json::Json CommitRequest::toJson() const { return json::writeFields(*this, commitRequestFields); }

CommitRequest CommitRequest::fromJson(const json::Json& value) {
    return json::readFields<CommitRequest>(value, commitRequestFields);
}

}  // namespace dorvane
