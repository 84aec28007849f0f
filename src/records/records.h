#pragma once

#include "money/currency.h"
#include "records/kinds.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kerbina {

// Byte widths of the fixed text fields (CP932 bytes after the length byte).
inline constexpr int kNameSpecWidth = 100;
inline constexpr int kUnitWidth = 4;
inline constexpr int kAmountTextWidth = 12;
inline constexpr int kLineNoteWidth = 40;
inline constexpr int kPriceCodeWidth = 20;
inline constexpr int kItemNameWidth = 100;
inline constexpr int kItemNoteWidth = 40;

inline constexpr std::size_t kLineRecordSize = 312;
inline constexpr std::size_t kItemRecordSize = 248;
inline constexpr std::size_t kHeaderRecordSize = 800;
inline constexpr std::size_t kTakeoffRecordSize = 440;

// One line of a detail sheet. Texts are UTF-8 and already cut to their field width (see
// fitToWidth in document/text_codec.h); numbers are exact.
struct LineRecord {
    std::int32_t mark = 0;
    std::string nameSpec; // name ";" specification
    Currency laborFactor;
    Currency sortCode = Currency::fromWhole(11999);
    std::string unit;
    LineKind kind = LineKind::WholePriced;
    Currency netQuantity;
    Currency submittedQuantity;
    Currency netPrice;
    Currency submittedPrice;
    Currency reserved176;
    Currency netAdditionalPrice;
    Currency submittedAdditionalPrice;
    Currency netAmount;
    Currency submittedAmount;
    std::int32_t flag216 = 0;
    std::int32_t hiddenFlag = 0;
    Currency priceKind;
    std::string amountText;
    std::string note;
    std::string priceCode;

    friend bool operator==(const LineRecord&, const LineRecord&) = default;
};

// One entry of the breakdown list (内訳一覧表).
struct ItemRecord {
    ItemKind kind = ItemKind::Sheet;
    std::string name;
    Currency submittedTotal;
    Currency netTotal;
    Currency submittedTax;
    Currency laborTotal;
    Currency setAmountRounding;
    Currency setExpenseRounding;
    Currency setQuantityDecimals;
    Currency setTotalLevel;
    Currency setLaborRounding;
    Currency subKind;
    Currency setTotalRounding;
    std::string note;

    friend bool operator==(const ItemRecord&, const ItemRecord&) = default;
};

// One take-off entry (拾出): a measured quantity of a sheet, before the aggregation turns it into
// priced lines. Piping and duct entries share the record; `origin` 3 marks a duct entry, for which
// some fields mean other things (noted after the piping meaning).
struct TakeoffRecord {
    std::int32_t sheet = 0;  // the owning sheet, rewritten whenever the entries are written
    std::int32_t origin = 0; // 1, 2 (made by the aggregation) piping; 3 duct
    std::int32_t system = 0; // 系統 0..9
    std::string nameSpec;    // name ";" specification (duct: name ";" thickness, model and size)
    Currency laborFactor;
    Currency sortCode; // integer part: the class of the entry; first decimal: the system
    std::string unit;
    LineKind kind = LineKind::WholePriced; // the kind of the line it becomes; above 900 discarded
    std::int32_t category = 0;             // becomes the line's flag216
    Currency netQuantity;
    Currency submittedQuantity;
    Currency netPrice;
    Currency submittedPrice;
    Currency netCompositePrice; // 複合単価
    Currency submittedCompositePrice;
    std::string note;
    Currency spareValue;  // becomes the line's reserved176
    Currency netBaseCost; // 基礎工費 (duct: 消耗品)
    Currency submittedBaseCost;
    Currency netFitting; // duct: 取付費
    Currency submittedFitting;
    std::string amountText;
    std::int32_t ductWidth = 0;
    std::int32_t ductHeight = 0;
    std::int32_t ductLength = 0; // 0: none
    std::int32_t mode1 = 0;      // becomes the line's hiddenFlag
    std::int32_t mode2 = 0;      // becomes the line's priceKind
    std::int32_t pipeMode = 0;   // 1 冷媒モード, else 配管モード
    std::int32_t place = 0; // 0 屋内一般, 1 機械室, 2 屋外架空, 3 地中配管 (duct: GROUP)
    Currency area;          // duct: 面積
    Currency ductValue2;
    Currency correction; // duct: 1.0 when the 補正 is applied
    Currency ductValue4;
    Currency
        ratioPipe; // the composite price's shares: 管, 継手, 接合材, 支持金物, はつり補修, その他
    Currency ratioFitting;
    Currency ratioJoint;
    Currency ratioSupport;  // duct: thickness class −1..6
    Currency ratioChipping; // duct: area formula −1..3
    Currency ratioOther;
    std::string priceCode; // "複合単価:" and the sort code's integer part in seven digits

    friend bool operator==(const TakeoffRecord&, const TakeoffRecord&) = default;
};

// The quotation header: cover-page data, grand totals and quotation-wide settings.
struct QuotationHeader {
    std::string id;                              // [id] Str[12] @0
    std::string addressee1;                      // [ATESAKI_1] Str[50] @13
    std::string addressee2;                      // [ATESAKI_2] Str[50] @64
    std::string siteName1;                       // [CONSTRACT_1] Str[50] @115
    std::string siteName2;                       // [CONSTRACT_2] Str[50] @166
    Currency submittedGrandTotal;                // [ALLGTOTAL] @224
    Currency netGrandTotal;                      // [ALLNTOTAL] @232
    Currency submittedTaxTotal;                  // [TAXGTOTAL] @240
    Currency netTaxTotal;                        // [TAXNTOTAL] @248
    std::string workName;                        // [WHERE] Str[50] @256
    std::string validity;                        // [MLIMIT] Str[40] @307
    std::string deliveryDate;                    // [ULIMIT] Str[40] @348
    std::string tradeTerms;                      // [TRADE] Str[40] @389
    std::string number;                          // [NUMBER] Str[12] @430
    std::string honorific;                       // [KEISYO] Str[12] @443
    std::int32_t storedYear = 0;                 // [DY] @456, Gregorian year - 1988
    std::int32_t month = 0;                      // [DM] @460
    std::int32_t day = 0;                        // [DD] @464
    std::string author;                          // [INTANTO] Str[20] @468
    std::string requester;                       // [OUTTANTO] Str[20] @489
    std::int32_t dataLevel = 0;                  // [DATALEVEL] @512
    std::int32_t keyCode = 0;                    // [KEYCODE] @516
    std::string opt1Str;                         // [Opt1Str] Str[80] @520
    std::string opt2Str;                         // [Opt2Str] Str[80] @601
    std::string opt3Str;                         // [Opt3Str] Str[80] @682
    std::int32_t opt1Int = 0;                    // [Opt1Int] @764
    std::int32_t opt2Int = 0;                    // [Opt2Int] @768
    std::int32_t opt3Int = 0;                    // [Opt3Int] @772
    std::int32_t keta = 1;                       // [KETA] @776
    Currency cutLevel = Currency::fromRaw(5000); // [CUTLEVEL] @784
    std::int32_t status = -1;                    // [STATUS] @792

    friend bool operator==(const QuotationHeader&, const QuotationHeader&) = default;
};

// A detail sheet: position 0 is the scratch slot, lines count from 1.
using Sheet = std::vector<LineRecord>;
// The breakdown list: position 0 is a placeholder item, items count from 1..ItemMax.
using ItemList = std::vector<ItemRecord>;

} // namespace kerbina
