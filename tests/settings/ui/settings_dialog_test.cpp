#include "base/conf_file.h"
#include "settings/register_settings.h"
#include "settings/settings_files.h"
#include "settings/ui/settings_dialog.h"
#include "settings_fixture.h"
#include "widgets/message_box.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <algorithm>
#include <cstdlib>
#include <deque>

namespace kerbina {
namespace {

namespace fs = std::filesystem;

struct ScriptedChooser : SettingsChooser {
    std::deque<QString> answers;
    QStringList asked; // folder (or start) and filter (or caption) of every call

    QString next() {
        if (answers.empty()) {
            return QString();
        }
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString chooseFile(QWidget*, const QString& folder, const QString& filter) override {
        asked << folder << filter;
        return next();
    }
    QString chooseFolder(QWidget*, const QString& caption, const QString& start) override {
        asked << start << caption;
        return next();
    }
};

class SettingsDialogTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        folders.dataRoot = root();
        folders.installFolder = root() / "install";
        folders.databaseFolder = root() / "database";
        numbering.row = NumberingRow{"NF", "7", "0", ""};
        MessageBox::takeShownTexts();
    }

    template <typename T = QWidget> T* control(SettingsDialog& dialog, const char* name) {
        auto* widget = dialog.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QRadioButton* option(SettingsDialog& dialog, const char* group, const char* caption) {
        for (auto* radio : control<QGroupBox>(dialog, group)->findChildren<QRadioButton*>()) {
            if (radio->text() == QString::fromUtf8(caption)) {
                return radio;
            }
        }
        ADD_FAILURE() << group << " " << caption;
        return nullptr;
    }
    void clickButton(SettingsDialog& dialog, const char* caption) {
        for (auto* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == QString::fromUtf8(caption)) {
                button->click();
                return;
            }
        }
        ADD_FAILURE() << caption;
    }
    // A boxed text answered through the input box.
    void enter(SettingsDialog& dialog, const char* name, std::optional<QString> answer) {
        MessageBox::setNextInput(std::move(answer));
        control<QPushButton>(dialog, name)->click();
    }
    std::vector<std::string> confFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(root() / "conf")) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    AppFolders folders;
    MemoryNumberingStore numbering;
    ScriptedChooser chooser;
};

// The cost-split print option is one check box beside the print style; registered, the settings
// file carries it after its own 51 lines and the next run shows it ticked.
TEST_F(SettingsDialogTest, CostSplitPrintOptionIsRegisteredAndShownAgain) {
    EnvironmentSettings settings;
    readEnvironmentSettings(settings, root(), numbering);
    SettingsDialog dialog(settings);
    dialog.prepareShow(folders, false, numbering);
    EXPECT_FALSE(control<QCheckBox>(dialog, "printCostSplit")->isChecked());
    control<QCheckBox>(dialog, "printCostSplit")->setChecked(true);
    if (const char* folder = std::getenv("KERBINA_SCREENSHOT_DIR")) {
        dialog.grab().save(QString::fromUtf8(folder) + "/settings_general_tab.png");
    }
    clickButton(dialog, "登　録");
    MessageBox::takeShownTexts();
    const std::vector<std::string> written = lines("Kerbina.conf");
    ASSERT_EQ(written.size(), 52u);
    EXPECT_EQ(written[51], "[Print_CostSplit]=TRUE");

    EnvironmentSettings reread;
    readEnvironmentSettings(reread, root(), numbering);
    SettingsDialog reopened(reread);
    reopened.prepareShow(folders, false, numbering);
    EXPECT_TRUE(control<QCheckBox>(reopened, "printCostSplit")->isChecked());
}

