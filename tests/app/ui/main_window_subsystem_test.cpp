#include "base/file_io.h"
#include "grid/ui/quotation_view.h"
#include "main_window_fixture.h"
#include "prices/ui/calculated_price_subsystem.h"
#include "widgets/command_set.h"
#include "widgets/subsystem.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

namespace kerbina {
namespace {

// A subsystem as small as the seam allows: one side page, one command with a key, the lines of
// one kind, one named command and companion messages of one code; it records what reached it.
// It is registered after the program's own subsystems.
class FakeSubsystem final : public Subsystem {
public:
    struct Seen {
        int commandRuns = 0;
        std::vector<int> linesOpened;
        std::vector<std::string> namedRuns;
        std::vector<std::string> messages;
    };

    FakeSubsystem(const int& lineKind, const std::string& name, Seen& seen)
        : lineKind_(lineKind), name_(name), seen_(seen) {}

    std::vector<SidePage> sidePages() override {
        auto* page = new QLabel(QStringLiteral("試験"));
        page->setObjectName(QStringLiteral("fakePage"));
        return {SidePage{QStringLiteral("試験ページ"), page, SidePageFor::Quotation}};
    }
    void addCommands(std::string_view place, QMenu& menu, CommandSet& commands) override {
        if (place == menu_place::kFileSettings) {
            commands.add(&menu, "fakeCommand", QStringLiteral("試験コマンド"),
                         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F9)}, CommandPage::Sheet,
                         [this] { ++seen_.commandRuns; });
        }
    }
    bool runNamed(std::string_view name) override {
        seen_.namedRuns.emplace_back(name);
        return name == name_;
    }
    bool openLine(int row, const LineRecord* line) override {
        if (line == nullptr || line->kind != lineKind_) {
            return false;
        }
        seen_.linesOpened.push_back(row);
        return true;
    }
    bool handleCompanionMessage(int code, std::string_view, std::string_view text) override {
        seen_.messages.emplace_back(text);
        return code == 7;
    }

private:
    const int& lineKind_;
    const std::string& name_;
    Seen& seen_;
};

class MainWindowSubsystemTest : public MainWindowTest {
protected:
    // A quotation whose one sheet holds a priced line and a calculated unit price line (kind 50).
    fs::path twoLines() const {
        const fs::path file = root.path() / "two_lines.krb2";
        writeTextLines(
            file, {"<TITLE>", "[Opt1Int]=1", "[ItemMax]=1", "</TITLE>", "<ITEM>",
                   "10;配管工事;1500;1500;0.5;0.5;10;1;0.5;0;0;;0;0", "</ITEM>", "<DATA>",
                   "1;鋼管;SGP 25A;0;11999;ｍ;1;1;1;1500;1500;0;0;0;0;0;0;0;0;;;",
                   "1;単価計算;;0;11999;式;50;1;1;0;0;0;0;0;0;0;0;0;0;;;", "</DATA>", "</EOF>"});
        return file;
    }

    // The program's subsystems, the calculated prices left out when they would edit the fake's
    // kind 50 first, then the fake.
    std::unique_ptr<MainWindow> startWithFake(bool withCalculatedPrices = true) {
        std::vector<SubsystemFactory> subsystems;
        for (const SubsystemFactory& standard : standardSubsystems()) {
            subsystems.emplace_back([standard, withCalculatedPrices](SubsystemHost& host) {
                std::unique_ptr<Subsystem> made = standard(host);
                if (!withCalculatedPrices &&
                    dynamic_cast<CalculatedPriceSubsystem*>(made.get()) != nullptr) {
                    made = std::make_unique<Subsystem>();
                }
                return made;
            });
        }
        subsystems.emplace_back([this](SubsystemHost&) {
            return std::make_unique<FakeSubsystem>(handledKind, handledName, seen);
        });
        auto window = std::make_unique<MainWindow>(folders, ModulePresence{}, subsystems);
        window->resize(1280, 800);
        window->show();
        EXPECT_TRUE(window->startUp(twoLines()));
        window->sheetTabs()->setCurrentIndex(1);
        return window;
    }

