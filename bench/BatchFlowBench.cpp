// SPDX-License-Identifier: MIT
// How the window lives through a long batch, on a real display, backups on, blue made red:
//   - the frames the preview shows during 10,000 icons: each painted frame must show one
//     file (the status bar's path, the picture before and the picture after all of the same
//     icon, each icon's first pixel telling which it is), the files strictly increasing;
//     at least 10 are wanted;
//   - the GUI thread's longest stall during 20,000 icons: the worst lateness of a 10 ms timer
//     on the window's thread, at most 50 ms wanted.
// With --many, instead: 100,000 icons through the window, through pixtint-convert and through
// the durable floor (bench_durable_floor, see DurableFloor.cpp), in the same rounds on
// identical fresh folders, and the benchmark's own peak memory after the window's batches.
// The window should take at most 1.2 times the floor, and at most 1.1 times pixtint-convert;
// its peak memory at most 250 MiB.
//
//   bench_batch_flow [scratch-folder [rounds]]
//   bench_batch_flow --many [scratch-folder [rounds [icons]]]
//
// Run it under an X server (bench/run.sh uses xvfb-run), as a user's desktop would.

#include "bench/BenchFiles.h"
#include "bench/ChildProcess.h"
#include "bench/CpuTime.h"
#include "bench/PeakMemory.h"
#include "bench/ShownWindow.h"
#include "bench/SilentDialogs.h"
#include "bench/Spread.h"
#include "bench/WindowBatch.h"
#include "bench/WindowControls.h"
#include "desktop/FilePaths.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/StartUp.h"
#include "mainwindow/StatusBar.h"
#include "widgets/PictureView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

using namespace pixtint;

namespace {

using namespace BenchFiles;
namespace fs = std::filesystem;

constexpr int FrameIcons = 10000;
constexpr int StallIcons = 20000;
constexpr int ManyIcons = 100000;
constexpr int FirstNumber = 100000; // names of one length keep the list's order the files'
constexpr Pixel Blue{0x00, 0x00, 0xFF};

// The colour of icon `i`'s first pixel, never blue: a frame's pictures say which icon they are.
QRgb markOf(int i) {
    return qRgb(i >> 8 & 0xFF, i & 0xFF, i >> 16 & 0xFF);
}

// A 16 x 16 icon, blue but for its first pixel, which tells which icon it is.
std::vector<std::uint8_t> icon(int i) {
    std::vector<std::uint8_t> bytes = makeBmp24(16, 16, Blue);
    const QRgb mark = markOf(i);
    setPixel(bytes, 0, 0,
             Pixel{static_cast<std::uint8_t>(qRed(mark)), static_cast<std::uint8_t>(qGreen(mark)),
                   static_cast<std::uint8_t>(qBlue(mark))});
    return bytes;
}

fs::path makeIcons(const fs::path& folder, int count) {
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(FirstNumber + i);
        writeFile(folder / std::string("i").append(number).append(".bmp"), icon(i));
    }
    ::sync(); // no run flushes the set-up's writes
    return folder;
}

// Which icon a picture shows, from its first pixel; -1 when it shows none.
int iconShown(const QImage& picture, int count) {
    if (picture.isNull()) {
        return -1;
    }
    const QRgb first = picture.pixel(0, 0) & RGB_MASK;
    for (int i = 0; i < count; ++i) { // only at each painted frame, a few dozen times a run
        if ((markOf(i) & RGB_MASK) == first) {
            return i;
        }
    }
    return -1;
}

int iconNamed(const QString& path) {
    bool ok = false;
    const int number = QFileInfo(path).completeBaseName().mid(1).toInt(&ok);
    return ok ? number - FirstNumber : -1;
}

struct Watched {
    double seconds = 0;
    double worstLateMs = 0; // the 10 ms timer's worst lateness
    double worstAt = 0;     // seconds after the click
    int frames = 0;         // painted frames, each of one file, files increasing
    int badFrames = 0;      // frames of two files, or going back
};

