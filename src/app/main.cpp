#include "app/instance_lock.h"
#include "app/seeding.h"
#include "app/startup.h"
#include "app/ui/main_window.h"
#include "base/folders.h"
#include "base/platform_paths.h"
#include "widgets/application_title.h"
#include "widgets/japanese_translations.h"
#include "widgets/message_box.h"

#include <QApplication>
#include <exception>
#include <optional>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    using namespace kerbina;
    installJapaneseTranslations(application);
    try {
        const std::filesystem::path common = commonAppDataFolder();
        AppFolders folders;
        folders.installFolder = installFolder();
        folders.dataRoot = dataRootIn(common);
        const ModulePresence modules = detectModules(folders.installFolder);
        QApplication::setApplicationName(QString::fromUtf8(applicationTitle(modules)));

        const auto lock = InstanceLock::tryAcquire(folders.dataRoot);
        if (!lock) {
            MessageBox::notify(nullptr, QStringLiteral("すでに起動しています。"));
            return 0;
        }
        seedDataRoot(folders.installFolder, folders.dataRoot, modules);

        DatabaseFolderChoice database = chooseDatabaseFolder(folders.dataRoot, common);
        while (database.configuredFolderMissing) {
            const auto answer = MessageBox::ask(
                nullptr,
                QStringLiteral(
                    "データベースフォルダーが見つかりません。\n%1\n\n"
                    "「はい」でもう一度探します。「いいえ」で既定のフォルダーを使います。")
                    .arg(QString::fromStdString(pathText(database.folder))),
                MessageBox::Buttons::YesNoCancel);
            if (answer == MessageBox::Answer::Cancel) {
                return 0;
            }
            database = answer == MessageBox::Answer::Yes
                           ? chooseDatabaseFolder(folders.dataRoot, common)
                           : DatabaseFolderChoice{useDefaultDatabaseFolder(common), false};
        }
        folders.databaseFolder = database.folder;
        folders.quotationFolder = quotationFolder(folders.dataRoot);

        std::optional<std::filesystem::path> fileToOpen;
        if (argc > 1) {
            fileToOpen = pathFromText(QString::fromLocal8Bit(argv[1]).toStdString());
        }
        MainWindow window(folders, modules);
        window.show();
        if (!window.startUp(fileToOpen)) {
            return 0;
        }
        return QApplication::exec();
    } catch (const std::exception& error) {
        MessageBox::error(nullptr, QString::fromStdString(error.what()));
        return 1;
    }
}
