// Linear access-point searches.
#include "ReferenceSearch.h"

#include <cstring>

namespace {

void ClearHit(AccessPointHit* hit) {
    hit->prefix[0] = '\0';
    hit->suffix[0] = '\0';
    hit->newNumber[0] = '\0';
}

}  // namespace

bool ReferenceFind(const AccessPointTable& table, const char* areaCode, const char* localNumber,
                   bool localOnlyIsOk, AccessPointHit* hit) {
    ClearHit(hit);
    for (const AccessPointRecord& record : table) {
        if (MatchAccessPointRecord(record, areaCode, localNumber, localOnlyIsOk, hit->prefix,
                                   hit->suffix)) {
            return true;
        }
    }
    return false;
}

bool ReferenceFind(const PairTable& table, const char* areaCode, const char* localNumber,
                   bool localOnlyIsOk, AccessPointHit* hit) {
    ClearHit(hit);
    for (const PairTable::Pair& pair : table) {
        AccessPointRecord record;
        if (pair.value.size() >= sizeof(hit->newNumber) ||
            !SplitTableNumber(pair.key.c_str(), &record)) {
            continue;
        }
        if (MatchAccessPointRecord(record, areaCode, localNumber, localOnlyIsOk, hit->prefix,
                                   hit->suffix)) {
            memcpy(hit->newNumber, pair.value.data(), pair.value.size());
            hit->newNumber[pair.value.size()] = '\0';
            return true;
        }
    }
    return false;
}

void SearchTables::BuildIndexes() {
    generalIndex.Build(general);
    phsIndex.Build(phs);
    pairIndex.Build(pairs);
}

namespace {

std::string Describe(bool found, const AccessPointHit& hit) {
    if (!found) {
        return "no hit";
    }
    return "hit [" + std::string(hit.prefix) + "|" + hit.newNumber + "|" + hit.suffix + "]";
}

template <class Table>
std::string Compare(const char* name, const Table& table, const AccessPointIndex& index,
                    const char* areaCode, const char* localNumber, bool localOnlyIsOk,
                    size_t* hits) {
    AccessPointHit indexed;
    AccessPointHit reference;
    memset(&indexed, 'Z', sizeof(indexed));
    memset(&reference, 'Y', sizeof(reference));
    const bool indexedFound = index.Find(areaCode, localNumber, localOnlyIsOk, &indexed);
    const bool referenceFound =
        ReferenceFind(table, areaCode, localNumber, localOnlyIsOk, &reference);
    if (hits != nullptr && referenceFound) {
        ++*hits;
    }
    if (indexedFound == referenceFound && strcmp(indexed.prefix, reference.prefix) == 0 &&
        strcmp(indexed.suffix, reference.suffix) == 0 &&
        strcmp(indexed.newNumber, reference.newNumber) == 0) {
        return "";
    }
    return std::string(name) + " table, area [" + areaCode + "] number [" + localNumber +
           "] LocalOnlyIsOk " + (localOnlyIsOk ? "on" : "off") + ": index " +
           Describe(indexedFound, indexed) + ", reference " + Describe(referenceFound, reference);
}

}  // namespace

std::string CompareSearches(const SearchTables& tables, const char* areaCode,
                            const char* localNumber, bool localOnlyIsOk, size_t* hits) {
    std::string differences = Compare("general", tables.general, tables.generalIndex, areaCode,
                                      localNumber, localOnlyIsOk, hits);
    differences +=
        Compare("PHS", tables.phs, tables.phsIndex, areaCode, localNumber, localOnlyIsOk, hits);
    return differences + Compare("pair", tables.pairs, tables.pairIndex, areaCode, localNumber,
                                 localOnlyIsOk, hits);
}
