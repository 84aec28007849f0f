#include "widgets/print_start.h"

#include "base/folders.h"
#include "base/path_text.h"
#include "output/print_data.h"
#include "settings/environment_settings.h"
#include "settings/main_settings.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"
#include "widgets/subsystem.h"

#include <QProcess>
#include <QStringList>

namespace kerbina {

bool startPrintProgram(const std::filesystem::path& program,
                       const std::optional<std::string>& argument) {
    QStringList arguments;
    if (argument) {
        arguments << QString::fromStdString(*argument);
    }
    return QProcess::startDetached(QString::fromStdString(pathText(program)), arguments);
}

void startPrint(QWidget* parent, const PrintRequest& request) {
    if (!startPrintProgram(request.program, request.argument)) {
        MessageBox::error(parent, q(printProgramFailedMessage(request.program)));
    }
}

QuotationPrintSettings printSettings(const SubsystemHost& host) {
    const MainSettings& settings = host.mainSettings();
    return QuotationPrintSettings{host.folders().dataRoot, host.folders().installFolder,
                                  settings.reductionMark,  host.environment().printStyle(),
                                  settings.autoNumbering,  settings.perCustomerNumbering};
}

} // namespace kerbina
