// The sheet editing subsystem's menu commands: the special lines of "特殊行" and the bulk edits of
// "各種変換＆計算". Each asks what it needs, then runs its core command on the selection.
#include "grid/bulk_edits.h"
#include "grid/structure_commands.h"
#include "grid/ui/sheet_editing_subsystem.h"
#include "money/typed_number.h"
#include "records/document_state.h"
#include "settings/environment_settings.h"
#include "widgets/application_title.h"
#include "widgets/command_set.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"

#include <QMenu>

namespace kerbina {

void SheetEditingSubsystem::addCommands(std::string_view place, QMenu& menu, CommandSet& commands) {
    if (place == menu_place::kEditEntry) {
        commands.add(&menu, "newData", QStringLiteral("新規データ入力"), {}, CommandPage::Both,
                     [this] { newDataEntry(); });
    } else if (place == menu_place::kEditLines) {
        addLineCommands(menu, commands);
    } else if (place == menu_place::kEditNotes) {
        addNoteCommands(menu, commands);
    } else if (place == menu_place::kConvert) {
        addBulkEdits(menu, commands);
    } else if (place == menu_place::kListComment) {
        commands.add(&menu, "listComment", QStringLiteral("特記事項"), {}, CommandPage::List,
                     [this] { selectComment(); });
    }
}

std::optional<QString> SheetEditingSubsystem::askName(const QString& initial) {
    return MessageBox::input(host_.dialogParent(), QStringLiteral("見積・見積ソフト「ケルビナ」"),
                             QStringLiteral("名称を入力して下さい"), false, initial);
}

namespace {

struct RoundingChoice {
    const char* suffix;
    const char* name;
    const char* offset;
};

constexpr RoundingChoice kRoundings[] = {
    {"(四捨五入)", "HalfUp", "0.5"}, {"(切上げ)", "Up", "0.9"}, {"(切捨て)", "Down", "0"}};

// The commands of the sheet menus act on a sheet only.
auto sheetCommandAdder(CommandSet& commands) {
    return [&commands](QMenu* menu, const QString& objectName, const QString& caption,
                       const QList<QKeySequence>& keys, std::function<void()> handler) {
        return commands.add(menu, objectName, caption, keys, CommandPage::Sheet,
                            std::move(handler));
    };
}

} // namespace

// The bulk edits of "各種変換＆計算": each asks what it needs, then runs its core command on the
// selection.
void SheetEditingSubsystem::addBulkEdits(QMenu& bulkMenu, CommandSet& commands) {
    QMenu* menu = &bulkMenu;
    const auto add = sheetCommandAdder(commands);
    add(menu, "quantitySum", QStringLiteral("選択中の数量の合計を表示"), {}, [this] {
        MessageBox::notify(host_.dialogParent(),
                           q(quantitySumReport(host_.document(), host_.selection())));
    });

    QMenu* digits = menu->addMenu(QStringLiteral("単価有効桁計算"));
    for (const int n : {4, 3, 2}) {
        const QString width = n == 4   ? QStringLiteral("４")
                              : n == 3 ? QStringLiteral("３")
                                       : QStringLiteral("２");
        for (const RoundingChoice& rounding : kRoundings) {
            const Currency offset = parseNumber(rounding.offset);
            add(digits, QStringLiteral("significantDigits%1%2").arg(n).arg(rounding.name),
                QStringLiteral("単価を有効") + width + QStringLiteral("桁にする") +
                    QString::fromUtf8(rounding.suffix),
                {}, [this, n, offset] {
                    host_.runGridCommand([n, offset](GridContext& context, Selection selection) {
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
            add(submenu, QString::fromUtf8(family.name) + QString::fromUtf8(rounding.name),
                QString::fromUtf8(family.caption) + QString::fromUtf8(rounding.suffix), {},
                [this, prompt, target, offset] {
                    const auto entry = MessageBox::input(
                        host_.dialogParent(), QString::fromUtf8(applicationTitle(host_.modules())),
                        prompt, false, QStringLiteral("0"));
                    if (!entry) {
                        return;
                    }
                    const Currency factor = parseTypedNumber(s(*entry));
                    host_.runGridCommand([&](GridContext& context, Selection selection) {
                        return multiplyByFactor(context, selection, target, factor, offset);
                    });
                });
        }
    }

    for (const RoundingChoice& rounding : kRoundings) {
        const Currency offset = parseNumber(rounding.offset);
        add(menu, QStringLiteral("wholeQuantities") + QString::fromUtf8(rounding.name),
            QStringLiteral("数量を実数に変換する") + QString::fromUtf8(rounding.suffix), {},
            [this, offset] {
                host_.runGridCommand([offset](GridContext& context, Selection selection) {
                    return makeQuantitiesWhole(context, selection, offset);
                });
            });
    }
    menu->addSeparator();
    add(menu, "splitAtBlank", QStringLiteral("左から１つ目の空白から仕様＆型番にする"), {},
        [this] { host_.runGridCommand(splitAtFirstBlank); });
    add(menu, "removeBlanks", QStringLiteral("仕様＆型番の左にある空白を除去する"), {},
        [this] { host_.runGridCommand(removeBlanksBeforeSpecification); });
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
        add(menu, QString::fromUtf8(text.name), QString::fromUtf8(text.caption), {},
            [this, promptCaption, prompt, command] {
                const auto entry = MessageBox::input(host_.dialogParent(), promptCaption, prompt);
                if (!entry) {
                    return;
                }
                const std::string value = s(*entry);
                host_.runGridCommand([&](GridContext& context, Selection selection) {
                    return command(context, selection, value);
                });
            });
    }
    add(menu, "namesToSpecifications", QStringLiteral("選択中の名称を仕様欄に移動"), {},
        [this] { host_.runGridCommand(moveNamesToSpecifications); });
    add(menu, "specificationsToNames", QStringLiteral("選択中の仕様を名称欄に移動"), {},
        [this] { host_.runGridCommand(moveSpecificationsToNames); });
    // The grid's context menu: the cursor row only.
    auto* cursorRow = new QMenu(host_.dialogParent());
    add(cursorRow, "cursorNameToSpecification", QStringLiteral("カーソル行の名称を仕様欄に移動"),
        {}, [this] {
            const int row = host_.selection().top;
            host_.runGridCommand([row](GridContext& context, Selection) {
                return moveNamesToSpecifications(context, Selection{row, row});
            });
        });
    add(cursorRow, "cursorSpecificationToName", QStringLiteral("カーソル行の仕様を名称欄に移動"),
        {}, [this] {
            const int row = host_.selection().top;
            host_.runGridCommand([row](GridContext& context, Selection) {
                return moveSpecificationsToNames(context, Selection{row, row});
            });
        });
}

// The lines of a sheet that are not ordinary items: sums, tax, the unlisted summary, amount-column
// texts.
void SheetEditingSubsystem::addLineCommands(QMenu& linesMenu, CommandSet& commands) {
    QMenu* menu = &linesMenu;
    const auto add = sheetCommandAdder(commands);
    const auto settings = [this] {
        return StructureSettings{host_.environment().smallSumText(),
                                 host_.environment().midSumText(), host_.environment().sumText(),
                                 host_.environment().taxRate};
    };
    add(menu, "smallSum", QStringLiteral("小計"),
        {QKeySequence(Qt::SHIFT | Qt::Key_yen), QKeySequence(Qt::SHIFT | Qt::Key_Backslash)},
        [this, settings] {
            host_.runGridCommand([&](GridContext& context, Selection selection) {
                return addSmallSum(context, selection, settings());
            });
        });
    add(menu, "midSum", QStringLiteral("中計"), {}, [this, settings] {
        host_.runGridCommand([&](GridContext& context, Selection selection) {
            return addMidSum(context, selection, settings());
        });
    });
    for (const RangeSumKind kind : {RangeSumKind::AmountsHidden, RangeSumKind::AmountsShown}) {
        const bool hidden = kind == RangeSumKind::AmountsHidden;
        add(menu, hidden ? QStringLiteral("hiddenRangeSum") : QStringLiteral("rangeSum"),
            hidden ? QStringLiteral("範囲計(各項目計非表示)")
                   : QStringLiteral("範囲計(各項目計表示)"),
            {}, [this, kind] {
                host_.runGridCommand([&](GridContext& context, Selection selection) {
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
    add(menu, "sumLine", QStringLiteral("合計線"),
        {QKeySequence(Qt::CTRL | Qt::Key_yen), QKeySequence(Qt::CTRL | Qt::Key_Backslash)},
        [this, settings] {
            host_.runGridCommand([&](GridContext& context, Selection selection) {
                return addSumLine(context, selection, settings());
            });
        });
    add(menu, "tax", QStringLiteral("消費税"), {}, [this, settings] {
        host_.runGridCommand([&](GridContext& context, Selection selection) {
            return addConsumptionTax(context, selection, settings());
        });
    });
    menu->addSeparator();
    add(menu, "groupUnlisted", QStringLiteral("選択中のデータを非掲載にしてまとめる"), {}, [this] {
        const auto initial = unlistedSummaryDefaultName(host_.document(), host_.selection());
        if (!initial) {
            return;
        }
        const auto name = askName(q(*initial));
        if (!name) {
            return;
        }
        host_.runGridCommand([&](GridContext& context, Selection selection) {
            return groupAsUnlisted(context, selection, s(*name));
        });
    });
    add(menu, "ungroupUnlisted", QStringLiteral("選択中の非掲載データを通常データに戻す"), {},
        [this] { host_.runGridCommand(ungroupUnlisted); });
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
        add(menu, QString::fromUtf8(entry.name), QString::fromUtf8(entry.caption), {},
            [this, prompt, command] {
                const auto text =
                    MessageBox::input(host_.dialogParent(), QStringLiteral("金額欄文字列"), prompt);
                if (!text) {
                    return;
                }
                host_.runGridCommand([&](GridContext& context, Selection selection) {
                    return command(context, selection, s(*text));
                });
            });
    }
    // The calculated-price, expense and welfare commands follow, added at this place by their own
    // subsystems.
    menu->addSeparator();
}

// The end of "特殊行": comments, the item's name and the property report.
void SheetEditingSubsystem::addNoteCommands(QMenu& notesMenu, CommandSet& commands) {
    QMenu* menu = &notesMenu;
    const auto add = sheetCommandAdder(commands);
    menu->addSeparator();
    add(menu, "comment", QStringLiteral("特記事項"), {}, [this] { selectComment(); });
    commands.add(menu, "itemNamePrompt", QStringLiteral("内訳名入力"), {}, CommandPage::Both,
                 [this] { renameItemPrompt(); });
    menu->addSeparator();
    add(menu, "properties", QStringLiteral("プロパティ"), {QKeySequence(Qt::CTRL | Qt::Key_I)},
        [this] { host_.runGridCommand(showLineProperties); });
}

} // namespace kerbina
