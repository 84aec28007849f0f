#include "output/ui/print_launch.h"

#include "base/path_text.h"

#include <QProcess>
#include <QString>
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

} // namespace kerbina
