#include "Platform/Host/State/FaultRule.h"

#include <cmath>

#include "DorvaneCore/Support/DecimalText.h"
#include "DorvaneCore/Support/JsonFields.h"
#include "Platform/Host/State/HostError.h"

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

namespace {

json::Json displayErrorJson(const displays::DisplayError& error) { return displays::errorCode(error); }

displays::DisplayError displayErrorFrom(const json::Json& value) {
    const auto code = json::decode<std::int32_t>(value);
    const auto error = displays::displayErrorFromCode(code);
    if (!error) throw json::DecodeError("unknown error code " + std::to_string(code));
    return *error;
}

json::Json axErrorJson(const accessibility::AXError& error) { return accessibility::axErrorCode(error); }

accessibility::AXError axErrorFrom(const json::Json& value) {
    const auto code = json::decode<std::int32_t>(value);
    const auto error = accessibility::axErrorFromCode(code);
    if (!error) throw json::DecodeError("unknown Accessibility code " + std::to_string(code));
    return *error;
}

constexpr auto faultRuleFields = [](auto& f, auto& rule) {
    f.required("id", rule.id);
    f.required("call", rule.call);
    f.nullable("display", rule.display);
    f.nullable("role", rule.role);
    f.required("action", rule.action);
    f.required("code", rule.code, {displayErrorJson, displayErrorFrom});
    f.required("seconds", rule.seconds);
    f.required("ignoreTerminate", rule.ignoreTerminate);
    f.required("skip", rule.skip);
    f.nullable("times", rule.times);
    f.required("matched", rule.matched);
    f.required("applied", rule.applied);
    // Rules written before Accessibility calls had selectors read without them.
    f.nullable("pid", rule.pid);
    f.nullable("window", rule.window);
    f.nullable("name", rule.name);
    f.defaulted("axCode", rule.axCode, accessibility::AXError::failure, {axErrorJson, axErrorFrom});
    f.defaulted("value", rule.valueKind, FaultValue::wrongType);
};

constexpr auto faultRulesFields = [](auto& f, auto& faults) {
    f.format(1);
    f.required("nextID", faults.nextID);
    f.required("rules", faults.rules);
};

}  // namespace

json::Json FaultRule::toJson() const { return json::writeFields(*this, faultRuleFields); }

FaultRule FaultRule::fromJson(const json::Json& value) {
    auto rule = json::readFields<FaultRule>(value, faultRuleFields);
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

json::Json FaultRules::toJson() const { return json::writeFields(*this, faultRulesFields); }

FaultRules FaultRules::fromJson(const json::Json& value) { return json::readFields<FaultRules>(value, faultRulesFields); }

}  // namespace dorvane::host
