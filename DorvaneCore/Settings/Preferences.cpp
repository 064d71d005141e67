#include "DorvaneCore/Settings/Preferences.h"

#include <algorithm>
#include <string_view>

#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Shortcuts/ShortcutIcon.h"
#include "DorvaneCore/Toolbar/OperationOrder.h"

namespace dorvane {

namespace {

// Operations the toolbar no longer has; files from earlier versions may still list them.
constexpr std::array<std::string_view, 2> kRetiredOperationIDs{"builtin:previousApplication",
                                                               "builtin:leftWorkspace"};

constexpr std::string_view kLegacyExpandOnConnect = "autoExpandToolbarOnConnect";
constexpr std::string_view kLegacyManageOnDisconnect = "autoManageToolbarOnDisconnect";

bool isDroppedOperationID(std::string_view id) {
    if (std::ranges::find(kRetiredOperationIDs, id) != kRetiredOperationIDs.end()) return true;
    return std::ranges::any_of(persistentFloatingActions, [&](FloatingAction action) {
        return id == ConfiguredOperation::builtinID(action);
    });
}

// Keys that were retired or changed type over time: a value that is not a
// Boolean counts as missing instead of failing the file.
std::optional<bool> lenientBool(const json::Json& object, std::string_view key) {
    auto found = object.find(key);
    if (found == object.end() || !found->is_boolean()) return std::nullopt;
    return found->get<bool>();
}

std::map<std::string, std::string> decodeActionIcons(const json::Json& object) {
    std::map<std::string, std::string> icons;
    auto found = object.find("floatingActionIcons");
    if (found == object.end() || found->is_null()) return icons;
    try {
        json::requireObject(*found);
        for (const auto& [action, icon] : found->items()) {
            std::string iconName;
            try {
                iconName = json::decode<std::string>(icon);
            } catch (const json::DecodeError& error) {
                throw error.within(action);
            }
            if (fromRawValue<FloatingAction>(action) && fromRawValue<ShortcutIcon>(iconName)) {
                icons.emplace(action, std::move(iconName));
            }
        }
    } catch (const json::DecodeError& error) {
        throw error.within("floatingActionIcons");
    }
    return icons;
}

std::vector<FloatingAction> decodeFloatingActions(const json::Json& object) {
    auto names = json::getOptional<std::vector<std::string>>(object, "floatingActions");
    if (!names) return {defaultFloatingActions.begin(), defaultFloatingActions.end()};
    std::vector<FloatingAction> actions;
    for (const auto& name : *names) {
        auto action = fromRawValue<FloatingAction>(name);
        if (!action || isPersistent(*action)) continue;
        if (std::ranges::find(actions, *action) == actions.end()) actions.push_back(*action);
    }
    return actions;
}

bool isUsable(const CustomPreset& custom) {
    try {
        custom.validate();
        return true;
    } catch (const FitError&) {
        return false;
    }
}

// Files written before the minimise action existed get it once, beside fill.
void seedMinimizeAction(Preferences& preferences) {
    auto& actions = preferences.floatingActions;
    if (std::ranges::find(actions, FloatingAction::minimizeWindow) == actions.end()) {
        auto fill = std::ranges::find(actions, FloatingAction::fillWindow);
        if (fill != actions.end()) actions.insert(fill + 1, FloatingAction::minimizeWindow);
    }
    auto& order = preferences.operationOrder;
    const std::string minimizeID = ConfiguredOperation::builtinID(FloatingAction::minimizeWindow);
    if (std::ranges::find(order, minimizeID) == order.end()) {
        auto fill = std::ranges::find(order, ConfiguredOperation::builtinID(FloatingAction::fillWindow));
        if (fill != order.end()) order.insert(fill + 1, minimizeID);
    }
    preferences.seededMinimizeAction = true;
}

// Files written before the factory presets existed get the missing ones once, in front.
void seedFactorySpecs(Preferences& preferences) {
    std::vector<CustomPreset> seeded;
    for (auto& factory : CustomPreset::factorySpecs()) {
        const bool present = std::ranges::any_of(preferences.customPresets,
                                                 [&](const CustomPreset& custom) { return custom.id == factory.id; });
        if (!present) seeded.push_back(std::move(factory));
    }
    seeded.insert(seeded.end(), preferences.customPresets.begin(), preferences.customPresets.end());
    preferences.customPresets = std::move(seeded);
    preferences.seededFactorySpecs = true;
}

bool hasCustomPreset(const std::vector<CustomPreset>& presets, const std::optional<std::string>& id) {
    return id && std::ranges::any_of(presets, [&](const CustomPreset& custom) { return custom.id == *id; });
}

}  // namespace

std::optional<CustomPreset> Preferences::selectedCustom() const {
    if (!selectedCustomID) return std::nullopt;
    for (const auto& custom : customPresets) {
        if (custom.id == *selectedCustomID) return custom;
    }
    return std::nullopt;
}

Dimensions Preferences::dimensions() const {
    if (auto selected = selectedCustom()) return selected->dimensions(DisplaySize::standard);
    return dorvane::dimensions(preset, size);
}

ResolutionAdjustment Preferences::resolutionAdjustment() const {
    if (auto selected = selectedCustom()) return selected->adjustment();
    return ResolutionAdjustment(dorvane::dimensions(preset, size));
}

bool Preferences::hasAutomaticDefault() const { return hasCustomPreset(customPresets, autoResolutionPresetID); }

bool Preferences::needsRemoteConnectionMonitoring() const {
    return uuTouchScrollEnabled || autoShowDockOnConnect || toolbarWhenConnected || toolbarWhenDisconnected ||
           autoFillWindowsOnRemote || autoRestoreOnDisconnect || (autoResolutionEnabled && hasAutomaticDefault());
}

void Preferences::setAutomaticResolutionEnabled(bool enabled) {
    autoResolutionEnabled = enabled;
    if (enabled && !hasAutomaticDefault()) {
        autoResolutionPresetID =
            customPresets.empty() ? std::nullopt : std::optional<std::string>(customPresets.front().id);
    }
}

Preferences::ToolbarVisibility Preferences::migratedToolbarVisibility(std::optional<bool> expandOnConnect,
                                                                      std::optional<bool> manageOnDisconnect) {
    return ToolbarVisibility{expandOnConnect != false, manageOnDisconnect == false};
}

std::vector<ConfiguredOperation> Preferences::orderedOperations() const {
    return dorvane::orderedOperations(namedShortcuts, floatingActions, operationOrder);
}

std::vector<ConfiguredOperation> Preferences::enabledOperations() const {
    return dorvane::enabledOperations(orderedOperations(), floatingActions);
}

void Preferences::moveOperations(std::span<const std::int64_t> offsets, std::int64_t destination) {
    std::vector<std::string> ids;
    for (const auto& operation : orderedOperations()) ids.push_back(operation.id());
    if (auto moved = movingRows(ids, offsets, destination)) operationOrder = std::move(*moved);
}

std::optional<ApplicationShortcuts> Preferences::applicationShortcutsFor(
    const std::optional<std::string>& bundleID) const {
    return dorvane::applicationShortcutsFor(applicationShortcuts, applicationShortcutsEnabled, bundleID);
}

ToolbarSettings Preferences::toolbarSettings() const {
    return ToolbarSettings{.side = toolbarSide,
                           .showWindowControls = showWindowControls,
                           .operations = enabledOperations(),
                           .floatingActions = floatingActions,
                           .floatingActionIcons = floatingActionIcons,
                           .applicationShortcutsEnabled = applicationShortcutsEnabled,
                           .applicationShortcuts = applicationShortcuts};
}

json::Json Preferences::toJson() const {
    json::Json object = json::Json::object();
    object["applicationShortcutsEnabled"] = applicationShortcutsEnabled;
    object["applicationShortcuts"] = json::encodeArray(applicationShortcuts);
    object["theme"] = json::encode(theme);
    object["toolbarSide"] = json::encode(toolbarSide);
    object["preset"] = json::encode(preset);
    object["size"] = json::encode(size);
    object["customPresets"] = json::encodeArray(customPresets);
    if (selectedCustomID) object["selectedCustomID"] = *selectedCustomID;
    object["floatingActions"] = json::encodeArray(floatingActions);
    object["namedShortcuts"] = json::encodeArray(namedShortcuts);
    object["operationOrder"] = json::encodeArray(operationOrder);
    json::Json icons = json::Json::object();
    for (const auto& [action, icon] : floatingActionIcons) icons[action] = icon;
    object["floatingActionIcons"] = std::move(icons);
    object["seededFactorySpecs"] = seededFactorySpecs;
    object["autoResolutionEnabled"] = autoResolutionEnabled;
    if (autoResolutionPresetID) object["autoResolutionPresetID"] = *autoResolutionPresetID;
    object["autoShowDockOnConnect"] = autoShowDockOnConnect;
    object["toolbarWhenConnected"] = toolbarWhenConnected;
    object["toolbarWhenDisconnected"] = toolbarWhenDisconnected;
    object["autoFillWindowsOnRemote"] = autoFillWindowsOnRemote;
    object["uuTouchScrollEnabled"] = uuTouchScrollEnabled;
    object["autoRestoreOnDisconnect"] = autoRestoreOnDisconnect;
    object["showWindowControls"] = showWindowControls;
    object["seededMinimizeAction"] = seededMinimizeAction;
    return object;
}

Preferences Preferences::fromJson(const json::Json& value) {
    const json::Json& object = json::requireObject(value);
    Preferences result;

    // An unknown theme is not worth losing the file over; it falls back to the
    // system appearance, not the fresh default.
    const auto themeName = json::getOptional<std::string>(object, "theme");
    result.theme = themeName ? fromRawValue<AppTheme>(*themeName).value_or(AppTheme::system) : AppTheme::system;

    result.floatingActionIcons = decodeActionIcons(object);
    result.applicationShortcutsEnabled = json::getOr<bool>(object, "applicationShortcutsEnabled", false);
    result.applicationShortcuts = json::getOr<std::vector<ApplicationShortcuts>>(object, "applicationShortcuts", {});

    result.namedShortcuts.clear();
    for (auto& shortcut : json::getOr<std::vector<NamedShortcut>>(object, "namedShortcuts", {})) {
        if (shortcut.isValid()) result.namedShortcuts.push_back(std::move(shortcut));
    }

    // Unknown and repeated ids stay: ordering skips them, and a later version may know them.
    result.operationOrder.clear();
    for (auto& id : json::getOr<std::vector<std::string>>(object, "operationOrder", {})) {
        if (!isDroppedOperationID(id)) result.operationOrder.push_back(std::move(id));
    }

    result.floatingActions = decodeFloatingActions(object);
    result.toolbarSide = json::getOr<ToolbarSide>(object, "toolbarSide", ToolbarSide::right);
    result.preset = json::getOr<ScreenPreset>(object, "preset", ScreenPreset::phone);
    result.size = json::getOr<DisplaySize>(object, "size", DisplaySize::standard);

    result.customPresets.clear();
    for (auto& custom : json::getOr<std::vector<CustomPreset>>(object, "customPresets", {})) {
        if (isUsable(custom)) result.customPresets.push_back(std::move(custom));
    }

    result.selectedCustomID = json::getOptional<std::string>(object, "selectedCustomID");
    result.autoResolutionEnabled = json::getOr<bool>(object, "autoResolutionEnabled", false);
    result.autoResolutionPresetID = json::getOptional<std::string>(object, "autoResolutionPresetID");
    result.autoShowDockOnConnect = json::getOr<bool>(object, "autoShowDockOnConnect", false);

    const auto migrated = migratedToolbarVisibility(lenientBool(object, kLegacyExpandOnConnect),
                                                    lenientBool(object, kLegacyManageOnDisconnect));
    result.toolbarWhenConnected = lenientBool(object, "toolbarWhenConnected").value_or(migrated.whenConnected);
    result.toolbarWhenDisconnected =
        lenientBool(object, "toolbarWhenDisconnected").value_or(migrated.whenDisconnected);
    result.autoFillWindowsOnRemote = lenientBool(object, "autoFillWindowsOnRemote").value_or(false);

    result.uuTouchScrollEnabled = json::getOr<bool>(object, "uuTouchScrollEnabled", false);
    result.autoRestoreOnDisconnect = json::getOr<bool>(object, "autoRestoreOnDisconnect", true);
    result.showWindowControls = json::getOr<bool>(object, "showWindowControls", true);

    result.seededMinimizeAction = json::getOr<bool>(object, "seededMinimizeAction", false);
    if (!result.seededMinimizeAction) seedMinimizeAction(result);

    result.seededFactorySpecs = json::getOr<bool>(object, "seededFactorySpecs", false);
    if (!result.seededFactorySpecs) seedFactorySpecs(result);

    // An automatic preset that no longer exists cannot be applied: switch the automation off.
    if (result.autoResolutionPresetID && !hasCustomPreset(result.customPresets, result.autoResolutionPresetID)) {
        result.autoResolutionEnabled = false;
        result.autoResolutionPresetID.reset();
    }
    return result;
}

}  // namespace dorvane
