// SPDX-License-Identifier: MIT
#pragma once

#include "engine/PathText.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace pixtint {

// The bytes of a file, none when there is no such file.
inline std::vector<std::uint8_t> bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The BMP files of the test corpus, many of them broken on purpose, in name order.
inline std::vector<std::filesystem::path> corpusPictures() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(PIXTINT_CORPUS_DIR)) {
        if (entry.is_regular_file() && entry.path().extension() == ".bmp") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A fresh folder of its own for one test, removed with everything in it afterwards.
class TestFolder {
public:
    TestFolder() {
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            auto candidate = std::filesystem::temp_directory_path() /
                             ("pixtint-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                path_ = std::move(candidate);
            }
        }
        if (path_.empty()) {
            throw std::runtime_error("cannot create a test folder");
        }
    }
    ~TestFolder() {
        // A test may have taken the write permission away.
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / pathOf(name); }

    void write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream out(path_ / pathOf(name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + name);
        }
    }
    std::vector<std::uint8_t> read(const std::string& name) const {
        std::ifstream in(path_ / pathOf(name), std::ios::binary);
        if (!in) {
            throw std::runtime_error("cannot read " + name);
        }
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The names in the folder, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            found.push_back(textOf(entry.path().filename()));
        }
        std::sort(found.begin(), found.end());
        return found;
    }

private:
    std::filesystem::path path_;
};

} // namespace pixtint
