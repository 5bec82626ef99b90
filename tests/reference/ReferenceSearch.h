// The access-point searches as a walk over the whole table in rank order: the reference that
// the shipped index must agree with, kept for tests, the fuzz target and the benchmarks.
#pragma once

#include <string>

#include "migrate/AccessPointIndex.h"
#include "migrate/NumberMatching.h"
#include "settings/AccessPointTables.h"
#include "settings/PairTable.h"

// First record of `table`, in file order, that matches (MatchAccessPointRecord); `hit` gets
// its prefix and suffix. False, with `hit` all empty, when none does.
bool ReferenceFind(const AccessPointTable& table, const char* areaCode, const char* localNumber,
                   bool localOnlyIsOk, AccessPointHit* hit);

// First pair, in visiting order, whose old number (split with SplitTableNumber; a key that
// does not split never matches) matches; `hit` also gets its new number. A value too long
// for `newNumber` never matches.
bool ReferenceFind(const PairTable& table, const char* areaCode, const char* localNumber,
                   bool localOnlyIsOk, AccessPointHit* hit);

// The three tables of a migration, each with its index.
struct SearchTables {
    AccessPointTable general;
    AccessPointTable phs;
    PairTable pairs;
    AccessPointIndex generalIndex;
    AccessPointIndex phsIndex;
    AccessPointIndex pairIndex;

    void BuildIndexes();
};

// Searches the three tables for one dialled number, with the index and by reference. Empty
// when both agree on hit, prefix, suffix and new number; otherwise what differs. `hits`, when
// given, counts the tables in which the reference found the number.
std::string CompareSearches(const SearchTables& tables, const char* areaCode,
                            const char* localNumber, bool localOnlyIsOk, size_t* hits = nullptr);
