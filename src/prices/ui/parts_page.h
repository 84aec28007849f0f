#pragma once

#include <QStringList>
#include <QWidget>

class QPushButton;
class QTreeWidget;

namespace kerbina {

class FolderTree;

// The side page "パーツファイル": the library folders (TreeView1) above the parts of the chosen
// folder (ListView1), and the button "新規フォルダー" (Button8). It only shows and tells what the
// user picked; the parts subsystem does the work and fills it again.
class PartsPage : public QWidget {
    Q_OBJECT

public:
    explicit PartsPage(QWidget* parent = nullptr);

    // The folders, keeping the chosen one when it is still there; `chosen` picks another.
    void showFolders(const QStringList& folders, const QString& chosen = QString());
    // The parts of the chosen folder (each with the folder's name beside it); none clears it.
    void showParts(const QStringList& parts);

    // The chosen folder and part; the empty text when none is chosen.
    QString folder() const;
    QString part() const;
    // Every selected part, in the list's order.
    QStringList selectedParts() const;

    QTreeWidget* partList() const { return parts_; }

signals:
    void folderChosen();
    void partActivated();
    void newFolderClicked();
    // Selected parts were dropped on the folder `target`.
    void partsDropped(const QString& target);

private:
    FolderTree* folders_;
    QTreeWidget* parts_;
    QPushButton* newFolder_;
};

} // namespace kerbina
