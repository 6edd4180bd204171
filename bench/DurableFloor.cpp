// SPDX-License-Identifier: MIT
// The durable floor: the least any program can do to rewrite a folder of pictures so that a
// crash or a power cut leaves each one old or new. It reads each *.bmp, writes a copy beside
// it (the bytes unchanged: recolouring costs nothing next to the file system), flushes the
// file system once, renames each over its picture and flushes the folder. The benchmarks compare
// Pixtint's batch with it.
//
//   bench_durable_floor FOLDER      prints the seconds it took

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

void fail(const std::string& what) {
    std::perror(what.c_str());
    std::exit(1);
}

bool isBitmapName(const fs::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return extension == ".bmp";
}

// Streams the picture into its copy through one 1 MiB buffer; answers the copy's descriptor.
int writeCopy(const fs::path& picture, const fs::path& copy, std::vector<char>& buffer) {
    const int input = ::open(picture.c_str(), O_RDONLY | O_CLOEXEC);
    const int output = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (input < 0 || output < 0) {
        fail(picture.string());
    }
    for (;;) {
        const ssize_t count = ::read(input, buffer.data(), buffer.size());
        if (count < 0) {
            fail(picture.string());
        }
        if (count == 0) {
            break;
        }
        if (::write(output, buffer.data(), static_cast<size_t>(count)) != count) {
            fail(copy.string());
        }
    }
    ::close(input);
    return output;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_durable_floor FOLDER\n");
        return 2;
    }
    const fs::path folder = argv[1];
    std::vector<fs::path> pictures;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file() && isBitmapName(entry.path())) {
            pictures.push_back(entry.path());
        }
    }
    const auto start = std::chrono::steady_clock::now();
    std::vector<char> buffer(std::size_t{1} << 20);
    // Each copy is closed once written, so that any number of pictures fits the limit on open
    // files; the one flush of the file system goes through the folder.
    for (const auto& picture : pictures) {
        ::close(writeCopy(picture, picture.string() + ".copy", buffer));
    }
    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0 || ::syncfs(handle) != 0) {
        fail("syncfs");
    }
    for (const auto& picture : pictures) {
        if (::rename((picture.string() + ".copy").c_str(), picture.c_str()) != 0) {
            fail(picture.string());
        }
    }
    if (::fsync(handle) != 0) {
        fail(folder.string());
    }
    ::close(handle);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.4f\n", seconds);
    return 0;
}
