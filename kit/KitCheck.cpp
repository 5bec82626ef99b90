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
            Add(Diag::NotAFile, file, 0,
                "present, but not a file that can be read: the program counts it as present "
                "and reads nothing from it");
        }
    }
    const char* tables[] = {kGeneralTableFile, kPhsTableFile, kPairTableFile};
    const size_t present = static_cast<size_t>(std::count_if(
        std::begin(tables), std::end(tables), [&](const char* t) { return folder_.Has(t); }));
    hasSettings_ = folder_.Has(kIspSettingsFile);
    if (!hasSettings_ && present > 0) {
        Add(Diag::MigrationWithoutSettings, kIspSettingsFile, 0,
            "missing, but access-point tables are present: the main menu offers the migration, "
            "which stops at once with " +
                InQuotes(ProgramText(Message{IDS_NO_ISP_SETTINGS})));
    } else if (!hasSettings_) {
        Add(Diag::MissingSettings, kIspSettingsFile, 0,
            "missing: the windows keep their template captions and texts, and no name servers "
            "are written");
    }
    if (present == 0) {
        Add(Diag::NoTables, nullptr, 0,
            "no access-point table (APGEN.csv, APPHS.csv, APAIR.csv): the program opens the "
            "new-connection form directly, without its main menu and without the migration");
        return;
    }
    const char* kinds[] = {"general (dial-up)", "PHS", "pair (AIR-H)"};
    for (size_t i = 0; i < 3; ++i) {
        if (!folder_.Has(tables[i])) {
            Add(Diag::MissingTable, tables[i], 0,
                Format("missing: the migration finds no %s access point", kinds[i]));
        }
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
            Add(Diag::Encoding, file, line != 0 ? line : 1,
                "the file is UTF-16, not code page 932 (Shift-JIS): the program reads its bytes "
                "as they are and finds next to nothing usable in them");
            break;
        case Encoding::Utf8WithMark:
            Add(Diag::Encoding, file, 1,
                "the file starts with a UTF-8 byte-order mark (EF BB BF): the three bytes become "
                "part of the first line; save the file as code page 932 (Shift-JIS)");
            break;
        case Encoding::Utf8:
            Add(Diag::Encoding, file, line,
                "the file is UTF-8, not code page 932 (Shift-JIS): its Japanese text shows "
                "garbled in the program, first on this line");
            break;
        case Encoding::Invalid:
            Add(Diag::Encoding, file, line,
                Format("byte 0x%02X (file offset %zu) is not code page 932 (Shift-JIS) text",
                       static_cast<unsigned char>(bytes[offset]), offset));
            break;
    }
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
            Add(Diag::LongLine, file, number,
                Format("this line is %zu bytes long: the program reads %zu bytes at a time, so "
                       "from byte %zu on it is read as a line of its own",
                       length, piece, piece + 1));
        } else if (settings && length >= kDnsLineCapacity) {
            Add(Diag::LongLine, file, number,
                Format("this line is %zu bytes long: the name-server settings read %zu bytes at "
                       "a time, so for them its last byte is a line of its own",
                       length, kDnsLineCapacity - 1));
        }
    }
}

void KitChecker::CheckLogo() {
    if (!folder_.Has(kLogoFile)) {
        Add(Diag::MissingLogo, kLogoFile, 0, "no logo: the form's logo control stays hidden");
        return;
    }
    std::string bytes;
    if (!folder_.ReadBytes(kLogoFile, &bytes, kLogoReadLimit) || bytes.empty()) {
        if (folder_.IsReadableFile(kLogoFile)) {
            Add(Diag::LogoUnreadable, kLogoFile, 0,
                "the file is empty: the form shows its logo control and paints nothing");
        }
        return;
    }
    QuietUser user;
    PngImage image(user);
    if (!image.LoadFromMemory(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size())) {
        const Message shown = user.shown.empty() ? Message{IDS_PNG_ERROR} : user.shown[0];
        Add(Diag::LogoUndecodable, kLogoFile, 0,
            "does not decode as a PNG image: when the form opens it shows " +
                InQuotes(ProgramText(shown)) + " and draws no logo");
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
    Add(Diag::LogoInfo, kLogoFile, 0,
        Format("%ux%u pixels, %zu of them exact magenta (255, 0, 255) and drawn transparent", width,
               height, transparent));
    if (width > static_cast<uint32_t>(kLogoAreaWidth) ||
        height > static_cast<uint32_t>(kLogoAreaHeight)) {
        Add(Diag::LogoSize, kLogoFile, 0,
            Format("%ux%u pixels is larger than the logo area of about %dx%d pixels: the logo is "
                   "drawn at its own size from the area's corner, over whatever lies beside it",
                   width, height, kLogoAreaWidth, kLogoAreaHeight));
    }
    if (nearly > 0) {
        Add(Diag::LogoNearMagenta, kLogoFile, 0,
            Format("%zu pixels are nearly but not exactly magenta: only (255, 0, 255) is "
                   "transparent, these are drawn",
                   nearly));
    }
    if (alpha > 0) {
        Add(Diag::LogoAlpha, kLogoFile, 0,
            Format("%zu pixels are partly or fully transparent by their alpha, which the form "
                   "ignores: they are drawn in full colour (use exact magenta for transparency)",
                   alpha));
    }
}
