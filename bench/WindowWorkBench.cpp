// SPDX-License-Identifier: MIT
// The window's work beside it, on a real display, with the GUI thread's longest stall (the
// worst lateness of a 10 ms timer on the window's thread, at most 50 ms wanted) during each:
//   - listing 100,000 icons: from the start to the window painted (at most 0.3 s wanted), to
//     the full list with every mark (at most 1.5 times a plain loop that opens each file and
//     reads its first 64 bytes, timed in the same rounds), and again through 更新 (F5);
//   - restoring 20,000 pictures from their backups, against pixtint-convert --restore on the
//     same files (at most 1.2 times wanted);
//   - holding the down arrow through ten 8000 x 6000 pictures (ten names of one photograph),
//     until the last one's preview is shown;
//   - the window's batch, from the click on 変換実行 to its closing box, backups on: one
//     8000 x 6000 photograph against the durable floor (at most 2 times wanted) and, for
//     comparison, ImageMagick's `convert` recolouring it in place; and 100,000 icons against
//     pixtint-convert on the same files (at most 1.1 times wanted).
// Each figure's rounds are timed beside their reference's, in turns; the end is a table of
// every figure: the measured best and median, the reference's, their ratio, and the goal.
// Beside each stall, the most processor time the window's thread spent in one event: on a
// busy machine the timer is also late while the thread waits for a processor, and this tells
// the program's own part.
//
//   bench_window_work [scratch-folder [rounds [part...]]]
//
// Parts: listing, restore, previews, photo, many; all of them when none is named.
//
// Run it under an X server (bench/run.sh uses xvfb-run), as a user's desktop would.

#include "bench/BenchFiles.h"
#include "bench/ChildProcess.h"
#include "bench/FigureTable.h"
#include "bench/Photo.h"
#include "bench/ShownWindow.h"
#include "bench/SilentDialogs.h"
#include "bench/Spread.h"
#include "bench/WindowBatch.h"
#include "bench/WindowControls.h"
#include "desktop/FilePaths.h"
#include "mainwindow/FileListWidget.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/StartUp.h"
#include "scan/FolderScan.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <time.h>
#include <unistd.h>
#include <vector>

using namespace pixtint;

namespace {

using namespace BenchFiles;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int ListedIcons = 100000;
constexpr int RestoredPictures = 20000;
constexpr int BigPictures = 10;
constexpr int BatchIcons = 100000;

double threadCpuMs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The application, timing the processor time its window's thread spends in each event it
// handles: the longest is what the program itself held the thread for, whatever else a busy
// machine made it wait for.
class EventTimedApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        if (depth_ > 0 || QThread::currentThread() != thread()) {
            return QApplication::notify(receiver, event);
        }
        ++depth_;
        const double start = threadCpuMs();
        const bool handled = QApplication::notify(receiver, event);
        longestEventMs = std::max(longestEventMs, threadCpuMs() - start);
        --depth_;
        return handled;
    }

    double longestEventMs = 0;

private:
    int depth_ = 0;
};

EventTimedApplication& application() {
    return *static_cast<EventTimedApplication*>(QCoreApplication::instance());
}

// While it lives: the worst lateness of a 10 ms timer on the window's thread, and the most
// processor time the thread spent in one event.
class StallWatch {
public:
    StallWatch() {
        application().longestEventMs = 0;
        ticker_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker_, &QTimer::timeout, [this] {
            worstMs_ =
                std::max(worstMs_, static_cast<double>(sinceTick_.nsecsElapsed()) / 1e6 - 10);
            sinceTick_.restart();
        });
        ticker_.start(10);
        sinceTick_.start();
    }
    double worstMs() const { return worstMs_; }
    static double longestEventMs() { return application().longestEventMs; }

private:
    QTimer ticker_;
    QElapsedTimer sinceTick_;
    double worstMs_ = 0;
};

void runUntil(const std::function<bool()>& done) {
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
}

fs::path programFolderFor(const fs::path& pictures) {
    return pictures.parent_path() / (pictures.filename().string() + "-program");
}

// The plain reference: every entry's first 64 bytes, read one file after another.
double plainFirstBytesSeconds(const fs::path& folder) {
    const auto start = Clock::now();
    char bytes[64];
    for (const std::string& name : matchingNames((folder / "*.bmp").native())) {
        const int file = ::open((folder / name).c_str(), O_RDONLY | O_CLOEXEC);
        if (file >= 0) {
            if (::read(file, bytes, sizeof bytes) < 0) {
                std::perror("read");
            }
            ::close(file);
        }
    }
    return secondsSince(start);
}

struct ListingRound {
    double painted = 0;
    double listed = 0;
    double startStallMs = 0;
    double startEventMs = 0;
    double refreshed = 0;
    double refreshStallMs = 0;
    double refreshEventMs = 0;
    double plain = 0;
};

