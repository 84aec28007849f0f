#include "app/app_title.h"
#include "app/ui/main_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(kerbina::kApplicationTitle));
    kerbina::TFKERBINA window;
    window.show();
    return QApplication::exec();
}
