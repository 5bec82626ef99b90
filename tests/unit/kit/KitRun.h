// Runs dialnest-kit in-process and hands back what it wrote.
#pragma once

#include <string>
#include <vector>

struct KitRun {
    int status = -1;
    std::string out;
    std::string err;
};

// `arguments` without the program name.
KitRun RunKit(const std::vector<std::string>& arguments);

// The bytes of a file.
std::string ReadFile(const std::string& path);

// A file of the source tree, by its path from the top.
std::string SourcePath(const std::string& path);
