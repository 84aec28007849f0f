#pragma once

#include "widgets/subsystem.h"

#include <vector>

namespace kerbina {

// Every subsystem the main window composes, in the order it composes them.
std::vector<SubsystemFactory> standardSubsystems();

} // namespace kerbina
