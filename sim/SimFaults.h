// Fault injection of the substitute (RASSIM_FAIL) and the record of calls it counts by.
#pragma once

#include <string>

#include "dialup/RasTypes.h"

enum class SimFaultMode {
    None,
    Fail,   // "Op:code": return the code before doing anything
    After,  // "Op:after:code": do the call, then return the code in place of success
    Empty,  // "Op:empty": return 0 at once, nothing filled in
    Kill,   // "Op:kill": do the call, then end the process
};

struct SimFault {
    SimFaultMode mode = SimFaultMode::None;
    RasDword code = 0;
};

// The fault that `list` (RASSIM_FAIL's value) gives to the `call`-th call of `operation`.
// Items are separated by commas: "Op:code", "Op:after:code", "Op:empty" or "Op:kill", each
// with an optional "#k" after the name that limits it to the k-th call (k from 1). Blanks
// around the parts are ignored; an item that does not parse is ignored; the first item that
// applies wins.
SimFault ParseSimFault(const std::string& list, const char* operation, unsigned long call);

// Counts the call of `operation` (and records it while recording) and returns its fault
// from the current RASSIM_FAIL.
SimFault NextSimFault(const char* operation);
