// Times the main window on the offscreen platform: the refresh of a folder of 10,000 small
// pictures, and one preview of an 8000 x 6000 picture.
//
//   bench_window [scratch-folder]

#include "bench/BenchFiles.h"
#include "bench/SilentDialogs.h"
#include "mainwindow/StartUp.h"
#include "platform/FileOperations.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

using namespace pixtint;

namespace {

using namespace BenchFiles;
using Clock = std::chrono::steady_clock;

std::unique_ptr<frmMain> startOn(Dialogs& dialogs, const std::filesystem::path& root,
                                 const std::string& name) {
    const auto programFolder = root / (name + "-program");
    const auto pictures = root / name;
    writeSettings(programFolder, pictures);
    return Main(dialogs, DisplayPath(programFolder));
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
