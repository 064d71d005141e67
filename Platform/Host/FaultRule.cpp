#include "Platform/Host/FaultRule.h"

#include <cmath>

#include "DorvaneCore/Support/DecimalText.h"
#include "Platform/Host/HostError.h"

namespace dorvane::host {

void FaultRule::validate() const {
    const std::string what = "fault rule for " + std::string(rawValue(call)) + ": ";
    if (action == FaultAction::fail) {
        if (answersAccessibilityError(call)) {
            if (axCode == accessibility::AXError::success) throw HostError(what + "a failure needs a code other than 0");
        } else if (!answersErrorCode(call)) {
            throw HostError(what + "this call answers no error code; use \"nothing\" instead of \"fail\"");
        } else if (code == displays::DisplayError::success) {
            throw HostError(what + "a failure needs a code other than 0");
        }
    }
    if (action == FaultAction::value && !answersValue(call)) {
        throw HostError(what + "only attribute copies and the window list answer a value");
    }
    if (name && name->empty()) throw HostError(what + "empty name selector");
    if (action == FaultAction::delay && !(std::isfinite(seconds) && seconds > 0)) {
        throw HostError(what + "a delay needs a positive number of seconds");
    }
    if (display && display->empty()) throw HostError(what + "empty display selector");
    if (times && *times == 0) throw HostError(what + "times must be at least 1");
}

std::string FaultRule::describe() const {
    std::string text = "#" + std::to_string(id) + " " + std::string(rawValue(call));
    if (display) text += " display=" + *display;
    if (role) text += " role=" + std::string(rawValue(*role));
    if (pid) text.append(" pid=").append(std::to_string(*pid));
    if (window) text.append(" window=").append(std::to_string(*window));
    if (name) text.append(" name=").append(*name);
    text += " " + std::string(rawValue(action));
    if (action == FaultAction::fail) {
        const auto number = answersAccessibilityError(call) ? accessibility::axErrorCode(axCode) : displays::errorCode(code);
        text.append(" ").append(std::to_string(number));
    }
    if (action == FaultAction::value) text.append(" ").append(rawValue(valueKind));
    if (action == FaultAction::delay) text += " " + decimalText(seconds) + "s";
    if (ignoreTerminate) text += " ignoring-SIGTERM";
    if (skip > 0) text += " skip=" + std::to_string(skip);
    if (times) text += " times=" + std::to_string(*times);
    text += " (matched " + std::to_string(matched) + ", applied " + std::to_string(applied) + ")";
    return text;
}

json::Json FaultRule::toJson() const {
    json::Json object = json::Json::object();
    object["id"] = id;
    object["call"] = json::encode(call);
    object["display"] = display ? json::Json(*display) : json::Json(nullptr);
    object["role"] = role ? json::encode(*role) : json::Json(nullptr);
    object["action"] = json::encode(action);
    object["code"] = displays::errorCode(code);
    object["seconds"] = seconds;
    object["ignoreTerminate"] = ignoreTerminate;
    object["skip"] = skip;
    object["times"] = times ? json::Json(*times) : json::Json(nullptr);
    object["matched"] = matched;
    object["applied"] = applied;
    object["pid"] = pid ? json::Json(*pid) : json::Json(nullptr);
    object["window"] = window ? json::Json(*window) : json::Json(nullptr);
    object["name"] = name ? json::Json(*name) : json::Json(nullptr);
    object["axCode"] = accessibility::axErrorCode(axCode);
    object["value"] = json::encode(valueKind);
    return object;
}

FaultRule FaultRule::fromJson(const json::Json& value) {
    json::requireObject(value);
    FaultRule rule;
    rule.id = json::get<std::uint32_t>(value, "id");
    rule.call = json::get<HostCall>(value, "call");
    rule.display = json::getOptional<std::string>(value, "display");
    rule.role = json::getOptional<processes::ProcessRole>(value, "role");
    rule.action = json::get<FaultAction>(value, "action");
    const auto code = json::get<std::int32_t>(value, "code");
    const auto error = displays::displayErrorFromCode(code);
    if (!error) throw json::DecodeError("unknown error code " + std::to_string(code), "code");
    rule.code = *error;
    rule.seconds = json::get<double>(value, "seconds");
    rule.ignoreTerminate = json::get<bool>(value, "ignoreTerminate");
    rule.skip = json::get<std::uint32_t>(value, "skip");
    rule.times = json::getOptional<std::uint32_t>(value, "times");
    rule.matched = json::get<std::uint32_t>(value, "matched");
    rule.applied = json::get<std::uint32_t>(value, "applied");
    // Rules written before Accessibility calls had selectors read without them.
    rule.pid = json::getOptional<std::int32_t>(value, "pid");
    rule.window = json::getOptional<std::uint32_t>(value, "window");
    rule.name = json::getOptional<std::string>(value, "name");
    if (const auto axCode = json::getOptional<std::int32_t>(value, "axCode")) {
        const auto error = accessibility::axErrorFromCode(*axCode);
        if (!error) throw json::DecodeError("unknown Accessibility code " + std::to_string(*axCode), "axCode");
        rule.axCode = *error;
    }
    rule.valueKind = json::getOr(value, "value", FaultValue::wrongType);
    try {
        rule.validate();
    } catch (const HostError& error) {
        throw json::DecodeError(error.what());
    }
    return rule;
}

std::uint32_t FaultRules::add(FaultRule rule) {
    rule.validate();
    rule.id = nextID++;
    rule.matched = 0;
    rule.applied = 0;
    rules.push_back(std::move(rule));
    return rules.back().id;
}

bool FaultRules::remove(std::uint32_t id) {
    return std::erase_if(rules, [id](const FaultRule& rule) { return rule.id == id; }) > 0;
}

bool FaultRule::selects(const FaultSubject& subject) const {
    if (subject.call != call) return false;
    if (role && *role != subject.role) return false;
    if (display && (subject.display == nullptr || !host::selects(*display, *subject.display))) return false;
    if (pid && subject.pid != pid) return false;
    if (window && subject.window != window) return false;
    if (name && subject.name != name) return false;
    return true;
}

std::optional<FaultOutcome> FaultRules::match(HostCall call, const DisplayRecord* display,
                                              processes::ProcessRole role) {
    FaultSubject subject;
    subject.call = call;
    subject.display = display;
    subject.role = role;
    return match(subject);
}

std::optional<FaultOutcome> FaultRules::match(const FaultSubject& subject) {
    for (auto& rule : rules) {
        if (!rule.selects(subject)) continue;
        ++rule.matched;
        if (rule.matched <= rule.skip) continue;
        if (rule.times && rule.applied >= *rule.times) continue;
        ++rule.applied;
        return FaultOutcome{rule.id,         rule.action, rule.code,     rule.seconds, rule.ignoreTerminate,
                            rule.axCode,     rule.valueKind};
    }
    return std::nullopt;
}

json::Json FaultRules::toJson() const {
    json::Json object = json::Json::object();
    object["format"] = 1;
    object["nextID"] = nextID;
    object["rules"] = json::encodeArray(rules);
    return object;
}

FaultRules FaultRules::fromJson(const json::Json& value) {
    json::requireObject(value);
    if (json::get<std::int32_t>(value, "format") != 1) throw json::DecodeError("unsupported format", "format");
    FaultRules faults;
    faults.nextID = json::get<std::uint32_t>(value, "nextID");
    faults.rules = json::get<std::vector<FaultRule>>(value, "rules");
    return faults;
}

}  // namespace dorvane::host