ListingRound listingRound(SilentDialogs& dialogs, const fs::path& pictures, int round) {
    ListingRound times;
    inTurns(
        round,
        [&] {
            writeSettings(programFolderFor(pictures), pictures);
            const auto start = Clock::now();
            const auto window = startMainWindow(dialogs, displayPath(programFolderFor(pictures)));
            waitUntilShown(*window);
            times.painted = secondsSince(start);
            {
                const StallWatch stalls;
                runUntil([&] { return !window->working(); });
                times.startStallMs = stalls.worstMs();
                times.startEventMs = StallWatch::longestEventMs();
            }
            times.listed = secondsSince(start);
            const StallWatch stalls;
            const auto refresh = Clock::now();
            bool clicked = false; // as F5 does, from the window's event loop
            QMetaObject::invokeMethod(
                window.get(),
                [&] {
                    control<QPushButton>(*window, "Command3").click();
                    clicked = true;
                },
                Qt::QueuedConnection);
            runUntil([&] { return clicked && !window->working(); });
            times.refreshed = secondsSince(refresh);
            times.refreshStallMs = stalls.worstMs();
            times.refreshEventMs = StallWatch::longestEventMs();
        },
        [&] { times.plain = plainFirstBytesSeconds(pictures); });
    return times;
}

void benchListing(SilentDialogs& dialogs, const fs::path& root, int rounds, FigureTable& table) {
    const fs::path pictures = root / "icons";
    fs::create_directories(pictures);
    const auto icon = makeBmp24(16, 16, {0x80, 0x80, 0x80});
    for (int i = 0; i < ListedIcons; ++i) {
        writeFile(pictures / std::string("icon").append(std::to_string(i)).append(".bmp"), icon);
    }
    std::vector<double> painted, listed, plain, startStalls, refreshStalls, startEvents,
        refreshEvents;
    for (int round = 0; round < rounds; ++round) {
        const ListingRound times = listingRound(dialogs, pictures, round);
        std::printf("  round %d: painted %.3f s, every mark %.2f s (stall %.1f ms, longest event "
                    "%.1f ms cpu), F5 %.2f s (stall %.1f ms, longest event %.1f ms cpu), plain "
                    "64-byte reads %.2f s\n",
                    round + 1, times.painted, times.listed, times.startStallMs, times.startEventMs,
                    times.refreshed, times.refreshStallMs, times.refreshEventMs, times.plain);
        std::fflush(stdout);
        painted.push_back(times.painted);
        listed.push_back(times.listed);
        plain.push_back(times.plain);
        startStalls.push_back(times.startStallMs);
        refreshStalls.push_back(times.refreshStallMs);
        startEvents.push_back(times.startEventMs);
        refreshEvents.push_back(times.refreshEventMs);
    }
    fs::remove_all(pictures);
    table.add("listing 100,000: painted after start", "s", painted, 0.3);
    table.add("listing 100,000: every mark", "s", listed, 1.5, "64-byte reads", plain);
    table.add("listing 100,000: longest stall, start", "ms", startStalls, 50);
    table.add("listing 100,000: longest stall, F5", "ms", refreshStalls, 50);
    table.add("  its longest event's cpu, start", "ms", startEvents, 50);
    table.add("  its longest event's cpu, F5", "ms", refreshEvents, 50);
}

// Converted pictures (red) beside their backups (the blue originals).
fs::path makeConverted(const fs::path& folder) {
    fs::create_directories(folder);
    const auto converted = makeBmp24(16, 16, {0xFF, 0x00, 0x00});
    const auto original = makeBmp24(16, 16, {0x00, 0x00, 0xFF});
    for (int i = 0; i < RestoredPictures; ++i) {
        const std::string name = std::string("p").append(std::to_string(100000 + i));
        writeFile(folder / std::string(name).append(".bmp"), converted);
        writeFile(folder / std::string(name).append(".bak"), original);
    }
    ::sync(); // no run flushes the set-up's writes
    return folder;
}

struct Timed {
    double seconds = 0;
    double stallMs = 0;
    double eventMs = 0;
};

