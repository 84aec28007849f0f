#include "app/work_folder_save_source.h"
#include "base/file_io.h"
#include "base/text_codec.h"
#include "document/direct_read.h"
#include "settings/main_settings.h"
#include "work_store_fixture.h"

namespace kerbina {
namespace {

class FreshSettingsHost : public testing_support::ScriptedHost {
public:
    void readSettings(DocumentState& state) override {
        applyToDocument(kerbina::readSettings(MainSettings{}, SettingsSources{}), state);
    }
};

class WorkFolderSaveSourceTest : public testing_support::WorkStoreTest {
protected:
    std::string backupBytes() const { return readRegularFile(backupFilePath(store.backupFolder)); }

    FreshSettingsHost fresh;
};

// What is saved is the quotation as it stands at the moment of saving, rendered exactly as the
// quotation file writer renders it (the crash backup is such a file, kept up to date after every
// change), and a new number reaches the header files, the backup and the cover.
TEST_F(WorkFolderSaveSourceTest, TheSavedTextIsTheQuotationFileOfTheOpenQuotation) {
    for (int example : {1, 6}) {
        SCOPED_TRACE(example);
        SetUp();
        const std::filesystem::path path = std::filesystem::path(KERBINA_TEST_DATA_DIR) / "totals" /
                                           ("example_" + std::to_string(example) + ".krb2");
        loadQuotationFile(state, store, fresh, fresh.settings(), path, std::nullopt,
                          testing_support::kToday);
        WorkFolderSaveSource source(state, store, fresh);
        EXPECT_EQ(toCp932(source.render().text), backupBytes());

        source.storeQuotationNumber("NF00042");
        EXPECT_EQ(source.header().number, "NF00042");
        EXPECT_EQ(fresh.quotationNumber, "NF00042");
        EXPECT_EQ(readQuotationFile(backupFilePath(store.backupFolder)).header.number, "NF00042");
        const RenderedQuotation saved = source.render();
        EXPECT_NE(saved.text.find("\r\n[NUMBER]=NF00042\r\n"), std::string::npos);
        EXPECT_EQ(toCp932(saved.text), backupBytes());
        // The row's columns come from the header the text was rendered from.
        EXPECT_EQ(saved.header, readQuotationFile(backupFilePath(store.backupFolder)).header);

        // A number stored in memory only would be lost with the next sheet switch: it is in the
        // header file the switch reads.
        DocumentState reread = state;
        readHeaderFile(reread, store.workFolder, "WRK");
        EXPECT_EQ(reread.header.number, "NF00042");
    }
}

} // namespace
} // namespace kerbina