    static QStringList sideTabs(const MainWindow& window, bool visibleOnly) {
        const auto* side = window.findChild<QTabWidget*>("sidePanel");
        QStringList captions;
        for (int tab = 0; tab < side->count(); ++tab) {
            if (!visibleOnly || side->isTabVisible(tab)) {
                captions << side->tabText(tab);
            }
        }
        return captions;
    }

    int handledKind = -1;    // the line kind the fake subsystem edits
    std::string handledName; // the named command it runs
    FakeSubsystem::Seen seen;
};

// A side page exists when its subsystem does: the program's window has the cover and the quotation
// list's side page (shown only with the list), no empty pages; a subsystem's page comes after them.
TEST_F(MainWindowSubsystemTest, TheSidePanelHoldsThePagesOfTheSubsystemsPresent) {
    {
        const auto program = start();
        EXPECT_EQ(sideTabs(*program, false),
                  (QStringList{QStringLiteral("表紙・合計"), QStringLiteral("宛先一覧"),
                               QStringLiteral("登録単価"), QStringLiteral("仕様単価"),
                               QStringLiteral("パーツファイル")}));
        EXPECT_EQ(sideTabs(*program, true),
                  (QStringList{QStringLiteral("表紙・合計"), QStringLiteral("登録単価"),
                               QStringLiteral("仕様単価"), QStringLiteral("パーツファイル")}));
    }
    const auto window = startWithFake();
    EXPECT_EQ(sideTabs(*window, true),
              (QStringList{QStringLiteral("表紙・合計"), QStringLiteral("登録単価"),
                           QStringLiteral("仕様単価"), QStringLiteral("パーツファイル"),
                           QStringLiteral("試験ページ")}));
    EXPECT_NE(window->findChild<QLabel*>("fakePage"), nullptr);
}

// Its command sits in the menu with its key, which runs it on its page only.
TEST_F(MainWindowSubsystemTest, ACommandOfTheSubsystemRunsByItsKeyOnItsPage) {
    const auto window = startWithFake();
    QAction* command = window->action("fakeCommand");
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->text(), QStringLiteral("試験コマンド"));
    EXPECT_EQ(command->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F9));

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_F9, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(seen.commandRuns, 1);

    window->sheetTabs()->setCurrentIndex(0); // the breakdown list: not the command's page
    QTest::keyClick(window.get(), Qt::Key_F9, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(seen.commandRuns, 1);
}

// A double-click on a line of the subsystem's kind reaches it; a kind no subsystem present edits
// is said to be unavailable. Named commands and companion messages go the same way.
TEST_F(MainWindowSubsystemTest, LinesNamedCommandsAndMessagesReachTheSubsystemThatHandlesThem) {
    const auto window = startWithFake(false);
    auto* view = window->findChild<QuotationView*>();
    ASSERT_EQ(window->document().sheet[2].kind, 50);
    MessageBox::takeShownTexts();
    emit view->rowDoubleClicked(2);
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("この機能はまだ使えません。")});
    handledKind = 50;
    emit view->rowDoubleClicked(2);
    EXPECT_EQ(seen.linesOpened, std::vector<int>{2});
    EXPECT_TRUE(MessageBox::takeShownTexts().isEmpty());

    emit view->namedCommandClicked(QStringLiteral("datasort"));
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("この機能はまだ使えません。")});
    handledName = "datasort";
    emit view->namedCommandClicked(QStringLiteral("datasort"));
    EXPECT_EQ(seen.namedRuns, (std::vector<std::string>{"datasort", "datasort"}));
    EXPECT_TRUE(MessageBox::takeShownTexts().isEmpty());

    EXPECT_TRUE(window->handleCompanionMessage(7, "", "届いた"));
    EXPECT_FALSE(window->handleCompanionMessage(8, "", "他"));
    EXPECT_EQ(seen.messages, (std::vector<std::string>{"届いた", "他"}));
}

} // namespace
} // namespace kerbina