TEST_F(SettingsDialogTest, RegisteredValuesReachEveryStoreAndShowAgainOnReopening) {
    EnvironmentSettings settings;
    readUserSettings(settings, root());
    readEnvironmentSettings(settings, root(), numbering);
    SettingsDialog dialog(settings);
    dialog.prepareShow(folders, false, numbering);
    std::optional<RegisterOutcome> outcome;
    QObject::connect(&dialog, &SettingsDialog::registered,
                     [&outcome](const RegisterOutcome& registered) { outcome = registered; });
    bool closed = false;
    QObject::connect(&dialog, &QDialog::finished, [&closed] { closed = true; });

    enter(dialog, "ci1", QStringLiteral("個"));
    enter(dialog, "EDATA1", QStringLiteral(" 株式会社テスト "));
    enter(dialog, "tankabtnName1", QStringLiteral("共通単価"));
    control<QCheckBox>(dialog, "EDIT_OPT4")->setChecked(true);
    option(dialog, "CALC_OPT2", "切り捨て")->setChecked(true);
    option(dialog, "tax_opt_1", "切り上げ")->setChecked(true);
    option(dialog, "EDIT_OPT10", "行を交互に色を反転する")->setChecked(true);
    control<QLineEdit>(dialog, "tax_value")->setText(QStringLiteral("8.5"));
    control<QLineEdit>(dialog, "NUMBER_OPT1")->setText(QStringLiteral("見積"));
    control<QLineEdit>(dialog, "NUMBER_OPT3")->setText(QStringLiteral("25"));
    control<QComboBox>(dialog, "GENGAKU")->setCurrentText(QStringLiteral("減"));
    control<QLineEdit>(dialog, "networkFolder")->setText(QStringLiteral("/srv/共有"));
    // Each boxed text asked through the input box with the prompt "環境設定".
    EXPECT_EQ(MessageBox::takeShownTexts(), QStringList(3, QStringLiteral("環境設定")));
    clickButton(dialog, "登　録");

    EXPECT_EQ(
        MessageBox::takeShownTexts(),
        QStringList{QStringLiteral("環境設定を登録しました。\n設定を反映するにはソフトウェアを"
                                   "再起動してください。")});
    const std::vector<std::string> written = lines("Kerbina.conf");
    ASSERT_EQ(written.size(), 51u);
    for (const char* line : {"[CI_1]=個", "[EDIT_OPT4]=TRUE", "[CALC_OPT2]=2", "[Tax_Opt1]=0.9",
                             "[EDIT_OPT10]=1", "[Tax_Value]=8.5", "[GENGAKU]=減"}) {
        EXPECT_NE(std::find(written.begin(), written.end(), line), written.end()) << line;
    }
    EXPECT_EQ(lines("USER_DATA.conf").front(), "[OFFICE_NAME1]= 株式会社テスト ");
    EXPECT_EQ(lines("Network_conf.conf"), std::vector<std::string>{"[Network_Dir]=/srv/共有"});
    EXPECT_EQ(numbering.row->header, "見積");
    EXPECT_EQ(numbering.row->number, "25");
    EXPECT_NE(numbering.row->notes.find("[tankaBtnName1]=共通単価\r\n"), std::string::npos);

    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->taxOffset, Currency::fromText("0.9"));
    EXPECT_FALSE(outcome->displayStyle.horizontalGridLines);
    EXPECT_EQ(outcome->displayStyle.registerAsCodePriceCaption,
              "カーソル行のデータを共通単価として登録");
    EXPECT_FALSE(closed); // the dialog stays open

    // A new run reads the stores back and shows the same values; its database folder is the one
    // registered.
    folders.databaseFolder = "/srv/共有";
    EnvironmentSettings reread;
    readUserSettings(reread, root());
    readEnvironmentSettings(reread, root(), numbering);
    SettingsDialog reopened(reread);
    reopened.prepareShow(folders, false, numbering);
    EXPECT_EQ(control<QPushButton>(reopened, "ci1")->text(), QStringLiteral("個"));
    EXPECT_EQ(control<QPushButton>(reopened, "EDATA1")->text(), QStringLiteral(" 株式会社テスト "));
    EXPECT_TRUE(control<QCheckBox>(reopened, "EDIT_OPT4")->isChecked());
    EXPECT_TRUE(option(reopened, "CALC_OPT2", "切り捨て")->isChecked());
    EXPECT_TRUE(option(reopened, "tax_opt_1", "切り上げ")->isChecked());
    EXPECT_EQ(control<QLineEdit>(reopened, "tax_value")->text(), QStringLiteral("8.5"));
    EXPECT_EQ(control<QLineEdit>(reopened, "NUMBER_OPT3")->text(), QStringLiteral("25"));
    EXPECT_EQ(control<QComboBox>(reopened, "GENGAKU")->currentText(), QStringLiteral("減"));
    EXPECT_EQ(control<QLineEdit>(reopened, "networkFolder")->text(), QStringLiteral("/srv/共有"));
    EXPECT_EQ(reread, settings);
}

