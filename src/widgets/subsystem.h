#pragma once

#include "grid/grid_commands.h"

#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QMenu;
class QMenuBar;
class QWidget;

namespace kerbina {

class CommandSet;
class QuotationView;
struct CalcSettings;
class Database;
class SearchIndex;
class UserPrompt;
struct AppFolders;
struct DatabaseCheck;
struct DisplayOptions;
struct DocumentState;
struct EnvironmentSettings;
struct ItemRecord;
struct LineRecord;
struct MainSettings;
struct ModulePresence;
struct RegisterOutcome;
struct WorkStore;

using GridCommand = std::function<CommandResult(GridContext&, Selection)>;

// A page a subsystem puts beside the quotation (or a tab of the settings dialog).
enum class SidePageFor { Quotation, QuotationList };
struct SidePage {
    QString caption;
    QWidget* page = nullptr;
    SidePageFor shownWith = SidePageFor::Quotation;
};

// What the main window offers the subsystems' windows: the open quotation, the steps that change
// it (each run as one change and repainted), and its own places for pages.
class SubsystemHost {
public:
    // The window: the parent of a subsystem's dialogs and boxes.
    virtual QWidget* dialogParent() = 0;
    // The one way the core asks and tells; a subsystem's core calls take it as their prompt.
    virtual UserPrompt& prompt() = 0;
    virtual const AppFolders& folders() const = 0;
    virtual const ModulePresence& modules() const = 0;
    virtual const DocumentState& document() const = 0;
    virtual const DisplayOptions& displayOptions() const = 0;
    // The display switches of the quotation page; the caller repaints what it switched.
    virtual DisplayOptions& editableDisplay() = 0;
    // The quotation page: the grid, the sheet tabs and the title bar.
    virtual QuotationView& quotationView() = 0;
    // The width the side panel takes beside the quotation page.
    virtual int sidePanelWidth() const = 0;
    virtual const EnvironmentSettings& environment() const = 0;
    // The settings the settings dialog edits in place.
    virtual EnvironmentSettings& editableEnvironment() = 0;
    virtual const MainSettings& mainSettings() const = 0;
    virtual Database& quotationDatabase() = 0;
    virtual Database& addressDatabase() = 0;
    // The search index of the quotation texts; nullptr when there is none.
    virtual SearchIndex* searchIndex() = 0;
    // The quotation's own file (empty when it has none yet).
    virtual const std::filesystem::path& ownFile() const = 0;
    virtual const std::filesystem::path& backupFolder() = 0;
    // The grid's selected rows (1-based), and selecting others.
    virtual Selection selection() const = 0;
    virtual void selectRows(int top, int bottom) = 0;
    // The open quotation as the grid commands see it.
    virtual GridContext gridContext() = 0;

    // Runs `command` as one change: an error is shown and the files and the document are as they
    // were before it. False when it failed.
    virtual bool runCommand(const std::function<void()>& command) = 0;
    // Runs a grid command on the selection and shows its result.
    virtual void runGridCommand(const GridCommand& command) = 0;
    // Shows a command's result: the rows it selects and the row it scrolls to.
    virtual void showCommandResult(const CommandResult& result) = 0;
    // Runs `work` on the open quotation and its work store, then shows its totals again.
    virtual void changeQuotation(const std::function<void(DocumentState&, WorkStore&)>& work) = 0;
    // Names and specifications in columns of their own, or in one.
    virtual void setSeparateNameSpec(bool separate) = 0;
    // The grid's columns laid out again from the layout files.
    virtual void layOutGrid() = 0;
    // `count` more empty rows at the grid's end.
    virtual void addGridRows(int count) = 0;
    // The quotation takes the calculation settings `chosen` and is computed again.
    virtual void applyCalculationSettings(const CalcSettings& chosen) = 0;
    // The cover page's texts go into the header and its files (before a print reads the header).
    virtual void writeCover() = 0;
    // The header's number, issued outside the cover, on the cover and in the status bar; the
    // cover is then written again.
    virtual void showQuotationNumber() = 0;
    // The cover's own number entry, as its number button opens it.
    virtual void openCoverNumberEntry() = 0;
    // The item `item` was renamed: its sheet tab and title show the name.
    virtual void showItemName(int item) = 0;
    // Saves the open quotation through the save dialog; true when it was saved.
    virtual bool saveToDatabase() = 0;
    // A modified quotation: "編集中のデータを保存しますか？", Yes saving it. False when the user
    // cancelled or the save did not happen.
    virtual bool offerToSave() = 0;
    // Opens a quotation stored in the quotation database, its cover in front; true when opened.
    virtual bool openStoredQuotation(const std::string& number) = 0;
    // Opens `file` as unsaved work (a backup): the quotation gets no file of its own from it.
    virtual void openAsUnsavedWork(const std::filesystem::path& file) = 0;
    // A new quotation number for the customer `customerId`; nothing when none was issued.
    virtual std::optional<std::string> issueQuotationNumber(const std::string& customerId) = 0;
    // The number of a copy of the stored quotation `sourceNumber`; nothing when not issued.
    virtual std::optional<std::string> issueCopyNumber(const std::string& sourceNumber) = 0;
    // The quotation database checked in full.
    virtual DatabaseCheck checkQuotationDatabase() = 0;
    // What "登　録" of the settings dialog registered, put into effect at once.
    virtual void registerSettings(const RegisterOutcome& outcome) = 0;
    // The settings dialog closed: what it changed is in force for the run.
    virtual void environmentEdited() = 0;
    // The settings tabs the subsystems bring.
    virtual std::vector<SidePage> settingsTabs() = 0;

