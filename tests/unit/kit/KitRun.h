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

// A file of the source tree, by its path from the top.
std::string SourcePath(const std::string& path);
