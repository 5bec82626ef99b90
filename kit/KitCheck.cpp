// The kit check as a whole: which provider files are present, their encoding and line
// lengths, and the logo; the parts for each file follow in the files named in KitChecker.h.
#include "kit/KitCheck.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "kit/KitChecker.h"
#include "kit/KitStrings.h"
#include "kit/KitText.h"
#include "logo/LogoArea.h"
#include "logo/PngImage.h"
#include "res/resource.h"
#include "settings/ByteText.h"

namespace {

// Provider files are small; a larger one is looked at for its encoding up to here.
constexpr size_t kEncodingScanLimit = 16 * 1024 * 1024;
// Logo.png is read whole, as the form reads it.
constexpr size_t kLogoReadLimit = 64 * 1024 * 1024;

enum class Encoding { Cp932, Utf16, Utf8WithMark, Utf8, Invalid };

// UTF-8 that is not plain ASCII: the offset of its first multi-byte sequence, or npos.
size_t FirstUtf8Sequence(const std::string& bytes) {
    size_t first = std::string::npos;
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        const size_t n = b < 0x80         ? 1
                         : (b >> 5) == 6  ? 2
                         : (b >> 4) == 14 ? 3
                         : (b >> 3) == 30 ? 4
                                          : 0;
        if (n == 0 || i + n > bytes.size()) {
            return std::string::npos;
        }
        for (size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) >> 6) != 2) {
                return std::string::npos;
            }
        }
        if (n > 1 && first == std::string::npos) {
            first = i;
        }
        i += n;
    }
    return first;
}

Encoding ClassifyEncoding(const std::string& bytes, size_t* offset) {
    *offset = 0;
    if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                              (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
        return Encoding::Utf16;
    }
    const size_t zero = bytes.find('\0');
    if (zero != std::string::npos) {
        *offset = zero;
        return Encoding::Utf16;
    }
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        return Encoding::Utf8WithMark;
    }
    *offset = FirstUtf8Sequence(bytes);
    if (*offset != std::string::npos) {
        return Encoding::Utf8;
    }
    *offset = FindInvalid932(bytes.data(), bytes.size());
    return *offset < bytes.size() ? Encoding::Invalid : Encoding::Cp932;
}

// The line that holds byte `offset` of the file, 0 when no piece does.
size_t LineAt(const ObservedLines& lines, size_t offset) {
    for (const ObservedLine& l : lines) {
        if (offset >= l.place.offset && offset < l.place.offset + l.place.length) {
            return l.place.line;
        }
    }
    return 0;
}

}  // namespace

void CheckKit(KitFolder& folder, KitReport* report) {
    KitChecker(folder, report).Run();
}

void KitChecker::CheckPresence() {
    const char* files[] = {kIspSettingsFile, kMethodMenuFile, kGeneralTableFile,
                           kPhsTableFile,    kPairTableFile,  kLogoFile};
    for (const char* file : files) {
        if (folder_.Has(file) && !folder_.IsReadableFile(file)) {
            Add(Msg::NotAFile, file, 0);
        }
        if (file != kLogoFile) {
            CheckLookalike(file);
        }
    }
    const char* tables[] = {kGeneralTableFile, kPhsTableFile, kPairTableFile};
    const size_t present = static_cast<size_t>(std::count_if(
        std::begin(tables), std::end(tables), [&](const char* t) { return folder_.Has(t); }));
    hasSettings_ = folder_.Has(kIspSettingsFile);
    if (!hasSettings_ && present > 0) {
        Add(Msg::MigrationWithoutSettings, kIspSettingsFile, 0,
            {InQuotes(ProgramText(Message{IDS_NO_ISP_SETTINGS}))});
    } else if (!hasSettings_) {
        Add(Msg::MissingSettings, kIspSettingsFile, 0);
    }
    if (present == 0) {
        Add(Msg::NoTables, nullptr, 0);
        return;
    }
    const Phrase kinds[] = {Phrase::GeneralKind, Phrase::PhsKind, Phrase::PairKind};
    for (size_t i = 0; i < 3; ++i) {
        if (!folder_.Has(tables[i])) {
            Add(Msg::MissingTable, tables[i], 0, {kinds[i]});
        }
    }
}

namespace {

// A name as staff and their tools turn it: letters in one case, without blanks, without
// the extensions an editor or a spreadsheet adds or puts in the place of ".csv".
std::string NameStem(const std::string& name) {
    std::string folded;
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c == 0x81 && i + 1 < name.size() && name[i + 1] == '\x40') {
            ++i;  // a full-width blank
        } else if (c != ' ' && c != '\t') {
            folded += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        }
    }
    for (bool cut = true; cut;) {
        cut = false;
        for (const char* extension : {".csv", ".txt", ".xls", ".xlsx", ".tsv", "."}) {
            const size_t n = strlen(extension);
            if (folded.size() > n && folded.compare(folded.size() - n, n, extension) == 0) {
                folded.resize(folded.size() - n);
                cut = true;
            }
        }
    }
    return folded;
}

}  // namespace

void KitChecker::CheckLookalike(const char* file) {
    if (folder_.Has(file)) {
        return;
    }
    const char* files[] = {kIspSettingsFile, kMethodMenuFile, kGeneralTableFile,
                           kPhsTableFile,    kPairTableFile,  kLogoFile};
    for (const std::string& name : folder_.Names()) {
        // One provider file is never another one misspelt.
        const bool provider = std::any_of(std::begin(files), std::end(files), [&](const char* f) {
            return EqualsNoCase(name.c_str(), f);
        });
        // Misspelt by one letter, or with an extension or blanks that tools add.
        if (!provider && EditDistance(NameStem(name), NameStem(file)) <= 1) {
            Add(Msg::LookalikeFile, file, 0, {file, Quoted(name)});
            return;
        }
    }
}

