#pragma once

#include "grid/grid_commands.h"

#include <string>
#include <vector>

namespace kerbina {

// Records the steps of the edit cycle in the order the commands take them.
class RecordingCycle : public EditCycle {
public:
    std::vector<std::string> steps;

    void takeSheetSnapshot() override { steps.push_back("snapshot"); }
    void recalculate(bool listMode) override {
        steps.push_back(listMode ? "list totals" : "totals");
    }
    void writeSheet() override { steps.push_back("write"); }
    void takeListSnapshot() override { steps.push_back("list snapshot"); }
    void writeList() override { steps.push_back("write list"); }
    void reloadSheet() override { steps.push_back("reload"); }
    bool undo(bool) override {
        steps.push_back("undo");
        return true;
    }
};

} // namespace kerbina
