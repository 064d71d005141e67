#pragma once

#include "DorvaneCore/Support/JsonFields.h"
#include "Platform/Events/Event.h"

namespace dorvane::host {

// An event as the host's files keep it: its type, flags (as "0x..." text), point, time,
// source state and the fields it carries (non-zero ones, by field number).
json::Json eventJson(const events::Event& event);
events::Event eventFromJson(const json::Json& value);
inline constexpr json::Codec<events::Event> eventCodec{&eventJson, &eventFromJson};

// "0x12000a".
std::string flagsText(std::uint64_t flags);

}  // namespace dorvane::host
