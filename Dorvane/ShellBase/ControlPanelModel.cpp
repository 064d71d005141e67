#include "Dorvane/ShellBase/ControlPanelModel.h"

namespace dorvane {

ControlPanelModel::ControlPanelModel(QObject* parent)
    : QObject(parent), adjustment_(preferences_.resolutionAdjustment()) {}

void ControlPanelModel::setPreferences(const Preferences& value) { publish(preferences_, value); }
void ControlPanelModel::setStatus(const std::string& value) { publish(status_, value); }
void ControlPanelModel::setDetail(const std::optional<std::string>& value) { publish(detail_, value); }
void ControlPanelModel::setStatusActive(bool value) { publish(statusActive_, value); }
void ControlPanelModel::setTerminating(bool value) { publish(terminating_, value); }
void ControlPanelModel::setApplying(bool value) { publish(applying_, value); }
void ControlPanelModel::setApplied(const std::optional<Dimensions>& value) { publish(applied_, value); }
void ControlPanelModel::setCopySaved(bool value) { publish(copySaved_, value); }
void ControlPanelModel::setAdjustment(const ResolutionAdjustment& value) { publish(adjustment_, value); }

}  // namespace dorvane
