// The user's side of the contexts the tool runs only to read: a user who is shown what the
// program would show and keeps it, and a migration side that declines every proposal and
// has no progress window.
#pragma once

#include <vector>

#include "migrate/MigrationUi.h"
#include "ui/UserSide.h"

class QuietUser : public UserSide {
public:
    void ShowProgramMessage(const Message& m, MessageIcon) override { shown.push_back(m); }
    void ShowAppMessage(const Message& m, MessageIcon) override { shown.push_back(m); }
    bool AskProgramQuestion(const Message&) override { return false; }
    std::vector<Message> shown;
};

class DecliningMigrationUi : public MigrationUi {
public:
    bool ConfirmAccessPointChange(AccessPointChangeFields&) override { return false; }
    bool ConfirmUserNameChange(UserNameChangeFields&) override { return false; }
    bool HasProgressWindow() const override { return false; }
    void MigrationStart(unsigned) override {}
    void MigrationStep(unsigned) override {}
    void MigrationEntry(const char*) override {}
    void MigrationFinished(int, int) override {}
};
