#pragma once

#include "DorvaneCore/Core/Dimensions.h"

namespace dorvane {

class DisplayEngine;

// End-to-end self-tests of the engine against the live displays, for "--smoke". Each
// runs on the engine's queue (through DisplayEngine::perform), throws FitError on its
// first failed check, and always ends by restoring the physical layout: when a step
// fails, one more restore runs, and its own error, if any, is the one reported.
class DisplaySelfTests {
public:
    DisplaySelfTests() = delete;

    // A manual fit of a custom 1366×768 preset holds, and the start-up check sees it.
    static void smokeManual(DisplayEngine& engine);

    // Each new size gets a fresh virtual display, the same size keeps it, the session
    // file never changes, an invalid size changes nothing, a failed hand-over keeps the
    // previous display.
    static void smokeCaptureReplacement(DisplayEngine& engine);
    static void smokeAdjustments(DisplayEngine& engine) { smokeCaptureReplacement(engine); }

    // One fit at `dimensions` (failing on purpose when asked) and its restore.
    static void smoke(DisplayEngine& engine, const Dimensions& dimensions, bool injectFailure);
};

}  // namespace dorvane
