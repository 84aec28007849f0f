// Entry point of the window tests: a fresh data folder and one QApplication (offscreen unless a
// platform is chosen) around the run, and every message box scripted so that no test can block on
// a modal dialog.
#include "fresh_app_data.h"
#include "widgets/message_box.h"

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    const kerbina::FreshAppData appData;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    kerbina::MessageBox::setScripted(true);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
