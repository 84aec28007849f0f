#include "app/ui/main_window.h"

#include "app/app_title.h"

namespace kerbina {

TFKERBINA::TFKERBINA(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    resize(1200, 800);
}

} // namespace kerbina
