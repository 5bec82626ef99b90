// Line rules and readers of the access-point tables.
#include "settings/AccessPointTables.h"

#include <cstring>

#include "settings/DataFiles.h"
#include "settings/PairTable.h"
#include "settings/SettingFileReader.h"

static bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool SplitTableNumber(const char* text, AccessPointRecord* record) {
    if (record == nullptr) {
        return false;
    }
    memset(record, 0, sizeof(*record));
    if (text == nullptr) {
        return true;
    }
    const char* hyphen = strchr(text, '-');
    if (hyphen == nullptr) {
        const size_t length = strlen(text);
        if (length >= sizeof(record->localNumber)) {
            return false;
        }
        memcpy(record->localNumber, text, length);
        return true;
    }
    const size_t areaLength = static_cast<size_t>(hyphen - text);
    if (areaLength >= sizeof(record->areaCode)) {
        return false;
    }
    size_t digits = 0;
    for (const char* p = hyphen + 1; *p != '\0'; ++p) {
        if (!IsDigit(*p)) {
            continue;
        }
        if (digits + 1 >= sizeof(record->localNumber)) {
            memset(record, 0, sizeof(*record));
            return false;
        }
        record->localNumber[digits++] = *p;
    }
    memcpy(record->areaCode, text, areaLength);
    return true;
}

const char* TableLineNumber(const char* line) {
    if (line == nullptr) {
        return nullptr;
    }
    const char* comma = strchr(line, ',');
    if (comma != nullptr) {
        return comma[1] != '\0' ? comma + 1 : nullptr;
    }
    return IsDigit(line[0]) ? line : nullptr;
}

bool SplitPairLine(const char* line, std::string_view* key, std::string_view* value) {
    if (line == nullptr || key == nullptr || value == nullptr) {
        return false;
    }
    const char* comma = strchr(line, ',');
    if (comma == nullptr || comma == line || comma[1] == '\0') {
        return false;
    }
    *key = std::string_view(line, static_cast<size_t>(comma - line));
    *value = std::string_view(comma + 1);
    return true;
}

bool AddTableLine(const char* line, AccessPointTable* table) {
    const char* number = TableLineNumber(line);
    AccessPointRecord record;
    if (number == nullptr || !SplitTableNumber(number, &record)) {
        return false;
    }
    table->push_back(record);
    return true;
}

bool AddPairLine(const char* line, PairTable* table) {
    std::string_view key;
    std::string_view value;
    if (!SplitPairLine(line, &key, &value)) {
        return false;
    }
    table->Set(key, value);
    return true;
}

bool ReadAccessPointTable(const DataFiles& files, const char* fileName, AccessPointTable* table) {
    table->clear();
    return ReadDataFileLines(files, fileName, kTableLineCapacity,
                             [table](const char* line) { AddTableLine(line, table); });
}

bool ReadPairTable(const DataFiles& files, PairTable* table) {
    table->Clear();
    return ReadDataFileLines(files, kPairTableFile, kTableLineCapacity,
                             [table](const char* line) { AddPairLine(line, table); });
}
