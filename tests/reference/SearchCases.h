// Random and adversarial access-point tables and dialled numbers for checking the index
// against the reference: few distinct digits, so that keys are often tails of one another;
// repeated lines; hyphens, blanks, suffixes, area codes and Shift-JIS characters; numbers
// near the field limits. The same seed gives the same cases.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "ReferenceSearch.h"

class SearchCases {
public:
    explicit SearchCases(uint32_t seed) : random_(seed) {}

    // Fills `tables` through the table line rules with up to `lines` lines per file, and
    // indexes them.
    void MakeTables(size_t lines, SearchTables* tables);

    // A dialled area code and local number: mostly a number of the last tables made, dialled
    // in one of the ways subscribers write it; sometimes anything.
    void MakeDialled(std::string* areaCode, std::string* localNumber);

private:
    size_t Below(size_t count) { return std::uniform_int_distribution<size_t>(0, count - 1)(random_); }
    bool OneIn(size_t count) { return Below(count) == 0; }
    std::string Digits(size_t most);
    std::string AreaCode();
    std::string TableNumber();
    std::string Junk(size_t most);

    std::mt19937 random_;
    std::vector<std::string> numbers_;  // the table numbers of the last tables, as written
};
