// Messages of a migration run chosen by numbers.
#include "migrate/MigrationMessages.h"

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
