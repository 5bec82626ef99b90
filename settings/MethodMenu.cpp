// Connection-method menu file.
#include "settings/MethodMenu.h"

#include <cstring>

#include "settings/ByteText.h"
#include "settings/DataFiles.h"
#include "settings/ReadObserver.h"
#include "settings/SettingFileReader.h"

namespace {

// False when a text column had to be cut.
bool StoreColumn(MethodMenuItem* item, int position, const char* text, size_t length) {
    switch (position) {
        case 0:
            // Column 0 always starts with a digit, and the conversion stops at the first
            // non-digit, so reading from the column start is enough.
            item->kind = ParseDecimal(text);
            return true;
        case 1:
            return CopyTextN(item->displayName, sizeof(item->displayName), text, length);
        case 2:
            return CopyTextN(item->domainText, sizeof(item->domainText), text, length);
        case 3:
            return CopyTextN(item->accessPointNumber, sizeof(item->accessPointNumber), text,
                             length);
        default:
            return true;
    }
}

}  // namespace

bool ParseMethodMenuLine(const char* line, MethodMenuItem* item, MethodLineFacts* facts) {
    if (line == nullptr || item == nullptr || line[0] < '0' || line[0] > '9') {
        return false;
    }
    memset(item, 0, sizeof(*item));
    MethodLineFacts ignored;
    MethodLineFacts& seen = facts != nullptr ? *facts : ignored;
    seen = MethodLineFacts{};
    int position = 0;
    const char* columnStart = line;
    const char* p = line;
    for (;;) {
        if (*p == '\0' || *p == ',') {
            const size_t length = static_cast<size_t>(p - columnStart);
            if (length > 0) {
                seen.cut[position] = !StoreColumn(item, position, columnStart, length);
            }
            seen.columns = position + 1;
            if (*p == '\0') {
                break;
            }
            if (++position >= kMethodColumnCount) {
                seen.extraColumns = p[1] != '\0';
                break;
            }
            columnStart = ++p;
            continue;
        }
        // A lead byte takes the next byte with it, even a comma, so a pair never splits;
        // a lead byte at the very end of the line stands alone.
        if (IsLeadByte932(static_cast<unsigned char>(*p)) && p[1] != '\0') {
            p += 2;
        } else {
            ++p;
        }
    }
    return true;
}

bool LoadMethodMenu(const DataFiles& files, std::vector<MethodMenuItem>* rows, bool* hasPhsRow) {
    if (hasPhsRow != nullptr) {
        *hasPhsRow = false;
    }
    if (rows != nullptr) {
        rows->clear();
    }
    size_t count = 0;
    return ReadDataFileLines(
        files, kMethodMenuFile, kMethodMenuLineCapacity, [&](const char* line) {
            MethodMenuItem item;
            MethodLineFacts facts;
            LineObservation seen;
            seen.verdict = LineVerdict::NotARow;
            if (ParseMethodMenuLine(line, &item, &facts)) {
                if (hasPhsRow != nullptr && strstr(item.displayName, "PHS") != nullptr) {
                    *hasPhsRow = true;
                }
                if (rows != nullptr) {
                    rows->push_back(item);
                }
                seen.verdict = LineVerdict::MethodRow;
                seen.index = count++;
                seen.row = &item;
                seen.columns = &facts;
            }
            TellObserver(files, seen);
        });
}
