#include "DorvaneCore/SettingsWindow/DeletionTarget.h"

namespace dorvane {

DeletionTarget DeletionTarget::forPreset(const CustomPreset& preset) { return DeletionTarget{preset.id, preset.title()}; }

std::string DeletionTarget::alertTitle() const { return "删除「" + title + "」？"; }

}  // namespace dorvane
