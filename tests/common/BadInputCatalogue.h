// The table of the bad-input catalogue (tests/data/bad-input/catalogue.txt), read alike by
// the native catalogue test and the GUI tests: one row per line, six columns separated by
// " | ", items within a column by ";", "-" for none. Texts stay UTF-8 as written.
#pragma once

#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

struct CatalogueRow {
    std::string file;  // a file of the folder, "@directory" or "@64MiB:name"
    std::string as;    // the name it takes in the kit
    std::vector<std::string> read;
    std::vector<std::string> ignored;
    std::vector<std::string> messages;  // string ids, "IDS_X" or "IDS_X(n)"
    std::vector<std::string> neverWritten;
};

inline std::string TrimBlanks(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

inline std::vector<std::string> CatalogueItems(const std::string& column) {
    std::vector<std::string> items;
    std::istringstream in(column);
    for (std::string item; std::getline(in, item, ';');) {
        item = TrimBlanks(item);
        if (!item.empty() && item != "-") {
            items.push_back(item);
        }
    }
    return items;
}

// The rows of the table's text; a line that has not six columns is returned in `bad`.
inline std::vector<CatalogueRow> ParseCatalogue(const std::string& text,
                                                std::vector<std::string>* bad) {
    std::vector<CatalogueRow> rows;
    std::istringstream table(text);
    for (std::string line; std::getline(table, line);) {
        if (TrimBlanks(line).empty() || line[0] == '#') {
            continue;
        }
        std::vector<std::string> columns;
        for (size_t at = 0;;) {
            const size_t bar = line.find(" | ", at);
            columns.push_back(TrimBlanks(line.substr(at, bar - at)));
            if (bar == std::string::npos) {
                break;
            }
            at = bar + 3;
        }
        if (columns.size() != 6) {
            bad->push_back(line);
            continue;
        }
        rows.push_back(CatalogueRow{columns[0], columns[1], CatalogueItems(columns[2]),
                                    CatalogueItems(columns[3]), CatalogueItems(columns[4]),
                                    CatalogueItems(columns[5])});
    }
    return rows;
}

// The string ids of the resource header ("#define IDS_NAME number"), by name.
inline std::map<std::string, unsigned> ParseStringIds(const std::string& header) {
    std::map<std::string, unsigned> ids;
    std::istringstream in(header);
    for (std::string line; std::getline(in, line);) {
        char name[64];
        unsigned id;
        if (sscanf(line.c_str(), "#define %63s %u", name, &id) == 2 &&
            strncmp(name, "IDS_", 4) == 0) {
            ids[name] = id;
        }
    }
    return ids;
}
