// RASSIM_FAIL and the call record.
#include "sim/SimFaults.h"

#include <cstdlib>
#include <map>
#include <vector>

#include "sim/SimPlatform.h"
#include "sim/SimRasApi.h"

namespace {

void TrimBlanks(std::string* text) {
    const size_t first = text->find_first_not_of(" \t");
    if (first == std::string::npos) {
        text->clear();
        return;
    }
    const size_t last = text->find_last_not_of(" \t");
    *text = text->substr(first, last - first + 1);
}

bool IsDecimal(const std::string& text, size_t maxDigits) {
    return !text.empty() && text.size() <= maxDigits &&
           text.find_first_not_of("0123456789") == std::string::npos;
}

// A plain decimal number that fits 32 bits.
bool ParseCode(std::string text, RasDword* code) {
    TrimBlanks(&text);
    if (!IsDecimal(text, 10)) {
        return false;
    }
    const unsigned long long value = strtoull(text.c_str(), nullptr, 10);
    if (value > 0xFFFFFFFFull) {
        return false;
    }
    *code = static_cast<RasDword>(value);
    return true;
}

// What follows the name: "code", "after:code", "empty" or "kill".
bool ParseAction(std::string action, SimFault* fault) {
    const size_t colon = action.find(':');
    std::string word = action.substr(0, colon);
    TrimBlanks(&word);
    if (colon == std::string::npos) {
        if (word == "empty" || word == "kill") {
            fault->mode = word == "empty" ? SimFaultMode::Empty : SimFaultMode::Kill;
            return true;
        }
        fault->mode = SimFaultMode::Fail;
        return ParseCode(word, &fault->code);
    }
    fault->mode = SimFaultMode::After;
    return word == "after" && ParseCode(action.substr(colon + 1), &fault->code);
}

// Calls of each operation since the process started or the record was last reset, and,
// while recording, every call's operation name in order.
struct CallRecord {
    std::map<std::string, unsigned long> counts;
    bool recording = false;
    std::vector<std::string> calls;
};

CallRecord& Record() {
    static CallRecord record;
    return record;
}

}  // namespace

SimFault ParseSimFault(const std::string& list, const char* operation, unsigned long call) {
    size_t pos = 0;
    while (pos <= list.size()) {
        size_t comma = list.find(',', pos);
        if (comma == std::string::npos) {
            comma = list.size();
        }
        const std::string item = list.substr(pos, comma - pos);
        pos = comma + 1;
        const size_t colon = item.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        std::string name = item.substr(0, colon);
        unsigned long only = 0;  // 0: every call
        const size_t hash = name.find('#');
        if (hash != std::string::npos) {
            std::string ordinal = name.substr(hash + 1);
            TrimBlanks(&ordinal);
            if (!IsDecimal(ordinal, 9) || (only = strtoul(ordinal.c_str(), nullptr, 10)) == 0) {
                continue;
            }
            name.resize(hash);
        }
        TrimBlanks(&name);
        SimFault fault;
        if (name != operation || (only != 0 && only != call) ||
            !ParseAction(item.substr(colon + 1), &fault)) {
            continue;
        }
        return fault;
    }
    return SimFault();
}

SimFault NextSimFault(const char* operation) {
    CallRecord& record = Record();
    if (record.recording) {
        record.calls.push_back(operation);
    }
    const unsigned long call = ++record.counts[operation];
    std::string list;
    if (!ReadSimEnvironment("RASSIM_FAIL", &list)) {
        return SimFault();
    }
    return ParseSimFault(list, operation, call);
}

void ResetSimCallRecord(bool recording) {
    CallRecord& record = Record();
    record.counts.clear();
    record.calls.clear();
    record.recording = recording;
}

std::vector<std::string> SimCallRecord() {
    return Record().calls;
}
