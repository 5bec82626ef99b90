// Speed of the access-point searches: one dialled number classified through the general, PHS
// and pair tables, as the migration does for every phonebook entry, with the index at 10 to
// 100 000 records and with the linear reference up to 10 000; reading and indexing the three
// files; and a whole pass of 10 000 numbers. After the run it prints the cost per search at
// each size and the speed-up over the reference.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ReferenceSearch.h"
#include "settings/DataFiles.h"
#include "support/TempFolder.h"

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

// The three files' lines, AREA-DDDD-DDDD for the general table and the pairs' old numbers,
// 070-DDDD-DDDD for PHS, read through the table line rules.
struct Tables {
    std::string generalFile;
    std::string phsFile;
    std::string pairFile;
    std::vector<std::string> generalText;
    std::vector<std::string> phsText;
    std::vector<std::string> pairText;
    SearchTables search;
};

const Tables& TablesOf(size_t size) {
    static std::map<size_t, std::unique_ptr<Tables>> cache;
    std::unique_ptr<Tables>& tables = cache[size];
    if (tables != nullptr) {
        return *tables;
    }
    tables = std::make_unique<Tables>();
    Numbers numbers(static_cast<uint32_t>(size));
    for (size_t i = 0; i < size; ++i) {
        tables->generalText.push_back(std::string(numbers.Area()) + "-" + numbers.Digits(4) + "-" +
                                      numbers.Digits(4));
        tables->phsText.push_back("070-" + numbers.Digits(4) + "-" + numbers.Digits(4));
        tables->pairText.push_back(std::string(numbers.Area()) + "-" + numbers.Digits(4) + "-" +
                                   numbers.Digits(4));
        const std::string pairLine =
            tables->pairText.back() + ",0120-" + numbers.Digits(2) + "-" + numbers.Digits(4);
        tables->generalFile += "AP" + std::to_string(i) + "," + tables->generalText.back() + "\r\n";
        tables->phsFile += tables->phsText.back() + "\r\n";
        tables->pairFile += pairLine + "\r\n";
        AddTableLine(tables->generalText.back().c_str(), &tables->search.general);
        AddTableLine(tables->phsText.back().c_str(), &tables->search.phs);
        AddPairLine(pairLine.c_str(), &tables->search.pairs);
    }
    tables->search.BuildIndexes();
    return *tables;
}

struct Dialled {
    std::string area;
    std::string local;
    bool localOnlyIsOk;
};

// Table number `text` (AREA-DDDD-DDDD) as an entry dials it: with the area code in its own
// field, the local number alone, or the area code joined into the local number.
Dialled DialledFrom(const std::string& text, uint32_t form) {
    const size_t hyphen = text.find('-');
    const std::string area = text.substr(0, hyphen);
    const std::string local = text.substr(hyphen + 1);
    switch (form % 3) {
        case 0:
            return {area, local + "#", form % 2 == 0};
        case 1:
            return {"", "0," + local, true};
        default:
            return {"", "P0," + area + "-" + local + "##61", false};
    }
}

// `count` entries: one in ten dials a general, one in ten a PHS and one in ten a pair-table
// access point, in all three forms; the rest dial numbers of no table.
std::vector<Dialled> Entries(const Tables& tables, size_t count) {
    std::vector<Dialled> entries;
    Numbers numbers(20240601u);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t form = numbers.Next();
        const std::vector<std::string>* source = i % 10 == 0   ? &tables.generalText
                                                 : i % 10 == 1 ? &tables.phsText
                                                 : i % 10 == 2 ? &tables.pairText
                                                               : nullptr;
        entries.push_back(DialledFrom(
            source != nullptr ? (*source)[numbers.Next() % source->size()]
                              : "0599-" + numbers.Digits(4) + "-" + numbers.Digits(4),
            form));
    }
    return entries;
}

bool ClassifyIndexed(const SearchTables& tables, const Dialled& entry, AccessPointHit* hit) {
    const char* area = entry.area.c_str();
    const char* local = entry.local.c_str();
    return tables.generalIndex.Find(area, local, entry.localOnlyIsOk, hit) ||
           tables.phsIndex.Find(area, local, entry.localOnlyIsOk, hit) ||
           tables.pairIndex.Find(area, local, entry.localOnlyIsOk, hit);
}

bool ClassifyByReference(const SearchTables& tables, const Dialled& entry, AccessPointHit* hit) {
    const char* area = entry.area.c_str();
    const char* local = entry.local.c_str();
    return ReferenceFind(tables.general, area, local, entry.localOnlyIsOk, hit) ||
           ReferenceFind(tables.phs, area, local, entry.localOnlyIsOk, hit) ||
           ReferenceFind(tables.pairs, area, local, entry.localOnlyIsOk, hit);
}

