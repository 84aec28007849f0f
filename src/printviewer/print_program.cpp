#include "printviewer/print_program.h"

#include <QMessageBox>
#include <QtGlobal>
#include <iostream>

namespace kerbina {

std::optional<std::string> choosePlatform(bool windowed) {
    if (!windowed) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::nullopt;
    }
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return "画面に接続できないため印刷プレビューを表示できません。"
               "PDF ファイルは --pdf 出力.pdf を付けて作成できます。";
    }
#endif
    return std::nullopt;
}

void quietQtNotices() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::cerr << message.toStdString() << '\n';
        }
    });
}

int reportFailure(std::string_view program, const QString& caption, const std::string& message,
                  bool windowed) {
    if (windowed) {
        QMessageBox::warning(nullptr, caption, QString::fromStdString(message));
    } else {
        std::cerr << program << ": " << message << '\n';
    }
    return 1;
}

} // namespace kerbina
