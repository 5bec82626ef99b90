// The kit a program file carries: found after the image, also when a signature follows it,
// and every way of damaging it read as damage, never past the bytes there are.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "settings/CarriedKit.h"
#include "support/TempFolder.h"

namespace {

std::string U32(uint32_t value) {
    return std::string{char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}

// The catalogue's stand-in for a program (its image, the first 1 KiB) without its signature.
std::string Stub() {
    const std::string here = __FILE__;
    std::ifstream in(here.substr(0, here.rfind("unit/")) + "data/bad-input/carried-signed.exe",
                     std::ios::binary);
    const std::string all{std::istreambuf_iterator<char>(in), {}};
    return all.substr(0, 1024).replace(0x58 + 128, 8, 8, '\0');
}

// The same image ending in a COFF symbol table of two symbols and its string table of ten
// bytes, in place of the last 46 bytes of its section.
std::string StubWithSymbols() {
    return Stub()
        .replace(0x138 + 16, 4, U32(0x200 - 46))
        .replace(0x40 + 12, 8, U32(1024 - 46) + U32(2))
        .replace(1024 - 10, 4, U32(10));
}

TEST(CarriedKit, FoundAfterTheImageAndDamageToldApart) {
    std::vector<PackedFile> files;
    for (const char* name : kCarriedFileNames) {
        files.push_back({name, std::string(name) + " bytes\r\n"});
    }
    files[5].bytes.clear();  // an empty file is carried too
    const uint32_t index = kCarriedKitHeaderSize + 6 * kCarriedEntrySize;
    const std::string kit = PackKit(files);
    using S = CarriedKitState;
    struct Case {
        const char* name;
        size_t size;  // the program cut to this many bytes (0: whole)
        size_t at;    // these bytes written at this offset into the kit (0: none)
        std::string bytes;
        bool checksumFixed;  // and its checksum made right
        int certificate;     // a certificate table this far from the kit's end (0: none)
        S state;
        bool symbols = false;  // the image ends in a COFF symbol table
    } cases[] = {
        {"six files", 0, 0, "", false, 0, S::Carried},
        {"six files after a COFF symbol table", 0, 0, "", false, 0, S::Carried, true},
        {"no kit", 1024, 0, "", false, 0, S::None},
        {"other bytes after the image", 0, 1, "X", false, 0, S::None},
        {"a certificate table after it", 0, 0, "", false, 3, S::Carried},
        {"a certificate table one byte into it", 0, 0, "", false, -1, S::Truncated},
        {"cut one byte short", 1023 + kit.size(), 0, "", false, 0, S::Truncated},
        {"cut inside its header", 1024 + 20, 0, "", false, 0, S::Truncated},
        {"a length one past its end", 0, 24 + 20, U32(uint32_t(kit.size()) - index + 1), true, 0,
         S::Unsound},
        {"a file inside the index", 0, 48 + 16, U32(index - 1), true, 0, S::Unsound},
        {"one byte changed", 0, index, "x", false, 0, S::Checksum},
        {"seven files", 0, 20, U32(7), true, 0, S::Unsound},
        {"a name twice", 0, 48, kIspSettingsFile, true, 0, S::Unsound},
        {"a name the program does not read", 0, 48, "README.txt", true, 0, S::Unsound},
        {"a name without its end", 0, 144, "Logo.png........", true, 0, S::Unsound},
        {"a later format", 0, 12, U32(2), true, 0, S::Unsound},
        {"one byte more than a kit may hold", 0, 16, U32(kMaxCarriedKitBytes + 1), false, 0,
         S::TooLarge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string program = (c.symbols ? StubWithSymbols() : Stub()) + kit;
        program.replace(1024 + c.at, c.bytes.size(), c.bytes);
        if (c.checksumFixed) {
            program.replace(1024 + 8, 4, U32(Crc32(&program[1024 + 12], kit.size() - 12)));
        }
        if (c.certificate != 0) {
            program.replace(0x58 + 128, 4, U32(uint32_t(program.size() + c.certificate)));
            program += std::string(48, '0');
        }
        program.resize(c.size != 0 ? c.size : program.size());
        TempFolder folder;
        folder.Write("Dialnest.exe", program);
        CarriedKit inMemory, onDisk;
        const S state = inMemory.Read(MemoryProgramBytes(program));
        EXPECT_EQ(state, c.state);
        EXPECT_EQ(onDisk.Read(FileProgramBytes(folder.PathTo("Dialnest.exe").c_str())), state);
        for (const PackedFile& file : files) {
            const char* data = nullptr;
            size_t size = 0;
            const bool held = inMemory.Files().HeldBytes(file.name.c_str(), &data, &size);
            EXPECT_EQ(held ? std::string(data, size) : "-", state == S::Carried ? file.bytes : "-");
        }
    }

    // The largest kit a program may carry is read whole.
    files = {{kLogoFile, std::string(kMaxCarriedKitBytes - 48, 'x')}};
    CarriedKit largest;
    EXPECT_EQ(largest.Read(MemoryProgramBytes(Stub() + PackKit(files))), S::Carried);
    EXPECT_EQ(largest.Length(), kMaxCarriedKitBytes);
}

}  // namespace
