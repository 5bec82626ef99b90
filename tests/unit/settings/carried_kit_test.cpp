// The kit a program file carries: found after the image, also when a signature follows it,
// and every way of damaging it read as damage, never past the bytes there are.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "settings/CarriedKit.h"
#include "support/TempFolder.h"

namespace {

void Put32(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>(value >> (8 * i));
    }
}

// A stand-in for a program: headers, one section at 512, and the carried kit at 1024.
constexpr size_t kKit = 1024;
std::string Stub() {
    std::string pe(kKit, '\0');
    pe.replace(0, 2, "MZ");
    Put32(pe, 0x3C, 0x40);
    pe.replace(0x40, 4, std::string("PE\0\0", 4));
    Put32(pe, 0x44, 0x1014C);     // i386, one section
    Put32(pe, 0x54, 224);         // optional header size
    Put32(pe, 0x58, 0x10B);       // 32-bit
    Put32(pe, 0x58 + 60, 512);    // headers
    Put32(pe, 0x58 + 92, 16);     // data directories
    Put32(pe, 0x138 + 16, 512);   // the section's raw size
    Put32(pe, 0x138 + 20, 512);   // and place
    return pe;
}

void FixChecksum(std::string& p) {
    Put32(p, kKit + 8, Crc32(p.data() + kKit + 12, p.size() - kKit - 12));
}

size_t Entry(int i) {
    return kKit + kCarriedKitHeaderSize + i * kCarriedEntrySize;
}

TEST(CarriedKit, FoundAfterTheImageAndDamageToldApart) {
    std::vector<PackedFile> files;
    for (const char* name : kCarriedFileNames) {
        files.push_back({name, std::string(name) + " bytes\r\n"});
    }
    files[5].bytes.clear();  // an empty file is carried too
    using S = CarriedKitState;
    struct Case {
        const char* name;
        std::function<void(std::string&)> damage;
        S state;
    } cases[] = {
        {"six files", [](std::string&) {}, S::Carried},
        {"no kit", [](std::string& p) { p.resize(kKit); }, S::None},
        {"other bytes after the image",
         [](std::string& p) { p.replace(kKit, 5, "CERTS"); }, S::None},
        {"a certificate table after it",
         [](std::string& p) {
             Put32(p, 0x58 + 128, static_cast<uint32_t>(p.size() + 3));
             p += std::string(3 + 40, '\x30');
         },
         S::Carried},
        {"the certificate table one byte into it",
         [](std::string& p) {
             Put32(p, 0x58 + 128, static_cast<uint32_t>(p.size() - 1));
             p += std::string(40, '\x30');
         },
         S::Truncated},
        {"cut one byte short", [](std::string& p) { p.pop_back(); }, S::Truncated},
        {"cut inside its header", [](std::string& p) { p.resize(kKit + 20); }, S::Truncated},
        {"a length one past its end",
         [](std::string& p) {
             Put32(p, Entry(0) + 20, static_cast<uint32_t>(p.size() - kKit) - 24 * 7 + 1);
             FixChecksum(p);
         },
         S::Unsound},
        {"a file inside the index",
         [](std::string& p) { Put32(p, Entry(1) + 16, 24 * 7 - 1), FixChecksum(p); }, S::Unsound},
        {"one byte changed", [](std::string& p) { p[p.size() - 3] ^= 1; }, S::Checksum},
        {"seven files",
         [](std::string& p) { Put32(p, kKit + 20, 7), FixChecksum(p); }, S::Unsound},
        {"a name twice",
         [](std::string& p) { p.replace(Entry(1), 16, p.substr(Entry(0), 16)), FixChecksum(p); },
         S::Unsound},
        {"a name the program does not read",
         [](std::string& p) { p.replace(Entry(2), 10, "README.txt"), FixChecksum(p); },
         S::Unsound},
        {"a name without its end",
         [](std::string& p) { p.replace(Entry(5), 16, "Logo.png........"), FixChecksum(p); },
         S::Unsound},
        {"a later format", [](std::string& p) { Put32(p, kKit + 12, 2), FixChecksum(p); },
         S::Unsound},
        {"one byte more than a kit may hold",
         [](std::string& p) { Put32(p, kKit + 16, kMaxCarriedKitBytes + 1); }, S::TooLarge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string program = Stub() + PackKit(files);
        c.damage(program);
        TempFolder folder;
        folder.Write("Dialnest.exe", program);
        CarriedKit inMemory, onDisk;
        const S state = inMemory.Read(MemoryProgramBytes(program));
        EXPECT_EQ(state, c.state);
        EXPECT_EQ(onDisk.Read(FileProgramBytes(folder.PathTo("Dialnest.exe").c_str())), state);
        char path[kPathSize];
        EXPECT_EQ(FindDataFile(inMemory.Files(), kIspSettingsFile, path), state == S::Carried);
        for (size_t i = 0; state == S::Carried && i < files.size(); ++i) {
            const char* data = nullptr;
            size_t size = 0;
            ASSERT_TRUE(inMemory.Files().HeldBytes(files[i].name.c_str(), &data, &size));
            EXPECT_EQ(std::string(data, size), files[i].bytes);
        }
    }

    // The largest kit a program may carry is read whole.
    files = {{kLogoFile, std::string(kMaxCarriedKitBytes - 48, 'x')}};
    CarriedKit largest;
    EXPECT_EQ(largest.Read(MemoryProgramBytes(Stub() + PackKit(files))), S::Carried);
    EXPECT_EQ(largest.Length(), kMaxCarriedKitBytes);
}

}  // namespace
