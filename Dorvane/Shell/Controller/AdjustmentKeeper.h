#pragma once

#include <utility>

#include "DorvaneCore/Resolution/ResolutionAdjustment.h"

namespace dorvane::shell {

// The resolution being adjusted, from the selected preset or size, and whether it has
// just been saved as a custom preset. The one place these change. Main thread only.
class AdjustmentKeeper {
public:
    explicit AdjustmentKeeper(ResolutionAdjustment initial) : adjustment_(std::move(initial)) {}

    const ResolutionAdjustment& adjustment() const { return adjustment_; }
    bool copySaved() const { return copySaved_; }

    // A resolution was selected or adjusted: no copy of it is saved.
    void select(ResolutionAdjustment adjustment);
    // The selection changed beneath the adjustment (another size, its preset deleted);
    // whether a copy was saved stays as it was.
    void follow(ResolutionAdjustment adjustment);
    // A change elsewhere (a preset saved or scaled) makes the saved copy old news.
    void forgetCopy();
    // The adjusted size was saved as a copy, which is now the selection.
    void savedAsCopy(ResolutionAdjustment selection);

private:
    ResolutionAdjustment adjustment_;
    bool copySaved_ = false;
};

}  // namespace dorvane::shell
