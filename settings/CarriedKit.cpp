// The carried kit: finding it after the program's image, checking it, packing it.
#include "settings/CarriedKit.h"

#include <new>

#include "settings/DataFiles.h"

const char* const kCarriedFileNames[kMaxCarriedFiles] = {
    kIspSettingsFile, kMethodMenuFile, kGeneralTableFile, kPhsTableFile, kPairTableFile, kLogoFile};

namespace {

uint16_t Get16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Get32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void Put32(std::string* bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        (*bytes)[at + i] = static_cast<char>(value >> (8 * i));
    }
}

// A name field holds one provider file's name, zero-filled; the name is stored as given.
const char* ProviderFileNamed(const char (&field)[kCarriedNameSize]) {
    if (memchr(field, '\0', sizeof(field)) == nullptr) {
        return nullptr;
    }
    for (const char* name : kCarriedFileNames) {
        if (strcmp(field, name) == 0) {
            return name;
        }
    }
    return nullptr;
}

}  // namespace

uint32_t Crc32(const void* data, size_t size, uint32_t crc) {
    // A byte at a time through a table: a kit of 16 MiB is checked in a blink.
    static uint32_t table[256];
    if (table[1] == 0) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int bit = 0; bit < 8; ++bit) {
                c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
            }
            table[n] = c;
        }
    }
    const unsigned char* p = static_cast<const unsigned char*>(data);
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

bool ReadProgramLayout(const ProgramBytes& program, ProgramLayout* layout) {
    *layout = ProgramLayout{};
    unsigned char dos[64];
    if (!program.ReadAt(0, dos, sizeof(dos)) || dos[0] != 'M' || dos[1] != 'Z') {
        return false;
    }
    const uint32_t pe = Get32(dos + 0x3C);
    unsigned char coff[24];
    // Far enough below 4 GiB that no offset computed from it wraps.
    if (pe > 0x10000000u || !program.ReadAt(pe, coff, sizeof(coff)) ||
        memcmp(coff, "PE\0\0", 4) != 0) {
        return false;
    }
    const uint32_t sections = Get16(coff + 6);
    const uint32_t optionalSize = Get16(coff + 20);
    const uint32_t optional = pe + 24;
    // Two magics: 32-bit programs and 64-bit ones; the data directories stand further on in
    // the latter, and the fields we read are the same otherwise.
    unsigned char header[240] = {};
    if (optionalSize < 96 || sections > 96 ||
        !program.ReadAt(optional, header, optionalSize < 240 ? optionalSize : 240)) {
        return false;
    }
    const uint16_t magic = Get16(header);
    if (magic != 0x10B && magic != 0x20B) {
        return false;
    }
    layout->subsystem = Get16(header + 68);
    const uint32_t directories = magic == 0x10B ? 96 : 112;
    const uint32_t directoryCount = Get32(header + directories - 4);
    const uint32_t security = directories + 4 * 8;
    uint32_t certificates = 0;
    if (directoryCount > 4 && optionalSize >= security + 8) {
        layout->securityEntry = optional + security;
        certificates = Get32(header + security);
    }
    uint64_t end = Get32(header + 60);  // SizeOfHeaders
    for (uint32_t i = 0; i < sections; ++i) {
        unsigned char section[40];
        if (!program.ReadAt(optional + optionalSize + 40 * i, section, sizeof(section))) {
            return false;
        }
        const uint64_t rawSize = Get32(section + 16);
        const uint64_t rawEnd = Get32(section + 20) + rawSize;
        if (rawSize > 0 && rawEnd > end) {
            end = rawEnd;
        }
    }
    // A COFF symbol table and its string table, which holds the long section names, belong
    // to the image too.
    const uint64_t symbols = Get32(coff + 12);
    unsigned char strings[4];
    if (symbols != 0) {
        const uint64_t table = symbols + uint64_t{Get32(coff + 16)} * 18;
        if (table > 0xFFFFFFFBu || !program.ReadAt(static_cast<uint32_t>(table), strings, 4)) {
            return false;
        }
        const uint64_t tableEnd = table + (Get32(strings) > 4 ? Get32(strings) : 4);
        end = tableEnd > end ? tableEnd : end;
    }
    if (end > program.Size()) {
        return false;
    }
    layout->imageEnd = static_cast<uint32_t>(end);
    layout->kitLimit = certificates >= end && certificates <= program.Size() && certificates != 0
                           ? certificates
                           : program.Size();
    return true;
}

