// libFuzzer target: any bytes as a program file. A kit read as carried lies whole in the
// input with zlib's checksum and holds each provider file at most once, as the input's bytes;
// any other outcome holds none. The checksum is also made right, to reach the index.
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzModels.h"
#include "settings/CarriedKit.h"

namespace {

std::string Le32(uint32_t value) {
    return {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}

// What the checksum field of the kit of `length` bytes at `at` must hold.
std::string KitCrc(const std::string& bytes, size_t at, size_t length) {
    return Le32(static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(&bytes[at + 12]), static_cast<uInt>(length - 12))));
}

CarriedKitState Probe(const std::string& bytes, CarriedKit* kit) {
    const CarriedKitState state = kit->Read(MemoryProgramBytes(bytes));
    char path[kPathSize];
    for (const char* name : kCarriedFileNames) {
        Check(state == CarriedKitState::Carried || !FindDataFile(kit->Files(), name, path),
              "a file held from a kit that is not carried");
    }
    if (state != CarriedKitState::Carried) {
        return state;
    }
    const size_t at = kit->Offset();
    const size_t length = kit->Length();
    Check(at + length <= bytes.size() && length <= kMaxCarriedKitBytes, "a kit past the input");
    Check(bytes.compare(at, 8, kCarriedKitMagic, 8) == 0, "a kit without its magic");
    Check(bytes.compare(at + 8, 4, KitCrc(bytes, at, length)) == 0,
          "a checksum that does not match");
    Check(bytes.compare(at + 20, 4, Le32(static_cast<uint32_t>(kit->Count()))) == 0,
          "a file count");
    for (size_t i = 0; i < kit->Count(); ++i) {
        const CarriedFile& file = kit->File(i);
        const char* data = nullptr;
        size_t size = 0;
        Check(kit->Files().HeldBytes(file.name, &data, &size) && data == file.data &&
                  size == file.size,
              "a file not held as listed");
        Check(file.offset >= kCarriedKitHeaderSize + kCarriedEntrySize * kit->Count() &&
                  file.offset + size_t{file.size} <= length,
              "a file outside the kit's data");
        Check(bytes.compare(at + file.offset, file.size, file.data, file.size) == 0,
              "a file's bytes differ from the input's");
        for (size_t k = 0; k < i; ++k) {
            Check(strcmp(kit->File(k).name, file.name) != 0, "a file twice");
        }
    }
    return state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    CarriedKit kit;
    if (Probe(bytes, &kit) != CarriedKitState::Checksum) {
        return 0;
    }
    bytes.replace(kit.Offset() + 8, 4, KitCrc(bytes, kit.Offset(), kit.Length()));
    Check(Probe(bytes, &kit) != CarriedKitState::Checksum, "a checksum made right still fails");
    return 0;
}
