// Speed of the access-point searches over tables of 10, 1 000 and 100 000 records, and of a
// whole classification pass of 10 000 dialled numbers (general, then PHS, then pair table,
// then the Flets ISDN tail test), as the migration runs it for every phonebook entry.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "migrate/NumberMatching.h"
#include "settings/AccessPointTables.h"
#include "settings/PairTable.h"

namespace {

const char* const kAreaCodes[] = {"03", "06", "011", "022", "045", "052", "092", "0797"};
constexpr size_t kAreaCodeCount = sizeof(kAreaCodes) / sizeof(kAreaCodes[0]);

// Deterministic numbers, so that every run measures the same tables.
class Numbers {
public:
    explicit Numbers(uint32_t seed) : state_(seed) {}
    uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    std::string Digits(int count) {
        std::string out;
        for (int i = 0; i < count; ++i) {
            out += static_cast<char>('0' + Next() % 10);
        }
        return out;
    }
    const char* Area() { return kAreaCodes[Next() % kAreaCodeCount]; }

private:
    uint32_t state_;
};

struct Tables {
    AccessPointTable general;  // AREA-DDDD-DDDD
    AccessPointTable phs;      // 070-DDDD-DDDD
    PairTable pairs;           // AREA-DDDD-DDDD -> 0120-DD-DDDD
    std::vector<std::string> generalText;
    std::vector<std::string> phsText;
    std::vector<std::string> pairText;
};

AccessPointRecord Split(const std::string& text) {
    AccessPointRecord record;
    SplitTableNumber(text.c_str(), &record);
    return record;
}

const Tables& TablesOf(size_t size) {
    static std::map<size_t, std::unique_ptr<Tables>> cache;
    std::unique_ptr<Tables>& tables = cache[size];
    if (tables == nullptr) {
        tables = std::make_unique<Tables>();
        Numbers numbers(static_cast<uint32_t>(size));
        for (size_t i = 0; i < size; ++i) {
            const std::string general =
                std::string(numbers.Area()) + "-" + numbers.Digits(4) + "-" + numbers.Digits(4);
            tables->general.push_back(Split(general));
            tables->generalText.push_back(general);
            const std::string phs = "070-" + numbers.Digits(4) + "-" + numbers.Digits(4);
            tables->phs.push_back(Split(phs));
            tables->phsText.push_back(phs);
            const std::string pair =
                std::string(numbers.Area()) + "-" + numbers.Digits(4) + "-" + numbers.Digits(4);
            tables->pairs.Set(pair, "0120-" + numbers.Digits(2) + "-" + numbers.Digits(4));
            tables->pairText.push_back(pair);
        }
    }
    return *tables;
}

// How the entry holds its number: area code field, local number alone, or area code joined
// into the local number; the three rows of the search rule.
enum Form { kWithAreaCode, kLocalOnly, kJoined };

struct Dialled {
    std::string area;
    std::string local;
};

// The entry form of table number `text` (AREA-DDDD-DDDD), dialled the way `form` says.
Dialled DialledFrom(const std::string& text, Form form) {
    const size_t hyphen = text.find('-');
    const std::string area = text.substr(0, hyphen);
    const std::string local = text.substr(hyphen + 1);
    switch (form) {
        case kWithAreaCode:
            return {area, local + "#"};
        case kLocalOnly:
            return {"", "0," + local};
        case kJoined:
            return {"", "P0," + area + "-" + local + "##61"};
    }
    return {};
}

// A number that none of the tables holds (the tables use other area codes).
Dialled Missing(Form form) {
    return DialledFrom("0599-9999-9999", form);
}

const char* FormName(Form form) {
    switch (form) {
        case kWithAreaCode:
            return "area code";
        case kLocalOnly:
            return "local only";
        case kJoined:
            return "joined";
    }
    return "";
}

// A search that finds nothing visits every record: the cost of an entry of another kind.
void BM_GeneralMiss(benchmark::State& state) {
    const Tables& tables = TablesOf(static_cast<size_t>(state.range(0)));
    const Form form = static_cast<Form>(state.range(1));
    const Dialled dialled = Missing(form);
    AccessPointHit hit;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindAccessPoint(tables.general, dialled.area.c_str(),
                                                 dialled.local.c_str(), form == kLocalOnly, &hit));
    }
    state.SetLabel(FormName(form));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PhsMiss(benchmark::State& state) {
    const Tables& tables = TablesOf(static_cast<size_t>(state.range(0)));
    const Form form = static_cast<Form>(state.range(1));
    const Dialled dialled = Missing(form);
    AccessPointHit hit;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindAccessPoint(tables.phs, dialled.area.c_str(),
                                                 dialled.local.c_str(), form == kLocalOnly, &hit));
    }
    state.SetLabel(FormName(form));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PairMiss(benchmark::State& state) {
    const Tables& tables = TablesOf(static_cast<size_t>(state.range(0)));
    const Form form = static_cast<Form>(state.range(1));
    const Dialled dialled = Missing(form);
    AccessPointHit hit;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindPairAccessPoint(
            tables.pairs, dialled.area.c_str(), dialled.local.c_str(), form == kLocalOnly, &hit));
    }
    state.SetLabel(FormName(form));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A hit on the last record of the general table: the longest search that finds something.
