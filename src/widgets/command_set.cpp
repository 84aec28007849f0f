#include "widgets/command_set.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace kerbina {

CommandSet::CommandSet(QWidget& window,
                       std::function<void(const std::function<void()>&)> runAsOneChange,
                       std::function<bool()> listPageInFront)
    : window_(window), runAsOneChange_(std::move(runAsOneChange)),
      listPageInFront_(std::move(listPageInFront)) {}

QAction* CommandSet::add(QMenu* menu, const QString& objectName, const QString& caption,
                         const QList<QKeySequence>& keys, CommandPage page,
                         std::function<void()> handler) {
    auto* command = new QAction(caption, &window_);
    command->setObjectName(objectName);
    if (!keys.isEmpty()) {
        command->setShortcuts(keys);
    }
    QObject::connect(command, &QAction::triggered, &window_, [this, page, handler] {
        if (fitsPage(page)) {
            runAsOneChange_(handler);
        }
    });
    menu->addAction(command);
    window_.addAction(command);
    actions_[objectName] = command;
    return command;
}

QAction* CommandSet::find(const QString& objectName) const {
    const auto found = actions_.find(objectName);
    return found == actions_.end() ? nullptr : found->second;
}

bool CommandSet::fitsPage(CommandPage page) const {
    return page == CommandPage::Both || (page == CommandPage::List) == listPageInFront_();
}

} // namespace kerbina
