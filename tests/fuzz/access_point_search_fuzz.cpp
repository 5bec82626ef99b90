// libFuzzer target: the access-point index against the linear reference. The input is a
// set of table files and dialled numbers in one text, cut into lines as the provider files
// are (CR, LF or CR LF; no empty lines; pieces of 512 bytes). The first byte of a line says
// what the rest is:
//   G  a line of APGEN.csv     P  a line of APPHS.csv     A  a line of APAIR.csv
//   N  a dialled number: area code, "|", local number (no "|": local number alone)
// Every dialled number, and every table number dialled as its own local number and with its
// area code apart, is searched with LocalOnlyIsOk off and on; any difference in hit, prefix,
// suffix or new number aborts. The cases compared are counted and printed at exit.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ReferenceSearch.h"

namespace {

size_t casesCompared = 0;

void PrintCount() {
    std::fprintf(stderr, "access_point_search_fuzz: %zu cases compared\n", casesCompared);
}

// The provider files' line rule, over memory.
std::vector<std::string> Lines(const uint8_t* data, size_t size) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i <= size; ++i) {
        const bool ends = i == size || data[i] == '\r' || data[i] == '\n';
        if (!ends) {
            line += static_cast<char>(data[i]);
        }
        if ((ends && !line.empty()) || line.size() == kTableLineCapacity - 1) {
            lines.push_back(line);
            line.clear();
        }
    }
    return lines;
}

void Compare(const SearchTables& tables, const std::string& area, const std::string& local) {
    for (const bool localOnlyIsOk : {false, true}) {
        const std::string difference =
            CompareSearches(tables, area.c_str(), local.c_str(), localOnlyIsOk);
        ++casesCompared;
        if (!difference.empty()) {
            std::fprintf(stderr, "%s\n", difference.c_str());
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit(PrintCount);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SearchTables tables;
    std::vector<std::string> dialled;
    std::vector<std::string> tableNumbers;
    for (const std::string& line : Lines(data, size)) {
        const char* rest = line.c_str() + 1;
        switch (line[0]) {
            case 'G':
            case 'P':
                if (AddTableLine(rest, line[0] == 'G' ? &tables.general : &tables.phs)) {
                    tableNumbers.push_back(TableLineNumber(rest));
                }
                break;
            case 'A':
                if (AddPairLine(rest, &tables.pairs)) {
                    tableNumbers.push_back(line.substr(1, line.find(',') - 1));
                }
                break;
            case 'N':
                dialled.push_back(line.substr(1));
                break;
            default:
                break;
        }
    }
    tables.BuildIndexes();
    for (const std::string& number : dialled) {
        const size_t bar = number.find('|');
        if (bar == std::string::npos) {
            Compare(tables, "", number);
        } else {
            Compare(tables, number.substr(0, bar), number.substr(bar + 1));
        }
    }
    // The table numbers themselves, so that hits need not be guessed.
    for (size_t i = 0; i < tableNumbers.size() && i < 64; ++i) {
        const std::string& number = tableNumbers[i];
        const size_t hyphen = number.find('-');
        Compare(tables, "", number);
        if (hyphen != std::string::npos && hyphen > 0) {
            Compare(tables, number.substr(0, hyphen), number.substr(hyphen + 1));
        }
    }
    return 0;
}
