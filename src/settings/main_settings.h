#pragma once

#include "money/calc_settings.h"
#include "money/currency.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kerbina {

struct DocumentState;

// Captions of the cover tab's site-name and work-name buttons and their hints.
struct CoverCaptions {
    std::string siteName1 = "現場名称1";
    std::string siteName2 = "現場名称2";
    std::string workName = "工事名称";
    std::string siteNameHint = "現場名称";
    std::string workNameHint = "工事名称";

    friend bool operator==(const CoverCaptions&, const CoverCaptions&) = default;
};

// What the main window works with after reading the settings file and the numbering row. The
// member initialisers are the values at program start (the designed captions included).
struct MainSettings {
    // Current calculation settings and the quotation-wide grand-total and tax settings.
    CalcSettings calc;
    bool itemNameLine = true;     // [Items_Opt_1]
    bool separateNameSpec = true; // [EDIT_OPT2]=0: name and specification in two grid columns
    int gridColumnCount = 10;     // 9 with one name/specification column
    bool statusBarVisible = true; // [status_bar]
    std::string reductionMark;    // [GENGAKU], exactly as written

    // Derived for the header: [KETA] is the grand-total level cut to a whole number, [CUTLEVEL]
    // the grand-total offset.
    std::int32_t headerKeta = 0;
    Currency headerCutLevel;

    // The print style of the settings dialog; the bundled style fills it when it is empty.
    std::string printStylePath;

    // From the numbering row.
    bool autoNumbering = false;                // [EDIT_OPT1]
    bool perCustomerNumbering = false;         // [NUMBER_OPT4]
    bool offerNumberAfterCustomerPick = false; // [NUMBER_OPT5]
    // The pipe-material input button and the five accessory input buttons ([EXGROUP1]..[6]).
    std::array<std::string, 6> groupCaptions{"配管材",   "一般弁類", "計器類",
                                             "空調機器", "衛生器具", "排水器具"};
    std::string quotationNumberCaption = "見積番号";
    // The accessory price-registration buttons: accessory input button caption + "登録".
    std::array<std::string, 5> accessoryRegisterCaptions{
        "一般弁類登録", "計器類登録", "空調機器登録", "衛生器具登録", "排水器具登録"};
    CoverCaptions coverCaptions;

    friend bool operator==(const MainSettings&, const MainSettings&) = default;
};

// Everything readSettings reads, gathered by the caller so that the read itself stays a function
// of its inputs.
struct SettingsSources {
    // The lines of conf/Kerbina.conf; a missing file reads as no lines, which leaves the start
    // values just as a missing file does.
    std::vector<std::string> settingsLines;
    // The texts of the krbconf row 'KERBINA' joined with CR LF; nothing when there is no row.
    std::optional<std::string> numberingRow;
    // dataRoot/style/A4縦STYLE01blue.sle when that file exists.
    std::optional<std::string> bundledPrintStyle;
    // The two cover titles held by the settings dialog ([TITLE1], [TITLE2]).
    std::string coverTitle1;
    std::string coverTitle2;
};

// The main window's settings read, run at start-up and for every new document. Values it does
// not reset first (grand-total level and offsets, tax offset, status bar, reduction mark, and
// everything the numbering row sets when there is no row) keep their previous values when the
// sources no longer name them.
MainSettings readSettings(const MainSettings& previous, const SettingsSources& sources);

// The print style bundled with the program, when it is installed in the data root.
std::optional<std::string> bundledPrintStyle(const std::filesystem::path& dataRoot);

// Hands the values that the quotation model uses to the open document: the current calculation
// settings, the item-name line option, the column setting and the header's [KETA] and [CUTLEVEL].
void applyToDocument(const MainSettings& settings, DocumentState& document);

} // namespace kerbina
