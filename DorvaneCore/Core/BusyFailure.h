#pragma once

namespace dorvane {

// Marks a failure that came of waiting too long for something another program held (the
// host's lock, on a machine loaded far beyond its cores): nothing was wrong but the wait,
// and the same operation may well work a moment later. A failure's own exception type
// takes it beside its std::exception base; shownText() then says so in the person's words.
class BusyFailure {
public:
    virtual ~BusyFailure() = default;

protected:
    BusyFailure() = default;
    BusyFailure(const BusyFailure&) = default;
    BusyFailure& operator=(const BusyFailure&) = default;
};

}  // namespace dorvane
