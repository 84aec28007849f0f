#pragma once

#include <QMainWindow>

namespace kerbina {

// The main window: owns the open quotation and every dialog.
class TFKERBINA : public QMainWindow {
    Q_OBJECT

public:
    explicit TFKERBINA(QWidget* parent = nullptr);
};

} // namespace kerbina
