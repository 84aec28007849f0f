#pragma once

#include "cover/title_book.h"

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QWidget;

namespace kerbina {

// The edit dialog of one entry of the addressee book or a master list: "名　称", "分　類", the
// honorific and, for addressees with per-customer numbering, "ヘッダー", "見積番号桁" and
// "初期番号". "登　録" accepts, "キャンセル" rejects; the caller stores what was entered.
class TitleEntryBox : public QDialog {
    Q_OBJECT

public:
    explicit TitleEntryBox(QWidget* parent = nullptr);

    // Shows an entry (a new one has id 0) under a heading; `groups` are offered for "分　類".
    void load(const TitleEntry& entry, const std::string& heading, bool numberingShown,
              const std::vector<std::string>& groups);
    // The loaded entry with what the dialog holds. Hidden numbering fields keep the loaded
    // values.
    TitleEntry entered() const;

    QLabel* heading() const { return heading_; }
    QLineEdit* nameEdit() const { return name_; }
    QComboBox* groupEdit() const { return group_; }
    QComboBox* honorificEdit() const { return honorific_; }
    QLineEdit* prefixEdit() const { return prefix_; }
    QSpinBox* widthEdit() const { return width_; }
    QSpinBox* counterEdit() const { return counter_; }
    bool numberingShown() const { return numberingShown_; }

private:
    TitleEntry loaded_;
    bool numberingShown_ = false;
    QLabel* heading_ = nullptr;
    QLineEdit* name_ = nullptr;
    QComboBox* group_ = nullptr;
    QComboBox* honorific_ = nullptr;
    QWidget* numbering_ = nullptr;
    QLineEdit* prefix_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* counter_ = nullptr;
};

} // namespace kerbina
