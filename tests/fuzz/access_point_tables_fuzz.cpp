// libFuzzer target: any bytes as APGEN.csv, APPHS.csv and APAIR.csv. Each table must hold
// exactly the records of its line rule, split into fields that never overflow, and the pair
// table must hold the last value of every key in its fixed visiting order.
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "FuzzModels.h"
#include "settings/AccessPointTables.h"
#include "settings/DataFiles.h"
#include "settings/MemoryDataFiles.h"
#include "settings/PairTable.h"

namespace {

// The record of one number text; false when a part would not fit its field.
bool ModelRecord(const std::string& number, std::string* areaCode, std::string* localNumber) {
    const size_t hyphen = number.find('-');
    if (hyphen == std::string::npos) {
        *areaCode = "";
        *localNumber = number;
        return number.size() <= RAS_MaxPhoneNumber;
    }
    *areaCode = number.substr(0, hyphen);
    localNumber->clear();
    for (size_t i = hyphen + 1; i < number.size(); ++i) {
        if (number[i] >= '0' && number[i] <= '9') {
            *localNumber += number[i];
        }
    }
    return areaCode->size() <= RAS_MaxAreaCode && localNumber->size() <= RAS_MaxPhoneNumber;
}

void CheckList(const AccessPointTable& table, const std::vector<std::string>& lines) {
    size_t next = 0;
    for (const std::string& line : lines) {
        const size_t comma = line.find(',');
        std::string number;
        if (comma != std::string::npos) {
            if (comma + 1 == line.size()) {
                continue;
            }
            number = line.substr(comma + 1);
        } else if (line[0] >= '0' && line[0] <= '9') {
            number = line;
        } else {
            continue;
        }
        std::string areaCode, localNumber;
        if (!ModelRecord(number, &areaCode, &localNumber)) {
            continue;
        }
        Check(next < table.size(), "a record is missing");
        const AccessPointRecord& record = table[next++];
        Check(memchr(record.areaCode, '\0', sizeof(record.areaCode)) != nullptr &&
                  memchr(record.localNumber, '\0', sizeof(record.localNumber)) != nullptr,
              "a field without its terminator");
        Check(areaCode == record.areaCode && localNumber == record.localNumber,
              "a record differs from its line");
    }
    Check(next == table.size(), "a record that no line gives");
}

uint32_t ModelBucket(const std::string& key) {
    uint32_t h = 0;
    for (const char c : key) {
        h = h * 33u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
    }
    return h % 17u;
}

void CheckPairs(const PairTable& table, const std::vector<std::string>& lines) {
    // Keys in the order they first appear, each with its last value.
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const std::string& line : lines) {
        const size_t comma = line.find(',');
        if (comma == std::string::npos || comma == 0 || comma + 1 == line.size()) {
            continue;
        }
        const std::string key = line.substr(0, comma);
        bool seen = false;
        for (auto& pair : pairs) {
            if (pair.first == key) {
                pair.second = line.substr(comma + 1);
                seen = true;
            }
        }
        if (!seen) {
            pairs.emplace_back(key, line.substr(comma + 1));
        }
    }
    // Buckets 0 to 16, and in each the key added last first.
    std::vector<std::pair<std::string, std::string>> order;
    for (uint32_t bucket = 0; bucket < 17; ++bucket) {
        for (size_t i = pairs.size(); i-- > 0;) {
            if (ModelBucket(pairs[i].first) == bucket) {
                order.push_back(pairs[i]);
            }
        }
    }
    Check(table.size() == order.size(), "pair count");
    size_t at = 0;
    for (const PairTable::Pair& pair : table) {
        Check(at < order.size() && pair.key == order[at].first && pair.value == order[at].second,
              "pair table order or value");
        const std::string* found = table.Find(pair.key);
        Check(found != nullptr && *found == pair.value, "Find disagrees with the walk");
        ++at;
    }
    Check(at == order.size(), "the walk ends early");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Pair lines are compared key by key; beyond some thousands of lines that check alone
    // would set the pace.
    if (size > 64 * 1024) {
        return 0;
    }
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    MemoryDataFiles files;
    for (const char* name : {kGeneralTableFile, kPhsTableFile, kPairTableFile}) {
        files.Hold(name, bytes.data(), bytes.size());
    }
    const std::vector<std::string> lines = ModelLines(bytes, kTableLineCapacity);

    AccessPointTable general(3);  // what an earlier reading left is replaced
    Check(ReadAccessPointTable(files, kGeneralTableFile, &general), "a held file is present");
    CheckList(general, lines);
    AccessPointTable phs;
    Check(ReadAccessPointTable(files, kPhsTableFile, &phs), "a held file is present");
    Check(phs.size() == general.size(), "the two lists read alike");

    PairTable pairs;
    pairs.Set("stale", "entry");
    Check(ReadPairTable(files, &pairs), "a held file is present");
    CheckPairs(pairs, lines);
    return 0;
}
