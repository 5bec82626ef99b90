// libFuzzer target: any bytes as a journal run file, also with its check line made right (to
// reach the lines): what reads as whole keeps the limits and survives the writer unchanged.
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzModels.h"
#include "journal/JournalRecord.h"

namespace {

void CheckWhole(const std::string& bytes) {
    JournalRun run, again;
    if (ParseJournalRun(bytes, &run) != JournalRead::Whole) {
        return;
    }
    for (const JournalChange& c : run.changes) {
        Check(c.writesDone <= c.writes && c.writes <= 2 &&
                  c.before.properties.size() <= kMaxEntrySize &&
                  c.after.properties.size() <= kMaxEntrySize && c.before.userName.size() <= UNLEN,
              "a change within the record's limits");
    }
    const std::string written = FormatJournalRun(run);
    Check(ParseJournalRun(written, &again) == JournalRead::Whole &&
              FormatJournalRun(again) == written,
          "the same record after the round trip");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckWhole(bytes);
    std::string body = bytes.substr(0, bytes.rfind("\ncheck ") + 1);  // up to its own check
    body = body.empty() ? bytes + "\n" : body;
    char check[32];
    snprintf(check, sizeof(check), "check %08lX\n",
             crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())));
    CheckWhole(body + check);
    return 0;
}
