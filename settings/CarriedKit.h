// A provider kit carried by the program file itself: the provider files, packed right after
// the image of Dialnest.exe (its headers, sections and symbols). The loader never maps those
// bytes, and Authenticode hashes them with the rest of the file, so a signature covers the
// kit; signing appends its certificate table after them, so the kit is found from the
// headers, never from the end of the file.
//
// Layout, little-endian, where the image ends:
//   8 bytes   kCarriedKitMagic
//   4 bytes   CRC-32 of every byte of the kit after this field
//   4 bytes   format (1)
//   4 bytes   length of the whole kit, this header included
//   4 bytes   number of files (at most kMaxCarriedFiles)
//   per file  16-byte name (a provider file name, zero-filled), 4-byte offset from the
//             kit's start, 4-byte size
//   then the files' bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "settings/MemoryDataFiles.h"

constexpr char kCarriedKitMagic[] = "DNKIT\r\n\x1A";  // 8 bytes without the terminator
constexpr uint32_t kCarriedKitHeaderSize = 24;
constexpr uint32_t kCarriedEntrySize = 24;
constexpr uint32_t kCarriedNameSize = 16;
constexpr uint32_t kMaxCarriedFiles = 6;  // the six provider files, each at most once
// Their names, in the order a pack stores them.
extern const char* const kCarriedFileNames[kMaxCarriedFiles];
// A kit of more is refused by the pack and read as damaged: over a 56 kbit/s line it would
// take the subscriber some forty minutes.
constexpr uint32_t kMaxCarriedKitBytes = 16u * 1024 * 1024;

// The bytes of a program file, read where they are asked for.
class ProgramBytes {
public:
    virtual ~ProgramBytes() = default;
    // The file's length in bytes (a file of 4 GiB or more reports 0xFFFFFFFF).
    virtual uint32_t Size() const = 0;
    // False unless all `size` bytes at `offset` were read into `out`.
    virtual bool ReadAt(uint32_t offset, void* out, uint32_t size) const = 0;
};

// A program file held in memory; `bytes` is not copied and must outlive this object.
// Defined in the header, like MemoryDataFiles, so that code with and without run-time type
// information can both use it.
class MemoryProgramBytes : public ProgramBytes {
public:
    explicit MemoryProgramBytes(const std::string& bytes) : bytes_(bytes) {}
    uint32_t Size() const override {
        return bytes_.size() > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(bytes_.size());
    }
    bool ReadAt(uint32_t offset, void* out, uint32_t size) const override {
        if (offset > bytes_.size() || size > bytes_.size() - offset) {
            return false;
        }
        memcpy(out, bytes_.data() + offset, size);
        return true;
    }

private:
    const std::string& bytes_;
};

// A program file on disk, opened by its path (code page 932) for reading. In the header too,
// for the same reason.
class FileProgramBytes : public ProgramBytes {
public:
    explicit FileProgramBytes(const char* path) {
        file_ = path != nullptr ? fopen(path, "rb") : nullptr;
        long size = -1;
        if (file_ != nullptr && fseek(file_, 0, SEEK_END) == 0) {
            size = ftell(file_);
        }
        size_ = size > 0 ? static_cast<uint32_t>(size) : 0;
    }
    ~FileProgramBytes() override {
        if (file_ != nullptr) {
            fclose(file_);
        }
    }
    FileProgramBytes(const FileProgramBytes&) = delete;
    FileProgramBytes& operator=(const FileProgramBytes&) = delete;
    uint32_t Size() const override { return size_; }
    bool ReadAt(uint32_t offset, void* out, uint32_t size) const override {
        return file_ != nullptr && offset <= size_ && size <= size_ - offset &&
               offset <= 0x7FFFFFFFu && fseek(file_, static_cast<long>(offset), SEEK_SET) == 0 &&
               fread(out, 1, size, file_) == size;
    }

private:
    FILE* file_ = nullptr;
    uint32_t size_ = 0;
};

// Where a 32-bit or 64-bit Windows program file ends and what follows it.
struct ProgramLayout {
    uint32_t imageEnd = 0;       // the end of the headers, the sections and the symbols
    uint32_t kitLimit = 0;       // carried bytes end here: the certificate table or the end
    uint32_t securityEntry = 0;  // offset of the security directory's entry; 0 when none
    uint16_t subsystem = 0;      // 2 a window program, 3 a console program
};

// False when `program` is no Windows program file whose headers and sections lie whole in it.
bool ReadProgramLayout(const ProgramBytes& program, ProgramLayout* layout);

enum class CarriedKitState {
    None,        // no kit is carried: the program reads the files beside it
    Carried,     // read whole, its checksum matching
    Truncated,   // the kit runs past the end of the file, or into its certificate table
    Unsound,     // a file's place or length runs past the kit, or a name or count is wrong
    Checksum,    // its bytes are not the ones packed
    TooLarge,    // it claims more than kMaxCarriedKitBytes
    Unreadable,  // its bytes could not be read or held
};

// A damaged kit: the program shows IDS_CARRIED_KIT_DAMAGED and does nothing else.
inline bool IsDamaged(CarriedKitState state) {
    return state != CarriedKitState::None && state != CarriedKitState::Carried;
}

struct CarriedFile {
    char name[kCarriedNameSize];
    uint32_t offset;  // from the kit's start
    uint32_t size;
    const char* data;
};

// The kit a program file carries, held in memory after one read.
class CarriedKit {
public:
    CarriedKit() = default;
    ~CarriedKit() { delete[] bytes_; }
    CarriedKit(const CarriedKit&) = delete;
    CarriedKit& operator=(const CarriedKit&) = delete;

    // Looks for a kit after the image in `program` and reads it whole; its files are held
    // only when the result is Carried.
    CarriedKitState Read(const ProgramBytes& program);

    // The carried files as the program's provider files, by their names.
    const DataFiles& Files() const { return files_; }
    size_t Count() const { return count_; }
    const CarriedFile& File(size_t i) const { return entries_[i]; }
    // Where the kit starts in the file and how long it says it is; 0 before a magic was found.
    uint32_t Offset() const { return offset_; }
    uint32_t Length() const { return length_; }

private:
    CarriedKitState Check();

    char* bytes_ = nullptr;
    uint32_t offset_ = 0;
    uint32_t length_ = 0;
    size_t count_ = 0;
    CarriedFile entries_[kMaxCarriedFiles] = {};
    MemoryDataFiles files_;
};

// CRC-32 (the polynomial of zlib and PNG) of `size` bytes, continuing from `crc`.
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);

struct PackedFile {
    std::string name;  // a provider file name, as the program asks for it
    std::string bytes;
};

// The bytes of a kit that carries `files` (each a provider file, at most once).
std::string PackKit(const std::vector<PackedFile>& files);

// `program` cut to its image, ready to carry a kit: what followed it (an old kit, a
// signature) is left out and the headers no longer point there. False when it is no Windows
// program.
bool ProgramImage(const std::string& program, std::string* image);
