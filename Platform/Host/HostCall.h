#pragma once

#include <array>
#include <string_view>
#include <utility>

#include "DorvaneCore/Core/EnumCases.h"

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

}  // namespace dorvane::host

namespace dorvane {

template <>
struct EnumCases<host::HostCall> {
    using C = host::HostCall;
    static constexpr std::array<std::pair<C, std::string_view>, 29> table{{
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
        {C::userDefaults, "userDefaults"},
        {C::postDistributedNotification, "postDistributedNotification"},
        {C::currentAppearance, "currentAppearance"},
        {C::announce, "announce"},
    }};
};

}  // namespace dorvane
