#pragma once

#include "prices/parts_library.h"
#include "widgets/subsystem.h"

namespace kerbina {

class PartsPage;

// The parts library: the side page "パーツファイル" and its commands, in the part list's context
// menu and in "編集". Saving and loading run through the host as one change of the quotation;
// the library's own file work is done by PartsLibrary, after which the page is filled again from
// the folders, whether the work succeeded or not.
class PartsSubsystem final : public Subsystem {
public:
    explicit PartsSubsystem(SubsystemHost& host);

    std::vector<SidePage> sidePages() override;
    void addCommands(std::string_view place, QMenu& menu, CommandSet& commands) override;

private:
    void savePart();
    void loadPart();
    void removePart();
    void removeFolder();
    void createFolder();
    void moveParts(const QString& target);

    void showFolders(const QString& chosen = QString());
    void showParts();
    // Runs one piece of library file work; its failure is shown.
    void runFileWork(const std::function<void()>& work);
    QString title() const;

    SubsystemHost& host_;
    PartsLibrary library_;
    PartsPage* page_;
};

} // namespace kerbina
