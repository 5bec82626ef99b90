// Generator of search cases.
#include "SearchCases.h"

namespace {

// Shift-JIS: a full-width digit one, "東" (second byte a digit-free value), "ー" and a half-width
// katakana byte.
const char* const kOddTexts[] = {"\x82\x50", "\x93\x8c", "\x81\x5b", "\xb1", " ", "#", "*", "P", ","};

const char* const kPrefixes[] = {"", "", "0,", "P", "PP0,", "9,", "0", "03", "03-", "3-", "0-", "#"};
const char* const kSuffixes[] = {"", "", "#", "##61", "-", "5", "#-", "*9", "\x82\x50", ","};

template <size_t N>
const char* PickFrom(const char* const (&texts)[N], size_t index) {
    return texts[index % N];
}

}  // namespace

std::string SearchCases::Digits(size_t most) {
    // Mostly 0 to 3, so that numbers share their tails.
    std::string out;
    for (size_t count = 1 + Below(most); count > 0; --count) {
        out += static_cast<char>('0' + (OneIn(4) ? Below(10) : Below(4)));
    }
    return out;
}

std::string SearchCases::Junk(size_t most) {
    std::string out;
    for (size_t count = Below(most + 1); count > 0; --count) {
        out += OneIn(2) ? std::string(1, static_cast<char>('0' + Below(10)))
                        : std::string(PickFrom(kOddTexts, Below(64)));
    }
    return out;
}

std::string SearchCases::AreaCode() {
    switch (Below(8)) {
        case 0:
            return "";
        case 1:
            return Digits(11);  // sometimes over the 10 bytes of the field
        case 2:
            return " 03";
        case 3:
            return "\x93\x8c";
        default:
            return Digits(3);
    }
}

std::string SearchCases::TableNumber() {
    switch (Below(10)) {
        case 0:
            return Digits(8);  // no hyphen: kept whole
        case 1:
            return Digits(4) + Junk(2) + Digits(4);  // blanks and odd bytes kept
        case 2:
            return "-" + Digits(6);
        case 3:
            return AreaCode() + "-";  // empty local number
        case 4:
            return AreaCode() + "-" + Digits(3) + "-" + Digits(4) + Junk(2);
        case 5:
            return AreaCode() + "-" + std::string(128 + Below(2), '1');  // at the field limit
        case 6:
            return Digits(2);
        default:
            return AreaCode() + "-" + Digits(6);
    }
}

void SearchCases::MakeTables(size_t lines, SearchTables* tables) {
    *tables = SearchTables();
    numbers_.clear();
    AccessPointTable* const lists[] = {&tables->general, &tables->phs};
    for (AccessPointTable* list : lists) {
        for (size_t count = Below(lines + 1); count > 0; --count) {
            if (!numbers_.empty() && OneIn(6)) {
                numbers_.push_back(numbers_[Below(numbers_.size())]);  // a repeated number
            } else {
                numbers_.push_back(TableNumber());
            }
            const std::string line = OneIn(3)   ? "label," + numbers_.back()
                                     : OneIn(8) ? "\x94\xd4\x8d\x86," + numbers_.back() + ",99"
                                                : numbers_.back();
            AddTableLine(line.c_str(), list);
        }
    }
    for (size_t count = Below(lines + 1); count > 0; --count) {
        const std::string key =
            !numbers_.empty() && OneIn(4) ? numbers_[Below(numbers_.size())] : TableNumber();
        numbers_.push_back(key);
        const std::string value = OneIn(10) ? std::string(600, '7') : "0120-" + Digits(6);
        AddPairLine((key + "," + value).c_str(), &tables->pairs);
    }
    tables->BuildIndexes();
}

void SearchCases::MakeDialled(std::string* areaCode, std::string* localNumber) {
    if (numbers_.empty() || OneIn(8)) {
        *areaCode = OneIn(2) ? "" : AreaCode();
        *localNumber = Junk(6) + Digits(12) + Junk(3);
        return;
    }
    const std::string& number = numbers_[Below(numbers_.size())];
    const size_t hyphen = number.find('-');
    std::string area = hyphen == std::string::npos ? "" : number.substr(0, hyphen);
    std::string local = hyphen == std::string::npos ? number : number.substr(hyphen + 1);
    switch (Below(4)) {
        case 0:  // the area code in its own field
            *areaCode = OneIn(4) ? AreaCode() : area;
            break;
        case 1:  // joined into the local number
            local = area + (OneIn(2) ? "-" : "") + local;
            areaCode->clear();
            break;
        default:  // the local number alone
            areaCode->clear();
            break;
    }
    // Hyphens where the subscriber likes them; sometimes a digit dropped.
    for (size_t count = Below(3); count > 0 && !local.empty(); --count) {
        local.insert(Below(local.size() + 1), "-");
    }
    if (OneIn(10) && !local.empty()) {
        local.erase(Below(local.size()), 1);
    }
    std::string prefix = PickFrom(kPrefixes, Below(64));
    if (OneIn(20)) {
        prefix = std::string(120 + Below(10), '0') + ",";  // near the prefix limit
    }
    *localNumber = prefix + local + PickFrom(kSuffixes, Below(64));
}
