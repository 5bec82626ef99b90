// Messages of a migration run chosen by numbers.
#include "migrate/MigrationMessages.h"

#include <cstdio>

#include "res/resource.h"

namespace {

struct ChangeFailure {
    RasDword error;
    unsigned textId;
};

const ChangeFailure kChangeFailures[] = {
    {ERROR_BUFFER_INVALID, IDS_CHANGE_FAILED_610},
    {ERROR_CANNOT_OPEN_PHONEBOOK, IDS_CHANGE_FAILED_621},
    {ERROR_OUTOFMEMORY_, IDS_CHANGE_FAILED_14},
    {ERROR_INVALID_USER_BUFFER_, IDS_CHANGE_FAILED_1784},
};

}  // namespace

Message FinalMigrationMessage(int changedCount, int foundCount) {
    if (foundCount <= 0) {
        return Message{IDS_NOTHING_TO_CHANGE};
    }
    Message message{IDS_FOUND_NOT_CHANGED};
    message.number = foundCount;
    if (changedCount > 0) {
        message.textId = IDS_CHANGED_COUNT;
        message.number = changedCount;
    }
    return message;
}

Message ChangeFailureMessage(RasDword error) {
    Message message{IDS_CHANGE_FAILED_OTHER};
    message.number = static_cast<int>(error);
    for (const ChangeFailure& failure : kChangeFailures) {
        if (failure.error == error) {
            message.textId = failure.textId;
        }
    }
    return message;
}

std::string NotExaminedList(const std::vector<NotExaminedEntry>& entries) {
    static const char kMore[] = "\n...";
    std::string list;
    for (size_t i = 0; i < entries.size(); ++i) {
        char error[16];
        snprintf(error, sizeof(error), "%lu", static_cast<unsigned long>(entries[i].error));
        const std::string line = (i == 0 ? "[" : "\n[") + entries[i].name + "] (" + error + ")";
        // Room for the ending is kept while later lines could still be left out.
        const size_t reserve = i + 1 < entries.size() ? sizeof(kMore) - 1 : 0;
        if (list.size() + line.size() + reserve > kNotExaminedListBytes) {
            list += list.empty() ? kMore + 1 : kMore;
            break;
        }
        list += line;
    }
    return list;
}
