#pragma once

#include "storage/module_presence.h"

namespace kerbina {

// The application title, shown as every window caption and message-box caption.
inline constexpr const char* kApplicationTitle = "積算・見積ソフト「ケルビナ」";

// With a work module installed the title names it; the duct module wins when both are.
inline const char* applicationTitle(ModulePresence modules) {
    if (modules.duct) {
        return "ケルビナ・ダクト工事版";
    }
    if (modules.piping) {
        return "ケルビナ・配管工事版";
    }
    return kApplicationTitle;
}

} // namespace kerbina