void BM_GeneralLastRecord(benchmark::State& state) {
    const Tables& tables = TablesOf(static_cast<size_t>(state.range(0)));
    const Dialled dialled = DialledFrom(tables.generalText.back(), kJoined);
    AccessPointHit hit;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindAccessPoint(tables.general, dialled.area.c_str(),
                                                 dialled.local.c_str(), false, &hit));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// 10 000 entries: one in ten dials a general, one in ten a PHS and one in ten a pair-table
// access point, in all three forms; the rest dial numbers of no table.
std::vector<Dialled> Entries(const Tables& tables) {
    std::vector<Dialled> entries;
    Numbers numbers(20240601u);
    for (int i = 0; i < 10000; ++i) {
        const Form form = static_cast<Form>(numbers.Next() % 3);
        switch (i % 10) {
            case 0:
                entries.push_back(DialledFrom(
                    tables.generalText[numbers.Next() % tables.generalText.size()], form));
                break;
            case 1:
                entries.push_back(
                    DialledFrom(tables.phsText[numbers.Next() % tables.phsText.size()], form));
                break;
            case 2:
                entries.push_back(
                    DialledFrom(tables.pairText[numbers.Next() % tables.pairText.size()], form));
                break;
            default:
                entries.push_back(
                    DialledFrom("0599-" + numbers.Digits(4) + "-" + numbers.Digits(4), form));
                break;
        }
    }
    return entries;
}

void BM_ClassificationPass(benchmark::State& state) {
    const Tables& tables = TablesOf(static_cast<size_t>(state.range(0)));
    const bool localOnlyIsOk = state.range(1) != 0;
    const std::vector<Dialled> entries = Entries(tables);
    const char* const fletsIsdnNumber = "1492";
    AccessPointHit hit;
    int found = 0;
    for (auto _ : state) {
        found = 0;
        for (const Dialled& entry : entries) {
            const char* area = entry.area.c_str();
            const char* local = entry.local.c_str();
            if (FindAccessPoint(tables.general, area, local, localOnlyIsOk, &hit) ||
                FindAccessPoint(tables.phs, area, local, localOnlyIsOk, &hit) ||
                FindPairAccessPoint(tables.pairs, area, local, localOnlyIsOk, &hit)) {
                ++found;
            }
            const std::string joined = entry.area + entry.local;
            found += MatchNumberTail(joined.c_str(), fletsIsdnNumber, nullptr, nullptr) ? 1 : 0;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetLabel(localOnlyIsOk ? "LocalOnlyIsOk on" : "LocalOnlyIsOk off");
    state.counters["hits"] = found;
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(entries.size()));
}

void SearchArgs(benchmark::internal::Benchmark* b) {
    for (int64_t size : {10, 1000, 100000}) {
        for (int64_t form : {kWithAreaCode, kLocalOnly, kJoined}) {
            b->Args({size, form});
        }
    }
}

}  // namespace

BENCHMARK(BM_GeneralMiss)->Apply(SearchArgs)->ArgNames({"records", "form"});
BENCHMARK(BM_PhsMiss)->Apply(SearchArgs)->ArgNames({"records", "form"});
BENCHMARK(BM_PairMiss)->Apply(SearchArgs)->ArgNames({"records", "form"});
BENCHMARK(BM_GeneralLastRecord)->Arg(10)->Arg(1000)->Arg(100000)->ArgName("records");
BENCHMARK(BM_ClassificationPass)
    ->ArgsProduct({{10, 1000, 100000}, {0, 1}})
    ->ArgNames({"records", "LocalOnlyIsOk"})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
