// The migration driver: one run over every phonebook entry.
#include <cstddef>
#include <string>
#include <vector>

#include "dialup/PhonebookEntries.h"
#include "migrate/MigrationContext.h"
#include "migrate/MigrationMessages.h"
#include "res/resource.h"

void MigrationContext::TellNeedAdministrator(size_t from) {
    if (needAdministrator.size() > from) {
        const std::string list = EntryNameList(
            std::vector<std::string>(needAdministrator.begin() + static_cast<std::ptrdiff_t>(from),
                                     needAdministrator.end()));
        Message refused{IDS_ENTRIES_NEED_ADMINISTRATOR};
        refused.text = list.c_str();
        user_.ShowAppMessage(refused, MessageIcon::Warning);
    }
}

int MigrationContext::RunMigration() {
    if (!LoadMigrationSettings()) {
        user_.ShowAppMessage(Message{IDS_NO_ISP_SETTINGS}, MessageIcon::Warning);
        return 1;
    }
    // A missing table is an empty table.
    LoadGeneralTable();
    LoadPhsTable();
    LoadPairTable();

    std::vector<PhonebookEntryName> entries;
    if (EnumerateEntries(api_, &entries) != 0) {
        user_.ShowAppMessage(Message{IDS_PHONEBOOK_READ_FAILED}, MessageIcon::Warning);
        return 0;
    }
    const bool progress = ui_.HasProgressWindow();
    if (progress) {
        ui_.MigrationStart(static_cast<unsigned>(entries.size()));
    }
    if (entries.empty()) {
        user_.ShowAppMessage(Message{IDS_NO_DIALUP_ENTRIES}, MessageIcon::Information);
        return 1;
    }

    // What the user may not change is told before the first proposal, and not proposed.
    std::vector<bool> namedBefore(entries.size(), false);
    for (size_t i = 0; i < entries.size() && !allUsersChangeable; ++i) {
        namedBefore[i] =
            entries[i].allUsers && ProposesAccessPoint(entries[i].name, entries[i].phonebook);
        if (namedBefore[i]) {
            NoteNeedsAdministrator(entries[i].name);
        }
    }
    const size_t toldBefore = needAdministrator.size();
    TellNeedAdministrator(0);

    int result = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const char* name = entries[i].name;
        if (progress) {
            ui_.MigrationStep(static_cast<unsigned>(i));
            ui_.MigrationEntry(name);
        }
        namedBefore_ = namedBefore[i];
        result = ExamineEntry(name, entries[i].phonebook);
    }
    namedBefore_ = false;
    if (!notExamined.empty()) {
        const std::string list = NotExaminedList(notExamined);
        Message unread{IDS_ENTRIES_NOT_EXAMINED};
        unread.text = list.c_str();
        user_.ShowAppMessage(unread, MessageIcon::Warning);
    }
    TellNeedAdministrator(toldBefore);
    // Entries named as not the user's to change needed it all the same: not "nothing to change".
    const int found = foundCount == 0 && !needAdministrator.empty() ? kNamedNotFound : foundCount;
    if (progress) {
        ui_.MigrationFinished(changedCount, found);
    } else {
        user_.ShowAppMessage(FinalMigrationMessage(changedCount, found), MessageIcon::Information);
    }
    return result;
}
