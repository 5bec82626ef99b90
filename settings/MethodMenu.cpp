// Connection-method menu file.
#include "settings/MethodMenu.h"

#include <cstring>

#include "settings/ByteText.h"
#include "settings/DataFiles.h"
#include "settings/SettingFileReader.h"

namespace {

constexpr int kColumnCount = 4;

void StoreColumn(MethodMenuItem* item, int position, const char* text, size_t length) {
    switch (position) {
        case 0:
            // Column 0 always starts with a digit, and the conversion stops at the first
            // non-digit, so reading from the column start is enough.
            item->kind = ParseDecimal(text);
            break;
        case 1:
            CopyTextN(item->displayName, sizeof(item->displayName), text, length);
            break;
        case 2:
            CopyTextN(item->domainText, sizeof(item->domainText), text, length);
            break;
        case 3:
            CopyTextN(item->accessPointNumber, sizeof(item->accessPointNumber), text, length);
            break;
        default:
            break;
    }
}

}  // namespace

bool ParseMethodMenuLine(const char* line, MethodMenuItem* item) {
    if (line == nullptr || item == nullptr || line[0] < '0' || line[0] > '9') {
        return false;
    }
    memset(item, 0, sizeof(*item));
    int position = 0;
    const char* columnStart = line;
    const char* p = line;
    for (;;) {
        if (*p == '\0' || *p == ',') {
            const size_t length = static_cast<size_t>(p - columnStart);
            if (length > 0) {
                StoreColumn(item, position, columnStart, length);
            }
            if (*p == '\0' || ++position >= kColumnCount) {
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
    return ReadDataFileLines(
        files, kMethodMenuFile, kMethodMenuLineCapacity, [rows, hasPhsRow](const char* line) {
            MethodMenuItem item;
            if (!ParseMethodMenuLine(line, &item)) {
                return;
            }
            if (hasPhsRow != nullptr && strstr(item.displayName, "PHS") != nullptr) {
                *hasPhsRow = true;
            }
            if (rows != nullptr) {
                rows->push_back(item);
            }
        });
}
