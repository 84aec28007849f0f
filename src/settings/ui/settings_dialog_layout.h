#pragma once

// Small layout pieces the settings dialog's files share: the choice captions of the rounding
// groups and a group, a column and a row of controls.

#include "widgets/qt_text.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLayout>
#include <QString>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>
#include <initializer_list>
#include <string>

namespace kerbina::settings_layout {

inline const QStringList kRoundingCaptions = {
    QStringLiteral("四捨五入"), QStringLiteral("切り上げ"), QStringLiteral("切り捨て")};
inline const QStringList kLevelCaptions = {QStringLiteral("1"),       QStringLiteral("10"),
                                           QStringLiteral("100"),     QStringLiteral("1000"),
                                           QStringLiteral("10000"),   QStringLiteral("100000"),
                                           QStringLiteral("1000000"), QStringLiteral("有効2桁"),
                                           QStringLiteral("有効3桁"), QStringLiteral("有効4桁")};

inline QGroupBox* group(const QString& caption, QLayout* layout) {
    auto* box = new QGroupBox(caption);
    box->setLayout(layout);
    return box;
}

inline QWidget* column(std::initializer_list<QWidget*> widgets) {
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* child : widgets) {
        layout->addWidget(child);
    }
    layout->addStretch();
    return widget;
}

inline QWidget* row(std::initializer_list<QWidget*> widgets) {
    auto* widget = new QWidget;
    auto* layout = new QHBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* child : widgets) {
        layout->addWidget(child, 0, Qt::AlignTop);
    }
    return widget;
}

} // namespace kerbina::settings_layout
