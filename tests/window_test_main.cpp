// Entry point of the window tests: one QApplication (offscreen under ctest) around the run, and
// every message box scripted so that no test can block on a modal dialog.
#include "app/ui/message_box.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    kerbina::MessageBox::setScripted(true);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
