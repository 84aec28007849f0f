#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>
#include <map>

class QAction;
class QMenu;
class QWidget;

namespace kerbina {

// The page of the quotation a command acts on: a sheet command never runs on the breakdown list,
// where its sheet is hidden, and a list command never on a sheet. Files, views and the commands
// with a list form of their own act on both.
enum class CommandPage { Both, Sheet, List };

// Every menu command of the main window, whoever contributes it: its caption, keys, page and
// handler. A command is an action of the window as well as of its menu, so its keys work whatever
// menu is enabled; the window runs each handler as one change.
class CommandSet {
public:
    // `runAsOneChange` runs a handler (errors shown, files as before when it fails);
    // `listPageInFront` tells which page is in front.
    CommandSet(QWidget& window, std::function<void(const std::function<void()>&)> runAsOneChange,
               std::function<bool()> listPageInFront);

    // Adds a command to `menu` (and to the window). The first key is the one the menu shows.
    QAction* add(QMenu* menu, const QString& objectName, const QString& caption,
                 const QList<QKeySequence>& keys, CommandPage page, std::function<void()> handler);
    QAction* find(const QString& objectName) const;
    const std::map<QString, QAction*>& all() const { return actions_; }

private:
    bool fitsPage(CommandPage page) const;

    QWidget& window_;
    std::function<void(const std::function<void()>&)> runAsOneChange_;
    std::function<bool()> listPageInFront_;
    std::map<QString, QAction*> actions_;
};

} // namespace kerbina
