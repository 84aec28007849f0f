#include "widgets/message_box.h"

#include "widgets/application_title.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace kerbina {

bool MessageBox::scripted_ = false;
std::deque<MessageBox::Answer> MessageBox::answers_;
std::deque<std::optional<QString>> MessageBox::inputs_;
std::deque<QString> MessageBox::fileNames_;
QStringList MessageBox::shownTexts_;
MessageBox::Buttons MessageBox::lastButtons_ = MessageBox::Buttons::Ok;

namespace {

QString applicationTitle() {
    return QString::fromUtf8(kApplicationTitle);
}

template <typename T> std::optional<T> takeFront(std::deque<T>& queue) {
    if (queue.empty()) {
        return std::nullopt;
    }
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

} // namespace

MessageBox::Answer MessageBox::ask(QWidget* parent, const QString& text, Buttons buttons,
                                   const QString& heading) {
    shownTexts_.append(text);
    lastButtons_ = buttons;
    if (scripted_) {
        return takeFront(answers_).value_or(buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel);
    }
    QMessageBox box(parent);
    box.setWindowTitle(applicationTitle());
    box.setIcon(buttons == Buttons::Ok ? QMessageBox::Information : QMessageBox::Question);
    box.setText(heading);
    box.setInformativeText(text);
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* ok = nullptr;
    switch (buttons) {
    case Buttons::Ok:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        break;
    case Buttons::YesNoCancel:
        cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        [[fallthrough]];
    case Buttons::YesNo:
    case Buttons::YesNoDefaultNo:
        yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(buttons == Buttons::YesNoDefaultNo ? no : yes);
        if (cancel == nullptr) {
            box.setEscapeButton(no);
        }
        break;
    }
    box.exec();
    const auto* clicked = box.clickedButton();
    if (clicked == yes && yes != nullptr) {
        return Answer::Yes;
    }
    if (clicked == no && no != nullptr) {
        return Answer::No;
    }
    if (clicked == ok && ok != nullptr) {
        return Answer::Ok;
    }
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoDefaultNo ? Answer::No
                                                                           : Answer::Cancel;
}

void MessageBox::notify(QWidget* parent, const QString& text, const QString& heading) {
    ask(parent, text, Buttons::Ok, heading);
}

void MessageBox::error(QWidget* parent, const QString& text) {
    shownTexts_.append(text);
    if (scripted_) {
        takeFront(answers_);
        return;
    }
    QMessageBox box(parent);
    box.setWindowTitle(applicationTitle());
    box.setIcon(QMessageBox::Critical);
    box.setText(QStringLiteral("エラー"));
    box.setInformativeText(text);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

std::optional<QString> MessageBox::input(QWidget* parent, const QString& caption,
                                         const QString& prompt, bool password,
                                         const QString& initial) {
    shownTexts_.append(prompt);
    if (scripted_) {
        return takeFront(inputs_).value_or(std::nullopt);
    }
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, caption, prompt,
                                               password ? QLineEdit::Password : QLineEdit::Normal,
                                               initial, &accepted);
    if (!accepted) {
        return std::nullopt;
    }
    return text;
}

QString MessageBox::openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) {
    if (scripted_) {
        return takeFront(fileNames_).value_or(QString());
    }
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString MessageBox::saveFileName(QWidget* parent, const QString& caption, const QString& path,
                                 const QString& filter, const QString& defaultSuffix) {
    QString chosen;
    if (scripted_) {
        chosen = takeFront(fileNames_).value_or(QString());
    } else {
        QFileDialog dialog(parent, caption, path, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix);
        // The overwrite question is ours, in the program's words.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.selectFile(path);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = dialog.selectedFiles().front();
        }
    }
    if (!chosen.isEmpty() && QFileInfo::exists(chosen) &&
        ask(parent,
            QStringLiteral("「%1」は既に存在します。\n上書きしますか？")
                .arg(QFileInfo(chosen).fileName()),
            Buttons::YesNo) != Answer::Yes) {
        return QString();
    }
    return chosen;
}

void MessageBox::setScripted(bool scripted) {
    scripted_ = scripted;
    answers_.clear();
    inputs_.clear();
    fileNames_.clear();
    shownTexts_.clear();
}

void MessageBox::setNextAnswer(Answer answer) {
    answers_.push_back(answer);
}
void MessageBox::setNextInput(std::optional<QString> text) {
    inputs_.push_back(std::move(text));
}
void MessageBox::setNextFileName(const QString& path) {
    fileNames_.push_back(path);
}

QStringList MessageBox::takeShownTexts() {
    QStringList texts;
    texts.swap(shownTexts_);
    return texts;
}

} // namespace kerbina
