#pragma once

#include "app/ui/main_window.h"
#include "base/folders.h"
#include "session_fixture.h"
#include "temp_folder.h"
#include "widgets/message_box.h"

#include <QApplication>
#include <QTableView>
#include <cstdlib>
#include <gtest/gtest.h>

namespace kerbina {

namespace fs = std::filesystem;

// Saves a picture of the window when KERBINA_SCREENSHOT_DIR is set, to look at the real thing.
inline void screenshot(QWidget& window, const char* name) {
    if (const char* folder = std::getenv("KERBINA_SCREENSHOT_DIR")) {
        QApplication::processEvents();
        window.grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
    }
}

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        MessageBox::setScripted(true);
        folders = seededFolders(root.path());
    }

    std::unique_ptr<MainWindow> start(std::optional<fs::path> file = std::nullopt) {
        auto window = std::make_unique<MainWindow>(folders, ModulePresence{});
        window->resize(1280, 800);
        window->show();
        EXPECT_TRUE(window->startUp(file));
        return window;
    }

    fs::path work(const char* name) const { return folders.dataRoot / "temp" / name; }

    TempFolder root;
    AppFolders folders;
};

// The text of a grid cell (row from 1, as the grid shows it).
inline QString cell(const MainWindow& window, int row, int column) {
    return window.grid()->model()->index(row - 1, column).data().toString();
}

inline void selectRow(MainWindow& window, int row) {
    window.grid()->selectRow(row - 1);
}

} // namespace kerbina
