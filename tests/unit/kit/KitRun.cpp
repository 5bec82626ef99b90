// In-process runs of dialnest-kit.
#include "KitRun.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "kit/KitTool.h"

namespace {

std::string ReadAll(FILE* file) {
    std::string text;
    rewind(file);
    char block[4096];
    size_t n;
    while ((n = fread(block, 1, sizeof(block), file)) > 0) {
        text.append(block, n);
    }
    fclose(file);
    return text;
}

}  // namespace

KitRun RunKit(const std::vector<std::string>& arguments) {
    // English unless the run asks otherwise, whatever the machine's locale.
    std::vector<const char*> argv = {"dialnest-kit", "--lang=en"};
    for (const std::string& a : arguments) {
        argv.push_back(a.c_str());
    }
    FILE* out = tmpfile();
    FILE* err = tmpfile();
    KitRun run;
    run.status = RunKitTool(static_cast<int>(argv.size()), argv.data(), out, err);
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    return run;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

std::string SourcePath(const std::string& path) {
    return std::string(DIALNEST_SOURCE) + "/" + path;
}
