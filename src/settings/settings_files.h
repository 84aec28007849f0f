#pragma once

#include "money/currency.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kerbina {

struct EnvironmentSettings;
class NumberingRowStore;

// The environment settings live in four stores under the data root: conf/Kerbina.conf (all user
// settings), conf/USER_DATA.conf (company data), conf/Network_conf.conf (the database folder) and
// the numbering row of the quotation database. Files are CP932 with CR LF, one [KEY]=value line
// per key; LF alone is accepted when read. Every file is written to a temporary name and renamed
// over the old one; a file that cannot be written raises FileError.

// dataRoot/conf/USER_DATA.conf
std::filesystem::path companyDataFilePath(const std::filesystem::path& dataRoot);

// The 51 lines of Kerbina.conf, in the file's order, then the print options that are on.
std::vector<std::string> settingsFileLines(const EnvironmentSettings& settings);
// Sets the control of each key that Kerbina.conf carries; unknown keys and values that are not
// in their key's form change nothing, and a later line for the same key wins.
void applySettingsFileLines(EnvironmentSettings& settings, const std::vector<std::string>& lines);

// The ten lines of USER_DATA.conf.
std::vector<std::string> companyDataLines(const EnvironmentSettings& settings);
// "[OFFICE_NAME1]" is taken as it stands, the other nine keys trimmed of blanks; unknown keys are
// skipped and a later line wins.
void applyCompanyDataLines(EnvironmentSettings& settings, const std::vector<std::string>& lines);

// Fills the company data from USER_DATA.conf, first writing the file with sample values when it
// is missing.
void readUserSettings(EnvironmentSettings& settings, const std::filesystem::path& dataRoot);

// What showing the settings dialog reads again: the company data (changes that were not
// registered are replaced by the file's), the counter of the numbering row (numbers issued since
// the last read are shown, so registering can never hand them out again) and, when the network
// folder box is empty, the database folder in use. Everything else keeps what the dialog holds.
// A failing row query raises DatabaseError after the rest has been read.
void readForShow(EnvironmentSettings& settings, const std::filesystem::path& dataRoot,
                 const std::filesystem::path& databaseFolderInUse, NumberingRowStore& numbering);

// Fills the other settings from Kerbina.conf and the numbering row. When Kerbina.conf is missing
// (the first start) it sets the two cover titles and writes the stores from the values held
// instead. The numbering row is read first even then: a row the settings have written before (a
// database shared with other workstations, a reinstalled program) keeps its prefix, width,
// counter and options, and only a fresh row (see isFreshNumberingRow) or a missing one receives
// the initial values. An existing Network_conf.conf is left alone at the first start, since it
// may name the shared folder. A failing row query raises DatabaseError after the file's values
// have been taken; at the first start nothing is written then.
void readEnvironmentSettings(EnvironmentSettings& settings, const std::filesystem::path& dataRoot,
                             NumberingRowStore& numbering);

struct SettingsWritten {
    // False when the numbering row could not be written (reported already); the files are
    // written all the same.
    bool numberingRowWritten = false;
    // The tax rounding offset to put into effect for the open quotation.
    Currency taxOffset;
};

// Writes the numbering row, then Kerbina.conf and Network_conf.conf. Kerbina.conf gets the 51
// lines followed by the lines of any other keys it held, which other parts of the program read
// and this dialog does not edit (the quotation folder, the cover panel). The counter is written
// only when the user changed it since it was read.
SettingsWritten writeEnvironmentSettings(EnvironmentSettings& settings,
                                         const std::filesystem::path& dataRoot,
                                         NumberingRowStore& numbering);

// Writes USER_DATA.conf from the company data.
void writeCompanyData(const EnvironmentSettings& settings, const std::filesystem::path& dataRoot);

} // namespace kerbina
