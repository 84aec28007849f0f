#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

class QWidget;

namespace kerbina {

// Every message box, input box and file dialog of the program goes through this helper: the
// caption is the application title, the heading "確認" unless a caller gives another, the buttons
// are named. Tests script the next answers through the hook below, so a test that drives the
// real main window never blocks on a modal box; every text shown is recorded for them too.
class MessageBox {
public:
    enum class Answer { Ok, Yes, No, Cancel };
    // YesNoDefaultNo: for questions whose safe answer is No (Enter and Escape answer No).
    enum class Buttons { Ok, YesNo, YesNoCancel, YesNoDefaultNo };

    static Answer ask(QWidget* parent, const QString& text, Buttons buttons,
                      const QString& heading = QStringLiteral("確認"));
    static void notify(QWidget* parent, const QString& text,
                       const QString& heading = QStringLiteral("確認"));
    static void error(QWidget* parent, const QString& text);

    // One-line input; nothing when cancelled.
    static std::optional<QString> input(QWidget* parent, const QString& caption,
                                        const QString& prompt, bool password = false,
                                        const QString& initial = QString());
    // File dialogs; the empty text when cancelled. `filter` uses Qt's "Name (*.ext)" form. Saving
    // onto an existing file asks first ("上書きしますか？"); No is a cancel.
    static QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                const QString& filter);
    static QString saveFileName(QWidget* parent, const QString& caption, const QString& path,
                                const QString& filter, const QString& defaultSuffix);

    // ---- test hook ----
    // While scripted, no dialog is shown: each box takes the next scripted answer, and a box with
    // no answer left takes Cancel (or nothing) so that a forgotten answer fails the test instead
    // of hanging it.
    static void setScripted(bool scripted);
    static bool isScripted() { return scripted_; }
    static void setNextAnswer(Answer answer);
    static void setNextInput(std::optional<QString> text);
    static void setNextFileName(const QString& path);
    // Texts of the boxes shown since the last call, oldest first; the log is cleared.
    static QStringList takeShownTexts();
    // The buttons of the last box asked, which decide the answer Enter gives.
    static Buttons lastButtons() { return lastButtons_; }

private:
    static bool scripted_;
    static std::deque<Answer> answers_;
    static std::deque<std::optional<QString>> inputs_;
    static std::deque<QString> fileNames_;
    static QStringList shownTexts_;
    static Buttons lastButtons_;
};

} // namespace kerbina
