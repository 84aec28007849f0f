// The main window's menus: every command with its caption, key and handler, and the check marks
// of the display switches.
#include "app/app_title.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_support.h"
#include "app/ui/message_box.h"
#include "grid/bulk_edits.h"
#include "grid/structure_commands.h"
#include "grid/ui/quotation_grid_model.h"
#include "grid/ui/quotation_view.h"
#include "money/typed_number.h"

#include <QAction>
#include <QActionGroup>
#include <QMenuBar>
#include <QTabBar>
#include <algorithm>
#include <span>

namespace kerbina {

namespace {

// Every command acts on the page in front: a sheet command never runs on the breakdown list, where
// its sheet is hidden, and a list command never on a sheet. A command's page is kept on its action;
// commands without one (files, views, and those with a list form of their own) act on both.
constexpr const char* kPageProperty = "kerbinaPage";
constexpr const char* kSheetPage = "sheet";
constexpr const char* kListPage = "list";

// The commands of the sheet menus that have a breakdown-list form (or only say that they have
// none).
constexpr const char* kCommandsOfBothPages[] = {
    "undo",      "redo",     "newData",        "insert",         "delete",
    "copy",      "cut",      "pasteInserting", "selectAll",      "cancelSelection",
    "firstLine", "lastLine", "calcSettings",   "itemNamePrompt",
};

// Marks the commands of `menu` and its submenus as commands of `page`, but for `exceptions`.
void markPage(QMenu* menu, const char* page, std::span<const char* const> exceptions = {}) {
    for (QAction* command : menu->actions()) {
        if (command->menu() != nullptr) {
            markPage(command->menu(), page, exceptions);
        } else if (std::ranges::none_of(exceptions, [command](const char* name) {
                       return command->objectName() == QLatin1String(name);
                   })) {
            command->setProperty(kPageProperty, QString::fromLatin1(page));
        }
    }
}

} // namespace

bool TFKERBINA::commandFitsPage(const QAction* command) const {
    const QString page = command->property(kPageProperty).toString();
    return page.isEmpty() || page == QLatin1String(display_.listMode ? kListPage : kSheetPage);
}

QAction* TFKERBINA::addCommand(QMenu* menu, const QString& objectName, const QString& caption,
                               const QKeySequence& shortcut, void (TFKERBINA::*handler)()) {
    return addCommand(menu, objectName, caption, shortcut, [this, handler] { (this->*handler)(); });
}

QAction* TFKERBINA::addCommand(QMenu* menu, const QString& objectName, const QString& caption,
                               const QKeySequence& shortcut, const std::function<void()>& handler) {
    auto* command = new QAction(caption, this);
    command->setObjectName(objectName);
    if (!shortcut.isEmpty()) {
        command->setShortcut(shortcut);
    }
    connect(command, &QAction::triggered, this, [this, command, handler] {
        if (commandFitsPage(command)) {
            runCommand([&handler] { handler(); });
        }
    });
    menu->addAction(command);
    // Shortcuts work whatever menu is enabled: the window holds every command too.
    addAction(command);
    actions_[objectName] = command;
    return command;
}

QAction* TFKERBINA::action(const QString& objectName) const {
    const auto found = actions_.find(objectName);
    return found == actions_.end() ? nullptr : found->second;
}

void TFKERBINA::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    addCommand(file, "newQuotation", QStringLiteral("新規作成"), QKeySequence::New,
               &TFKERBINA::newQuotation);
    addCommand(file, "openFile", QStringLiteral("直接ファイルを開く"), QKeySequence::Open,
               &TFKERBINA::openQuotationFile);
    addCommand(file, "quotationList", QStringLiteral("ファイル読込(見積一覧表)"), {},
               &TFKERBINA::showQuotationList);
    addCommand(file, "save", QStringLiteral("保  存"), QKeySequence::Save,
               &TFKERBINA::saveQuotation);
    addCommand(file, "saveFile", QStringLiteral("ファイルに保存"),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &TFKERBINA::saveQuotationFile);
    addCommand(file, "importVersion1", QStringLiteral("Version1のファイルを開く"), {},
               &TFKERBINA::importVersion1File);
    file->addSeparator();
    buildPrintMenu(file);
    file->addSeparator();
    addCommand(file, "loadBackup", QStringLiteral("バックアップファイルを読み込む"), {},
               &TFKERBINA::loadBackupFile);
    addCommand(file, "openWorkFolder", QStringLiteral("エクスプローラーを開く(作業フォルダー)"), {},
               &TFKERBINA::openWorkFolder);
    file->addSeparator();
    addCommand(file, "environmentSettings", QStringLiteral("環境設定"), {},
               &TFKERBINA::environmentSettings);
    file->addSeparator();
    addCommand(file, "close", QStringLiteral("終了"), QKeySequence(Qt::ALT | Qt::Key_F4),
               &TFKERBINA::closeProgram);

