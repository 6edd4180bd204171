// Times the main window on the offscreen platform: the refresh of a folder of 10,000 small
// pictures, and one preview of an 8000 x 6000 picture.
//
//   bench_window [scratch-folder]

#include "SilentDialogs.h"
#include "StartUp.h"

#include <QApplication>
#include <QFile>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::uint8_t> bmp24(int width, int height, std::uint8_t shade) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> bytes(54 + stride * height, shade);
    const auto put32 = [&bytes](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    std::fill_n(bytes.begin(), 54, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = 24;
    return bytes;
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void writeSettings(const std::filesystem::path& programFolder,
                   const std::filesystem::path& pictures) {
    const std::string text =
        pictures.string() + "\r\n 16711680 \r\n 255 \r\n 1 \r\nTrue\r\n 1 \r\n";
    writeFile(programFolder / "Pixtint.ini", {text.begin(), text.end()});
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::unique_ptr<frmMain> startOn(Dialogs& dialogs, const std::filesystem::path& root,
                                 const std::string& name) {
    const auto programFolder = root / (name + "-program");
    const auto pictures = root / name;
    std::filesystem::create_directories(programFolder);
    writeSettings(programFolder, pictures);
    return Main(dialogs, QFile::decodeName(QByteArray::fromStdString(programFolder.native())));
}

void benchRefresh(Dialogs& dialogs, const std::filesystem::path& root) {
    const auto pictures = root / "icons";
    std::filesystem::create_directories(pictures);
    const auto icon = bmp24(16, 16, 0x80);
    for (int i = 0; i < 10000; ++i) {
        writeFile(pictures / ("icon" + std::to_string(i) + ".bmp"), icon);
    }
    auto window = startOn(dialogs, root, "icons");
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        window->Command3_Click();
        best = std::min(best, secondsSince(start));
    }
    std::printf("refresh of 10,000 pictures: %.3f s (best of 5), %d items\n", best,
                window->ListView1->Count());
}

void benchPreview(Dialogs& dialogs, const std::filesystem::path& root) {
    const auto pictures = root / "photo";
    std::filesystem::create_directories(pictures);
    writeFile(pictures / "photo.bmp", bmp24(8000, 6000, 0x40));
    auto window = startOn(dialogs, root, "photo");
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const auto start = Clock::now();
        window->ListView1_Click();
        best = std::min(best, secondsSince(start));
    }
    std::printf("preview of 8000 x 6000: %.3f s (best of 3)\n", best);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::filesystem::path root =
        argc > 1 ? std::filesystem::path(argv[1])
                 : std::filesystem::temp_directory_path() / "pixtint-bench-window";
    std::filesystem::remove_all(root);
    SilentDialogs dialogs;
    benchRefresh(dialogs, root);
    benchPreview(dialogs, root);
    std::filesystem::remove_all(root);
    return 0;
}
