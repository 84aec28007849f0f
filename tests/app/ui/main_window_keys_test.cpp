#include "base/file_io.h"
#include "main_window_fixture.h"
#include "money_literal.h"
#include "records/line_kinds.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <algorithm>
#include <map>

namespace kerbina {
namespace {

// Keys as a user types them: each to the widget that has the focus (the grid, then the editor the
// first key opened), capitals with Shift.
void typeKeys(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        const bool capital = *c >= 'A' && *c <= 'Z';
        QTest::keyClick(target, *c, capital ? Qt::ShiftModifier : Qt::NoModifier);
    }
}

class MainWindowKeysTest : public MainWindowTest {
protected:
    // A quotation of two sheets; the first holds four priced lines.
    fs::path twoSheets() const {
        const fs::path file = root.path() / "two_sheets.krb2";
        writeTextLines(file,
                       {"<TITLE>", "[Opt1Int]=1", "[ItemMax]=2", "</TITLE>", "<ITEM>",
                        "10;配管工事;19500;19500;0.5;0.5;10;1;0.5;0;0;;0;0",
                        "10;ダクト工事;3000;3000;0.5;0.5;10;1;0.5;0;0;;0;0", "</ITEM>", "<DATA>",
                        "1;鋼管;SGP 25A;0;11999;ｍ;10;12;12;1500;1500;0;0;0;0;0;0;0;0;;;",
                        "1;継手;;0;11999;個;10;5;5;300;300;0;0;0;0;0;0;0;0;;;",
                        "1;弁;;0;11999;個;10;2;2;900;900;0;0;0;0;0;0;0;0;;;",
                        "1;支持金物;;0;11999;式;10;1;1;5000;5000;0;0;0;0;0;0;0;0;;;",
                        "2;ダクト;;0;11999;ｍ;20;2.5;2.5;1200;1200;0;0;0;0;0;0;0;0;;;", "</DATA>",
                        "</EOF>"});
        return file;
    }

    std::unique_ptr<MainWindow> startOnFirstSheet() {
        auto window = start(twoSheets());
        window->sheetTabs()->setCurrentIndex(1);
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->grid()->setFocus();
        return window;
    }

    static void setCurrentCell(MainWindow& window, int row, int column) {
        window.grid()->setCurrentIndex(window.grid()->model()->index(row - 1, column));
    }