    editMenu_ = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    addCommand(editMenu_, "undo", QStringLiteral("取り消し"), QKeySequence::Undo, &TFKERBINA::undo);
    addCommand(editMenu_, "redo", QStringLiteral("やり直し"), QKeySequence(Qt::CTRL | Qt::Key_Y),
               &TFKERBINA::redo)
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    editMenu_->addSeparator();
    addCommand(editMenu_, "newData", QStringLiteral("新規データ入力"), {},
               &TFKERBINA::newDataEntry);
    editMenu_->addSeparator();
    buildStructureMenu(editMenu_->addMenu(QStringLiteral("特殊行")));
    editMenu_->addSeparator();
    addCommand(editMenu_, "insert", QStringLiteral("割  込"), QKeySequence(Qt::SHIFT | Qt::Key_I),
               &TFKERBINA::insertRows);
    addCommand(editMenu_, "erase", QStringLiteral("消  去"), QKeySequence(Qt::SHIFT | Qt::Key_E),
               &TFKERBINA::eraseRows);
    addCommand(editMenu_, "delete", QStringLiteral("削  除"),
               QKeySequence(Qt::SHIFT | Qt::Key_Delete), &TFKERBINA::deleteRows);
    addCommand(editMenu_, "moveUp", QStringLiteral("上移動"), {}, &TFKERBINA::moveRowUp);
    addCommand(editMenu_, "moveDown", QStringLiteral("下移動"), {}, &TFKERBINA::moveRowDown);
    editMenu_->addSeparator();
    addCommand(editMenu_, "copy", QStringLiteral("コピー"), QKeySequence(Qt::SHIFT | Qt::Key_C),
               &TFKERBINA::copyRows);
    addCommand(editMenu_, "cut", QStringLiteral("切り取り"), QKeySequence(Qt::SHIFT | Qt::Key_X),
               &TFKERBINA::cutRows);
    addCommand(editMenu_, "pasteInserting", QStringLiteral("貼付(割込)"),
               QKeySequence(Qt::SHIFT | Qt::Key_V), &TFKERBINA::pasteInserting);
    addCommand(editMenu_, "pasteOverwriting", QStringLiteral("貼付(上書)"),
               QKeySequence(Qt::SHIFT | Qt::Key_Q), &TFKERBINA::pasteOverwriting);
    addCommand(editMenu_, "pasteClipboard", QStringLiteral("クリップボードから貼付"),
               QKeySequence(Qt::CTRL | Qt::Key_V), &TFKERBINA::pasteFromClipboard);
    addCommand(editMenu_, "copyClipboard", QStringLiteral("クリップボードへコピー"),
               QKeySequence(Qt::CTRL | Qt::Key_C), &TFKERBINA::copyToClipboard);
    editMenu_->addSeparator();
    addCommand(editMenu_, "selectAll", QStringLiteral("全選択"), QKeySequence(Qt::CTRL | Qt::Key_A),
               &TFKERBINA::selectAllRows);
    addCommand(editMenu_, "cancelSelection", QStringLiteral("全解除"), {},
               &TFKERBINA::cancelSelectionCommand);
    addCommand(editMenu_, "firstLine", QStringLiteral("先頭行へ移動"), QKeySequence(Qt::Key_PageUp),
               &TFKERBINA::firstLine);
    addCommand(editMenu_, "lastLine", QStringLiteral("最終行へ移動"),
               QKeySequence(Qt::Key_PageDown), &TFKERBINA::lastLine);

    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&D)"));
    // The three display switches show their state as check marks.
    auto* nameSpecGroup = new QActionGroup(this);
    for (QAction* choice :
         {addCommand(view, "separateNameSpec", QStringLiteral("名称と仕様を分離する"), {},
                     &TFKERBINA::separateNameSpec),
          addCommand(view, "combineNameSpec", QStringLiteral("名称と仕様を分離しない"), {},
                     &TFKERBINA::combineNameSpec)}) {
        choice->setCheckable(true);
        nameSpecGroup->addAction(choice);
    }
    additionalViewAction_ =
        addCommand(view, "additionalView", QStringLiteral("付帯単価を表示"),
                   QKeySequence(Qt::Key_Home), &TFKERBINA::toggleAdditionalView);
    additionalViewAction_->setCheckable(true);
    auto* priceViewGroup = new QActionGroup(this);
    for (QAction* choice :
         {addCommand(view, "netView", QStringLiteral("原価を表示"),
                     QKeySequence(Qt::CTRL | Qt::Key_PageUp), &TFKERBINA::showNetView),
          addCommand(view, "submittedView", QStringLiteral("提出金額を表示"),
                     QKeySequence(Qt::CTRL | Qt::Key_PageDown), &TFKERBINA::showSubmittedView)}) {
        choice->setCheckable(true);
        priceViewGroup->addAction(choice);
    }
    view->addSeparator();
    addCommand(view, "nextSheet", QStringLiteral("次の明細へ"),
               QKeySequence(Qt::CTRL | Qt::Key_Tab), &TFKERBINA::nextSheet);
    addCommand(view, "previousSheet", QStringLiteral("前の明細へ"),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), &TFKERBINA::previousSheet)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)});
    view->addSeparator();
    addCommand(view, "saveColumnWidths", QStringLiteral("グリッドの幅を保存"), {},
               &TFKERBINA::saveColumnWidths);
    addCommand(view, "resetColumnWidths", QStringLiteral("グリッドの幅をリセット"), {},
               &TFKERBINA::resetColumnWidths);
    addCommand(view, "addOneRow", QStringLiteral("グリッド行を1行追加"), {},
               &TFKERBINA::addOneGridRow);
    addCommand(view, "addTenRows", QStringLiteral("グリッド行を10行追加"), {},
               &TFKERBINA::addTenGridRows);

    convertMenu_ = menuBar()->addMenu(QStringLiteral("各種変換＆計算(&V)"));
    addCommand(convertMenu_, "calcSettings", QStringLiteral("桁設定"), {},
               &TFKERBINA::calcSettings);
    convertMenu_->addSeparator();
    buildBulkEditMenu(convertMenu_);

    listMenu_ = menuBar()->addMenu(QStringLiteral("内訳一覧表(&L)"));
    addCommand(listMenu_, "listUndo", QStringLiteral("取り消し"), {}, &TFKERBINA::undo);
    listMenu_->addSeparator();
    addCommand(listMenu_, "listCopy", QStringLiteral("コピー"), {}, &TFKERBINA::copyRows);
    addCommand(listMenu_, "listCut", QStringLiteral("切り取り"), {}, &TFKERBINA::cutRows);
    addCommand(listMenu_, "listPaste", QStringLiteral("貼　付"), {}, &TFKERBINA::pasteInserting);
    addCommand(listMenu_, "listInsert", QStringLiteral("割　込"), {}, &TFKERBINA::insertRows);
    addCommand(listMenu_, "listDelete", QStringLiteral("削　除"), {}, &TFKERBINA::deleteRows);
    addCommand(listMenu_, "listComment", QStringLiteral("特記事項"), {}, &TFKERBINA::selectComment);
    listMenu_->addSeparator();
    addCommand(listMenu_, "listSaveColumnWidths", QStringLiteral("グリッドの幅を保存"), {},
               &TFKERBINA::saveListColumnWidths);
    addCommand(listMenu_, "listResetColumnWidths", QStringLiteral("グリッドの幅をリセット"), {},
               &TFKERBINA::resetListColumnWidths);
    addCommand(listMenu_, "listCalcSettings", QStringLiteral("桁設定"), {},
               &TFKERBINA::calcSettings);

    buildListPageMenu();

    markPage(editMenu_, kSheetPage, kCommandsOfBothPages);
    markPage(convertMenu_, kSheetPage, kCommandsOfBothPages);
    markPage(listMenu_, kListPage);
    for (const char* name : {"saveColumnWidths", "resetColumnWidths", "cursorNameToSpecification",
                             "cursorSpecificationToName"}) {
        action(QString::fromLatin1(name))
            ->setProperty(kPageProperty, QString::fromLatin1(kSheetPage));
    }
}

