#include "grid/ui/data_entry_dialog.h"
#include "money_literal.h"
#include "records/line_kinds.h"
#include "settings/environment_settings.h"
#include "temp_folder.h"
#include "widgets/message_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace kerbina {
namespace {

// A sheet held in memory; writes go straight into it, as writeLineFromMessage would.
class MemorySheet : public LineEditorHost {
public:
    std::vector<LineRecord> lines;
    std::vector<LineMessage> written;
    int shownRow = 0;

    int sheetNumber() const override { return 1; }
    std::optional<LineRecord> lineAt(int row) const override {
        if (row < 1 || row > static_cast<int>(lines.size())) {
            return std::nullopt;
        }
        return lines[static_cast<std::size_t>(row - 1)];
    }
    bool writeLine(const LineMessage& message, int row) override {
        written.push_back(message);
        LineRecord line = newLine();
        line.nameSpec = message.name + ";" + message.specification;
        line.kind = message.kind;
        line.netQuantity = message.netQuantity;
        line.netPrice = message.netPrice;
        if (row > static_cast<int>(lines.size())) {
            lines.resize(static_cast<std::size_t>(row), newLine());
        }
        lines[static_cast<std::size_t>(row - 1)] = line;
        return true;
    }
    void showRow(int row) override { shownRow = row; }
};

class DataEntryDialogTest : public testing::Test {
protected:
    void SetUp() override {
        MessageBox::setScripted(true);
        std::filesystem::create_directories(root / "conf");
    }

    // Runs `steps` once the modal dialog is showing, then closes it.
    void whileShowing(DataEntryDialog& dialog, const std::function<void()>& steps) {
        QTimer::singleShot(0, [&dialog, steps] {
            steps();
            dialog.reject();
        });
    }

    TempFolder folder;
    std::filesystem::path root = folder.path();
};

void type(DataEntryDialog& dialog, DataEntryDialog::Tag tag, const char* text) {
    dialog.field(tag)->setText(QString::fromUtf8(text));
}

// Three lines typed with "連続入力": Enter on the last ticked field writes the line, the dialog
// steps to the next row, and the grid's selection follows.
TEST_F(DataEntryDialogTest, ContinuousInputWritesRowAfterRow) {
    DataEntryDialog dialog(root);
    dialog.applySettings(EnvironmentSettings{});
    for (auto tag :
         {DataEntryDialog::Name, DataEntryDialog::NetQuantity, DataEntryDialog::SubmittedPrice}) {
        dialog.stopHere(tag)->setChecked(true);
    }
    MemorySheet sheet;
    whileShowing(dialog, [&] {
        const struct {
            const char* name;
            const char* quantity;
            const char* price;
        } lines[] = {{"鋼管", "12", "1500"}, {"継手", "2.5", "300"}, {"試運転調整", "", ""}};
        for (const auto& line : lines) {
            type(dialog, DataEntryDialog::Name, line.name);
            if (const char* folder = std::getenv("KERBINA_SCREENSHOT_DIR")) {
                dialog.grab().save(QString::fromUtf8(folder) + "/data_entry_dialog.png");
            }
            dialog.enterPressed(DataEntryDialog::Name);
            type(dialog, DataEntryDialog::NetQuantity, line.quantity);
            type(dialog, DataEntryDialog::SubmittedQuantity, line.quantity);
            dialog.enterPressed(DataEntryDialog::NetQuantity);
            type(dialog, DataEntryDialog::NetPrice, line.price);
            type(dialog, DataEntryDialog::SubmittedPrice, line.price);
            if (std::string(line.price).empty()) {
                dialog.field(DataEntryDialog::Unit)->clear();
            }
            dialog.enterPressed(DataEntryDialog::SubmittedPrice);
        }
    });
    dialog.editFrom(sheet, 1);

    ASSERT_EQ(sheet.written.size(), 3u);
    EXPECT_EQ(sheet.written[0].kind, 10);
    EXPECT_EQ(sheet.written[0].netPrice, c("1500"));
    EXPECT_EQ(sheet.written[1].kind, 20); // a fraction makes a decimal-quantity line
    EXPECT_EQ(sheet.written[2].kind, 30); // only a name: a comment
    EXPECT_EQ(sheet.written[2].name, "試運転調整");
    EXPECT_EQ(sheet.shownRow, 4);
    EXPECT_EQ(dialog.row(), 4);
}

// Enter in the unit list, where the keys reach the list before its text field, moves on to the net
// quantity like every other field; it does not write the line before its quantity and price. The
// quantity takes full-width digits as the input method leaves them.
TEST_F(DataEntryDialogTest, EnterInTheUnitMovesOnToTheQuantity) {
    DataEntryDialog dialog(root);
    dialog.applySettings(EnvironmentSettings{});
    MemorySheet sheet;
    whileShowing(dialog, [&] {
        type(dialog, DataEntryDialog::Name, "鋼管");
        auto* unit = dialog.findChild<QComboBox*>(QStringLiteral("X_Ci"));
        unit->setFocus();
        unit->setEditText(QStringLiteral("ｍ"));
        QTest::keyClick(unit, Qt::Key_Return);
        EXPECT_TRUE(sheet.written.empty());
        EXPECT_EQ(dialog.focusWidget(), dialog.field(DataEntryDialog::NetQuantity));
        // The input method commits full-width digits; the field keeps them.
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("１２．５"));
        QApplication::sendEvent(dialog.field(DataEntryDialog::NetQuantity), &commit);
        EXPECT_EQ(dialog.field(DataEntryDialog::NetQuantity)->text(), QStringLiteral("１２．５"));
        type(dialog, DataEntryDialog::SubmittedQuantity, "１２．５");
        dialog.writeLine(1);
    });
    dialog.editFrom(sheet, 1);
    ASSERT_EQ(sheet.written.size(), 1u);
    EXPECT_EQ(sheet.written[0].netQuantity, c("12.5"));
    EXPECT_EQ(sheet.written[0].unit, "ｍ");
}

// "前のDATAを取得" copies the line above into the fields; a refused entry stays open unchanged.
TEST_F(DataEntryDialogTest, PreviousDataAndRefusals) {
    DataEntryDialog dialog(root);
    MemorySheet sheet;
    LineRecord above = newLine();
    above.nameSpec = "保温;GW 25t";
    above.netQuantity = c("4");
    sheet.lines = {above, newLine()};
    whileShowing(dialog, [&] {
        dialog.findChild<QPushButton*>(QStringLiteral("previousData"))->click();
        EXPECT_EQ(dialog.field(DataEntryDialog::Name)->text(), QStringLiteral("保温"));
        EXPECT_EQ(dialog.field(DataEntryDialog::Specification)->text(), QStringLiteral("GW 25t"));
        EXPECT_EQ(dialog.field(DataEntryDialog::NetQuantity)->text(), QStringLiteral("4"));
        type(dialog, DataEntryDialog::Note, "a;b");
        dialog.writeLine(1);
        EXPECT_EQ(MessageBox::takeShownTexts(),
                  QStringList{QStringLiteral("名称、仕様に\";\"は使用できません。")});
        EXPECT_EQ(dialog.field(DataEntryDialog::Note)->text(), QStringLiteral("a;b"));
    });
    dialog.editFrom(sheet, 2);
    EXPECT_TRUE(sheet.written.empty());
}

} // namespace
} // namespace kerbina
