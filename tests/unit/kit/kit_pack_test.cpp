// dialnest-kit pack: a program that carries exactly the checked kit, or nothing written; and
// the packed program read by check and preview as the folder is.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "KitRun.h"
#include "settings/CarriedKit.h"
#include "support/TempFolder.h"

namespace {

// A program of the catalogue that carries a kit and a signature: pack keeps only its image.
const std::string kProgram = SourcePath("tests/data/bad-input/carried-signed.exe");

TEST(KitPack, CarriesTheCheckedKitOrWritesNothing) {
    const std::string sample = SourcePath("examples/kit");
    struct Case {
        const char* name;
        std::function<void(TempFolder&, std::vector<std::string>&)> arrange;
        int status;
        const char* shown;  // in the output or the error output
    } cases[] = {
        {"the sample", [](TempFolder&, std::vector<std::string>&) {}, 0, "56 kbit/s"},
        {"a kit with an error",
         [](TempFolder& kit, std::vector<std::string>&) { kit.Write("ISP_INF.csv", "\xFF\xFE"); },
         1, "[encoding]"},
        {"a file the program does not read",
         [](TempFolder& kit, std::vector<std::string>&) { kit.Write("APGEN.csv.bak", ""); }, 1,
         "\"APGEN.csv.bak\" lie in the kit folder"},
        {"the largest kit a program carries",
         [](TempFolder& kit, std::vector<std::string>&) {
             for (const char* name : kCarriedFileNames) kit.Remove(name);
             kit.Write("Logo.png", std::string(kMaxCarriedKitBytes - 48, 'x'));
         },
         1, "nothing was packed"},
        {"one byte more",
         [](TempFolder& kit, std::vector<std::string>&) {
             for (const char* name : kCarriedFileNames) kit.Remove(name);
             kit.Write("Logo.png", std::string(kMaxCarriedKitBytes - 47, 'x'));
         },
         1, "carries at most"},
        {"a console program",
         [](TempFolder& kit, std::vector<std::string>& arguments) {
             std::string program = ReadFile(kProgram);
             program[0x58 + 68] = 3;
             kit.Write("console.exe", program);
             arguments.back() = kit.PathTo("console.exe");
         },
         2, "not Dialnest.exe"},
        {"no -o", [](TempFolder&, std::vector<std::string>& a) { a.erase(a.begin() + 1, a.begin() + 3); }, 2,
         "no -o"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder kit, out;
        for (const auto& file : std::filesystem::directory_iterator(sample)) {
            kit.Write(file.path().filename().string(), ReadFile(file.path().string()));
        }
        std::vector<std::string> arguments = {"pack", "-o", out.PathTo("Dialnest.exe"),
                                              kit.path(), "--dialnest", kProgram};
        c.arrange(kit, arguments);
        const KitRun run = RunKit(arguments);
        EXPECT_EQ(run.status, c.status) << run.out << run.err;
        EXPECT_NE((run.out + run.err).find(c.shown), std::string::npos) << run.out << run.err;
        EXPECT_EQ(std::filesystem::exists(out.PathTo("Dialnest.exe")), c.status == 0);
        if (c.status != 0) {
            continue;
        }
        // The image of the program without its old kit and signature, then the kit.
        const std::string packed = out.Read("Dialnest.exe");
        std::string image = ReadFile(kProgram).substr(0, 1024);
        image.replace(0x58 + 128, 8, 8, '\0');
        EXPECT_EQ(packed.substr(0, 1024), image);
        CarriedKit carried;
        ASSERT_EQ(carried.Read(MemoryProgramBytes(packed)), CarriedKitState::Carried);
        ASSERT_EQ(carried.Count(), 6u);
        for (size_t i = 0; i < carried.Count(); ++i) {
            const CarriedFile& file = carried.File(i);
            EXPECT_EQ(std::string(file.data, file.size), kit.Read(file.name)) << file.name;
        }

        // Check and preview see the packed program as the folder; a packed program packs again.
        const std::string program = out.PathTo("Dialnest.exe");
        const auto asPacked = [&](std::string text) {
            for (size_t at; (at = text.find(kit.path())) != std::string::npos;) {
                text.replace(at, kit.path().size(), program);
            }
            return text;
        };
        const std::string phonebook = SourcePath("examples/phonebook.ini");
        EXPECT_EQ(RunKit({"check", "--verbose", program}).out,
                  asPacked(RunKit({"check", "--verbose", kit.path()}).out));
        EXPECT_EQ(RunKit({"preview", program, phonebook}).out,
                  asPacked(RunKit({"preview", kit.path(), phonebook}).out));
        const KitRun again = RunKit({"pack", out.PathTo("Dialnest.exe"), "--dialnest", kProgram,
                                     "-o", out.PathTo("again.exe")});
        EXPECT_EQ(again.status, 0) << again.out << again.err;
        EXPECT_EQ(out.Read("again.exe"), packed);
    }
}

}  // namespace
