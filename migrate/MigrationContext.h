// The object of one access-point migration run: the provider's migration settings from
// ISP_INF.csv, the three access-point tables, the counts of the run, and the searches of
// an entry's number over the tables. Everything starts empty or off and is filled by the
// four load operations at the start of the run; nothing survives from one run to the next.
#pragma once

#include <cstddef>

#include "migrate/NumberMatching.h"
#include "settings/AccessPointTables.h"
#include "settings/IspSettings.h"
#include "settings/PairTable.h"

class DataFiles;

// A text setting holds a whole value of a 512-byte line.
constexpr size_t kMigrationTextSize = kIspLineCapacity;

class MigrationContext {
public:
    // `files` is the program directory the provider files are read from; it must outlive
    // the context.
    explicit MigrationContext(const DataFiles& files);
    ~MigrationContext();
    MigrationContext(const MigrationContext&) = delete;
    MigrationContext& operator=(const MigrationContext&) = delete;

    // Reads the fourteen migration keys of ISP_INF.csv. A text key present in the file
    // replaces its member (the last line wins); LocalOnlyIsOk and KeepDomain switch on for a
    // value of TRUE in any case and are never switched off. False only when ISP_INF.csv does
    // not exist (nothing is changed); true also for a file that cannot be opened.
    bool LoadMigrationSettings();

    // Each empties its table, then reads APGEN.csv, APPHS.csv or APAIR.csv. False when the
    // file does not exist (the table stays empty); the run treats that as an empty table.
    bool LoadGeneralTable();
    bool LoadPhsTable();
    bool LoadPairTable();

    // The searches of an entry's number: `areaCode` is empty when the entry has none.
    // True on the first hit, in file order for the two lists and in visiting order for the
    // pair table; `hit` then holds what the entry dials around the old access point (and
    // for the pair table the new number). False, with `hit` empty, on no hit.
    bool FindInGeneralTable(const char* areaCode, const char* localNumber, bool localOnlyIsOk,
                            AccessPointHit* hit) const;
    bool FindInPhsTable(const char* areaCode, const char* localNumber, bool localOnlyIsOk,
                        AccessPointHit* hit) const;
    bool FindInPairTable(const char* areaCode, const char* localNumber, bool localOnlyIsOk,
                         AccessPointHit* hit) const;

    AccessPointTable generalTable;  // APGEN.csv
    AccessPointTable phsTable;      // APPHS.csv
    PairTable pairTable;            // APAIR.csv
    int foundCount = 0;             // proposals made to the user
    int changedCount = 0;           // proposals the user accepted

    // Migration settings, named after their keys; code page 932 text as written in the file.
    bool KeepDomain = false;
    char DialupDomain[kMigrationTextSize] = {};
    char MobileDomain[kMigrationTextSize] = {};
    char FletsIsdnDomain[kMigrationTextSize] = {};
    char AirHDomain[kMigrationTextSize] = {};
    char OldDomain[kMigrationTextSize] = {};
    char OldDialupDomain[kMigrationTextSize] = {};
    char OldMobileDomain[kMigrationTextSize] = {};
    char OldAirHDomain[kMigrationTextSize] = {};
    char DefaultTelNumber[kMigrationTextSize] = {};
    char DefaultMobileNumber[kMigrationTextSize] = {};
    char DefaultFletsIsdnNumber[kMigrationTextSize] = {};
    char UserPrefix[kMigrationTextSize] = {};
    bool LocalOnlyIsOk = false;

private:
    const DataFiles& files_;
};