// One iteration is one entry's classification; the entries rotate, so that the cost of
// memory that a single repeated number would keep in the cache is measured too.
template <bool (*Classify)(const SearchTables&, const Dialled&, AccessPointHit*)>
void BM_Search(benchmark::State& state) {
    const Tables& tables = TablesOf(static_cast<size_t>(state.range(0)));
    const std::vector<Dialled> entries = Entries(tables, 4096);
    AccessPointHit hit;
    size_t next = 0;
    int64_t found = 0;
    for (auto _ : state) {
        found += Classify(tables.search, entries[next], &hit) ? 1 : 0;
        next = (next + 1) % entries.size();
    }
    state.counters["hit share"] =
        static_cast<double>(found) / static_cast<double>(state.iterations());
}

void BM_IndexedSearch(benchmark::State& state) {
    BM_Search<ClassifyIndexed>(state);
}

void BM_ReferenceSearch(benchmark::State& state) {
    BM_Search<ClassifyByReference>(state);
}

// The three files read from disk through the line reader and indexed, as a run starts.
void BM_ReadAndIndex(benchmark::State& state) {
    const Tables& tables = TablesOf(static_cast<size_t>(state.range(0)));
    TempFolder folder;
    folder.Write(kGeneralTableFile, tables.generalFile);
    folder.Write(kPhsTableFile, tables.phsFile);
    folder.Write(kPairTableFile, tables.pairFile);
    SearchTables read;
    for (auto _ : state) {
        ReadAccessPointTable(folder, kGeneralTableFile, &read.general);
        ReadAccessPointTable(folder, kPhsTableFile, &read.phs);
        ReadPairTable(folder, &read.pairs);
        read.BuildIndexes();
    }
    state.counters["records"] = static_cast<double>(read.generalIndex.size() +
                                                    read.phsIndex.size() + read.pairIndex.size());
}

// 10 000 phonebook entries against the tables, as a whole migration examines them.
void BM_ClassificationPass(benchmark::State& state) {
    const Tables& tables = TablesOf(static_cast<size_t>(state.range(0)));
    const std::vector<Dialled> entries = Entries(tables, 10000);
    AccessPointHit hit;
    for (auto _ : state) {
        int found = 0;
        for (const Dialled& entry : entries) {
            found += ClassifyIndexed(tables.search, entry, &hit) ? 1 : 0;
        }
        benchmark::DoNotOptimize(found);
    }
}

// Keeps the time per iteration of every search run for the closing summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                nanoseconds_[run.benchmark_name()] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintSummary() const {
        std::printf("\ncost per search (one entry through the three tables, CPU time):\n");
        for (const char* size : {"10", "1000", "10000", "100000"}) {
            const double indexed = Time("BM_IndexedSearch", size);
            const double reference = Time("BM_ReferenceSearch", size);
            if (indexed > 0) {
                std::printf("  %6s records: index %8.0f ns", size, indexed);
                if (reference > 0) {
                    std::printf(", reference %10.0f ns", reference);
                }
                std::printf("\n");
            }
        }
        const double small = Time("BM_IndexedSearch", "10");
        const double large = Time("BM_IndexedSearch", "100000");
        if (small > 0 && large > 0) {
            std::printf("index at 100000 records / at 10 records: %.2f\n", large / small);
        }
        const double indexed = Time("BM_IndexedSearch", "10000");
        const double reference = Time("BM_ReferenceSearch", "10000");
        if (indexed > 0 && reference > 0) {
            std::printf("speed-up over the reference at 10000 records: %.0f times\n",
                        reference / indexed);
        }
    }

private:
    double Time(const std::string& name, const std::string& size) const {
        const auto found = nanoseconds_.find(name + "/records:" + size);
        return found != nanoseconds_.end() ? found->second : 0;
    }

    std::map<std::string, double> nanoseconds_;
};

}  // namespace

BENCHMARK(BM_IndexedSearch)->Arg(10)->Arg(1000)->Arg(10000)->Arg(100000)->ArgName("records");
// Past 10 000 records the walk only takes longer in proportion.
BENCHMARK(BM_ReferenceSearch)->Arg(10)->Arg(1000)->Arg(10000)->ArgName("records");
BENCHMARK(BM_ReadAndIndex)->Arg(10)->Arg(100000)->ArgName("records")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClassificationPass)->Arg(100000)->ArgName("records")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    benchmark::Shutdown();
    return 0;
}
