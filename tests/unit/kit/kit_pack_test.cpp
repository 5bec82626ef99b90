// dialnest-kit pack: a program that carries exactly the checked kit, or nothing written; and
// the packed program read by preview as the folder is.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "KitRun.h"
#include "settings/CarriedKit.h"
#include "support/TempFolder.h"

namespace {

TEST(KitPack, CarriesTheCheckedKitOrWritesNothing) {
    struct Case {
        const char* name;
        const char* file;  // written into the copy of the sample kit
        size_t size;       // that many bytes
        bool alone;        // the only file of the kit
        char subsystem;    // of the program packed: 2 a window program, 3 a console one
        int status;
        const char* shown;       // in the output or the error output
        bool lowerCase = false;  // the sample's files named in lower case
    } cases[] = {
        {"the sample", "", 0, false, 2, 0, "56 kbit/s"},
        {"the sample named in lower case", "", 0, false, 2, 0, "56 kbit/s", true},
        {"a kit with an error", "ISP_INF.csv", 2, false, 2, 1, "[encoding]"},
        {"a file the program does not read", "APGEN.csv.bak", 0, false, 2, 1,
         "\"APGEN.csv.bak\" lie in the kit folder"},
        {"the largest kit a program carries", "Logo.png", kMaxCarriedKitBytes - 48, true, 2, 1,
         "nothing was packed"},
        {"one byte more", "Logo.png", kMaxCarriedKitBytes - 47, true, 2, 1, "carries at most"},
        {"a console program", "", 0, false, 3, 2, "not Dialnest.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder kit, out;
        if (!c.alone) {
            std::filesystem::copy(SourcePath("examples/kit"), kit.path());
        }
        for (std::string name : kCarriedFileNames) {
            if (c.lowerCase) {
                const std::string upper = name;
                std::transform(name.begin(), name.end(), name.begin(), ::tolower);
                std::filesystem::rename(kit.PathTo(upper), kit.PathTo(name));
            }
        }
        if (c.file[0] != '\0') {
            kit.Write(c.file, std::string(c.size, '\xFF'));
        }
        // A program of the catalogue that carries a kit and a signature: pack keeps its image.
        std::string original = ReadFile(SourcePath("tests/data/bad-input/carried-signed.exe"));
        original[0x58 + 68] = c.subsystem;
        out.Write("original.exe", original);
        const std::string program = out.PathTo("Dialnest.exe");
        const KitRun run =
            RunKit({"pack", kit.path(), "--dialnest", out.PathTo("original.exe"), "-o", program});
        EXPECT_EQ(run.status, c.status) << run.out << run.err;
        EXPECT_NE((run.out + run.err).find(c.shown), std::string::npos) << run.out << run.err;
        EXPECT_EQ(std::filesystem::exists(program), c.status == 0);
        if (c.status != 0) {
            continue;
        }
        // The image of the program without its old kit and signature, then the kit.
        const std::string packed = out.Read("Dialnest.exe");
        EXPECT_EQ(packed.substr(0, 1024), original.substr(0, 1024).replace(0x58 + 128, 8, 8, 0));
        CarriedKit carried;
        ASSERT_EQ(carried.Read(MemoryProgramBytes(packed)), CarriedKitState::Carried);
        ASSERT_EQ(carried.Count(), 6u);
        for (size_t i = 0; i < carried.Count(); ++i) {
            const CarriedFile& file = carried.File(i);
            EXPECT_EQ(std::string(file.data, file.size),
                      ReadFile(SourcePath("examples/kit/") + file.name))
                << file.name;
        }

        // Preview reads it as the folder (check: check_signing.sh); it packs again as it is.
        std::string preview =
            RunKit({"preview", kit.path(), SourcePath("examples/phonebook.ini")}).out;
        preview.replace(preview.find(kit.path()), kit.path().size(), program);
        EXPECT_EQ(RunKit({"preview", program, SourcePath("examples/phonebook.ini")}).out, preview);
        RunKit({"pack", program, "--dialnest", out.PathTo("original.exe"), "-o",
                out.PathTo("again.exe")});
        EXPECT_EQ(out.Read("again.exe"), packed) << "written again as it was";
    }
    EXPECT_EQ(RunKit({"pack", SourcePath("examples/kit")}).status, 2) << "no -o";
}

}  // namespace