void TFKERBINA::updateViewChecks() {
    action("separateNameSpec")->setChecked(state_.separateNameSpec);
    action("combineNameSpec")->setChecked(!state_.separateNameSpec);
    additionalViewAction_->setChecked(display_.additionalView);
    action("netView")->setChecked(display_.netView);
    action("submittedView")->setChecked(!display_.netView);
}

void TFKERBINA::repaintGrid() {
    view_->model()->refresh();
    updateViewChecks();
}

void TFKERBINA::nextSheet() {
    if (view_->tabs()->count() > 1) {
        view_->tabs()->setCurrentIndex((view_->tabs()->currentIndex() + 1) %
                                       view_->tabs()->count());
    }
}

void TFKERBINA::previousSheet() {
    if (view_->tabs()->count() > 1) {
        view_->tabs()->setCurrentIndex(
            (view_->tabs()->currentIndex() + view_->tabs()->count() - 1) % view_->tabs()->count());
    }
}

} // namespace kerbina

namespace kerbina {

namespace {

struct RoundingChoice {
    const char* suffix;
    const char* name;
    const char* offset;
};

constexpr RoundingChoice kRoundings[] = {
    {"(四捨五入)", "HalfUp", "0.5"}, {"(切上げ)", "Up", "0.9"}, {"(切捨て)", "Down", "0"}};

} // namespace

// The bulk edits of "各種変換＆計算": each asks what it needs, then runs its core command on the
// selection.
void TFKERBINA::buildBulkEditMenu(QMenu* menu) {
    addCommand(menu, "quantitySum", QStringLiteral("選択中の数量の合計を表示"), {},
               [this] { MessageBox::notify(this, q(quantitySumReport(state_, selectionNow()))); });

    QMenu* digits = menu->addMenu(QStringLiteral("単価有効桁計算"));
    for (const int n : {4, 3, 2}) {
        const QString width = n == 4   ? QStringLiteral("４")
                              : n == 3 ? QStringLiteral("３")
                                       : QStringLiteral("２");
        for (const RoundingChoice& rounding : kRoundings) {
            const Currency offset = parseNumber(rounding.offset);
            addCommand(digits, QStringLiteral("significantDigits%1%2").arg(n).arg(rounding.name),
                       QStringLiteral("単価を有効") + width + QStringLiteral("桁にする") +
                           QString::fromUtf8(rounding.suffix),
                       {}, [this, n, offset] {
                           runGridCommand([n, offset](GridContext& context, Selection selection) {
                               return keepSignificantDigits(context, selection, n, offset);
                           });
                       });
        }
    }

    const struct {
        QMenu* menu;
        const char* caption;
        const char* prompt;
        FactorTarget target;
        const char* name;
    } factors[] = {
        {menu->addMenu(QStringLiteral("単価計算")), "提出単価=提出単価×入力値",
         "提出単価=提出単価×入力値", FactorTarget::SubmittedPriceFromSubmitted, "priceTimes"},
        {nullptr, "提出単価=原単価×入力値", "提出単価=仕切単価×入力値",
         FactorTarget::SubmittedPriceFromNet, "netPriceTimes"},
        {menu->addMenu(QStringLiteral("数量計算")), "提出数量=提出数量×入力値",
         "提出数量=提出数量×入力値", FactorTarget::SubmittedQuantityFromSubmitted, "quantityTimes"},
        {nullptr, "提出数量=原数量×入力値", "提出数量=仕切数量×入力値",
         FactorTarget::SubmittedQuantityFromNet, "netQuantityTimes"},
    };
    QMenu* submenu = nullptr;
    for (const auto& family : factors) {
        submenu = family.menu != nullptr ? family.menu : submenu;
        for (const RoundingChoice& rounding : kRoundings) {
            const Currency offset = parseNumber(rounding.offset);
            const QString prompt = QString::fromUtf8(family.prompt);
            const FactorTarget target = family.target;
            addCommand(submenu, QString::fromUtf8(family.name) + QString::fromUtf8(rounding.name),
                       QString::fromUtf8(family.caption) + QString::fromUtf8(rounding.suffix), {},
                       [this, prompt, target, offset] {
                           const auto entry = MessageBox::input(
                               this, QString::fromUtf8(applicationTitle(modules_)), prompt, false,
                               QStringLiteral("0"));
                           if (!entry) {
                               return;
                           }
                           const Currency factor = parseTypedNumber(s(*entry));
                           runGridCommand([&](GridContext& context, Selection selection) {
                               return multiplyByFactor(context, selection, target, factor, offset);
                           });
                       });
        }
    }

    for (const RoundingChoice& rounding : kRoundings) {
        const Currency offset = parseNumber(rounding.offset);
        addCommand(menu, QStringLiteral("wholeQuantities") + QString::fromUtf8(rounding.name),
                   QStringLiteral("数量を実数に変換する") + QString::fromUtf8(rounding.suffix), {},
                   [this, offset] {
                       runGridCommand([offset](GridContext& context, Selection selection) {
                           return makeQuantitiesWhole(context, selection, offset);
                       });
                   });
    }
    menu->addSeparator();
    addCommand(menu, "splitAtBlank", QStringLiteral("左から１つ目の空白から仕様＆型番にする"), {},
               [this] { runGridCommand(splitAtFirstBlank); });
    addCommand(menu, "removeBlanks", QStringLiteral("仕様＆型番の左にある空白を除去する"), {},
               [this] { runGridCommand(removeBlanksBeforeSpecification); });
    const struct {
        const char* name;
        const char* caption;
        const char* promptCaption;
        const char* prompt;
        CommandResult (*command)(GridContext&, Selection, const std::string&);
    } texts[] = {
        {"removeText", "特定文字除去", "特定文字除去", "削除文字指定", removeTextFromNames},
        {"prefixNames", "選択中の名称の前に同一文字を入力する",
         "選択中の品名の前に同一文字を入力する", "追加する文字を入力して下さい", prefixNames},
        {"suffixSpecifications", "選択中の仕様の末尾に同一文字を入力する",
         "選択中の仕様の末尾に同一文字を入力", "追加する文字を入力して下さい",
         suffixSpecifications},
        {"sameUnit", "選択中の単位を同一単位に変更する", "選択中の単位を同一単位に変更",
         "単位を入力して下さい", setUnits},
    };
    for (const auto& text : texts) {
        const QString promptCaption = QString::fromUtf8(text.promptCaption);
        const QString prompt = QString::fromUtf8(text.prompt);
        const auto command = text.command;
        addCommand(menu, QString::fromUtf8(text.name), QString::fromUtf8(text.caption), {},
                   [this, promptCaption, prompt, command] {
                       const auto entry = MessageBox::input(this, promptCaption, prompt);
                       if (!entry) {
                           return;
                       }
                       const std::string value = s(*entry);
                       runGridCommand([&](GridContext& context, Selection selection) {
                           return command(context, selection, value);
                       });
                   });
    }
    addCommand(menu, "namesToSpecifications", QStringLiteral("選択中の名称を仕様欄に移動"), {},
               [this] { runGridCommand(moveNamesToSpecifications); });
    addCommand(menu, "specificationsToNames", QStringLiteral("選択中の仕様を名称欄に移動"), {},
               [this] { runGridCommand(moveSpecificationsToNames); });
    // The grid's context menu: the cursor row only.
    auto* cursorRow = new QMenu(this);
    addCommand(cursorRow, "cursorNameToSpecification",
               QStringLiteral("カーソル行の名称を仕様欄に移動"), {}, [this] {
                   const int row = selectionNow().top;
                   runGridCommand([row](GridContext& context, Selection) {
                       return moveNamesToSpecifications(context, Selection{row, row});
                   });
               });
    addCommand(cursorRow, "cursorSpecificationToName",
               QStringLiteral("カーソル行の仕様を名称欄に移動"), {}, [this] {
                   const int row = selectionNow().top;
                   runGridCommand([row](GridContext& context, Selection) {
                       return moveSpecificationsToNames(context, Selection{row, row});
                   });
               });
}

Selection TFKERBINA::selectionNow() const {
    const auto [top, bottom] = selectedRows();
    return Selection{top, bottom};
}

} // namespace kerbina

