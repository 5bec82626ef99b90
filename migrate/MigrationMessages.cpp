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
    if (foundCount == 0) {
        return Message{IDS_NOTHING_TO_CHANGE};
    }
    Message message{IDS_FOUND_NOT_CHANGED};
    message.number = foundCount;
    if (changedCount > 0 || foundCount < 0) {
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

namespace {

// One line per entry, in order, joined by line breaks; lines that would take the list
// beyond kNotExaminedListBytes are left out and "..." ends the list instead.
template <typename Line>
std::string CappedList(size_t count, Line line) {
    static const char kMore[] = "\n...";
    std::string list;
    for (size_t i = 0; i < count; ++i) {
        const std::string next = (i == 0 ? "" : "\n") + line(i);
        // Room for the ending is kept while later lines could still be left out.
        const size_t reserve = i + 1 < count ? sizeof(kMore) - 1 : 0;
        if (list.size() + next.size() + reserve > kNotExaminedListBytes) {
            list += list.empty() ? kMore + 1 : kMore;
            break;
        }
        list += next;
    }
    return list;
}

}  // namespace

std::string NotExaminedList(const std::vector<NotExaminedEntry>& entries) {
    return CappedList(entries.size(), [&](size_t i) {
        char error[16];
        snprintf(error, sizeof(error), "%lu", static_cast<unsigned long>(entries[i].error));
        return "[" + entries[i].name + "] (" + error + ")";
    });
}

std::string EntryNameList(const std::vector<std::string>& names) {
    return CappedList(names.size(), [&](size_t i) { return "[" + names[i] + "]"; });
}
