#include "Platform/Host/State/EventJson.h"

#include <cstdio>
#include <string>

#include "Platform/Host/State/GeometryJson.h"

namespace dorvane::host {

using events::Event;
using events::EventField;

std::string flagsText(std::uint64_t flags) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(flags));
    return text;
}

namespace {

std::uint64_t flagsFromText(const std::string& text) {
    if (text.size() < 3 || text.size() > 18 || text.compare(0, 2, "0x") != 0 ||
        text.find_first_not_of("0123456789abcdefABCDEF", 2) != std::string::npos) {
        throw json::DecodeError("not event flags in the form 0x...", "flags");
    }
    return std::stoull(text.substr(2), nullptr, 16);
}

}  // namespace

json::Json eventJson(const Event& event) {
    json::Json object = json::Json::object();
    object["type"] = json::encode(event.type);
    object["flags"] = flagsText(event.flags);
    object["location"] = pointJson(event.location);
    object["timestamp"] = event.timestamp;
    object["sourceState"] = static_cast<std::int32_t>(event.sourceState);
    json::Json fields = json::Json::object();
    for (const auto field : Event::allFields()) {
        if (const auto value = event.field(field); value != 0) {
            fields[std::to_string(static_cast<std::uint32_t>(field))] = value;
        }
    }
    object["fields"] = fields;
    return object;
}

Event eventFromJson(const json::Json& value) {
    json::requireObject(value);
    Event event;
    event.type = json::get<events::EventType>(value, "type");
    event.flags = flagsFromText(json::get<std::string>(value, "flags"));
    try {
        event.location = pointFromJson(json::requireKey(value, "location"));
    } catch (const json::DecodeError& error) {
        throw error.within("location");
    }
    event.timestamp = json::getOr<double>(value, "timestamp", 0);
    const auto state = json::getOr<std::int32_t>(value, "sourceState", 0);
    if (state < -1 || state > 1) throw json::DecodeError("unknown source state", "sourceState");
    event.sourceState = static_cast<events::SourceState>(state);
    if (const auto found = value.find("fields"); found != value.end() && !found->is_null()) {
        const auto& fields = json::requireObject(*found);
        for (const auto& [key, number] : fields.items()) {
            if (key.empty() || key.size() > 3 || key.find_first_not_of("0123456789") != std::string::npos) {
                throw json::DecodeError("not a field number", "fields." + key);
            }
            const auto raw = static_cast<std::uint32_t>(std::stoul(key));
            const auto field = static_cast<EventField>(raw);
            if (!Event::slot(field)) throw json::DecodeError("an event carries no field " + key, "fields");
            try {
                event.setField(field, json::decode<std::int64_t>(number));
            } catch (const json::DecodeError& error) {
                throw error.within("fields." + key);
            }
        }
    }
    return event;
}

}  // namespace dorvane::host
