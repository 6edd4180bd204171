// SPDX-License-Identifier: MIT
#include "bench/WindowBatch.h"

#include "bench/BenchFiles.h"
#include "bench/CpuTime.h"
#include "bench/ShownWindow.h"
#include "bench/WindowControls.h"
#include "desktop/FilePaths.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/StartUp.h"

#include <QCoreApplication>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace pixtint {

Timing timeWindowBatch(SilentDialogs& dialogs, const std::filesystem::path& programFolder,
                       const std::filesystem::path& pictures) {
    using Clock = std::chrono::steady_clock;
    BenchFiles::writeSettings(programFolder, pictures, true);
    const auto window = startMainWindow(dialogs, displayPath(programFolder));
    waitUntilShown(*window);
    // 変換実行 waits for the listing's marks: a click before them would do nothing.
    while (window->working()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    std::optional<Clock::time_point> closed;
    dialogs.onMessage = [&closed](const QString& text) {
        if (text == QStringLiteral("変換終了！")) {
            closed = Clock::now();
        } else {
            std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
            std::exit(1);
        }
    };
    const double cpu = cpuSeconds(RUSAGE_SELF);
    const auto start = Clock::now();
    control<QPushButton>(*window, "Command4").click();
    while (!closed) { // the batch runs on its own thread; its closing message ends it
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    dialogs.onMessage = nullptr;
    return {std::chrono::duration<double>(*closed - start).count(), cpuSeconds(RUSAGE_SELF) - cpu};
}

} // namespace pixtint
