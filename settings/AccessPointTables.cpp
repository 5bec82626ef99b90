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

bool SplitPairLine(const char* line, std::string_view* key, std::string_view* value,
                   LineVerdict* refusal) {
    LineVerdict ignored;
    LineVerdict& why = refusal != nullptr ? *refusal : ignored;
    const char* comma = line != nullptr ? strchr(line, ',') : nullptr;
    why = comma == nullptr || key == nullptr || value == nullptr ? LineVerdict::NoComma
          : comma == line                                        ? LineVerdict::EmptyKey
          : comma[1] == '\0'                                     ? LineVerdict::EmptyValue
                                                                 : LineVerdict::PairStored;
    if (why != LineVerdict::PairStored) {
        return false;
    }
    *key = std::string_view(line, static_cast<size_t>(comma - line));
    *value = std::string_view(comma + 1);
    return true;
}

bool AddTableLine(const char* line, AccessPointTable* table, LineObservation* seen) {
    LineObservation ignored;
    LineObservation& verdict = seen != nullptr ? *seen : ignored;
    const char* number = TableLineNumber(line);
    AccessPointRecord record;
    verdict.verdict = number == nullptr                    ? LineVerdict::NoNumber
                      : !SplitTableNumber(number, &record) ? LineVerdict::NumberTooLong
                                                           : LineVerdict::TableRecord;
    if (verdict.verdict != LineVerdict::TableRecord) {
        return false;
    }
    table->push_back(record);
    verdict.index = table->size() - 1;
    verdict.record = &table->back();
    return true;
}

bool AddPairLine(const char* line, PairTable* table, LineObservation* seen) {
    LineObservation ignored;
    LineObservation& verdict = seen != nullptr ? *seen : ignored;
    if (!SplitPairLine(line, &verdict.pairKey, &verdict.pairValue, &verdict.verdict)) {
        return false;
    }
    if (table->Find(verdict.pairKey) != nullptr) {
        verdict.verdict = LineVerdict::PairReplaced;
    }
    table->Set(verdict.pairKey, verdict.pairValue);
    return true;
}

bool ReadAccessPointTable(const DataFiles& files, const char* fileName, AccessPointTable* table) {
    table->clear();
    return ReadDataFileLines(files, fileName, kTableLineCapacity, [&](const char* line) {
        LineObservation seen;
        AddTableLine(line, table, &seen);
        TellObserver(files, seen);
    });
}

bool ReadPairTable(const DataFiles& files, PairTable* table) {
    table->Clear();
    return ReadDataFileLines(files, kPairTableFile, kTableLineCapacity, [&](const char* line) {
        LineObservation seen;
        AddPairLine(line, table, &seen);
        TellObserver(files, seen);
    });
}