CarriedKitState CarriedKit::Read(const ProgramBytes& program) {
    delete[] bytes_;
    bytes_ = nullptr;
    offset_ = length_ = 0;
    count_ = 0;
    for (const char* name : kCarriedFileNames) {
        files_.Forget(name);
    }
    ProgramLayout layout;
    char magic[8];
    if (!ReadProgramLayout(program, &layout) || layout.kitLimit - layout.imageEnd < 8 ||
        !program.ReadAt(layout.imageEnd, magic, sizeof(magic)) ||
        memcmp(magic, kCarriedKitMagic, sizeof(magic)) != 0) {
        return CarriedKitState::None;
    }
    offset_ = layout.imageEnd;
    const uint32_t available = layout.kitLimit - layout.imageEnd;
    unsigned char header[kCarriedKitHeaderSize];
    if (available < sizeof(header)) {
        return CarriedKitState::Truncated;
    }
    if (!program.ReadAt(offset_, header, sizeof(header))) {
        return CarriedKitState::Unreadable;
    }
    length_ = Get32(header + 16);
    const uint32_t count = Get32(header + 20);
    if (Get32(header + 12) != 1 || count > kMaxCarriedFiles ||
        length_ < kCarriedKitHeaderSize + count * kCarriedEntrySize) {
        return CarriedKitState::Unsound;
    }
    if (length_ > kMaxCarriedKitBytes) {
        return CarriedKitState::TooLarge;
    }
    if (length_ > available) {
        return CarriedKitState::Truncated;
    }
    bytes_ = new (std::nothrow) char[length_];
    if (bytes_ == nullptr || !program.ReadAt(offset_, bytes_, length_)) {
        return CarriedKitState::Unreadable;
    }
    if (Crc32(bytes_ + 12, length_ - 12) != Get32(header + 8)) {
        return CarriedKitState::Checksum;
    }
    count_ = count;
    const CarriedKitState state = Check();
    if (state != CarriedKitState::Carried) {
        count_ = 0;
        for (const char* name : kCarriedFileNames) {
            files_.Forget(name);
        }
    }
    return state;
}

CarriedKitState CarriedKit::Check() {
    const uint32_t dataStart =
        kCarriedKitHeaderSize + static_cast<uint32_t>(count_) * kCarriedEntrySize;
    for (size_t i = 0; i < count_; ++i) {
        const unsigned char* entry = reinterpret_cast<const unsigned char*>(bytes_) +
                                     kCarriedKitHeaderSize + i * kCarriedEntrySize;
        CarriedFile& file = entries_[i];
        memcpy(file.name, entry, kCarriedNameSize);
        file.offset = Get32(entry + 16);
        file.size = Get32(entry + 20);
        const char* name = ProviderFileNamed(file.name);
        if (name == nullptr || files_.Exists(name) || file.offset < dataStart ||
            file.offset > length_ || file.size > length_ - file.offset) {
            return CarriedKitState::Unsound;
        }
        file.data = bytes_ + file.offset;
        files_.Hold(name, file.data, file.size);
    }
    return CarriedKitState::Carried;
}

std::string PackKit(const std::vector<PackedFile>& files) {
    const uint32_t count = static_cast<uint32_t>(files.size());
    std::string kit(kCarriedKitHeaderSize + count * kCarriedEntrySize, '\0');
    memcpy(&kit[0], kCarriedKitMagic, 8);
    Put32(&kit, 12, 1);
    Put32(&kit, 20, count);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = kCarriedKitHeaderSize + i * kCarriedEntrySize;
        memcpy(
            &kit[entry], files[i].name.c_str(),
            files[i].name.size() < kCarriedNameSize ? files[i].name.size() : kCarriedNameSize - 1);
        Put32(&kit, entry + 16, static_cast<uint32_t>(kit.size()));
        Put32(&kit, entry + 20, static_cast<uint32_t>(files[i].bytes.size()));
        kit += files[i].bytes;
    }
    Put32(&kit, 16, static_cast<uint32_t>(kit.size()));
    Put32(&kit, 8, Crc32(kit.data() + 12, kit.size() - 12));
    return kit;
}

bool ProgramImage(const std::string& program, std::string* image) {
    ProgramLayout layout;
    if (!ReadProgramLayout(MemoryProgramBytes(program), &layout)) {
        return false;
    }
    *image = program.substr(0, layout.imageEnd);
    // A signature of the program alone would point past the image: the packed program is
    // signed as a whole.
    if (layout.securityEntry != 0) {
        Put32(image, layout.securityEntry, 0);
        Put32(image, layout.securityEntry + 4, 0);
    }
    return true;
}