TEST_F(SettingsDialogTest, CancelWritesNothingAndKeepsTheValuesForTheRun) {
    EnvironmentSettings settings;
    SettingsDialog dialog(settings);
    dialog.prepareShow(folders, false, numbering);
    const std::vector<std::string> before = confFiles(); // the company file the show made
    const std::string companyBefore = readFileBytes(conf("USER_DATA.conf"));

    enter(dialog, "ci8", QStringLiteral("組"));
    enter(dialog, "EDATA2", QStringLiteral("未登録"));
    control<QLineEdit>(dialog, "NUMBER_OPT3")->setText(QStringLiteral("3"));
    clickButton(dialog, "キャンセル");

    EXPECT_EQ(confFiles(), before);
    EXPECT_EQ(readFileBytes(conf("USER_DATA.conf")), companyBefore);
    EXPECT_EQ(numbering.writesWithNumber, std::vector<bool>{});
    // Other windows see the changed unit until the program ends.
    EXPECT_EQ(settings.unitTexts()[7], "組");

    // The next show reads the company data and the counter again; the unit stays.
    numbering.row->number = "9";
    dialog.prepareShow(folders, false, numbering);
    EXPECT_EQ(control<QPushButton>(dialog, "EDATA2")->text(), QString());
    EXPECT_EQ(control<QLineEdit>(dialog, "NUMBER_OPT3")->text(), QStringLiteral("9"));
    EXPECT_EQ(control<QPushButton>(dialog, "ci8")->text(), QStringLiteral("組"));
    clickButton(dialog, "登　録");
    EXPECT_EQ(numbering.row->number, "9");
    EXPECT_EQ(numbering.writesWithNumber, std::vector<bool>{false});
}

TEST_F(SettingsDialogTest, BoxedTextsTakeTheInputBoxAnswer) {
    const struct {
        std::optional<QString> answer;
        QString shown;
    } cases[] = {
        {QStringLiteral("現場"), QStringLiteral("現場")},
        {QString(), QString()},                     // OK on an empty box empties it
        {std::nullopt, QStringLiteral("受渡場所")}, // Cancel leaves it
    };
    for (const auto& c : cases) {
        EnvironmentSettings settings;
        SettingsDialog dialog(settings);
        dialog.prepareShow(folders, false, numbering);
        enter(dialog, "title1", c.answer);
        EXPECT_EQ(control<QPushButton>(dialog, "title1")->text(), c.shown);
        dialog.reject();
        EXPECT_EQ(settings.siteNameTitle, c.shown.toStdString());
    }
}