    // `page` stands in place of the quotation page: `menu` is the only menu and command open, and
    // only the side pages shown with the quotation list are shown. Nothing when a page already
    // stands there.
    virtual void showInPlaceOfQuotation(QWidget* page, QMenu* menu) = 0;
    // The quotation page back as it was left.
    virtual void showQuotationAgain() = 0;
    virtual bool quotationCovered() const = 0;
    // Brings a side page to the front.
    virtual void showSidePage(QWidget* page) = 0;

protected:
    ~SubsystemHost() = default;
};

// The places of the main window's menus where subsystems add their commands.
namespace menu_place {
// "ファイル": after "直接ファイルを開く"; the print and CSV group; before the work folder; the
// group before "終了".
inline constexpr std::string_view kFileOpen = "file.open";
inline constexpr std::string_view kFilePrint = "file.print";
inline constexpr std::string_view kFileBackup = "file.backup";
inline constexpr std::string_view kFileSettings = "file.settings";
// "編集": after "やり直し"; the submenu "特殊行" (its line commands, then its notes and
// properties); the rows after it.
inline constexpr std::string_view kEditEntry = "edit.entry";
inline constexpr std::string_view kEditLines = "edit.lines";
inline constexpr std::string_view kEditNotes = "edit.notes";
inline constexpr std::string_view kEditRows = "edit.rows";
// "表示": the whole menu.
inline constexpr std::string_view kView = "view";
// "各種変換＆計算": its first group, then the group after it.
inline constexpr std::string_view kConvertSettings = "convert.settings";
inline constexpr std::string_view kConvert = "convert";
// "内訳一覧表": the rows after "取り消し", then the comment items; the last group.
inline constexpr std::string_view kListRows = "list.rows";
inline constexpr std::string_view kListComment = "list.comment";
inline constexpr std::string_view kListSettings = "list.settings";
} // namespace menu_place

// A subsystem's windows as they plug into the main window: each subsystem's ui/ folder has one
// class deriving from this, registered in app/ui/subsystems.cpp, and the window composes every
// registered one in the order of registration. Every hook contributes nothing unless overridden.
class Subsystem {
public:
    virtual ~Subsystem() = default;

    // Side pages, asked for once when the window is built.
    virtual std::vector<SidePage> sidePages() { return {}; }
    // Commands at `place` of the window's menus (see menu_place).
    virtual void addCommands(std::string_view, QMenu&, CommandSet&) {}
    // Menus of its own on the menu bar, after the window's.
    virtual void addMenus(QMenuBar&, CommandSet&) {}
    // A named command of the tool page that the core leaves to the windows ("print", "note_in");
    // true when this subsystem ran it.
    virtual bool runNamed(std::string_view) { return false; }
    // A double-click (or "new_data") on the sheet line at a row, nullptr past the last line; true
    // when this subsystem edits that line's kind.
    virtual bool openLine(int, const LineRecord*) { return false; }
    // A double-click on the breakdown list's item at a row; true when this subsystem handles that
    // item's kind.
    virtual bool openItem(int, const ItemRecord&) { return false; }
    // A tab of its own in the environment settings dialog, made when the dialog is first shown.
    virtual std::optional<SidePage> settingsTab() { return std::nullopt; }
    // The grid was laid out again (a page or a display switch changed).
    virtual void gridLaidOut() {}
    // The environment settings in force changed (read at start-up, or edited in the dialog).
    virtual void environmentChanged() {}
    // A companion program's message (its code, target window and text); true when handled.
    virtual bool handleCompanionMessage(int, std::string_view, std::string_view) { return false; }
    // The window closes: layouts are kept for the next run.
    virtual void windowClosing() {}
};

using SubsystemFactory = std::function<std::unique_ptr<Subsystem>(SubsystemHost&)>;

} // namespace kerbina