    // Enter ends the editing; the line is written once the editor has closed.
    static void commit() {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents();
        QApplication::processEvents();
    }
};

// Specifications start with capitals: typed on a text cell of a filled line or an empty row, the
// letters are the text, and the Shift+letter row commands (Shift+E erases, Shift+V pastes) keep
// out of the way.
TEST_F(MainWindowKeysTest, CapitalsTypedOnTextCellsAreText) {
    const auto window = startOnFirstSheet();
    const DocumentState& document = window->document();
    const struct {
        int row;
        int column; // separated layout: 1 名称, 2 仕様, 5 単位, 9 備考
        const char* keys;
        const char* name;
        const char* specification;
    } cases[] = {
        {1, 2, "EPDM", "鋼管", "EPDM"},   {2, 2, "VP 50A", "継手", "VP 50A"},
        {6, 1, "VP 50A", "VP 50A", ""},   {7, 2, "EPDM", "", "EPDM"},
        {1, 9, "SUS304", "鋼管", "EPDM"},
    };
    for (const auto& typed : cases) {
        setCurrentCell(*window, typed.row, typed.column);
        typeKeys(typed.keys);
        commit();
        ASSERT_GE(document.lineCount(), typed.row) << typed.keys;
        EXPECT_EQ(cell(*window, typed.row, 1), QString::fromUtf8(typed.name)) << typed.keys;
        EXPECT_EQ(cell(*window, typed.row, 2), QString::fromUtf8(typed.specification))
            << typed.keys;
    }
    setCurrentCell(*window, 2, 2);
    screenshot(*window, "main_window_current_cell");
    EXPECT_EQ(document.sheet[1].note, "SUS304");
    EXPECT_EQ(document.sheet[1].submittedAmount, c("18000")); // the filled line kept its figures
    EXPECT_EQ(document.sheet[2].submittedAmount, c("1500"));
    EXPECT_TRUE(MessageBox::takeShownTexts().isEmpty());
}

// The same keys are row commands from the row number column, from a number column and on a
// selection of several rows.
TEST_F(MainWindowKeysTest, ShiftLettersEraseFromTheRowNumberANumberColumnOrSeveralRows) {
    const auto window = startOnFirstSheet();
    const struct {
        int top;
        int bottom;
        int column;
    } cases[] = {{1, 1, 0}, {2, 2, 6}, {3, 4, 1}};
    for (const auto& selection : cases) {
        setCurrentCell(*window, selection.top, selection.column);
        if (selection.bottom > selection.top) {
            QTest::keyClick(window->grid(), Qt::Key_Down, Qt::ShiftModifier);
        }
        QTest::keyClick(window->grid(), Qt::Key_E, Qt::ShiftModifier);
        for (int row = 1; row <= 4; ++row) {
            const bool erased = row <= selection.bottom;
            EXPECT_EQ(window->document().sheet[static_cast<std::size_t>(row)].kind == 0, erased)
                << "row " << row << " column " << selection.column;
        }
        EXPECT_EQ(QApplication::focusWidget(), window->grid()); // no editor was opened
    }
}

// On the breakdown list no key and no sheet menu command reaches the hidden sheet: every sheet
// file stays as it was and the grid keeps showing the list its title names.
TEST_F(MainWindowKeysTest, SheetCommandsDoNothingOnTheBreakdownList) {
    const auto window = start(twoSheets());
    window->sheetTabs()->setCurrentIndex(1);
    window->sheetTabs()->setCurrentIndex(0); // a sheet was open before the list came to the front
    ASSERT_TRUE(window->listMode());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->grid()->setFocus();
    const std::map<std::string, std::string> sheetsBefore = {
        {"WITEM1.WRK", readFileBytes(work("WITEM1.WRK"))},
        {"WITEM2.WRK", readFileBytes(work("WITEM2.WRK"))}};

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {
        {Qt::Key_E, Qt::ShiftModifier},           {Qt::Key_I, Qt::ShiftModifier},
        {Qt::Key_Delete, Qt::ShiftModifier},      {Qt::Key_C, Qt::ShiftModifier},
        {Qt::Key_X, Qt::ShiftModifier},           {Qt::Key_V, Qt::ShiftModifier},
        {Qt::Key_Q, Qt::ShiftModifier},           {Qt::Key_yen, Qt::ShiftModifier},
        {Qt::Key_Backslash, Qt::ShiftModifier},   {Qt::Key_yen, Qt::ControlModifier},
        {Qt::Key_Backslash, Qt::ControlModifier}, {Qt::Key_I, Qt::ControlModifier},
        {Qt::Key_V, Qt::ControlModifier},         {Qt::Key_C, Qt::ControlModifier},
        {Qt::Key_A, Qt::ControlModifier},         {Qt::Key_PageUp, Qt::NoModifier},
        {Qt::Key_PageDown, Qt::NoModifier},       {Qt::Key_Home, Qt::NoModifier},
        {Qt::Key_PageUp, Qt::ControlModifier},    {Qt::Key_PageDown, Qt::ControlModifier},
        {Qt::Key_Z, Qt::ControlModifier},         {Qt::Key_Y, Qt::ControlModifier},
    };
    const auto expectListUnchanged = [&](const QString& what) {
        EXPECT_TRUE(window->listMode()) << what.toStdString();
        EXPECT_EQ(window->grid()->model()->headerData(2, Qt::Horizontal).toString(),
                  QStringLiteral("内 訳 名 称"))
            << what.toStdString();
        EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("itemTitle"))->text(),
                  QStringLiteral("内訳一覧表"))
            << what.toStdString();
        for (const auto& [name, bytes] : sheetsBefore) {
            EXPECT_EQ(readFileBytes(work(name.c_str())), bytes)
                << name << " " << what.toStdString();
        }
        EXPECT_EQ(window->document().itemMax(), 2) << what.toStdString();
    };
    for (const auto& key : keys) {
        selectRow(*window, 2);
        QTest::keyClick(window->grid(), key.key, key.modifiers);
        expectListUnchanged(QKeySequence(QKeyCombination(key.modifiers, key.key)).toString());
    }
    for (const char* name : {"smallSum", "midSum", "sumLine", "tax", "erase", "moveDown",
                             "pasteOverwriting", "properties", "splitAtBlank", "ungroupUnlisted",
                             "wholeQuantitiesHalfUp", "cursorNameToSpecification"}) {
        selectRow(*window, 1);
        window->action(QString::fromLatin1(name))->trigger();
        expectListUnchanged(QString::fromLatin1(name));
    }
    MessageBox::takeShownTexts();

    // The list's own commands still act there, and the sheet commands on a sheet.
    selectRow(*window, 2);
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    QTest::keyClick(window->grid(), Qt::Key_I, Qt::ShiftModifier);
    EXPECT_EQ(window->document().itemMax(), 3);
    window->sheetTabs()->setCurrentIndex(1);
    ASSERT_FALSE(window->listMode());
    selectRow(*window, 3);
    QTest::keyClick(window->grid(), Qt::Key_yen, Qt::ShiftModifier);
    const Sheet& sheet = window->document().sheet;
    EXPECT_TRUE(std::ranges::any_of(
        sheet, [](const LineRecord& line) { return line.kind == LineKind::SmallSum; }));
    MessageBox::takeShownTexts();
}

