// libFuzzer target: any bytes as CTMENU.csv. Every line that starts with a digit must give
// one row, in file order, with its columns split at commas outside double-byte characters
// and each text cut to 255 bytes by whole characters; every other line gives none.
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzModels.h"
#include "settings/DataFiles.h"
#include "settings/MemoryDataFiles.h"
#include "settings/MethodMenu.h"

namespace {

// The first four columns of a row line.
std::vector<std::string> ModelColumns(const std::string& line) {
    std::vector<std::string> columns(1);
    for (size_t i = 0; i < line.size() && columns.size() <= 4; ++i) {
        if (IsLead932(static_cast<unsigned char>(line[i])) && i + 1 < line.size()) {
            columns.back() += line.substr(i++, 2);
        } else if (line[i] == ',') {
            columns.emplace_back();
        } else {
            columns.back() += line[i];
        }
    }
    columns.resize(4);
    return columns;
}

int32_t ModelKind(const std::string& column) {
    long long kind = 0;
    for (size_t i = 0; i < column.size() && column[i] >= '0' && column[i] <= '9'; ++i) {
        kind = kind * 10 + (column[i] - '0');
        if (kind > INT_MAX) {
            return INT_MAX;
        }
    }
    return static_cast<int32_t>(kind);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    MemoryDataFiles files;
    files.Hold(kMethodMenuFile, bytes.data(), bytes.size());
    std::vector<MethodMenuItem> rows(2);  // rows of an earlier reading are replaced
    bool hasPhs = true;
    Check(LoadMethodMenu(files, &rows, &hasPhs), "a held file is present");

    size_t next = 0;
    bool modelPhs = false;
    for (const std::string& line : ModelLines(bytes, kMethodMenuLineCapacity)) {
        if (line[0] < '0' || line[0] > '9') {
            continue;
        }
        Check(next < rows.size(), "a row is missing");
        const MethodMenuItem& row = rows[next++];
        const std::vector<std::string> columns = ModelColumns(line);
        Check(row.kind == ModelKind(columns[0]), "kind");
        const char* fields[] = {row.displayName, row.domainText, row.accessPointNumber};
        for (int i = 0; i < 3; ++i) {
            Check(memchr(fields[i], '\0', kMethodTextSize) != nullptr, "a text without its end");
            Check(fields[i] == CutToCharacters(columns[i + 1], kMethodTextSize - 1),
                  "a text column");
        }
        modelPhs = modelPhs || strstr(row.displayName, "PHS") != nullptr;
    }
    Check(next == rows.size(), "a row that no line gives");
    Check(hasPhs == modelPhs, "the PHS note");
    return 0;
}
