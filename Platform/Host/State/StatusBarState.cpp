#include "Platform/Host/State/StatusBarState.h"

namespace dorvane::host {

bool StatusBarState::settle(const std::function<bool(const processes::ProcessIdentity&)>& isAlive) {
    if (!item || isAlive(owner)) return false;
    item.reset();
    owner = {};
    dropWaitingClicks();
    ++generation;
    return true;
}

void StatusBarState::dropWaitingClicks() {
    std::erase_if(clicks, [](const StatusBarClick& click) {
        return click.state == StatusBarClick::State::pending || click.state == StatusBarClick::State::taken;
    });
}

json::Json StatusBarState::toJson() const {
    json::Json object = json::Json::object();
    object["format"] = kFormat;
    object["generation"] = generation;
    if (item) {
        json::Json shown = json::Json::object();
        shown["pid"] = owner.pid;
        shown["startTime"] = owner.startTime;
        const json::Json fields = item->toJson();
        for (const auto& [key, value] : fields.items()) shown[key] = value;
        object["item"] = shown;
    } else {
        object["item"] = nullptr;
    }
    json::Json list = json::Json::array();
    for (const auto& click : clicks) {
        json::Json entry = {{"id", click.id}, {"title", click.title}, {"state", rawValue(click.state)}};
        // A reader of the previous release knows no "taken" state and would start the whole
        // status bar afresh; to it a taken click is one still waiting, and the mark is a key
        // it passes over.
        if (click.state == StatusBarClick::State::taken) {
            entry["state"] = rawValue(StatusBarClick::State::pending);
            entry["taken"] = true;
        }
        list.push_back(std::move(entry));
    }
    object["clicks"] = list;
    object["nextClick"] = nextClick;
    return object;
}

StatusBarState StatusBarState::fromJson(const json::Json& value) {
    json::requireObject(value);
    const auto format = json::get<std::int32_t>(value, "format");
    if (format != kFormat) throw json::DecodeError("unsupported format " + std::to_string(format), "format");
    StatusBarState state;
    state.generation = json::get<std::uint64_t>(value, "generation");
    const auto& shown = json::requireKey(value, "item");
    if (!shown.is_null()) {
        try {
            state.item = statusbar::StatusItem::fromJson(shown);
            state.owner = processes::ProcessIdentity{json::get<std::int32_t>(shown, "pid"),
                                                     json::get<std::uint64_t>(shown, "startTime")};
        } catch (const json::DecodeError& error) {
            throw error.within("item");
        }
    }
    const auto& list = json::requireArray(json::requireKey(value, "clicks"));
    for (std::size_t index = 0; index < list.size(); ++index) {
        try {
            const auto& entry = json::requireObject(list[index]);
            const auto stateName = json::get<std::string>(entry, "state");
            auto clickState = fromRawValue<StatusBarClick::State>(stateName);
            if (!clickState) throw json::DecodeError("unknown click state \"" + stateName + "\"", "state");
            // The mark only tells a waiting click from one its owner took; an answer stays an answer.
            if (*clickState == StatusBarClick::State::pending && json::getOr<bool>(entry, "taken", false)) {
                clickState = StatusBarClick::State::taken;
            }
            state.clicks.push_back(
                StatusBarClick{json::get<std::uint64_t>(entry, "id"), json::get<std::string>(entry, "title"), *clickState});
        } catch (const json::DecodeError& error) {
            throw error.within("[" + std::to_string(index) + "]").within("clicks");
        }
    }
    state.nextClick = json::get<std::uint64_t>(value, "nextClick");
    return state;
}

}  // namespace dorvane::host
