// The main window's menus: its own commands with their captions, keys, pages and handlers, the
// places where the subsystems add theirs, and the check marks of the display switches.
#include "app/ui/main_window.h"

#include <QAction>
#include <QMenuBar>

namespace kerbina {

QAction* MainWindow::addCommand(QMenu* menu, const QString& objectName, const QString& caption,
                                const QList<QKeySequence>& keys, CommandPage page,
                                void (MainWindow::*handler)()) {
    return commands_.add(menu, objectName, caption, keys, page,
                         [this, handler] { (this->*handler)(); });
}

void MainWindow::addSubsystemCommands(std::string_view place, QMenu* menu) {
    for (const auto& subsystem : subsystems_) {
        subsystem->addCommands(place, *menu, commands_);
    }
}

QAction* MainWindow::action(const QString& objectName) const {
    return commands_.find(objectName);
}

void MainWindow::buildMenus() {
    using enum CommandPage;
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    addCommand(file, "newQuotation", QStringLiteral("新規作成"), {QKeySequence::New}, Both,
               &MainWindow::newQuotation);
    addCommand(file, "openFile", QStringLiteral("直接ファイルを開く"), {QKeySequence::Open}, Both,
               &MainWindow::openQuotationFile);
    addSubsystemCommands(menu_place::kFileOpen, file);
    addCommand(file, "save", QStringLiteral("保  存"), {QKeySequence::Save}, Both,
               &MainWindow::saveQuotation);
    addCommand(file, "saveFile", QStringLiteral("ファイルに保存"),
               {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, Both,
               &MainWindow::saveQuotationFile);
    addCommand(file, "importVersion1", QStringLiteral("Version1のファイルを開く"), {}, Both,
               &MainWindow::importVersion1File);
    file->addSeparator();
    addSubsystemCommands(menu_place::kFilePrint, file);
    file->addSeparator();
    addSubsystemCommands(menu_place::kFileBackup, file);
    addCommand(file, "openWorkFolder", QStringLiteral("エクスプローラーを開く(作業フォルダー)"), {},
               Both, &MainWindow::openWorkFolder);
    file->addSeparator();
    addSubsystemCommands(menu_place::kFileSettings, file);
    file->addSeparator();
    addCommand(file, "close", QStringLiteral("終了"), {QKeySequence(Qt::ALT | Qt::Key_F4)}, Both,
               &MainWindow::closeProgram);

    // The edit commands act on a sheet, but for those with a breakdown-list form of their own.
    editMenu_ = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    addCommand(editMenu_, "undo", QStringLiteral("取り消し"), {QKeySequence::Undo}, Both,
               &MainWindow::undo);
    addCommand(editMenu_, "redo", QStringLiteral("やり直し"),
               {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
               Both, &MainWindow::redo);
    editMenu_->addSeparator();
    addSubsystemCommands(menu_place::kEditEntry, editMenu_);
    editMenu_->addSeparator();
    QMenu* specialLines = editMenu_->addMenu(QStringLiteral("特殊行"));
    addSubsystemCommands(menu_place::kEditLines, specialLines);
    addSubsystemCommands(menu_place::kEditNotes, specialLines);
    editMenu_->addSeparator();
    addSubsystemCommands(menu_place::kEditRows, editMenu_);

    addSubsystemCommands(menu_place::kView, menuBar()->addMenu(QStringLiteral("表示(&D)")));

    convertMenu_ = menuBar()->addMenu(QStringLiteral("各種変換＆計算(&V)"));
    addSubsystemCommands(menu_place::kConvertSettings, convertMenu_);
    convertMenu_->addSeparator();
    addSubsystemCommands(menu_place::kConvert, convertMenu_);

    listMenu_ = menuBar()->addMenu(QStringLiteral("内訳一覧表(&L)"));
    addCommand(listMenu_, "listUndo", QStringLiteral("取り消し"), {}, List, &MainWindow::undo);
    listMenu_->addSeparator();
    addSubsystemCommands(menu_place::kListRows, listMenu_);
    addSubsystemCommands(menu_place::kListComment, listMenu_);
    listMenu_->addSeparator();
    addSubsystemCommands(menu_place::kListSettings, listMenu_);

    for (const auto& subsystem : subsystems_) {
        subsystem->addMenus(*menuBar(), commands_);
    }
}

} // namespace kerbina
