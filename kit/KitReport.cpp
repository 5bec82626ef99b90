// Collecting and writing the diagnostics of a kit check.
#include "kit/KitReport.h"

#include <algorithm>

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

std::string Plural(size_t count, const char* word) {
    return Format("%zu %s%s", count, word, count == 1 ? "" : "s");
}

}  // namespace

const char* CodeOf(Diag diag) {
    return kDiagnostics[static_cast<size_t>(diag)].code;
}

Severity SeverityOf(Diag diag) {
    return kDiagnostics[static_cast<size_t>(diag)].severity;
}

const char* SeverityName(Severity severity) {
    switch (severity) {
        case Severity::Note:
            return "note";
        case Severity::Warning:
            return "warning";
        case Severity::Error:
            return "error";
    }
    return "note";
}

void KitReport::Add(Diag diag, const std::string& file, size_t line, const std::string& text) {
    items_.push_back(Diagnostic{diag, file, line, text});
}

size_t KitReport::Count(Severity severity) const {
    return static_cast<size_t>(
        std::count_if(items_.begin(), items_.end(),
                      [&](const Diagnostic& d) { return SeverityOf(d.diag) == severity; }));
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
        fprintf(out, "%s: %s: %s [%s]\n", place.c_str(), SeverityName(SeverityOf(d.diag)),
                d.text.c_str(), CodeOf(d.diag));
    }
    fprintf(out, "%s, %s\n", Plural(Count(Severity::Error), "error").c_str(),
            Plural(Count(Severity::Warning), "warning").c_str());
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
                SeverityName(SeverityOf(d.diag)), CodeOf(d.diag), JsonString(d.text).c_str());
        separator = ",\n";
    }
    fprintf(out, "\n]}\n");
}
