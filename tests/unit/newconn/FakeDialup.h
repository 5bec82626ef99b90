// A phonebook for the entry-creation tests: plain functions behind a DialupApi that keep
// entries in memory, record every call and return programmed results.
#pragma once

#include <string>
#include <vector>

#include "dialup/DialupApi.h"

struct FakeEntry {
    std::string name;
    std::string phonebook;             // the path the 2000 form lists it with
    RasDword size = 0;                 // the dwSize argument of the write
    std::vector<unsigned char> bytes;  // all `size` bytes that were written
    RASENTRYA record{};                // the first sizeof(RASENTRYA) of them
    bool hasDialParams = false;
    std::string userName;
    std::string password;
};

struct FakePhonebook {
    std::vector<FakeEntry> entries;

    // Programmed results. A non-zero enumResult fails every enumeration; setResults are
    // taken one per RasSetEntryPropertiesA call, then 0.
    RasDword enumResult = 0;
    bool shortFormOnly = false;  // lists only in the short form, as before Windows 2000
    RasDword probeResult = ERROR_BUFFER_TOO_SMALL;  // RasGetEntryPropertiesA for ""
    RasDword probeSize = kRasEntrySize;
    RasDword namedProbeResult = 0;  // for a name; 0 = 603 when it exists, else 623
    RasDword namedReadResult = 0;   // reading an existing entry's properties
    // false: a listing (or a read of an entry) that fits reports success but leaves the
    // count, the records (or the buffer) as they were given
    bool enumFillsCount = true;
    bool enumFillsRecords = true;
    bool namedReadFills = true;
    std::vector<RasDword> setResults;
    RasDword dialParamsResult = 0;
    RasDword deleteResult = 0;

    // What was seen: "Enum", "Probe:<name>", "Get:<name>" (a read into a buffer),
    // "Set:<name>", "Delete:<name>", "DialParams:<name>" in call order; a call given a
    // phonebook has "|<phonebook>" after the name.
    std::vector<std::string> calls;
    std::vector<RasDword> enumStatedSizes;
    std::vector<RasDword> enumFirstRecordSizes;
    RASDIALPARAMSA lastDialParams{};
    RasBool lastRemovePassword = -1;

    FakeEntry* Find(const std::string& name);
    void Add(const std::string& name, const char* localNumber = "0000");
};

// The one phonebook behind FakeDialupApi(); Reset() empties it and clears every program.
FakePhonebook& Fake();
void ResetFake();
DialupApi FakeDialupApi();
