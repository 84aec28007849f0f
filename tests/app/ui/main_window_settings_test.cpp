#include "base/file_io.h"
#include "main_window_fixture.h"
#include "settings/ui/settings_dialog.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>

namespace kerbina {
namespace {

// ファイル → 環境設定 shows the dialog over the window's own settings; "登　録" writes the files
// and the shading and units are in force at once, the dialog still open until it is closed.
TEST_F(MainWindowTest, EnvironmentSettingsRegisteredTakeEffectAtOnce) {
    auto window = start();
    EXPECT_EQ(window->action("environmentSettings")->text(), QStringLiteral("環境設定"));
    EXPECT_TRUE(window->grid()->showGrid());
    bool shown = false;
    QTimer::singleShot(0, window.get(), [&window, &shown] {
        auto* dialog = window->findChild<SettingsDialog*>();
        if (dialog == nullptr || !dialog->isVisible()) {
            return;
        }
        shown = true;
        MessageBox::setNextInput(QStringLiteral("個"));
        dialog->findChild<QPushButton*>(QStringLiteral("ci1"))->click();
        const auto shading = dialog->findChild<QGroupBox*>(QStringLiteral("EDIT_OPT10"))
                                 ->findChildren<QRadioButton*>();
        shading.at(1)->setChecked(true);
        dialog->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        EXPECT_TRUE(dialog->isVisible());
        dialog->reject();
    });
    window->action("environmentSettings")->trigger();

    ASSERT_TRUE(shown);
    EXPECT_EQ(window->environment().unitTexts()[0], "個");
    EXPECT_TRUE(window->displayOptions().alternateRowShading);
    EXPECT_FALSE(window->grid()->showGrid());
    const auto lines = readTextLines(folders.dataRoot / "conf" / "Kerbina.conf");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "[CI_1]=個"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "[EDIT_OPT10]=1"), lines.end());
}

} // namespace
} // namespace kerbina
