// Arguments, options and the two commands.
#include "kit/KitTool.h"

#include <cstring>
#include <string>
#include <vector>

#include "kit/KitCheck.h"
#include "kit/KitFolder.h"
#include "kit/KitPack.h"
#include "kit/KitPreview.h"
#include "kit/KitReport.h"
#include "kit/KitRestore.h"
#include "kit/KitText.h"
#include "kit/PreviewPhonebook.h"

namespace {

const char kUsage[] =
    "usage: dialnest-kit check [--json] [--verbose] [--lang=ja|en] KITDIR\n"
    "       dialnest-kit preview [--json] [--os-class=nt|9x] [--lang=ja|en] KITDIR [PHONEBOOK]\n"
    "       dialnest-kit pack [--lang=ja|en] [--dialnest PATH] KITDIR -o OUT.exe\n"
    "       dialnest-kit restore --list | RUN [--dry-run | --apply] [OPTIONS]  (restore --help)\n"
    "KITDIR may also be a program made by pack: its carried kit is read.\n";
const char kHelp[] =
    "\n"
    "check    reads every provider file in KITDIR as Dialnest reads it and reports what it\n"
    "         sees: FILE:LINE: error|warning|note: text [code]; --verbose adds the notes and\n"
    "         the value in effect of every ISP_INF.csv key.\n"
    "preview  runs the migration's rules over PHONEBOOK (a substitute phonebook file; on\n"
    "         Windows the system's phonebook when none is given) without writing anything,\n"
    "         every proposal accepted, and tells entry by entry what it would do.\n"
    "         --os-class chooses the Windows family of the credential rules (default nt).\n"
    "pack     checks KITDIR as check does and, without errors, writes OUT.exe: a copy of\n"
    "         Dialnest.exe (--dialnest, else the one beside the tool) that carries the kit.\n"
    "restore  lists the runs of Dialnest's change journal on this machine, and puts back\n"
    "         what one of them changed, entry by entry, unless an entry changed since.\n"
    "--lang   the language of the reports: Japanese (ja) or English (en); by default the\n"
    "         user's (the locale, on Windows the user-interface language).\n"
    "\n"
    "exit status: 0 no error, 1 errors, 2 usage error\n";
const char kHelpJapanese[] =
    "\n"
    "check    KITDIR のプロバイダーファイルをすべて Dialnest と同じように読み、見たとおりを\n"
    "         報告します（ファイル:行: エラー|警告|注記: 内容 [コード]）。--verbose を付けると\n"
    "         注記と、ISP_INF.csv の各キーの有効な値も示します。\n"
    "preview  PHONEBOOK（代わりの電話帳ファイル。Windows で省略するとシステムの電話帳）に\n"
    "         移行の規則を当てはめ、何も書き込まずに、提案をすべて受け入れたものとして\n"
    "         エントリーごとに何が起きるかを示します。\n"
    "         --os-class は資格情報の規則に使う Windows の系統を選びます（既定は nt）。\n"
    "--lang   報告の言語: 日本語 (ja) か英語 (en)。既定はユーザーの言語（ロケール、\n"
    "         Windows ではユーザーインターフェイスの言語）です。\n"
    "\n"
    "終了コード: 0 エラーなし、1 エラーあり、2 使い方の誤り\n";

struct Arguments {
    std::string command;
    std::vector<std::string> operands;
    bool json = false;
    bool verbose = false;
    OsClass osClass = PreviewOptions().osClass;
    bool osClassGiven = false;
    Language language = UserLanguage();
    std::string error;
};

bool ParseOsClass(const std::string& text, OsClass* osClass) {
    if (text == "nt") {
        *osClass = 9;
    } else if (text == "9x") {
        *osClass = 6;
    } else if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') {
        *osClass = static_cast<OsClass>(text[0] - '0');
    } else {
        return false;
    }
    return true;
}

Arguments Parse(int argc, const char* const* argv) {
    Arguments a;
    for (int i = 1; i < argc && a.error.empty(); ++i) {
        const std::string arg = argv[i];
        std::string value;
        if (arg == "--json") {
            a.json = true;
        } else if (arg == "--verbose" || arg == "-v") {
            a.verbose = true;
        } else if (OptionValue(argc, argv, &i, "--os-class", &value, &a.error)) {
            a.osClassGiven = true;
            if (a.error.empty() && !ParseOsClass(value, &a.osClass)) {
                a.error = "--os-class takes nt, 9x or a class number 0-9, not \"" + value + "\"";
            }
        } else if (OptionValue(argc, argv, &i, "--lang", &value, &a.error)) {
            TakeLanguage(value, &a.language, &a.error);
        } else if (arg == "--help" || arg == "-h") {
            a.command = "help";
        } else if (arg.size() > 1 && arg[0] == '-') {
            a.error = "unknown option " + arg;
        } else if (a.command.empty()) {
            a.command = arg;
        } else {
            a.operands.push_back(arg);
        }
    }
    if (!a.error.empty() || a.command == "help") {
        return a;
    }
    if (a.command != "check" && a.command != "preview") {
        a.error = a.command.empty() ? "no command given" : "unknown command " + a.command;
    } else if (a.operands.empty()) {
        a.error = "no KITDIR given";
    } else if (a.operands.size() > (a.command == "check" ? 1u : 2u)) {
        a.error = "too many arguments";
    } else if (a.command == "check" && a.osClassGiven) {
        a.error = "--os-class is an option of preview";
    } else if (a.command == "preview" && a.verbose) {
        a.error = "--verbose is an option of check";
    }
    return a;
}

