#include "prices/ui/parts_subsystem.h"

#include "base/folders.h"
#include "base/user_error.h"
#include "prices/ui/parts_page.h"
#include "widgets/application_title.h"
#include "widgets/command_set.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"

#include <QAction>
#include <QMenu>
#include <QTreeWidget>

namespace kerbina {

namespace {

QStringList texts(const std::vector<std::string>& names) {
    QStringList shown;
    for (const std::string& name : names) {
        shown.push_back(q(name));
    }
    return shown;
}

} // namespace

PartsSubsystem::PartsSubsystem(SubsystemHost& host)
    : host_(host), library_(host.folders().dataRoot), page_(new PartsPage) {
    QObject::connect(page_, &PartsPage::folderChosen, page_, [this] { showParts(); });
    QObject::connect(page_, &PartsPage::newFolderClicked, page_, [this] { createFolder(); });
    QObject::connect(page_, &PartsPage::partsDropped, page_,
                     [this](const QString& target) { moveParts(target); });
    showFolders();
}

std::vector<SidePage> PartsSubsystem::sidePages() {
    return {SidePage{QStringLiteral("パーツファイル"), page_}};
}

// The commands stand in "編集" and in the part list's context menu; a double-click on a part is
// the load command.
void PartsSubsystem::addCommands(std::string_view place, QMenu& menu, CommandSet& commands) {
    if (place != menu_place::kEditRows) {
        return;
    }
    menu.addSeparator();
    QMenu* partsMenu = menu.addMenu(QStringLiteral("パーツファイル"));
    QAction* save = commands.add(partsMenu, "partSave",
                                 QStringLiteral("選択中のデータをパーツファイルとして登録"), {},
                                 CommandPage::Sheet, [this] { savePart(); });
    QAction* load =
        commands.add(partsMenu, "partLoad", QStringLiteral("選択行にパーツファイルを読み込む"), {},
                     CommandPage::Sheet, [this] { loadPart(); });
    QAction* remove = commands.add(partsMenu, "partDelete", QStringLiteral("パーツファイルを削除"),
                                   {}, CommandPage::Both, [this] { removePart(); });
    QAction* removeFolder =
        commands.add(partsMenu, "partFolderDelete", QStringLiteral("パーツフォルダー削除"), {},
                     CommandPage::Both, [this] { this->removeFolder(); });
    page_->partList()->addActions({save, load, remove, removeFolder});
    QObject::connect(page_, &PartsPage::partActivated, load, &QAction::trigger);
}

void PartsSubsystem::savePart() {
    const QString folder = page_->folder();
    if (folder.isEmpty()) {
        MessageBox::notify(host_.dialogParent(),
                           QStringLiteral("保存するフォルダーを選択してください"));
        return;
    }
    const auto name =
        MessageBox::input(host_.dialogParent(), title(),
                          QStringLiteral("場所:") + folder +
                              QStringLiteral("\nパ－ツファイル名を入力してください。"));
    if (!name) {
        return;
    }
    if (const auto refusal = partNameRefusal(s(*name))) {
        MessageBox::notify(host_.dialogParent(), q(*refusal));
        return;
    }
    host_.runCommand([this, &folder, &name] {
        GridContext context = host_.gridContext();
        kerbina::savePart(context, host_.selection(), library_, s(folder), s(*name));
    });
    showParts();
}

// Inserts the chosen part at the selection's first row, through the host so that the undo
// snapshot, the totals and the sheet write happen and the grid is repainted.
void PartsSubsystem::loadPart() {
    const QString folder = page_->folder();
    const QString part = page_->part();
    if (folder.isEmpty() || part.isEmpty()) {
        return;
    }
    const bool loaded = host_.runCommand([this, &folder, &part] {
        host_.runGridCommand([this, &folder, &part](GridContext& context, Selection selection) {
            return kerbina::loadPart(context, selection, library_, s(folder), s(part));
        });
    });
    if (!loaded) {
        showParts();
    }
}

void PartsSubsystem::removePart() {
    const QString folder = page_->folder();
    const QString part = page_->part();
    if (folder.isEmpty() || part.isEmpty()) {
        return;
    }
    if (MessageBox::ask(host_.dialogParent(), q(removePartQuestion(s(part))),
                        MessageBox::Buttons::YesNoCancel) != MessageBox::Answer::Yes) {
        return;
    }
    runFileWork([this, &folder, &part] { library_.removePart(s(folder), s(part)); });
    showParts();
}

void PartsSubsystem::removeFolder() {
    const QString folder = page_->folder();
    if (folder.isEmpty()) {
        return;
    }
    if (MessageBox::ask(host_.dialogParent(), q(removePartFolderQuestion(s(folder))),
                        MessageBox::Buttons::YesNoCancel) != MessageBox::Answer::Yes) {
        return;
    }
    runFileWork([this, &folder] { library_.removeFolder(s(folder)); });
    showFolders();
    showParts();
}

void PartsSubsystem::createFolder() {
    const auto name =
        MessageBox::input(host_.dialogParent(), QStringLiteral("見積・見積ソフト「ケルビナ」"),
                          QStringLiteral("フォルダー名を入力してください。"));
    if (!name) {
        return;
    }
    if (const auto refusal = partNameRefusal(s(*name))) {
        MessageBox::notify(host_.dialogParent(), q(*refusal));
        return;
    }
    runFileWork([this, &name] { library_.createFolder(s(*name)); });
    showFolders(*name);
    showParts();
}

void PartsSubsystem::moveParts(const QString& target) {
    const QString folder = page_->folder();
    std::vector<std::string> parts;
    for (const QString& part : page_->selectedParts()) {
        parts.push_back(s(part));
    }
    if (folder.isEmpty() || parts.empty()) {
        return;
    }
    runFileWork([this, &folder, &target, &parts] {
        if (const auto leftBehind = library_.moveParts(s(folder), s(target), parts)) {
            MessageBox::notify(host_.dialogParent(), q(*leftBehind));
        }
    });
    showParts();
}

void PartsSubsystem::showFolders(const QString& chosen) {
    page_->showFolders(texts(library_.folders()), chosen);
}

void PartsSubsystem::showParts() {
    const QString folder = page_->folder();
    page_->showParts(folder.isEmpty() ? QStringList() : texts(library_.parts(s(folder))));
}

void PartsSubsystem::runFileWork(const std::function<void()>& work) {
    try {
        work();
    } catch (const UserError& error) {
        MessageBox::error(host_.dialogParent(), q(error.what()));
    }
}

QString PartsSubsystem::title() const {
    return QString::fromUtf8(applicationTitle(host_.modules()));
}

} // namespace kerbina
