// The diagnostics of `dialnest-kit check`: one list of every diagnostic with its code and
// severity, one table of every message with its English and its Japanese text, and the
// report that collects them and writes them in the compiler convention ("FILE:LINE:
// severity: text [code]") or as JSON. Texts are UTF-8.
#pragma once

#include <cstddef>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

enum class Severity { Note, Warning, Error };

// The severity follows the harm: an error leaves subscribers unmigrated, a method
// unusable or an entry with a number that cannot be dialled; a warning only looks wrong.
// X(identifier, code, severity). Notes are shown with --verbose only.
#define KIT_DIAGNOSTICS(X)                                           \
    X(InEffect, "in-effect", Note)                                   \
    X(CarriedKit, "carried-kit", Error)                              \
    X(UnreadFile, "unread-file", Error)                              \
    X(MissingSettings, "missing-settings", Warning)                  \
    X(MigrationWithoutSettings, "migration-without-settings", Error) \
    X(MissingMenu, "missing-menu", Error)                            \
    X(NoTables, "no-tables", Note)                                   \
    X(MissingTable, "missing-table", Note)                           \
    X(LookalikeFile, "lookalike-file", Error)                        \
    X(SettingsWithoutTable, "settings-without-table", Error)         \
    X(MissingLogo, "missing-logo", Note)                             \
    X(NotAFile, "not-a-file", Error)                                 \
    X(Encoding, "encoding", Error)                                   \
    X(SpreadsheetQuotes, "spreadsheet-quotes", Error)                \
    X(LongLine, "long-line", Warning)                                \
    X(IgnoredLine, "ignored-line", Note)                             \
    X(WrongFile, "wrong-file", Warning)                              \
    X(MissingComma, "missing-comma", Warning)                        \
    X(UnknownKey, "unknown-key", Warning)                            \
    X(KeyBlanks, "key-blanks", Warning)                              \
    X(DroppedSetting, "dropped-setting", Error)                      \
    X(ValueBlanks, "value-blanks", Warning)                          \
    X(DomainBlanks, "domain-blanks", Error)                          \
    X(EmptyValue, "empty-value", Note)                               \
    X(DuplicateKey, "duplicate-key", Warning)                        \
    X(OffValue, "off-value", Warning)                                \
    X(NotANumber, "not-a-number", Warning)                           \
    X(FullWidthNumber, "full-width-number", Error)                   \
    X(UnusedSize, "unused-size", Warning)                            \
    X(HeadingShrunk, "heading-shrunk", Warning)                      \
    X(DomainCut, "domain-cut", Warning)                              \
    X(BadAddress, "bad-address", Warning)                            \
    X(DnsOff, "dns-off", Note)                                       \
    X(DnsNothingWritten, "dns-nothing-written", Error)               \
    X(PrefixBlanks, "prefix-blanks", Error)                          \
    X(DomainWithoutAt, "domain-without-at", Error)                   \
    X(DomainNeverMatches, "domain-never-matches", Error)             \
    X(NoNewDomain, "no-new-domain", Error)                           \
    X(FletsNeverApplies, "flets-never-applies", Error)               \
    X(NumberCharacters, "number-characters", Warning)                \
    X(NumberNeverMatches, "number-never-matches", Error)             \
    X(UndialableNumber, "undialable-number", Error)                  \
    X(TableNeedsNumber, "table-needs-number", Error)                 \
    X(NewNumberSuffix, "new-number-suffix", Error)                   \
    X(OldIsCurrent, "old-is-current", Error)                         \
    X(MethodRow, "method-row", Note)                                 \
    X(DroppedMethod, "dropped-method", Error)                        \
    X(MenuBlanks, "menu-blanks", Warning)                            \
    X(RowIncomplete, "row-incomplete", Error)                        \
    X(CutText, "cut-text", Warning)                                  \
    X(ExtraColumns, "extra-columns", Note)                           \
    X(PhsRow, "phs-row", Note)                                       \
    X(PhsLookalike, "phs-lookalike", Warning)                        \
    X(FirstRowHeading, "first-row-heading", Note)                    \
    X(NoChoosableMethod, "no-choosable-method", Error)               \
    X(TableRecord, "table-record", Note)                             \
    X(SkippedNumber, "skipped-number", Warning)                      \
    X(DroppedRecord, "dropped-record", Error)                        \
    X(PairColumns, "pair-columns", Error)                            \
    X(NumberTooLong, "number-too-long", Error)                       \
    X(HeadingRecord, "heading-record", Note)                         \
    X(ShortNumber, "short-number", Error)                            \
    X(DuplicateRecord, "duplicate-record", Warning)                  \
    X(SameNumber, "same-number", Warning)                            \
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

enum class Language { English, Japanese };

// The language of the user's settings: Japanese when the locale (LC_ALL, LC_MESSAGES,
// LANG, the first that is set) or, on Windows, the user-interface language is Japanese.
Language UserLanguage();

// A message argument: text the same in both languages (provider text, numbers, names), or
// a phrase of the table below.
enum class Phrase;
struct Arg {
    Arg(const std::string& text) : en(text), ja(text) {}  // NOLINT: every text is an argument
    Arg(const char* text) : en(text), ja(text) {}         // NOLINT
    Arg(Phrase phrase);                                   // NOLINT
    std::string en;
    std::string ja;
};

// The messages, X(identifier, diagnostic, English, Japanese); {1} to {9} stand for the
// arguments, in the order the caller gives them.
#include "kit/KitMessages.inc"

enum class Msg {
#define KIT_MESSAGE_ID(id, diag, en, ja) id,
    KIT_MESSAGES(KIT_MESSAGE_ID)
#undef KIT_MESSAGE_ID
};

enum class Phrase {
#define KIT_PHRASE_ID(id, en, ja) id,
    KIT_PHRASES(KIT_PHRASE_ID) KIT_RESTORE_PHRASES(KIT_PHRASE_ID)
#undef KIT_PHRASE_ID
};

Diag DiagOf(Msg msg);
std::string Say(Language language, Msg msg, const std::vector<Arg>& args);
std::string Say(Language language, Phrase phrase, const std::vector<Arg>& args = {});

struct Diagnostic {
    Diag diag;
    std::string file;  // as shown: the kit folder joined with the file name
    size_t line;       // 0: the file as a whole
    Msg msg;
    std::vector<Arg> args;
    size_t heldBack = 0;  // findings of the same file held back as its consequences
};

class KitReport {
public:
    explicit KitReport(Language language = Language::English) : language_(language) {}

    void Add(Msg msg, const std::string& file, size_t line, std::vector<Arg> args);

    // After an encoding error in a file, the file's other warnings and errors most likely
    // follow from it: they are held back, and the error says how many (the exit status
    // stays that of an error).
    void HoldBackAfterEncodingErrors();

    size_t Count(Severity severity) const;
    const std::vector<Diagnostic>& Items() const { return items_; }
    std::string Text(const Diagnostic& d) const;

    // By file in the order they were first reported, then by line; notes only when
    // `verbose`. Text ends with a summary line.
    void WriteText(FILE* out, bool verbose) const;
    void WriteJson(FILE* out, bool verbose, const std::string& kit) const;

private:
    std::vector<Diagnostic> Sorted(bool verbose) const;

    Language language_;
    std::vector<Diagnostic> items_;
};