namespace kerbina {

// The lines of a sheet that are not ordinary items: sums, tax, the unlisted summary, amount-column
// texts, and the property report.
void TFKERBINA::buildStructureMenu(QMenu* menu) {
    const auto settings = [this] {
        return StructureSettings{environment_.smallSumText(), environment_.midSumText(),
                                 environment_.sumText(), environment_.tax_value};
    };
    const auto askName = [this](const QString& initial) {
        return MessageBox::input(this, QStringLiteral("見積・見積ソフト「ケルビナ」"),
                                 QStringLiteral("名称を入力して下さい"), false, initial);
    };
    addCommand(menu, "smallSum", QStringLiteral("小計"), QKeySequence(Qt::SHIFT | Qt::Key_yen),
               [this, settings] {
                   runGridCommand([&](GridContext& context, Selection selection) {
                       return addSmallSum(context, selection, settings());
                   });
               })
        ->setShortcuts(
            {QKeySequence(Qt::SHIFT | Qt::Key_yen), QKeySequence(Qt::SHIFT | Qt::Key_Backslash)});
    addCommand(menu, "midSum", QStringLiteral("中計"), {}, [this, settings] {
        runGridCommand([&](GridContext& context, Selection selection) {
            return addMidSum(context, selection, settings());
        });
    });
    for (const RangeSumKind kind : {RangeSumKind::AmountsHidden, RangeSumKind::AmountsShown}) {
        const bool hidden = kind == RangeSumKind::AmountsHidden;
        addCommand(menu, hidden ? QStringLiteral("hiddenRangeSum") : QStringLiteral("rangeSum"),
                   hidden ? QStringLiteral("範囲計(各項目計非表示)")
                          : QStringLiteral("範囲計(各項目計表示)"),
                   {}, [this, kind, askName] {
                       runGridCommand([&](GridContext& context, Selection selection) {
                           if (!rangeSumAllowed(context, selection, kind)) {
                               return nothingChanged(selection);
                           }
                           const auto name = askName(QString());
                           if (!name) {
                               return nothingChanged(selection);
                           }
                           return addRangeSum(context, selection, kind, s(*name));
                       });
                   });
    }
    addCommand(menu, "sumLine", QStringLiteral("合計線"), QKeySequence(Qt::CTRL | Qt::Key_yen),
               [this, settings] {
                   runGridCommand([&](GridContext& context, Selection selection) {
                       return addSumLine(context, selection, settings());
                   });
               })
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_yen), QKeySequence(Qt::CTRL | Qt::Key_Backslash)});
    addCommand(menu, "tax", QStringLiteral("消費税"), {}, [this, settings] {
        runGridCommand([&](GridContext& context, Selection selection) {
            return addConsumptionTax(context, selection, settings());
        });
    });
    menu->addSeparator();
    addCommand(menu, "groupUnlisted", QStringLiteral("選択中のデータを非掲載にしてまとめる"), {},
               [this, askName] {
                   const auto initial = unlistedSummaryDefaultName(state_, selectionNow());
                   if (!initial) {
                       return;
                   }
                   const auto name = askName(q(*initial));
                   if (!name) {
                       return;
                   }
                   runGridCommand([&](GridContext& context, Selection selection) {
                       return groupAsUnlisted(context, selection, s(*name));
                   });
               });
    addCommand(menu, "ungroupUnlisted", QStringLiteral("選択中の非掲載データを通常データに戻す"),
               {}, [this] { runGridCommand(ungroupUnlisted); });
    const struct {
        const char* name;
        const char* caption;
        const char* prompt;
        CommandResult (*command)(GridContext&, Selection, const std::string&);
    } amountTexts[] = {
        {"amountText", "選択中(減額・計算単価・経費・拾出以外)の金額欄を文字列にする",
         "金額欄文字列入力", setAmountColumnText},
        {"blankQuantityAmount", "選択中(計算単価・経費・拾出以外)の数量・金額欄を空白にする",
         "金額欄文字列入力(空白可)", blankQuantityAndAmount},
        {"blankQuantityUnitAmount",
         "選択中(計算単価・経費・拾出以外)の数量・単位・金額欄を空白にする",
         "金額欄文字列入力(空白可)", blankQuantityUnitAndAmount},
    };
    for (const auto& entry : amountTexts) {
        const QString prompt = QString::fromUtf8(entry.prompt);
        const auto command = entry.command;
        addCommand(menu, QString::fromUtf8(entry.name), QString::fromUtf8(entry.caption), {},
                   [this, prompt, command] {
                       const auto text =
                           MessageBox::input(this, QStringLiteral("金額欄文字列"), prompt);
                       if (!text) {
                           return;
                       }
                       runGridCommand([&](GridContext& context, Selection selection) {
                           return command(context, selection, s(*text));
                       });
                   });
    }
    menu->addSeparator();
    // These open the expense, welfare, calculated-price and comment dialogs, which come with
    // their subsystems.
    for (const char* caption :
         {"諸経費", "法定福利費", "選択範囲に対して単価計算", "選択範囲に対して歩掛計算",
          "選択範囲に対して付帯単価計算", "計算単価を通常単価で使用"}) {
        menu->addAction(QString::fromUtf8(caption))->setEnabled(false);
    }
    addCommand(menu, "comment", QStringLiteral("特記事項"), {}, &TFKERBINA::selectComment);
    addCommand(menu, "itemNamePrompt", QStringLiteral("内訳名入力"), {},
               &TFKERBINA::renameItemPrompt);
    menu->addSeparator();
    addCommand(menu, "properties", QStringLiteral("プロパティ"), QKeySequence(Qt::CTRL | Qt::Key_I),
               [this] { runGridCommand(showLineProperties); });
}

} // namespace kerbina
