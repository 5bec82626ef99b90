// Collecting and writing the diagnostics of a kit check, in the user's language.
#include "kit/KitReport.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

#ifdef _WIN32
#include <windows.h>
#endif

#include "kit/KitText.h"

namespace {

struct DiagnosticInfo {
    const char* code;
    Severity severity;
};

const DiagnosticInfo kDiagnostics[] = {
#define KIT_DIAGNOSTIC_INFO(id, code, severity) {code, Severity::severity},
    KIT_DIAGNOSTICS(KIT_DIAGNOSTIC_INFO)
#undef KIT_DIAGNOSTIC_INFO
};

struct MessageInfo {
    Diag diag;
    const char* en;
    const char* ja;
};

const MessageInfo kMessages[] = {
#define KIT_MESSAGE_INFO(id, diag, en, ja) {Diag::diag, en, ja},
    KIT_MESSAGES(KIT_MESSAGE_INFO)
#undef KIT_MESSAGE_INFO
};

const char* const kPhrases[][2] = {
#define KIT_PHRASE_INFO(id, en, ja) {en, ja},
    KIT_PHRASES(KIT_PHRASE_INFO)
#undef KIT_PHRASE_INFO
};

// `text` with {1} to {9} replaced by the arguments in `language`, and each {N|one|more} by
// "one" when argument N is "1", else by "more".
std::string Fill(Language language, const char* text, const std::vector<Arg>& args) {
    std::string out;
    for (const char* p = text; *p != '\0'; ++p) {
        const size_t i = p[0] == '{' && p[1] >= '1' && p[1] <= '9' ? p[1] - '1' : 0;
        const std::string* arg = i < args.size()
                                     ? (language == Language::Japanese ? &args[i].ja : &args[i].en)
                                     : nullptr;
        if (p[0] == '{' && p[1] >= '1' && p[1] <= '9' && p[2] == '}') {
            out += arg != nullptr ? *arg : "";
            p += 2;
        } else if (p[0] == '{' && p[1] >= '1' && p[1] <= '9' && p[2] == '|' &&
                   strchr(p, '}') != nullptr) {
            const char* bar = strchr(p + 3, '|');
            const char* end = strchr(p, '}');
            const bool one = arg != nullptr && *arg == "1";
            if (bar != nullptr && bar < end) {
                out += one ? std::string(p + 3, bar) : std::string(bar + 1, end);
            }
            p = end;
        } else {
            out += *p;
        }
    }
    return out;
}

const char* SeverityWord(Language language, Severity severity) {
    const bool ja = language == Language::Japanese;
    switch (severity) {
        case Severity::Note:
            return ja ? "注記" : "note";
        case Severity::Warning:
            return ja ? "警告" : "warning";
        case Severity::Error:
            return ja ? "エラー" : "error";
    }
    return "note";
}

#ifndef _WIN32
bool IsJapaneseLocale(const char* value) {
    return value != nullptr && strncmp(value, "ja", 2) == 0;
}
#endif

}  // namespace

Arg::Arg(Phrase phrase)
    : en(kPhrases[static_cast<size_t>(phrase)][0]), ja(kPhrases[static_cast<size_t>(phrase)][1]) {}

const char* CodeOf(Diag diag) {
    return kDiagnostics[static_cast<size_t>(diag)].code;
}

Severity SeverityOf(Diag diag) {
    return kDiagnostics[static_cast<size_t>(diag)].severity;
}

Diag DiagOf(Msg msg) {
    return kMessages[static_cast<size_t>(msg)].diag;
}

std::string Say(Language language, Msg msg, const std::vector<Arg>& args) {
    const MessageInfo& m = kMessages[static_cast<size_t>(msg)];
    return Fill(language, language == Language::Japanese ? m.ja : m.en, args);
}

std::string Say(Language language, Phrase phrase, const std::vector<Arg>& args) {
    return Fill(language, kPhrases[static_cast<size_t>(phrase)][language == Language::Japanese],
                args);
}

Language UserLanguage() {
#ifdef _WIN32
    // The user-interface language exists from Windows 2000 on; before it, the user's locale.
    using UiLanguageFunction = LANGID(WINAPI*)();
    UiLanguageFunction uiLanguage = nullptr;
    if (HMODULE kernel = GetModuleHandleA("kernel32.dll")) {
        uiLanguage = reinterpret_cast<UiLanguageFunction>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "GetUserDefaultUILanguage")));
    }
    const LANGID language = uiLanguage != nullptr ? uiLanguage() : GetUserDefaultLangID();
    return PRIMARYLANGID(language) == LANG_JAPANESE ? Language::Japanese : Language::English;
