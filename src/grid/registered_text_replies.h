#pragma once

#include "grid/line_message.h"

#include <optional>
#include <string>
#include <vector>

namespace kerbina {

// What the registered-text selection dialog hands back, and what the program does with it. The
// dialog (and a companion program sending the same replies) answers with a line message: in
// comment mode ("WM_ITEMNOTE") a comment, in item-name mode ("WM_KEITO") a breakdown item name.

inline constexpr const char* kItemNoteReply = "WM_ITEMNOTE";
inline constexpr const char* kItemNameReply = "WM_KEITO";

// The number prefixes offered in front of an item name ("内訳番号"): "1." to "10.", then "A." to
// "Z.".
const std::vector<std::string>& itemNumberPrefixes();

// The reply in item-name mode: the prefix (blanks trimmed) in front of the name, quantities 0,
// kind 0, group code 99999.
LineMessage itemNameLineMessage(const std::string& prefix, const std::string& name);

// Whether a text field of the message (名称, 仕様, unit, note, amount text, price code)
// holds the field separator ";", which would shift the fields of its text form.
bool holdsFieldSeparator(const LineMessage& message);

// Renames a breakdown item to the reply's name (field 2, cut to the item name's width). On a
// sheet it is the item of the open sheet: a sheet snapshot, the totals, the list and the sheet
// written. On the breakdown list it is the item of the selection's first row, appended (with empty
// items before it) when missing: a list snapshot, the list totals, the list written. The selection
// moves one row down; the window shows the name and rebuilds the tabs.
CommandResult renameItemFromReply(GridContext& context, Selection selection,
                                  const LineMessage& reply, bool listMode);

// Why the breakdown list's row cannot become a comment item, or nothing: the first row never
// ("先頭行にコメントを入れる事はできません。"); an item with totals (other than a reduction), or
// one whose sheet still holds lines, would lose them
// ("すでに積算データが存在しますのでコメントにはできません").
std::optional<std::string> commentItemRefusal(const DocumentState& state,
                                              const std::filesystem::path& workFolder, int row);

// The comment item of the breakdown list: the item of the selection's first row (appended when
// missing) becomes kind 96 named by the reply, its placement code from the reply's kind field (15
// or 30 put the note in the total column), its note from the reply's amount text. A row that may
// not take it is refused with commentItemRefusal's message and nothing changes; otherwise a list
// snapshot, the list totals, the list written, and the selection one row down.
CommandResult writeCommentItem(GridContext& context, Selection selection, const LineMessage& reply);

// A double-click on a comment item: the texts the user confirmed ("コメントを入力してください",
// "金額欄摘要を入力してください") replace its name and note (cut to their widths). No undo
// snapshot; the list is written at once. Nothing happens on a row that is not a comment item.
CommandResult editCommentItem(GridContext& context, Selection selection, int row,
                              const std::optional<std::string>& name,
                              const std::optional<std::string>& note);

} // namespace kerbina
