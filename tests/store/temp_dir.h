// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "velistra-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    // The folder with its trailing separator.
    std::string dir() const { return root_ + "/"; }
    std::string path(const std::string &name) const { return root_ + "/" + name; }

    void write(const std::string &name, const std::string &bytes) const
    {
        std::ofstream(path(name), std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string read(const std::string &name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto &e : std::filesystem::directory_iterator(root_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string root_;
};
