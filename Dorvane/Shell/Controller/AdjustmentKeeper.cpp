#include "Dorvane/Shell/Controller/AdjustmentKeeper.h"

namespace dorvane::shell {

void AdjustmentKeeper::select(ResolutionAdjustment adjustment) {
    adjustment_ = std::move(adjustment);
    copySaved_ = false;
}

void AdjustmentKeeper::follow(ResolutionAdjustment adjustment) { adjustment_ = std::move(adjustment); }

void AdjustmentKeeper::forgetCopy() { copySaved_ = false; }

void AdjustmentKeeper::savedAsCopy(ResolutionAdjustment selection) {
    adjustment_ = std::move(selection);
    copySaved_ = true;
}

}  // namespace dorvane::shell
