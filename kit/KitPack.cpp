// The pack: the kit checked, the program's image, the kit after it, the result read back.
#include "kit/KitPack.h"

#include <algorithm>
#include <cstring>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "kit/KitCheck.h"
#include "kit/KitFolder.h"
#include "kit/KitStrings.h"
#include "kit/KitText.h"
#include "kit/KitTool.h"
#include "res/resource.h"
#include "settings/DataFiles.h"

namespace {

const char kPackUsage[] =
    "usage: dialnest-kit pack [--lang=ja|en] [--dialnest PATH] KITDIR -o OUT.exe\n";

// A program file is read whole to be copied; Dialnest.exe is far smaller.
constexpr size_t kProgramReadLimit = 64 * 1024 * 1024;

struct PackArguments {
    std::string kit;
    std::string output;
    std::string program;
    Language language = UserLanguage();
    std::string error;
};

PackArguments ParsePack(int argc, const char* const* argv) {
    PackArguments a;
    bool command = false;
    for (int i = 1; i < argc && a.error.empty(); ++i) {
        std::string lang;
        if (OptionValue(argc, argv, &i, "--lang", &lang, &a.error)) {
            TakeLanguage(lang, &a.language, &a.error);
        } else if (OptionValue(argc, argv, &i, "--dialnest", &a.program, &a.error) ||
                   OptionValue(argc, argv, &i, "-o", &a.output, &a.error)) {
        } else if (argv[i][0] == '-') {
            a.error = std::string("unknown option ") + argv[i];
        } else if (!command) {
            command = true;  // "pack"
        } else if (a.kit.empty()) {
            a.kit = argv[i];
        } else {
            a.error = "too many arguments";
        }
    }
    if (a.error.empty() && a.kit.empty()) {
        a.error = "no KITDIR given";
    } else if (a.error.empty() && a.output.empty()) {
        a.error = "no -o OUT.exe given";
    }
    return a;
}

int PackUsage(FILE* err, const std::string& error) {
    fprintf(err, "dialnest-kit: %s\n%s", error.c_str(), kPackUsage);
    return kExitUsage;
}

bool ReadWhole(const std::string& path, std::string* bytes, size_t limit) {
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    bytes->clear();
    char block[65536];
    size_t n;
    while (bytes->size() <= limit && (n = fread(block, 1, sizeof(block), file)) > 0) {
        bytes->append(block, n);
    }
    const bool whole = ferror(file) == 0 && bytes->size() <= limit;
    fclose(file);
    return whole;
}

// `path` without its last part ("" when it has only one).
std::string Parent(const std::string& path, char separator) {
    const size_t cut = path.rfind(separator);
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

// The Dialnest.exe built or shipped beside this tool: in its own folder (a release), the
// folder above (build/windows/kit), or the Windows build beside a native one (build/native/kit).
std::string DefaultProgram() {
    std::string self;
#ifdef _WIN32
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    char folder[MAX_PATH];
    if (CutProgramDirectory(path, folder, sizeof(folder)) && n < sizeof(path)) {
        self = folder;
    }
    const char separator = '\\';
#else
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    self = n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
    const char separator = '/';
    self = Parent(self, separator);
#endif
    if (self.empty()) {
        return std::string();
    }
    // Folders are cut off rather than climbed with "..", so that the path printed is plain.
    const std::string name = std::string(1, separator) + "Dialnest.exe";
    const std::string up = Parent(self, separator);
    const std::string upTwice = Parent(up, separator);
    for (const std::string& candidate :
         {self + name, up + name, upTwice + separator + "windows" + name}) {
        if (FILE* file = fopen(candidate.c_str(), "rb")) {
            fclose(file);
            return candidate;
        }
    }
    return std::string();
}

// Everything in a kit folder that the program would not read, by name as shown.
std::string UnreadNames(const KitFolder& folder) {
    std::vector<std::string> read = {".", ".."};
    for (const char* provider : kCarriedFileNames) {
        if (folder.Has(provider)) {
            read.push_back(folder.Shown(provider).substr(folder.Path().size() + 1));
        }
    }
    std::string unread;
    for (const std::string& name : folder.Names()) {
        if (std::find(read.begin(), read.end(), name) == read.end()) {
            unread += (unread.empty() ? "\"" : ", \"") + ShowPath(name) + "\"";
        }
    }
    return unread;
}

std::string DownloadTime(Language language, size_t bytes, unsigned bitsPerSecond) {
    const unsigned long long seconds =
        (static_cast<unsigned long long>(bytes) * 8 + bitsPerSecond - 1) / bitsPerSecond;
    if (seconds < 60) {
        return Say(language, Phrase::Seconds, {Format("%llu", seconds)});
    }
    return Say(language, Phrase::MinutesSeconds,
               {Format("%llu", seconds / 60), Format("%llu", seconds % 60)});
}

// True when the file at `path` carries exactly `files`.
bool CarriesExactly(const std::string& path, const std::vector<PackedFile>& files) {
    CarriedKit written;
    if (written.Read(FileProgramBytes(path.c_str())) != CarriedKitState::Carried ||
        written.Count() != files.size()) {
        return false;
    }
    for (size_t i = 0; i < files.size(); ++i) {
        const CarriedFile& file = written.File(i);
        if (files[i].name != file.name || std::string(file.data, file.size) != files[i].bytes) {
            return false;
        }
    }
    return true;
}

}  // namespace

CarriedKitState OpenPackedProgram(KitFolder* folder, CarriedKit* carried) {
    if (folder->IsFolder()) {
        return CarriedKitState::None;
    }
    const CarriedKitState state = carried->Read(FileProgramBytes(folder->Path().c_str()));
    if (state == CarriedKitState::Carried) {
        folder->Carry(carried);
    }
    return state;
}

int ReportDamagedKit(const KitFolder& folder, CarriedKitState state, Language language, bool json,
                     FILE* out) {
    const Phrase reason = state == CarriedKitState::Truncated  ? Phrase::KitTruncated
                          : state == CarriedKitState::Unsound  ? Phrase::KitUnsound
                          : state == CarriedKitState::Checksum ? Phrase::KitChecksum
                          : state == CarriedKitState::TooLarge ? Phrase::KitTooLarge
                                                               : Phrase::KitUnreadable;
    KitReport report(language);
    report.Add(Msg::CarriedKitDamaged, ShowPath(folder.Path()), 0,
               {reason, InQuotes(ProgramText(Message{IDS_CARRIED_KIT_DAMAGED}))});
    if (json) {
        report.WriteJson(out, false, ShowPath(folder.Path()));
    } else {
        report.WriteText(out, false);
    }
    return kExitError;
}

int RunPack(int argc, const char* const* argv, FILE* out, FILE* err) {
    const PackArguments a = ParsePack(argc, argv);
    if (!a.error.empty()) {
        return PackUsage(err, a.error);
    }
    KitFolder folder(a.kit);
    CarriedKit carried;
    const CarriedKitState state = OpenPackedProgram(&folder, &carried);
    if (IsDamaged(state)) {
        return ReportDamagedKit(folder, state, a.language, false, out);
    }
    if (!folder.IsFolder() && !folder.IsCarried()) {
        return PackUsage(err, "no kit folder or packed program " + ShowPath(a.kit));
    }
    if (!folder.PathsFit()) {
        return PackUsage(err, "the kit folder's path is too long for the program's 260-byte paths");
    }
    const std::string programPath = a.program.empty() ? DefaultProgram() : a.program;
    if (programPath.empty()) {
        return PackUsage(err, "no Dialnest.exe beside dialnest-kit: name it with --dialnest PATH");
    }
    std::string program;
    std::string image;
    ProgramLayout layout;
    if (!ReadWhole(programPath, &program, kProgramReadLimit)) {
        return PackUsage(err, "cannot read the program " + ShowPath(programPath));
    }
    if (!ProgramImage(program, &image) ||
        !ReadProgramLayout(MemoryProgramBytes(program), &layout) || layout.subsystem != 2) {
        return PackUsage(err,
                         ShowPath(programPath) + " is not Dialnest.exe (a Windows window program)");
    }

    std::vector<PackedFile> files;
    for (const char* name : kCarriedFileNames) {
        PackedFile file{name, std::string()};
        if (folder.Has(name) && folder.ReadBytes(name, &file.bytes, kMaxCarriedKitBytes + 1)) {
            files.push_back(file);
        }
    }
    const std::string kit = PackKit(files);
    if (kit.size() > kMaxCarriedKitBytes) {
        fprintf(err, "dialnest-kit: the kit takes %zu bytes; a program carries at most %u\n",
                kit.size(), kMaxCarriedKitBytes);
        return kExitError;
    }

    KitReport report(a.language);
    CheckKit(folder, &report);
    const std::string unread = UnreadNames(folder);
    if (!unread.empty()) {
        report.Add(Msg::UnreadFiles, ShowPath(folder.Path()), 0, {unread});
    }
    report.WriteText(out, false);
    if (report.Count(Severity::Error) > 0) {
        fprintf(out, "%s\n", Say(a.language, Phrase::PackRefused).c_str());
        return kExitError;
    }
    FILE* file = fopen(a.output.c_str(), "wb");
    const bool written = file != nullptr &&
                         fwrite(image.data(), 1, image.size(), file) == image.size() &&
                         fwrite(kit.data(), 1, kit.size(), file) == kit.size();
    if ((file != nullptr && fclose(file) != 0) || !written || !CarriesExactly(a.output, files)) {
        remove(a.output.c_str());
        fprintf(err, "dialnest-kit: %s could not be written\n", ShowPath(a.output).c_str());
        return kExitError;
    }

    const std::string shown = ShowPath(a.output);
    fprintf(out, "%s\n",
            Say(a.language, Phrase::PackedInto, {shown, ShowPath(a.kit), ShowPath(programPath)})
                .c_str());
    for (const PackedFile& f : files) {
        fprintf(
            out, "%s\n",
            Say(a.language, Phrase::PackedFile, {f.name, Format("%zu", f.bytes.size())}).c_str());
    }
    const size_t total = image.size() + kit.size();
    fprintf(
        out, "%s\n",
        Say(a.language, Phrase::PackedSize,
            {shown, Format("%zu", total), Format("%zu", image.size()), Format("%zu", kit.size())})
            .c_str());
    fprintf(out, "%s\n",
            Say(a.language, Phrase::DownloadTime,
                {DownloadTime(a.language, total, 33600), DownloadTime(a.language, total, 56000),
                 DownloadTime(a.language, total, 64000)})
                .c_str());
    return kExitClean;
}
