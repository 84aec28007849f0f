// The conf folder's files are edited by hand, copied between offices and written by older
// versions: Kerbina.conf (every setting), USER_DATA.conf (the company data) and Network_conf.conf
// (the database folder). Whatever they hold, every reader of them (start-up, the settings dialog,
// the print viewer's captions and letterhead) must take what it can and never fail otherwise; and
// the lines the settings dialog writes from what it read must read back as the same settings.
#include "base/conf_file.h"
#include "base/file_io.h"
#include "fuzz_support.h"
#include "printviewer/viewer_request.h"
#include "records/document_state.h"
#include "settings/environment_settings.h"
#include "settings/main_settings.h"
#include "settings/settings_files.h"

#include <cstdint>
#include <string>

namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        kerbina::fuzz::fault("fuzz_conf_files", what);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::filesystem::path& dataRoot = kerbina::fuzz::scratchFolder();
    const std::string_view input = kerbina::fuzz::bytesOf(bytes, size);
    kerbina::fuzz::putFile(kerbina::settingsFilePath(dataRoot), input);
    kerbina::fuzz::putFile(kerbina::networkFilePath(dataRoot), input);
    kerbina::fuzz::putFile(kerbina::companyDataFilePath(dataRoot), input);

    // Start-up and the command-line tool: the main settings, the numbering row being a text too.
    const std::vector<std::string> lines = kerbina::readSettingsFileLines(dataRoot);
    kerbina::SettingsSources sources;
    sources.settingsLines = lines;
    sources.numberingRow = std::string(input);
    const kerbina::MainSettings main = kerbina::readSettings(kerbina::MainSettings{}, sources);
    kerbina::DocumentState document;
    kerbina::applyToDocument(main, document);
    kerbina::readNetworkFolder(dataRoot);

    // The settings dialog.
    kerbina::EnvironmentSettings settings;
    kerbina::applySettingsFileLines(settings, lines);
    kerbina::readUserSettings(settings, dataRoot);
    kerbina::EnvironmentSettings again;
    kerbina::applySettingsFileLines(again, kerbina::settingsFileLines(settings));
    kerbina::applyCompanyDataLines(again, kerbina::companyDataLines(settings));
    check(again == settings, "the written settings read back differently");

    // The print viewer.
    kerbina::readPrintSettings(dataRoot);
    return 0;
}