// Notes each frame the after image paints while the batch runs: what the window shows then.
class FrameWatcher : public QObject {
public:
    FrameWatcher(MainWindow& window, int count)
        : window_(window)
        , statusBar_(control<StatusBar>(window, "StatusBar1"))
        , before_(control<PictureView>(window, "Image1(0)"))
        , after_(control<PictureView>(window, "Image1(1)"))
        , count_(count)
        , lastPath_(statusBar_.text(StatusBar::Field::Path)) {
        after_.installEventFilter(this);
    }
    ~FrameWatcher() override { after_.removeEventFilter(this); }

    int frames = 0;
    int badFrames = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && window_.batchRunning()) {
            noteFrame();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void noteFrame() {
        const QString path = statusBar_.text(StatusBar::Field::Path);
        if (path == lastPath_) {
            return; // the same frame painted again
        }
        lastPath_ = path;
        const int file = iconNamed(path);
        const bool oneFile = file >= 0 && iconShown(before_.picture(), count_) == file &&
                             iconShown(after_.picture(), count_) == file;
        if (oneFile && file > lastFile_) {
            ++frames;
            lastFile_ = file;
        } else {
            ++badFrames;
            std::fprintf(stderr, "  a frame of %s showed icons %d and %d\n",
                         path.toUtf8().constData(), iconShown(before_.picture(), count_),
                         iconShown(after_.picture(), count_));
        }
    }

    MainWindow& window_;
    StatusBar& statusBar_;
    PictureView& before_;
    PictureView& after_;
    int count_;
    QString lastPath_;
    int lastFile_ = -1;
};

// The window's batch on `count` fresh icons, watched from click to closing message.
Watched watchBatch(SilentDialogs& dialogs, const fs::path& root, int count) {
    const fs::path pictures = makeIcons(root / "window", count);
    writeSettings(root / "program", pictures, true);
    const auto window = startMainWindow(dialogs, displayPath(root / "program"));
    waitUntilShown(*window);
    bool closed = false;
    dialogs.onMessage = [&closed](const QString& text) {
        if (text != QStringLiteral("変換終了！")) {
            std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
            std::exit(1);
        }
        closed = true;
    };
    FrameWatcher frames(*window, count);
    Watched watched;
    const auto start = std::chrono::steady_clock::now();
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const double late = static_cast<double>(sinceTick.nsecsElapsed()) / 1e6 - 10;
        if (late > watched.worstLateMs) {
            watched.worstLateMs = late;
            watched.worstAt = secondsSince(start);
        }
        sinceTick.restart();
    });
    ticker.start(10);
    sinceTick.start();
    control<QPushButton>(*window, "Command4").click();
    while (!closed) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    ticker.stop();
    watched.seconds = secondsSince(start);
    watched.frames = frames.frames;
    watched.badFrames = frames.badFrames;
    dialogs.onMessage = nullptr;
    return watched;
}

void watchRounds(SilentDialogs& dialogs, const fs::path& root, int rounds) {
    std::vector<double> stalls;
    std::vector<double> frameCounts;
    int badFrames = 0;
    for (int round = 1; round <= rounds; ++round) {
        const fs::path folder = root / std::to_string(round);
        const Watched many = watchBatch(dialogs, folder / "stall", StallIcons);
        const Watched few = watchBatch(dialogs, folder / "frames", FrameIcons);
        stalls.push_back(many.worstLateMs);
        frameCounts.push_back(few.frames);
        badFrames += few.badFrames + many.badFrames;
        std::printf("  round %d: %d icons %.2f s, longest stall %.1f ms (at %.2f s); %d icons "
                    "%.2f s, %d frames of one file each\n",
                    round, StallIcons, many.seconds, many.worstLateMs, many.worstAt, FrameIcons,
                    few.seconds, few.frames);
        std::fflush(stdout);
        fs::remove_all(folder);
    }
    const Spread stall = spreadOf(stalls);
    const Spread frames = spreadOf(frameCounts);
    std::printf("  longest stall during %d icons: best %.1f ms, median %.1f ms, worst %.1f ms; "
                "goal <= 50 ms\n",
                StallIcons, stall.best, stall.median, stall.worst);
    std::printf("  frames during %d icons: fewest %.0f, median %.0f; goal >= 10, each of one "
                "file; frames of two files or going back: %d\n",
                FrameIcons, frames.best, frames.median, badFrames);
}

