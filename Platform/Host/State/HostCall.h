#pragma once

#include <array>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"

namespace dorvane::host {

// Every call of the host services a fault rule can pick out.
enum class HostCall {
    onlineDisplayList,
    mainDisplayID,
    currentMode,
    allModes,
    vendorNumber,
    modelNumber,
    serialNumber,
    isBuiltin,
    isMain,
    bounds,
    mirrorSource,
    displayUUID,
    beginConfiguration,
    configureMirror,
    configureMode,
    configureOrigin,
    completeConfiguration,
    cancelConfiguration,
    virtualDisplaysAvailable,
    createVirtualDisplay,
    applyVirtualDisplaySettings,
    declareUserActivity,
    screens,
    assertionsByProcess,
    allProcessIDs,
    axCopyAttribute,
    axIsAttributeSettable,
    axSetAttribute,
    axPerformAction,
    axCreateObserver,
    windowList,
    activateApplication,
    postEvent,       // to one process
    tapCreate,
    eventSourceCreate,
    eventCreate,     // a rule's name picks the kind: null, key, mouse or scroll
    eventPost,       // at a tap location; the name picks the kind as for eventCreate
    openURL,
    userDefaults,
    postDistributedNotification,
    currentAppearance,
    announce,
};

// Calls that answer a DisplayError, so that a rule can make them fail with a code.
// The others can only be made to answer nothing (0, false, empty, absent).
constexpr bool answersErrorCode(HostCall call) {
    switch (call) {
        case HostCall::onlineDisplayList:
        case HostCall::beginConfiguration:
        case HostCall::configureMirror:
        case HostCall::configureMode:
        case HostCall::configureOrigin:
        case HostCall::completeConfiguration:
        case HostCall::cancelConfiguration: return true;
        default: return false;
    }
}

// Accessibility calls, which answer an Accessibility error code.
constexpr bool answersAccessibilityError(HostCall call) {
    switch (call) {
        case HostCall::axCopyAttribute:
        case HostCall::axIsAttributeSettable:
        case HostCall::axSetAttribute:
        case HostCall::axPerformAction:
        case HostCall::axCreateObserver: return true;
        default: return false;
    }
}

// Calls that only read: the counts of the fault rules they meet stay in the calling
// process, so that reading never writes the host.
constexpr bool onlyReads(HostCall call) {
    return call == HostCall::axCopyAttribute || call == HostCall::axIsAttributeSettable ||
           call == HostCall::windowList;
}

// Calls whose answer a rule can replace with a malformed value.
constexpr bool answersValue(HostCall call) { return call == HostCall::axCopyAttribute || call == HostCall::windowList; }

}  // namespace dorvane::host

namespace dorvane {

template <>
struct EnumCases<host::HostCall> {
    using C = host::HostCall;
    static constexpr std::array<std::pair<C, std::string_view>, 42> table{{
        {C::onlineDisplayList, "onlineDisplayList"},
        {C::mainDisplayID, "mainDisplayID"},
        {C::currentMode, "currentMode"},
        {C::allModes, "allModes"},
        {C::vendorNumber, "vendorNumber"},
        {C::modelNumber, "modelNumber"},
        {C::serialNumber, "serialNumber"},
        {C::isBuiltin, "isBuiltin"},
        {C::isMain, "isMain"},
        {C::bounds, "bounds"},
        {C::mirrorSource, "mirrorSource"},
        {C::displayUUID, "displayUUID"},
        {C::beginConfiguration, "beginConfiguration"},
        {C::configureMirror, "configureMirror"},
        {C::configureMode, "configureMode"},
        {C::configureOrigin, "configureOrigin"},
        {C::completeConfiguration, "completeConfiguration"},
        {C::cancelConfiguration, "cancelConfiguration"},
        {C::virtualDisplaysAvailable, "virtualDisplaysAvailable"},
        {C::createVirtualDisplay, "createVirtualDisplay"},
        {C::applyVirtualDisplaySettings, "applyVirtualDisplaySettings"},
        {C::declareUserActivity, "declareUserActivity"},
        {C::screens, "screens"},
        {C::assertionsByProcess, "assertionsByProcess"},
        {C::allProcessIDs, "allProcessIDs"},
        {C::axCopyAttribute, "axCopyAttribute"},
        {C::axIsAttributeSettable, "axIsAttributeSettable"},
        {C::axSetAttribute, "axSetAttribute"},
        {C::axPerformAction, "axPerformAction"},
        {C::axCreateObserver, "axCreateObserver"},
        {C::windowList, "windowList"},
        {C::activateApplication, "activateApplication"},
        {C::postEvent, "postEvent"},
        {C::tapCreate, "tapCreate"},
        {C::eventSourceCreate, "eventSourceCreate"},
        {C::eventCreate, "eventCreate"},
        {C::eventPost, "eventPost"},
        {C::openURL, "openURL"},
        {C::userDefaults, "userDefaults"},
        {C::postDistributedNotification, "postDistributedNotification"},
        {C::currentAppearance, "currentAppearance"},
        {C::announce, "announce"},
    }};
};

}  // namespace dorvane
