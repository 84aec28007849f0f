#pragma once

#include "grid/grid_commands.h"
#include "recording_cycle.h"
#include "scripted_prompt.h"
#include "temp_folder.h"

namespace kerbina::testing {

// Everything an expense command needs, over a recording cycle, with its own data root and work
// folder.
struct ExpenseBench {
    TempFolder root;
    DocumentState state;
    RecordingCycle cycle;
    ScriptedPrompt host;
    GridSession session;
    GridContext context{state, cycle, host, session, root.path() / "temp"};

    std::filesystem::path dataRoot() const { return root.path(); }
};

} // namespace kerbina::testing
