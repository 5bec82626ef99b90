// The diagnostics of `dialnest-kit check`: one list of every diagnostic with its code and
// severity, and the report that collects them and writes them in the compiler convention
// ("FILE:LINE: severity: text [code]") or as JSON. Texts are UTF-8.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

enum class Severity { Note, Warning, Error };

// X(identifier, code, severity). Notes are shown with --verbose only.
#define KIT_DIAGNOSTICS(X)                                           \
    X(InEffect, "in-effect", Note)                                   \
    X(MissingSettings, "missing-settings", Warning)                  \
    X(MigrationWithoutSettings, "migration-without-settings", Error) \
    X(MissingMenu, "missing-menu", Error)                            \
    X(NoTables, "no-tables", Note)                                   \
    X(MissingTable, "missing-table", Note)                           \
    X(MissingLogo, "missing-logo", Note)                             \
    X(NotAFile, "not-a-file", Error)                                 \
    X(Encoding, "encoding", Error)                                   \
    X(LongLine, "long-line", Warning)                                \
    X(IgnoredLine, "ignored-line", Note)                             \
    X(MissingComma, "missing-comma", Warning)                        \
    X(UnknownKey, "unknown-key", Warning)                            \
    X(KeyBlanks, "key-blanks", Warning)                              \
    X(ValueBlanks, "value-blanks", Warning)                          \
    X(EmptyValue, "empty-value", Note)                               \
    X(DuplicateKey, "duplicate-key", Warning)                        \
    X(OffValue, "off-value", Warning)                                \
    X(NotANumber, "not-a-number", Warning)                           \
    X(UnusedSize, "unused-size", Warning)                            \
    X(BadAddress, "bad-address", Warning)                            \
    X(DnsOff, "dns-off", Note)                                       \
    X(DnsNothingWritten, "dns-nothing-written", Warning)             \
    X(DomainWithoutAt, "domain-without-at", Warning)                 \
    X(DomainNeverMatches, "domain-never-matches", Error)             \
    X(FletsNeverApplies, "flets-never-applies", Error)               \
    X(NumberCharacters, "number-characters", Warning)                \
    X(TableNeedsNumber, "table-needs-number", Error)                 \
    X(MethodRow, "method-row", Note)                                 \
    X(NotARow, "not-a-row", Warning)                                 \
    X(RowIncomplete, "row-incomplete", Warning)                      \
    X(CutText, "cut-text", Warning)                                  \
    X(ExtraColumns, "extra-columns", Note)                           \
    X(PhsRow, "phs-row", Note)                                       \
    X(PhsLookalike, "phs-lookalike", Warning)                        \
    X(FirstRowHeading, "first-row-heading", Note)                    \
    X(NoChoosableMethod, "no-choosable-method", Error)               \
    X(TableRecord, "table-record", Note)                             \
    X(SkippedNumber, "skipped-number", Warning)                      \
    X(NumberTooLong, "number-too-long", Warning)                     \
    X(HeadingRecord, "heading-record", Note)                         \
    X(ShortNumber, "short-number", Warning)                          \
    X(DuplicateRecord, "duplicate-record", Warning)                  \
    X(ShadowedRecord, "shadowed-record", Warning)                    \
    X(PairReplaced, "pair-replaced", Warning)                        \
    X(LogoInfo, "logo-info", Note)                                   \
    X(LogoUndecodable, "logo-undecodable", Error)                    \
    X(LogoUnreadable, "logo-unreadable", Warning)                    \
    X(LogoSize, "logo-size", Warning)                                \
    X(LogoNearMagenta, "logo-near-magenta", Warning)                 \
    X(LogoAlpha, "logo-alpha", Warning)

enum class Diag {
#define KIT_DIAGNOSTIC_ID(id, code, severity) id,
    KIT_DIAGNOSTICS(KIT_DIAGNOSTIC_ID)
#undef KIT_DIAGNOSTIC_ID
};

const char* CodeOf(Diag diag);
Severity SeverityOf(Diag diag);
const char* SeverityName(Severity severity);  // "note", "warning", "error"

struct Diagnostic {
    Diag diag;
    std::string file;  // as shown: the kit folder joined with the file name
    size_t line;       // 0: the file as a whole
    std::string text;
};

class KitReport {
public:
    void Add(Diag diag, const std::string& file, size_t line, const std::string& text);

    size_t Count(Severity severity) const;
    const std::vector<Diagnostic>& Items() const { return items_; }

    // By file in the order they were first reported, then by line; notes only when
    // `verbose`. Text ends with a summary line.
    void WriteText(FILE* out, bool verbose) const;
    void WriteJson(FILE* out, bool verbose, const std::string& kit) const;

private:
    std::vector<Diagnostic> Sorted(bool verbose) const;

    std::vector<Diagnostic> items_;
};