struct ManyRound {
    double window = 0;
    double convert = 0;
    double floor = 0;
    double windowCpu = 0; // processor time: the disk's flushes move the clock far more
    double convertCpu = 0;
};

// The contenders take turns at going first, as in bench_batch: a file system just rid of many
// files is slow to create new ones for a while, and no contender should always follow that.
void manyRounds(SilentDialogs& dialogs, const fs::path& root, int rounds, int count) {
    std::vector<double> window, convert, floor, windowToFloor, windowToConvert;
    for (int round = 0; round < rounds; ++round) {
        const fs::path folder = root / std::to_string(round + 1);
        ManyRound times;
        const std::array<std::function<void()>, 3> contenders{
            [&] {
                const fs::path pictures = makeIcons(folder / "window", count);
                const Timing timing = timeWindowBatch(dialogs, folder / "program", pictures);
                times.window = timing.seconds;
                times.windowCpu = timing.cpu;
            },
            [&] {
                const fs::path pictures = makeIcons(folder / "convert", count);
                const double cpu = cpuSeconds(RUSAGE_CHILDREN);
                times.convert =
                    secondsOf(std::string(PIXTINT_CONVERT) + " -q -f 0000ff -t ff0000 " +
                              shellQuoted(pictures) + " > /dev/null");
                times.convertCpu = cpuSeconds(RUSAGE_CHILDREN) - cpu;
            },
            [&] { times.floor = durableFloorSeconds(makeIcons(folder / "floor", count)); },
        };
        for (std::size_t turn = 0; turn < contenders.size(); ++turn) {
            contenders[(static_cast<std::size_t>(round) + turn) % contenders.size()]();
        }
        window.push_back(times.window);
        convert.push_back(times.convert);
        floor.push_back(times.floor);
        windowToFloor.push_back(times.window / times.floor);
        windowToConvert.push_back(times.window / times.convert);
        std::printf("  round %d: window %.2f s (cpu %.2f s), pixtint-convert %.2f s (cpu %.2f s), "
                    "floor %.2f s (window / floor %.2f, window / pixtint-convert %.2f)\n",
                    round + 1, times.window, times.windowCpu, times.convert, times.convertCpu,
                    times.floor, times.window / times.floor, times.window / times.convert);
        std::fflush(stdout);
        fs::remove_all(folder);
    }
    const double best = spreadOf(window).best;
    std::printf("  best: window %.2f s, pixtint-convert %.2f s, floor %.2f s\n", best,
                spreadOf(convert).best, spreadOf(floor).best);
    std::printf("  window / floor %.2f (best / best; rounds %.2f to %.2f), goal <= 1.2\n",
                best / spreadOf(floor).best, spreadOf(windowToFloor).best,
                spreadOf(windowToFloor).worst);
    std::printf("  window / pixtint-convert %.2f (best / best; rounds %.2f to %.2f), "
                "goal <= 1.1\n",
                best / spreadOf(convert).best, spreadOf(windowToConvert).best,
                spreadOf(windowToConvert).worst);
    std::printf("  peak memory of the window's process %.0f MiB, goal <= 250 MiB\n",
                static_cast<double>(peakResidentKiB()) / 1024);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const bool many = argc > 1 && std::strcmp(argv[1], "--many") == 0;
    const int first = many ? 2 : 1;
    const fs::path root = argc > first ? fs::path(argv[first])
                                       : fs::temp_directory_path() / "pixtint-bench-batch-flow";
    const int rounds = argc > first + 1 ? std::max(1, std::atoi(argv[first + 1])) : 3;
    SilentDialogs dialogs;
    fs::remove_all(root);
    if (many) {
        const int count = argc > first + 2 ? std::max(1, std::atoi(argv[first + 2])) : ManyIcons;
        std::printf("%d 16 x 16 icons, backups on:\n", count);
        manyRounds(dialogs, root, rounds, count);
    } else {
        std::printf("the window during a batch of 16 x 16 icons, backups on:\n");
        watchRounds(dialogs, root, rounds);
    }
    fs::remove_all(root);
    return 0;
}
