// The migration driver: one run over every phonebook entry.
#include <string>
#include <vector>

#include "dialup/PhonebookEntries.h"
#include "migrate/MigrationContext.h"
#include "migrate/MigrationMessages.h"
#include "res/resource.h"

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

    int result = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const char* name = entries[i].name;
        if (progress) {
            ui_.MigrationStep(static_cast<unsigned>(i));
            ui_.MigrationEntry(name);
        }
        result = ExamineEntry(name, entries[i].phonebook);
    }
    if (!notExamined.empty()) {
        const std::string list = NotExaminedList(notExamined);
        Message unread{IDS_ENTRIES_NOT_EXAMINED};
        unread.text = list.c_str();
        user_.ShowAppMessage(unread, MessageIcon::Warning);
    }
    if (!needAdministrator.empty()) {
        const std::string list = EntryNameList(needAdministrator);
        Message refused{IDS_ENTRIES_NEED_ADMINISTRATOR};
        refused.text = list.c_str();
        user_.ShowAppMessage(refused, MessageIcon::Warning);
    }
    if (progress) {
        ui_.MigrationFinished(changedCount, foundCount);
    } else {
        user_.ShowAppMessage(FinalMigrationMessage(changedCount, foundCount),
                             MessageIcon::Information);
    }
    return result;
}
