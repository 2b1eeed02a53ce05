#pragma once
// Inspecting scratch directories in the execution tests.

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvendo::test {

// The names in a directory, sorted, without "." and "..".
inline std::vector<std::string> namen_in(const std::string& pfad) {
    std::vector<std::string> namen;
    for (const auto& e : std::filesystem::directory_iterator(pfad))
        namen.push_back(e.path().filename());
    std::sort(namen.begin(), namen.end());
    return namen;
}

inline struct stat lstat_von(const std::string& pfad) {
    struct stat st {};
    if (::lstat(pfad.c_str(), &st) != 0) throw std::runtime_error("lstat " + pfad);
    return st;
}

}  // namespace tarvendo::test
