#include "support/TempFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// The substitute phonebook flushes every write to disk; in a memory file system that costs
// nothing, which keeps the fault sweep's thousands of runs quick. TMPDIR still wins.
std::filesystem::path ScratchRoot() {
    std::error_code ignored;
    if (getenv("TMPDIR") == nullptr && std::filesystem::is_directory("/dev/shm", ignored) &&
        access("/dev/shm", W_OK) == 0) {
        return "/dev/shm";
    }
    return std::filesystem::temp_directory_path();
}

}  // namespace

TempFolder::TempFolder() {
    std::string pattern = (ScratchRoot() / "dialnest-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    if (made == nullptr) {
        abort();
    }
    path_ = made;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempFolder::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(PathTo(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempFolder::Remove(const std::string& name) const {
    std::error_code ignored;
    std::filesystem::remove_all(PathTo(name), ignored);
}

void TempFolder::MakeFolder(const std::string& name) const {
    std::filesystem::create_directories(PathTo(name));
}

std::string TempFolder::Read(const std::string& name) const {
    std::ifstream in(PathTo(name), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

bool TempFolder::PathOf(const char* fileName, char* path, size_t size) const {
    const int n = snprintf(path, size, "%s/%s", path_.c_str(), fileName);
    return n >= 0 && static_cast<size_t>(n) < size;
}

bool TempFolder::Exists(const char* path) const {
    struct stat info;
    return stat(path, &info) == 0;
}
