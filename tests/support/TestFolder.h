#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh folder of its own for one test, removed with everything in it afterwards.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    void write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    std::vector<std::uint8_t> read(const std::string& name) const;
    bool exists(const std::string& name) const;
    // The names in the folder, sorted.
    std::vector<std::string> names() const;

private:
    std::filesystem::path path_;
};
