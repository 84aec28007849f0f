#pragma once

namespace kerbina {

// The optional work modules are present when their input program is installed next to the
// executable. Seeding, the module databases and the windows all follow it.
struct ModulePresence {
    bool piping = false; // kanzai_dlg
    bool duct = false;   // dactdlg

    friend bool operator==(const ModulePresence&, const ModulePresence&) = default;
};

} // namespace kerbina