int Usage(FILE* err, const std::string& error) {
    fprintf(err, "dialnest-kit: %s\n%s", error.c_str(), kUsage);
    return kExitUsage;
}

int Check(const Arguments& a, KitFolder& folder, FILE* out) {
    KitReport report(a.language);
    CheckKit(folder, &report);
    if (a.json) {
        report.WriteJson(out, a.verbose, ShowPath(folder.Path()));
    } else {
        report.WriteText(out, a.verbose);
    }
    return report.Count(Severity::Error) > 0 ? kExitError : kExitClean;
}

int Preview(const Arguments& a, KitFolder& folder, FILE* out, FILE* err) {
    PreviewPhonebook phonebook;
    std::string source;  // UTF-8, as shown
    if (a.operands.size() == 2) {
        source = ShowPath(a.operands[1]);
        if (!phonebook.OpenFile(a.operands[1])) {
            return Usage(err, "no phonebook file " + source);
        }
    } else {
#ifdef _WIN32
        if (!phonebook.OpenSystem()) {
            fprintf(err, "dialnest-kit: the system's dial-up library cannot be loaded\n");
            return kExitError;
        }
        source = Say(a.language, Phrase::SystemPhonebook);
#else
        return Usage(err, "no PHONEBOOK given: here only a substitute phonebook file can be read");
#endif
    }
    if (!a.json) {
        fprintf(out, "%s\n",
                Say(a.language, Phrase::PreviewHeading, {ShowPath(folder.Path()), source}).c_str());
    }
    PreviewOptions options;
    options.osClass = a.osClass;
    options.json = a.json;
    options.language = a.language;
    return PreviewMigration(folder, phonebook, options, out);
}

}  // namespace

bool OptionValue(int argc, const char* const* argv, int* i, const char* name, std::string* value,
                 std::string* error) {
    const std::string arg = argv[*i];
    const size_t n = strlen(name);
    if (arg.compare(0, n, name) != 0 || (arg.size() > n && arg[n] != '=')) {
        return false;
    }
    if (arg.size() > n) {
        *value = arg.substr(n + 1);
    } else if (*i + 1 < argc) {
        *value = argv[++*i];
    } else {
        *error = std::string(name) + " needs a value";
    }
    return true;
}

void TakeLanguage(const std::string& value, Language* language, std::string* error) {
    if (value == "ja" || value == "en") {
        *language = value == "ja" ? Language::Japanese : Language::English;
    } else if (error->empty()) {
        *error = "--lang takes ja or en, not \"" + value + "\"";
    }
}

int RunKitTool(int argc, const char* const* argv, FILE* out, FILE* err) {
    // Options may come before the command, as with the other two.
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != '-') {
            if (strcmp(argv[i], "restore") == 0) {
                return RunRestore(argc, argv, out, err);
            }
            if (strcmp(argv[i], "pack") == 0) {
                return RunPack(argc, argv, out, err);
            }
            break;
        }
    }
    const Arguments a = Parse(argc, argv);
    if (a.command == "help") {
        fputs(kUsage, out);
        fputs(a.language == Language::Japanese ? kHelpJapanese : kHelp, out);
        return kExitClean;
    }
    if (!a.error.empty()) {
        return Usage(err, a.error);
    }
    KitFolder folder(a.operands[0]);
    CarriedKit carried;
    const CarriedKitState state = OpenPackedProgram(&folder, &carried);
    if (IsDamaged(state)) {
        return ReportDamagedKit(folder, state, a.language, a.json, out);
    }
    if (!folder.IsFolder() && !folder.IsCarried()) {
        return Usage(err,
                     "no kit folder, nor a program that carries a kit: " + ShowPath(a.operands[0]));
    }
    if (!folder.PathsFit()) {
        return Usage(err,
                     "the kit folder's path is too long for the program's 260-byte paths: "
                     "give a shorter (for example a relative) path");
    }
    return a.command == "check" ? Check(a, folder, out) : Preview(a, folder, out, err);
}
