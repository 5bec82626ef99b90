// libFuzzer target: any bytes as a run file of the change journal, as they are and with the
// check line made right by zlib's crc32 (so that the lines themselves are reached). What
// the reader takes as whole stays within the record's limits and survives the writer:
// written and read again, it is the same record, written the same.
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzModels.h"
#include "journal/JournalRecord.h"

namespace {

void CheckWhole(const std::string& bytes) {
    JournalRun run;
    if (ParseJournalRun(bytes, &run) != JournalRead::Whole) {
        return;
    }
    for (const JournalChange& c : run.changes) {
        Check(c.writesDone <= c.writes && c.writes <= 2, "writes within their count");
        for (const EntryState* s : {&c.before, &c.after}) {
            Check(s->properties.size() <= kMaxEntrySize && s->userName.size() <= UNLEN &&
                      s->password.size() <= PWLEN,
                  "a state within its limits");
        }
    }
    const std::string written = FormatJournalRun(run);
    JournalRun again;
    Check(ParseJournalRun(written, &again) == JournalRead::Whole, "what is written reads whole");
    Check(FormatJournalRun(again) == written, "the same record after the round trip");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckWhole(bytes);
    // The body up to its own check line (or all of it), with the right one after it.
    std::string body = bytes.substr(0, bytes.rfind("\ncheck ") + 1);
    if (body.empty() || body.back() != '\n') {
        body = bytes + "\n";
    }
    char check[32];
    snprintf(check, sizeof(check), "check %08lX\n",
             crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())));
    CheckWhole(body + check);
    return 0;
}