TEST_F(SettingsDialogTest, StyleFileAndNetworkFolderComeFromTheChooser) {
    EnvironmentSettings settings;
    settings.networkFolder = "/srv/old";
    SettingsDialog dialog(settings);
    dialog.setChooser(chooser);
    dialog.prepareShow(folders, false, numbering);

    chooser.answers = {QStringLiteral("/styles/A3横.sle"), QString(), QStringLiteral("/srv/新/"),
                       QString()};
    clickButton(dialog, "指　定");
    clickButton(dialog, "指　定"); // cancelled: the path stays
    EXPECT_EQ(control<QLineEdit>(dialog, "print_dir")->text(), QStringLiteral("/styles/A3横.sle"));
    clickButton(dialog, "参照");
    clickButton(dialog, "参照");
    EXPECT_EQ(control<QLineEdit>(dialog, "networkFolder")->text(), QStringLiteral("/srv/新"));

    const QString styleFolder = QString::fromStdString((folders.installFolder / "style").string());
    EXPECT_EQ(chooser.asked,
              (QStringList{styleFolder, QStringLiteral("印刷スタイル (*.sle)"), styleFolder,
                           QStringLiteral("印刷スタイル (*.sle)"), QStringLiteral("/srv/old"),
                           QStringLiteral("フォルダーを指定して下さい"), QStringLiteral("/srv/新"),
                           QStringLiteral("フォルダーを指定して下さい")}));
}

TEST_F(SettingsDialogTest, UntickedAutomaticNumberingGreysTheSubOptionsKeepingTheirTicks) {
    EnvironmentSettings settings;
    settings.numberingPerCustomer = true;
    SettingsDialog dialog(settings);
    dialog.prepareShow(folders, false, numbering);
    auto* perCustomer = control<QCheckBox>(dialog, "NUMBER_OPT4");
    EXPECT_TRUE(perCustomer->isEnabled());

    control<QCheckBox>(dialog, "EDIT_OPT1")->click();
    EXPECT_FALSE(perCustomer->isEnabled());
    EXPECT_FALSE(control<QCheckBox>(dialog, "NUMBER_OPT5")->isEnabled());
    EXPECT_TRUE(perCustomer->isChecked());
    clickButton(dialog, "登　録");
    EXPECT_NE(numbering.row->notes.find("[EDIT_OPT1]=FALSE\r\n[NUMBER_OPT4]=TRUE\r\n"),
              std::string::npos);
}

TEST_F(SettingsDialogTest, AFileThatCannotBeWrittenIsReportedAndNothingIsApplied) {
    fs::create_directories(conf("Kerbina.conf") / "blocked");
    EnvironmentSettings settings;
    SettingsDialog dialog(settings);
    dialog.prepareShow(folders, false, numbering);
    bool applied = false;
    QObject::connect(&dialog, &SettingsDialog::registered, [&applied] { applied = true; });
    MessageBox::takeShownTexts();
    EXPECT_FALSE(dialog.registerSettings());
    EXPECT_FALSE(applied);
    const QStringList shown = MessageBox::takeShownTexts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_FALSE(shown.front().contains(QStringLiteral("登録しました")));
}

// Shows the piping tab only with its module; with KERBINA_GRAB_DIR set, every tab is also saved
// there as a PNG to be looked at.
TEST_F(SettingsDialogTest, PipingTabOnlyWithItsModule) {
    EnvironmentSettings settings;
    SettingsDialog dialog(settings);
    auto* tabs = dialog.findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i) {
        captions << tabs->tabText(i);
    }
    EXPECT_EQ(captions, (QStringList{"全般設定", "表紙関係", "積算関係", "計算処理設定",
                                     "配管工事版", "レイアウト", "自社情報"}));
    dialog.prepareShow(folders, false, numbering);
    EXPECT_FALSE(tabs->isTabVisible(4));
    dialog.prepareShow(folders, true, numbering);
    EXPECT_TRUE(tabs->isTabVisible(4));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ケルビナ-環境設定-"));

    if (const char* grabs = std::getenv("KERBINA_GRAB_DIR")) {
        dialog.show();
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            dialog.grab().save(QDir(QString::fromUtf8(grabs))
                                   .filePath(QStringLiteral("settings_tab%1.png").arg(i + 1)));
        }
        dialog.reject();
    }
}

} // namespace
} // namespace kerbina