// Tab moves to the next cell as in a spreadsheet, also when it ends an entry; Enter goes down.
TEST_F(MainWindowKeysTest, TabMovesRightAndEnterMovesDown) {
    const auto window = startOnFirstSheet();
    QTableView* grid = window->grid();
    setCurrentCell(*window, 1, 1);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_EQ(grid->currentIndex().column(), 2);

    setCurrentCell(*window, 6, 1);
    typeKeys("Valve");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(cell(*window, 6, 1), QStringLiteral("Valve"));
    EXPECT_EQ(grid->currentIndex().row(), 5);
    EXPECT_EQ(grid->currentIndex().column(), 2);
    typeKeys("SUS");
    commit();
    EXPECT_EQ(cell(*window, 6, 2), QStringLiteral("SUS"));
    EXPECT_EQ(grid->currentIndex().row(), 6);
    EXPECT_EQ(grid->currentIndex().column(), 2);
}

// A typed cell repaints the rows its line touches, and a line typed on the first empty row is a row
// inserted there; the grid is never reset, so its selection and scroll position stay.
TEST_F(MainWindowKeysTest, TypingACellChangesItsRowsWithoutResettingTheGrid) {
    const auto window = startOnFirstSheet();
    QAbstractItemModel* model = window->grid()->model();
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);

    setCurrentCell(*window, 2, 1);
    typeKeys("Tee");
    commit();
    EXPECT_EQ(cell(*window, 2, 1), QStringLiteral("Tee"));
    ASSERT_FALSE(changed.isEmpty());
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 1);
    EXPECT_TRUE(inserted.isEmpty());

    setCurrentCell(*window, 5, 1);
    typeKeys("Flange");
    commit();
    EXPECT_EQ(cell(*window, 5, 1), QStringLiteral("Flange"));
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 4);
    EXPECT_EQ(model->rowCount(), 101);
    EXPECT_EQ(resets.size(), 0);
}

// Numbers left by an input method in full-width mode are numbers; a number that is refused comes
// back in its cell, where the keys typed after the message correct it.
TEST_F(MainWindowKeysTest, FullWidthNumbersAreReadAndARefusedNumberStaysInItsCell) {
    const auto window = startOnFirstSheet();
    QTableView* grid = window->grid();
    const auto enter = [&](int row, int column, const QString& committed) {
        setCurrentCell(*window, row, column);
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->setText(committed); // what the input method commits
        commit();
    };
    enter(1, 6, QStringLiteral("２０"));
    enter(1, 7, QStringLiteral("１，２５０．５"));
    EXPECT_EQ(window->document().sheet[1].submittedQuantity, c("20"));
    EXPECT_EQ(window->document().sheet[1].submittedPrice, c("1250.5"));
    EXPECT_EQ(window->document().sheet[1].submittedAmount, c("25010"));
    EXPECT_TRUE(MessageBox::takeShownTexts().isEmpty());

    enter(2, 6, QStringLiteral("１２ｍ"));
    EXPECT_EQ(MessageBox::takeShownTexts(),
              QStringList{QStringLiteral("数値を正しく入力してください。")});
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("１２ｍ"));
    QTest::keyClick(editor, Qt::Key_Backspace);
    commit();
    EXPECT_EQ(window->document().sheet[2].submittedQuantity, c("12"));
}

} // namespace
} // namespace kerbina
