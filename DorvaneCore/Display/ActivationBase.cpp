#include "DorvaneCore/Display/ActivationBase.h"

#include <map>

namespace dorvane {

std::string ActivationBase::Verdict::text() const {
    if (kind == Kind::ok) return "ok";
    std::string result = kind == Kind::ownLeftover ? "ownLeftover([" : "brokenMirror([";
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (i > 0) result += ", ";
        result += std::to_string(ids[i]);
    }
    return result + "])";
}

bool ActivationBase::isOwn(std::string_view hardwareKey) {
    return hardwareKey.starts_with(std::to_string(ownVendor) + ":");
}

ActivationBase::Verdict ActivationBase::verdict(const std::vector<DisplayState>& displays) {
    std::vector<std::uint32_t> own;
    for (const auto& d : displays) {
        if (isOwn(d.hardwareKey)) own.push_back(d.id);
    }
    if (!own.empty()) return {Verdict::Kind::ownLeftover, own};

    std::map<std::uint32_t, const DisplayState*> byID;
    for (const auto& d : displays) byID.emplace(d.id, &d);  // the first of an id wins
    std::vector<std::uint32_t> broken;
    for (const auto& d : displays) {
        if (d.mirror == 0) continue;
        auto mirrored = byID.find(d.mirror);
        if (mirrored == byID.end() || mirrored->second->mirror != 0) broken.push_back(d.id);
    }
    if (!broken.empty()) return {Verdict::Kind::brokenMirror, broken};
    return {};
}

}  // namespace dorvane