// From the list's undo to its closing box, every picture ticked.
Timed windowRestore(SilentDialogs& dialogs, const fs::path& pictures) {
    writeSettings(programFolderFor(pictures), pictures);
    const auto window = startMainWindow(dialogs, displayPath(programFolderFor(pictures)));
    waitUntilShown(*window);
    runUntil([&] { return !window->working(); });
    bool closed = false;
    dialogs.onMessage = [&closed](const QString& text) {
        if (!text.startsWith(QString::number(RestoredPictures) + " ")) {
            std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
            std::exit(1);
        }
        closed = true;
    };
    QAction* restore = nullptr;
    for (QAction* action : control<FileListWidget>(*window, "ListView1").actions()) {
        if (action->objectName() == QStringLiteral("restoreFromBackup")) {
            restore = action;
        }
    }
    const StallWatch stalls;
    const auto start = Clock::now();
    QMetaObject::invokeMethod(restore, &QAction::trigger, Qt::QueuedConnection);
    runUntil([&] { return closed; });
    const Timed timed{secondsSince(start), stalls.worstMs(), StallWatch::longestEventMs()};
    dialogs.onMessage = nullptr;
    return timed;
}

void benchRestore(SilentDialogs& dialogs, const fs::path& root, int rounds, FigureTable& table) {
    std::vector<double> window, convert, stalls, events;
    for (int round = 0; round < rounds; ++round) {
        const fs::path folder = root / std::string("restore").append(std::to_string(round));
        Timed ours;
        double theirs = 0;
        inTurns(
            round, [&] { ours = windowRestore(dialogs, makeConverted(folder / "window")); },
            [&] {
                const fs::path pictures = makeConverted(folder / "convert");
                theirs = secondsOf(std::string(PIXTINT_CONVERT) + " -q --restore " +
                                   shellQuoted(pictures) + " > /dev/null");
            });
        std::printf("  round %d: window %.2f s (stall %.1f ms, longest event %.1f ms cpu), "
                    "pixtint-convert --restore %.2f s\n",
                    round + 1, ours.seconds, ours.stallMs, ours.eventMs, theirs);
        std::fflush(stdout);
        window.push_back(ours.seconds);
        convert.push_back(theirs);
        stalls.push_back(ours.stallMs);
        events.push_back(ours.eventMs);
        fs::remove_all(folder);
    }
    table.add("restore of 20,000", "s", window, 1.2, "--restore", convert);
    table.add("restore of 20,000: longest stall", "ms", stalls, 50);
    table.add("  its longest event's cpu", "ms", events, 50);
}

// The down arrow held (a key every 33 ms, as a keyboard repeats) from the icon on the first row
// through the big pictures, then until the last one's preview is shown.
void benchBigPreviews(SilentDialogs& dialogs, const fs::path& root, int rounds,
                      FigureTable& table) {
    const fs::path pictures = root / "big";
    fs::create_directories(pictures);
    writeFile(pictures / "a.bmp", makeBmp24(16, 15, {0x00, 0x00, 0xFF}));
    writePhoto(pictures / "photo0.bmp", {0x00, 0x00, 0xFF});
    for (int i = 1; i < BigPictures; ++i) {
        fs::create_hard_link(pictures / "photo0.bmp",
                             pictures /
                                 std::string("photo").append(std::to_string(i)).append(".bmp"));
    }
    writeSettings(programFolderFor(pictures), pictures);
    const auto window = startMainWindow(dialogs, displayPath(programFolderFor(pictures)));
    waitUntilShown(*window);
    runUntil([&] { return !window->working(); });
    auto& list = control<FileListWidget>(*window, "ListView1");
    std::vector<double> stalls, events, seconds;
    for (int round = 0; round < rounds; ++round) {
        list.selectRow(0);
        window->previewSelectedFile();
        runUntil([&] { return !window->working(); });
        list.setFocus();
        const StallWatch stalls_;
        const auto start = Clock::now();
        int pressed = 0;
        QTimer repeat;
        QObject::connect(&repeat, &QTimer::timeout, [&] {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QApplication::sendEvent(&list, &press);
            if (++pressed == BigPictures) {
                repeat.stop();
            }
        });
        repeat.start(33);
        runUntil([&] { return pressed == BigPictures && !window->working(); });
        seconds.push_back(secondsSince(start));
        stalls.push_back(stalls_.worstMs());
        events.push_back(StallWatch::longestEventMs());
        std::printf("  round %d: %.2f s to the last preview, stall %.1f ms (longest event %.1f ms "
                    "cpu)\n",
                    round + 1, seconds.back(), stalls.back(), events.back());
        std::fflush(stdout);
    }
    fs::remove_all(pictures);
    table.add("down arrow through ten 8000 x 6000: stall", "ms", stalls, 50);
    table.add("  its longest event's cpu", "ms", events, 50);
}

// A fresh folder of pictures for one contender, on the disk before anything is timed.
template <typename Make> fs::path freshFolder(const fs::path& folder, Make&& make) {
    fs::create_directories(folder);
    make(folder);
    ::sync();
    return folder;
}

void makePhoto(const fs::path& folder) {
    writePhoto(folder / "photo.bmp", {0x00, 0x00, 0xFF});
}

