#pragma once
// Inspecting scratch directories in the execution tests.

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvendo::test {

// The names in a directory, sorted, without "." and "..".
inline std::vector<std::string> namen_in(const std::string& pfad) {
    std::vector<std::string> namen;
    DIR* d = ::opendir(pfad.c_str());
    if (!d) throw std::runtime_error("opendir " + pfad);
    while (const dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n != "." && n != "..") namen.push_back(n);
    }
    ::closedir(d);
    std::sort(namen.begin(), namen.end());
    return namen;
}

inline struct stat lstat_von(const std::string& pfad) {
    struct stat st {};
    if (::lstat(pfad.c_str(), &st) != 0) throw std::runtime_error("lstat " + pfad);
    return st;
}

}  // namespace tarvendo::test
