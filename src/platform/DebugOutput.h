#pragma once
// The seam through which windows offer diagnostic lines to the debug output window. Lines offered
// while it is switched off are lost; a caller may ask first and skip building them.

#include <string>

namespace kemptor {

class DebugOutput {
public:
    virtual ~DebugOutput() = default;
    // True while offered lines are kept.
    virtual bool DebugActive() const = 0;
    // Keeps the line when active; does nothing otherwise.
    virtual void AddDebugLine(const std::string& line) = 0;
};

} // namespace kemptor