void makeManyIcons(const fs::path& folder) {
    const auto icon = makeBmp24(16, 16, {0x00, 0x00, 0xFF});
    for (int i = 0; i < BatchIcons; ++i) {
        writeFile(folder / std::string("i").append(std::to_string(100000 + i)).append(".bmp"),
                  icon);
    }
}

// What the window's batch is timed against, each on its own fresh folder of the same pictures.
struct Reference {
    std::string name;
    double goal; // the most the window's time may be, as a multiple of this one's; 0: none
    std::function<double(const fs::path& pictures)> seconds;
};

// The window's batch, from 変換実行 to its closing box, and each reference, in the same rounds;
// which of them goes first turns with each round, so that none always follows what another
// left to the disk.
template <typename Make>
void benchWindowBatch(SilentDialogs& dialogs, const fs::path& root, int rounds,
                      const std::string& what, Make&& make,
                      const std::vector<Reference>& references, FigureTable& table) {
    const std::size_t contenders = references.size() + 1;
    std::vector<std::vector<double>> seconds(contenders);
    for (int round = 0; round < rounds; ++round) {
        const fs::path folder = root / "batch" / std::to_string(round);
        for (std::size_t turn = 0; turn < contenders; ++turn) {
            const std::size_t which = (turn + static_cast<std::size_t>(round)) % contenders;
            const fs::path pictures = freshFolder(folder / std::to_string(which), make);
            seconds[which].push_back(
                which == 0 ? timeWindowBatch(dialogs, folder / "program", pictures).seconds
                           : references[which - 1].seconds(pictures));
        }
        std::printf("  round %d: window %.3f s", round + 1, seconds[0].back());
        for (std::size_t i = 0; i < references.size(); ++i) {
            std::printf(", %s %.3f s", references[i].name.c_str(), seconds[i + 1].back());
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    // Only now: a file system that has just freed thousands of files makes every new file
    // slow for a while, and whoever went first in the next round would pay for it.
    fs::remove_all(root / "batch");
    for (std::size_t i = 0; i < references.size(); ++i) {
        table.add(i == 0 ? what : "  the same", "s", seconds[0], references[i].goal,
                  references[i].name, seconds[i + 1]);
    }
}

void benchPhotoBatch(SilentDialogs& dialogs, const fs::path& root, int rounds, FigureTable& table) {
    const std::string recolour =
        " -fill '#FF0000' -opaque '#0000FF' -type truecolor -define bmp:format=bmp3 ";
    benchWindowBatch(dialogs, root, rounds, "batch of one 8000 x 6000", makePhoto,
                     {{"durable floor", 2.0, durableFloorSeconds},
                      {"ImageMagick", 0,
                       [&recolour](const fs::path& pictures) {
                           return secondsOf("cd " + shellQuoted(pictures) +
                                            " && convert photo.bmp" + recolour + "photo.bmp");
                       }}},
                     table);
}

void benchManyBatch(SilentDialogs& dialogs, const fs::path& root, int rounds, FigureTable& table) {
    benchWindowBatch(dialogs, root, rounds, "batch of 100,000 icons", makeManyIcons,
                     {{"pixtint-convert", 1.1,
                       [](const fs::path& pictures) {
                           return secondsOf(std::string(PIXTINT_CONVERT) +
                                            " -q -f 0000ff -t ff0000 " + shellQuoted(pictures) +
                                            " > /dev/null");
                       }}},
                     table);
}

} // namespace

int main(int argc, char** argv) {
    EventTimedApplication application(argc, argv);
    const fs::path root =
        argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "pixtint-bench-window-work";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::vector<std::string> named(argv + std::min(argc, 3), argv + argc);
    const auto chosen = [&named](const std::string& part) {
        return named.empty() || std::find(named.begin(), named.end(), part) != named.end();
    };
    fs::remove_all(root);
    SilentDialogs dialogs;
    FigureTable table;
    if (chosen("listing")) {
        std::printf("listing %d icons:\n", ListedIcons);
        benchListing(dialogs, root, rounds, table);
    }
    if (chosen("restore")) {
        std::printf("restoring %d pictures:\n", RestoredPictures);
        benchRestore(dialogs, root, rounds, table);
    }
    if (chosen("previews")) {
        std::printf("the down arrow through %d 8000 x 6000 pictures:\n", BigPictures);
        benchBigPreviews(dialogs, root, rounds, table);
    }
    if (chosen("photo")) {
        std::printf("the batch of one 8000 x 6000 photograph:\n");
        benchPhotoBatch(dialogs, root, rounds, table);
    }
    if (chosen("many")) {
        std::printf("the batch of %d icons:\n", BatchIcons);
        benchManyBatch(dialogs, root, rounds, table);
    }
    table.print();
    fs::remove_all(root);
    return 0;
}
