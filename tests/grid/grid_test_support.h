#pragma once

#include "grid/grid_commands.h"
#include "recording_cycle.h"
#include "scripted_prompt.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kerbina::testing {

// A fresh folder per test under the test temporary directory.
inline std::filesystem::path freshFolder(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) /
        ("grid_" + name + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Everything a command needs, over a recording cycle.
struct CommandBench {
    DocumentState state;
    RecordingCycle cycle;
    ScriptedPrompt host;
    GridSession session;
    std::filesystem::path workFolder = freshFolder("work");
    GridContext context{state, cycle, host, session, workFolder};
};

} // namespace kerbina::testing
