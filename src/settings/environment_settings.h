#pragma once

#include "money/currency.h"
#include "settings/main_settings.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kerbina {

// Numbers of choices of the option groups of the environment settings.
inline constexpr int kRoundingChoices = 3; // 四捨五入, 切り上げ, 切り捨て
inline constexpr int kLevelChoices = 10;   // 1 .. 1000000, 有効2桁 .. 有効4桁
inline constexpr int kQuantityDecimalChoices = 3;
inline constexpr int kSpaceChoices = 3;  // なし, 半角スペース, 全角スペース
inline constexpr int kTwoWayChoices = 2; // the two-choice groups of the layout tab

// The three numbering options that "登　録" puts into effect at once.
struct NumberingOptions {
    bool automatic = true;               // automaticNumbering
    bool perCustomer = false;            // numberingPerCustomer
    bool offerAfterCustomerPick = false; // offerNumberAfterCustomerPick

    friend bool operator==(const NumberingOptions&, const NumberingOptions&) = default;
};

// What the main window's DisplayStyleSet applies from the environment settings.
struct DisplayStyle {
    // Off while alternate rows are shaded, on otherwise.
    bool horizontalGridLines = true;
    // "登録単価" (code lookup tab), "仕様単価" (tree lookup tab), then the price tool buttons
    // "単価計算", "歩掛計算", "付帯単価計算" and "通常単価".
    std::array<std::string, 6> priceButtonCaptions;
    // The two menu entries registering cursor lines as code prices, and the two as tree prices.
    std::string registerAsCodePriceCaption;
    std::string registerAsTreePriceCaption;
    CoverCaptions coverCaptions;

    friend bool operator==(const DisplayStyle&, const DisplayStyle&) = default;
};

// The environment settings as the settings dialog holds them for the whole run: one member per
// control, named as the control, holding the value the control shows. The dialog edits this
// object; the other windows read it through the accessors below, so a value changed in the dialog
// and never registered is still what they see until the program ends. The member initialisers
// are the values before anything is read.
struct EnvironmentSettings {
    // ---- 全般設定 ----
    std::string startupPassword;     // start-up password, shown in clear
    std::string printStyleFile;      // full path of the default print style file
    bool askPasswordAtStart = false; // ask for the password at start-up
    std::string networkFolder;       // the database folder (Network_conf.conf)

    // ---- 表紙関係: quotation numbering (the krbconf row) and cover captions ----
    std::string numberPrefix = "AA";   // number prefix
    std::int64_t numberWidth = 7;      // total width
    std::int64_t numberCounter = 0;    // counter
    bool automaticNumbering = true;    // automatic quotation numbers
    bool numberingPerCustomer = false; // numbered per customer
    bool offerNumberAfterCustomerPick =
        false; // offer the latest number after a customer pick (hidden)
    std::string siteNameTitle = "受渡場所";
    std::string workNameTitle = "物件名称";
    int spaceBeforeHonorific = 0; // the space before "御中"
    // Print the cost split (材料費, 労務費, 法定福利費, 経費) on the breakdown and the cover.
    bool printCostSplit = false;
    // Date the printed cover in the Japanese era.
    bool printJapaneseEra = false;

    // ---- 積算関係 ----
    bool numberAsFileName = false; // quotation number as file name (hidden)
    std::array<std::string, 4> amountTexts{"御支給品", "既設品利用", "撤去品流用", "別途見積"};
    bool itemNameAsFirstLine = false; // item name as the first line of its sheet
    std::array<std::string, 6> groupNameList{"Group1", "Group2", "Group3",
                                             "Group4", "Group5", "Group6"};
    bool reductionReducesCost = false; // item reductions also reduce the cost
    std::string reductionMark = "△";   // reduction mark
    // Consumption tax rate in percent; a new installation quotes today's 10 %.
    Currency taxRate = Currency::fromWhole(10);
    std::array<std::string, 6> priceButtonNames{"登録単価", "仕様単価", "単価計算",
                                                "歩掛計算", "付帯単価", "通常単価"};
    std::array<std::string, 9> unitList{"ｍ", "㎡", "式", "日", "台", "ケ", "本", "枚", "kg"};
    std::string smallSumName = "［小　計］";
    std::string midSumName = "【中　計】";
    std::string sumName = "【合　計】";

    // ---- 計算処理設定: option indexes ----
    int quantityDecimalsChoice = 1;          // quantity decimals
    int amountRoundingChoice = 1;            // amount rounding
    int laborRoundingChoice = 0;             // quantity × labour rounding
    int sheetTotalLevelChoice = 8;           // sheet total level
    int sheetTotalRoundingChoice = 0;        // sheet total rounding
    int expenseRoundingChoice = 0;           // expense rounding
    int grandTotalLevelChoice = 0;           // grand total level
    int grandTotalRoundingChoice = 0;        // grand total rounding
    int grandTotalExpenseRoundingChoice = 0; // grand total expense rounding
    int taxRoundingChoice = 0;               // tax rounding; stored as its offset, not as the index

    // ---- 配管工事版 ----
    std::array<std::string, 6> pipingGroupNames{"配管材",   "一般弁類", "計器類",
                                                "空調機器", "衛生器具", "排水器具"};

    // ---- レイアウト ----
    bool statusBarShown = true;
    bool entryShowsLabor = true;           // data-entry dialog: labour (hidden, as are 7 to 9)
    bool entryShowsAccessoryPrices = true; // accessory prices
    bool entryShowsCost = true;            // cost
    bool entryShowsGroupPrices = true;     // group prices
    int listAddresseeChoice = 0;           // 0 shows the addressee in the quotation list
    int nameSpecColumnsChoice = 0;         // 0 separates name and specification
    int rowShadingChoice = 0;              // 1 shades alternate rows

    // ---- 自社情報 (USER_DATA.conf) ----
    std::array<std::string, 10> companyData;

    // The counter as last read from or written to the numbering row. Registering writes the
    // counter back only when the user changed numberCounter from this, so numbers issued since the
    // dialog read the row are never handed out a second time.
    std::int64_t numberAsLoaded = 0;

    // ---- values other windows read while the program runs ----
    const std::array<std::string, 9>& unitTexts() const { return unitList; }
    const std::array<std::string, 6>& groupNames() const { return groupNameList; }
    const std::string& smallSumText() const { return smallSumName; }
    const std::string& midSumText() const { return midSumName; }
    const std::string& sumText() const { return sumName; }
    const std::string& printStyle() const { return printStyleFile; }
    bool costSplitPrinted() const { return printCostSplit; }
    bool japaneseEraPrinted() const { return printJapaneseEra; }
    bool alternateRowShading() const { return rowShadingChoice == 1; }
    // The tax rounding offset: 0.5, 0.9 or 0.
    Currency taxOffset() const;
    NumberingOptions numberingOptions() const;
    // numberingPerCustomer and offerNumberAfterCustomerPick can be changed only while automatic
    // numbering is ticked; they keep their ticks while greyed.
    bool numberingSubOptionsEnabled() const { return automaticNumbering; }

    friend bool operator==(const EnvironmentSettings&, const EnvironmentSettings&) = default;
};

// The core of DisplayStyleSet.
DisplayStyle displayStyle(const EnvironmentSettings& settings);

// A folder chosen in the folder browser, stored without one trailing separator. A separator typed
// by hand into the box is not touched.
std::string browsedFolderText(std::string_view chosen);

} // namespace kerbina