void KitChecker::CheckQuotes(const char* file, const ObservedLines& lines) {
    std::string shown;
    size_t first = 0;
    size_t count = 0;
    for (const ObservedLine& l : lines) {
        if (l.place.column > 0) {
            continue;
        }
        // A quoted cell with a comma in it is split by the readers: its quotes then stand
        // at the start of one column and the end of a later one.
        bool open = false;
        bool quoted = false;
        for (const std::string& column : Columns(l.text)) {
            const std::string field = Trimmed(column);
            if (field.empty()) {
                continue;
            }
            const bool opens = !open && field.front() == '"';
            if ((opens && field.size() >= 2 && field.back() == '"') ||
                (open && field.back() == '"')) {
                quoted = true;
                open = false;
            } else if (opens) {
                open = true;
            }
        }
        if (quoted) {
            first = first == 0 ? l.place.line : first;
            shown += (shown.empty() ? "" : ", ") + Format("%zu", l.place.line);
            ++count;
            quoted_.insert({file, l.place.line});
        }
    }
    if (first > 0) {
        Add(Msg::SpreadsheetQuotes, file, first, {shown, Format("%zu", count)});
    }
}

void KitChecker::CheckTextFile(const char* file, const ObservedLines& lines, size_t capacity) {
    std::string bytes;
    if (!folder_.ReadBytes(file, &bytes, kEncodingScanLimit)) {
        return;
    }
    size_t offset = 0;
    const Encoding encoding = ClassifyEncoding(bytes, &offset);
    const size_t line = LineAt(lines, offset);
    switch (encoding) {
        case Encoding::Cp932:
            break;
        case Encoding::Utf16:
            Add(Msg::EncodingUtf16, file, line != 0 ? line : 1);
            break;
        case Encoding::Utf8WithMark:
            Add(Msg::EncodingBom, file, 1);
            break;
        case Encoding::Utf8:
            Add(Msg::EncodingUtf8, file, line);
            break;
        case Encoding::Invalid:
            Add(Msg::EncodingInvalid, file, line,
                {Format("%02X", static_cast<unsigned char>(bytes[offset])), Format("%zu", offset)});
            break;
    }
    CheckQuotes(file, lines);
    // Lengths of the physical lines that were delivered in more than one piece, or that
    // the name-server settings (one byte shorter a piece) cut in ISP_INF.csv.
    const size_t piece = capacity - 1;
    const bool settings = strcmp(file, kIspSettingsFile) == 0;
    std::map<size_t, size_t> lengths;
    for (const ObservedLine& l : lines) {
        lengths[l.place.line] += l.place.length;
    }
    for (const auto& [number, length] : lengths) {
        if (length > piece) {
            Add(Msg::LongLine, file, number,
                {Format("%zu", length), Format("%zu", piece), Format("%zu", piece + 1)});
        } else if (settings && length >= kDnsLineCapacity) {
            Add(Msg::LongDnsLine, file, number,
                {Format("%zu", length), Format("%zu", kDnsLineCapacity - 1)});
        }
    }
}

void KitChecker::CheckLogo() {
    if (!folder_.Has(kLogoFile)) {
        Add(Msg::MissingLogo, kLogoFile, 0);
        return;
    }
    std::string bytes;
    if (!folder_.ReadBytes(kLogoFile, &bytes, kLogoReadLimit) || bytes.empty()) {
        if (folder_.IsReadableFile(kLogoFile)) {
            Add(Msg::LogoUnreadable, kLogoFile, 0);
        }
        return;
    }
    QuietUser user;
    PngImage image(user);
    if (!image.LoadFromMemory(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size())) {
        const Message shown = user.shown.empty() ? Message{IDS_PNG_ERROR} : user.shown[0];
        Add(Msg::LogoUndecodable, kLogoFile, 0, {InQuotes(ProgramText(shown))});
        return;
    }
    const uint32_t width = image.Width();
    const uint32_t height = image.Height();
    size_t transparent = 0;
    size_t nearly = 0;
    size_t alpha = 0;
    for (uint32_t y = 0; y < height; ++y) {
        const unsigned char* p = image.Rows()[y];
        for (uint32_t x = 0; x < width; ++x, p += 4) {
            const LogoColour& t = kLogoTransparentColour;
            const bool exact = p[0] == t.red && p[1] == t.green && p[2] == t.blue;
            transparent += exact;
            nearly += !exact && abs(p[0] - t.red) <= 8 && abs(p[1] - t.green) <= 8 &&
                      abs(p[2] - t.blue) <= 8;
            alpha += p[3] != 0xFF;
        }
    }
    Add(Msg::LogoInfo, kLogoFile, 0,
        {Format("%u", width), Format("%u", height), Format("%zu", transparent)});
    if (width > static_cast<uint32_t>(kLogoAreaWidth) ||
        height > static_cast<uint32_t>(kLogoAreaHeight)) {
        Add(Msg::LogoSize, kLogoFile, 0,
            {Format("%u", width), Format("%u", height), Format("%d", kLogoAreaWidth),
             Format("%d", kLogoAreaHeight)});
    }
    if (nearly > 0) {
        Add(Msg::LogoNearMagenta, kLogoFile, 0, {Format("%zu", nearly)});
    }
    if (alpha > 0) {
        Add(Msg::LogoAlpha, kLogoFile, 0, {Format("%zu", alpha)});
    }
}