#else
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getenv(name);
        if (value != nullptr && value[0] != '\0') {
            return IsJapaneseLocale(value) ? Language::Japanese : Language::English;
        }
    }
    return Language::English;
#endif
}

void KitReport::Add(Msg msg, const std::string& file, size_t line, std::vector<Arg> args) {
    items_.push_back(Diagnostic{DiagOf(msg), file, line, msg, std::move(args)});
}

void KitReport::HoldBackAfterEncodingErrors() {
    std::map<std::string, Diagnostic*> encoding;
    for (Diagnostic& d : items_) {
        if (d.diag == Diag::Encoding && encoding.count(d.file) == 0) {
            encoding[d.file] = &d;
        }
    }
    if (encoding.empty()) {
        return;
    }
    std::vector<Diagnostic> kept;
    std::map<std::string, size_t> held;
    for (const Diagnostic& d : items_) {
        if (encoding.count(d.file) > 0 && d.diag != Diag::Encoding &&
            SeverityOf(d.diag) != Severity::Note) {
            ++held[d.file];
        } else {
            kept.push_back(d);
        }
    }
    for (Diagnostic& d : kept) {
        if (d.diag == Diag::Encoding && held.count(d.file) > 0) {
            d.heldBack = held[d.file];
            held.erase(d.file);
        }
    }
    items_.swap(kept);
}

size_t KitReport::Count(Severity severity) const {
    return static_cast<size_t>(
        std::count_if(items_.begin(), items_.end(),
                      [&](const Diagnostic& d) { return SeverityOf(d.diag) == severity; }));
}

std::string KitReport::Text(const Diagnostic& d) const {
    std::vector<Arg> args = d.args;
    // Every encoding message ends with its held-back count, if any.
    if (d.diag == Diag::Encoding) {
        if (d.heldBack > 0) {
            const std::string count = Format("%zu", d.heldBack);
            args.push_back(Arg(Phrase::HeldBack));
            args.back().en = Fill(Language::English, args.back().en.c_str(), {count});
            args.back().ja = Fill(Language::Japanese, args.back().ja.c_str(), {count});
        } else {
            args.push_back(Arg(""));
        }
    }
    return Say(language_, d.msg, args);
}

std::vector<Diagnostic> KitReport::Sorted(bool verbose) const {
    std::vector<std::string> files;
    std::vector<Diagnostic> shown;
    for (const Diagnostic& d : items_) {
        if (std::find(files.begin(), files.end(), d.file) == files.end()) {
            files.push_back(d.file);
        }
        if (verbose || SeverityOf(d.diag) != Severity::Note) {
            shown.push_back(d);
        }
    }
    const auto rank = [&](const Diagnostic& d) {
        return std::find(files.begin(), files.end(), d.file) - files.begin();
    };
    std::stable_sort(shown.begin(), shown.end(), [&](const Diagnostic& a, const Diagnostic& b) {
        return rank(a) != rank(b) ? rank(a) < rank(b) : a.line < b.line;
    });
    return shown;
}

void KitReport::WriteText(FILE* out, bool verbose) const {
    for (const Diagnostic& d : Sorted(verbose)) {
        const std::string place = d.line > 0 ? Format("%s:%zu", d.file.c_str(), d.line) : d.file;
        fprintf(out, "%s: %s: %s [%s]\n", place.c_str(),
                SeverityWord(language_, SeverityOf(d.diag)), Text(d).c_str(), CodeOf(d.diag));
    }
    const size_t errors = Count(Severity::Error);
    const size_t warnings = Count(Severity::Warning);
    if (language_ == Language::Japanese) {
        fprintf(out, "エラー %zu 件、警告 %zu 件\n", errors, warnings);
    } else {
        fprintf(out, "%zu error%s, %zu warning%s\n", errors, errors == 1 ? "" : "s", warnings,
                warnings == 1 ? "" : "s");
    }
}

void KitReport::WriteJson(FILE* out, bool verbose, const std::string& kit) const {
    fprintf(out, "{\"kit\": %s, \"errors\": %zu, \"warnings\": %zu, \"diagnostics\": [",
            JsonString(kit).c_str(), Count(Severity::Error), Count(Severity::Warning));
    const char* separator = "\n";
    for (const Diagnostic& d : Sorted(verbose)) {
        fprintf(out,
                "%s  {\"file\": %s, \"line\": %s, \"severity\": \"%s\", \"code\": \"%s\", "
                "\"message\": %s}",
                separator, JsonString(d.file).c_str(),
                d.line > 0 ? Format("%zu", d.line).c_str() : "null",
                SeverityWord(Language::English, SeverityOf(d.diag)), CodeOf(d.diag),
                JsonString(Text(d)).c_str());
        separator = ",\n";
    }
    fprintf(out, "\n]}\n");
}
