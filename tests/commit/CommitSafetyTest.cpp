// SPDX-License-Identifier: MIT
#include "commit/Backup.h"
#include "filesafety/OwnNames.h"
#include "tests/commit/RecordedRun.h"
#include "tests/support/TestFolder.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace pixtint {

namespace {

using Bytes = std::vector<std::uint8_t>;

// Runs one picture through a batch; `meanwhile` runs between its read and its commit.
std::vector<FileOutcome> convert(const std::filesystem::path& picture, bool keepBackup,
                                 const std::function<void()>& meanwhile = {},
                                 FileSystem& fileSystem = systemFileSystem()) {
    return record(BatchRun(blueToRed(keepBackup), {}, fileSystem), {picture}, meanwhile).outcomes;
}

bool changedDuringRun(const FileOutcome& outcome) {
    return outcome.status == FileStatus::Failed && outcome.failure &&
           outcome.failure->error.kind() == ErrorKind::ChangedDuringRun;
}

// How an editor saves: a.bmp.swp written, then renamed over the picture.
void saveAsAnEditorDoes(const TestFolder& folder, const Bytes& saved) {
    folder.write("a.bmp.swp", saved);
    std::filesystem::rename(folder / "a.bmp.swp", folder / "a.bmp");
}

// Something happens in the moment between the run's last look at the picture's name and the
// swap (`meanwhile`, once), and the swap may not be what it seems: a file system without the
// exchange, where the check and a plain rename must give the same outcome, or a swap back of a
// save taken out by mistake that fails, or reports success without having happened.
struct BeforeTheSwap : FileSystem {
    enum class SwapBack { Done, Fails, ClaimedButNotDone, NoExchange };
    std::function<void()> meanwhile;
    SwapBack swapBack = SwapBack::Done;
    int exchanges = 0;
    int renameInFolder(int descriptor, const char* from, const char* to, unsigned flags) override {
        if (flags != RENAME_EXCHANGE) {
            return FileSystem::renameInFolder(descriptor, from, to, flags);
        }
        if (++exchanges == 1 && meanwhile) {
            meanwhile();
        }
        if (swapBack == SwapBack::NoExchange) {
            return EINVAL;
        }
        if (exchanges == 2 && swapBack != SwapBack::Done) {
            return swapBack == SwapBack::Fails ? EIO : 0;
        }
        return FileSystem::renameInFolder(descriptor, from, to, flags);
    }
};

// Another program rewrites the picture while the run converts it: an editor writing in place
// or replacing the file, or cp -p of a picture of the same size and time, which only the
// change time tells. With the exchange or without it, the other program's bytes stay in the
// picture and never reach the backup, and nothing of the run is left behind.
TEST(CommitSafety, ARewriteDuringTheRunKeepsTheOtherProgramsBytes) {
    enum class Rewrite { InPlace, Replaced, SameSizeAndTime };
    const Bytes saved = makeBmp24(3, 2, {0, 0, 254});
    BeforeTheSwap plain;
    plain.swapBack = BeforeTheSwap::SwapBack::NoExchange;
    TestFolder first;
    first.write("a.bmp", Original);
    EXPECT_EQ(convert(first / "a.bmp", true, {}, plain).at(0).status, FileStatus::Converted);
    EXPECT_EQ(first.read("a.bmp"), Converted);
    EXPECT_EQ(first.read("a.bak"), Original);
    for (FileSystem* fileSystem : {&systemFileSystem(), static_cast<FileSystem*>(&plain)}) {
        for (const auto rewrite : {Rewrite::InPlace, Rewrite::Replaced, Rewrite::SameSizeAndTime}) {
            for (const bool keepBackup : {true, false}) {
                SCOPED_TRACE(testing::Message() << (fileSystem == &plain ? "no exchange, " : "")
                                                << static_cast<int>(rewrite) << ", " << keepBackup);
                TestFolder folder;
                folder.write("a.bmp", Original);
                folder.write("a.bak", OlderBackup);
                const auto outcomes = convert(
                    folder / "a.bmp", keepBackup,
                    [&] {
                        struct stat read {};
                        ::stat((folder / "a.bmp").c_str(), &read);
                        if (rewrite == Rewrite::Replaced) {
                            saveAsAnEditorDoes(folder, saved);
                            return;
                        }
                        if (rewrite == Rewrite::SameSizeAndTime) { // a clock tick later
                            std::this_thread::sleep_for(std::chrono::milliseconds(20));
                        }
                        folder.write("a.bmp", saved);
                        const timespec times[2] = {read.st_atim, read.st_mtim};
                        if (rewrite == Rewrite::SameSizeAndTime) {
                            ::utimensat(AT_FDCWD, (folder / "a.bmp").c_str(), times, 0);
                        }
                    },
                    *fileSystem);
                EXPECT_TRUE(changedDuringRun(outcomes.at(0)));
                EXPECT_EQ(folder.read("a.bmp"), saved);
                EXPECT_EQ(folder.read("a.bak"), OlderBackup);
                EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.bak", "a.bmp"}));
            }
        }
    }
}

// An editor saves the picture in the moment between the last look at its name and the swap:
// what the swap took out is checked, and the save gets its name back. Where the file system
// has no exchange, the save is seen before the plain rename instead.
// The save is kept: under the picture's name, or, where the swap back failed, under the name
// the outcome gives, which the next run, taking the name for one of its own, leaves alone. So
// is the original where a backup was asked for, held under its last name, and nothing else.
TEST(CommitSafety, ASaveJustBeforeTheSwapIsNeverLost) {
    using SwapBack = BeforeTheSwap::SwapBack;
    const Bytes saved = makeBmp24(3, 2, {0, 0, 254});
    for (const auto swapBack :
         {SwapBack::Done, SwapBack::NoExchange, SwapBack::Fails, SwapBack::ClaimedButNotDone}) {
        for (const bool keepBackup : {true, false}) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(swapBack) << ", " << keepBackup);
            TestFolder folder;
            folder.write("a.bmp", Original);
            BeforeTheSwap editor;
            editor.meanwhile = [&] {
                saveAsAnEditorDoes(folder, saved);
            };
            editor.swapBack = swapBack;
            const auto outcomes = convert(folder / "a.bmp", keepBackup, {}, editor);
            ASSERT_TRUE(changedDuringRun(outcomes.at(0)));
            const auto& failure = *outcomes.at(0).failure;
            const bool swappedBack = failure.otherSave.empty();
            EXPECT_EQ(swappedBack, swapBack == SwapBack::Done || swapBack == SwapBack::NoExchange);
            const std::string save = swappedBack ? "a.bmp" : failure.otherSave.filename();
            EXPECT_EQ(folder.read(save), saved);
            std::vector<std::string> left{"a.bmp", save};
            EXPECT_EQ(failure.keptOriginal.empty(), !keepBackup);
            if (!failure.keptOriginal.empty()) {
                left.push_back(failure.keptOriginal.filename());
                EXPECT_EQ(folder.read(left.back()), Original);
            }
            std::ranges::sort(left);
            left.erase(std::unique(left.begin(), left.end()), left.end());
            EXPECT_EQ(folder.names(), left);

            convert(folder / "a.bmp", true);
            EXPECT_EQ(folder.read(save), saved);
        }
    }
}

// One call of the commit fails with EIO, as on a network file system: the swap (also one whose
// reply is lost although it took effect), a copy's write-back, its checked close, or the
// folder's flush after the renames.
struct FailingStep : FileSystem {
    enum class Step { Swap, SwapThatTookEffect, CopyWriteBack, CopyClose, FolderFlush } step;
    explicit FailingStep(Step failing)
        : step(failing) {}
    int renameInFolder(int folder, const char* from, const char* to, unsigned flags) override {
        if (flags != RENAME_EXCHANGE || (step != Step::Swap && step != Step::SwapThatTookEffect)) {
            return FileSystem::renameInFolder(folder, from, to, flags);
        }
        if (step == Step::SwapThatTookEffect) {
            FileSystem::renameInFolder(folder, from, to, flags);
        }
        return EIO;
    }
    int syncData(int descriptor) override {
        return step == Step::CopyWriteBack ? EIO : FileSystem::syncData(descriptor);
    }
    int closeFile(int descriptor) override {
        const int result = FileSystem::closeFile(descriptor);
        return step == Step::CopyClose ? EIO : result;
    }
    int syncFolder(int folder) override {
        return step == Step::FolderFlush ? EIO : FileSystem::syncFolder(folder);
    }
};

// The failed step is the picture's failure, never "converted", and the original survives as
// the picture or, once the renames are done, as the backup. A swap that took effect although
// it reported failure is done: the failure path must not take the original's last name. No
// copy is left behind.
TEST(CommitSafety, AFailedStepOfTheCommitLosesNothing) {
    using Step = FailingStep::Step;
    const struct {
        Step step;
        bool replaced; // the picture holds the converted bytes, the backup the original
        FileStatus status;
    } steps[] = {{Step::Swap, false, FileStatus::Failed},
                 {Step::SwapThatTookEffect, true, FileStatus::Converted},
                 {Step::CopyWriteBack, false, FileStatus::Failed},
                 {Step::CopyClose, false, FileStatus::Failed},
                 {Step::FolderFlush, true, FileStatus::Failed}};
    for (const auto& [step, replaced, status] : steps) {
        SCOPED_TRACE(static_cast<int>(step));
        TestFolder folder;
        folder.write("a.bmp", Original);
        folder.write("a.bak", OlderBackup);
        FailingStep failing(step);
        const auto outcome = convert(folder / "a.bmp", true, {}, failing).at(0);
        ASSERT_EQ(outcome.status, status);
        if (status == FileStatus::Failed) {
            EXPECT_EQ(outcome.failure->error.systemError(), EIO);
            EXPECT_TRUE(outcome.backup.empty());
        }
        EXPECT_EQ(folder.read("a.bmp"), replaced ? Converted : Original);
        EXPECT_EQ(folder.read("a.bak"), replaced ? Original : OlderBackup);
        EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.bak", "a.bmp"}));
    }
}

// The names in the folder that a run gives its own files.
std::vector<std::string> ownNamesIn(const TestFolder& folder) {
    std::vector<std::string> own;
    for (const auto& name : folder.names()) {
        if (parseOwnName(name)) {
            own.push_back(name);
        }
    }
    return own;
}

// The rename of a held original over its backup fails, as a kill there would leave it.
struct NoBackupRename : FileSystem {
    int renameInFolder(int at, const char* from, const char* to, unsigned flags) override {
        const auto own = parseOwnName(from);
        if (flags != RENAME_EXCHANGE && own && own->role == OwnRole::Held) {
            return EIO;
        }
        return FileSystem::renameInFolder(at, from, to, flags);
    }
};

// Names near the limit are shortened in the held name; it still leads to its own picture's
// backup, never to the backup of a picture whose name it was shortened to.
TEST(CommitSafety, AShortenedHeldNameStaysWithItsPicture) {
    for (const std::size_t stem : {244u, 247u, 251u}) {
        SCOPED_TRACE(stem);
        TestFolder folder;
        const std::string first = std::string(stem, 'A') + ".bakZ.bmp";
        const std::string second = std::string(stem, 'A') + ".bmp";
        const std::string& picture = first.size() <= 255 ? first : second;
        folder.write(picture, Original);
        folder.write(second, Original);
        const std::string other = std::string(stem, 'A') + ".bak";
        folder.write(other, OlderBackup);
        NoBackupRename failing;
        const auto outcomes = convert(folder / picture, true, {}, failing);
        ASSERT_EQ(outcomes.at(0).failure->kind, FileFailure::Kind::BackupNotPlaced);
        ASSERT_EQ(ownNamesIn(folder).size(), 1u);

        convert(folder / picture, true);
        EXPECT_EQ(folder.read(backupPathFor(picture).string()), Original);
        if (picture == first) {
            EXPECT_EQ(folder.read(other), OlderBackup);
        }
        EXPECT_TRUE(ownNamesIn(folder).empty());
    }
}

// Where the file system has no hard links, the original is held as a copy of its bytes,
// written alone: its flush must come before the rename that makes it the held original.
struct NoHardLinks : FileSystem {
    std::vector<std::string> calls;
    int createUnnamed(const char*) override { return -EOPNOTSUPP; }
    int linkFile(int, int, const char*) override { return EPERM; }
    int syncFile(int descriptor) override {
        calls.push_back("flush file");
        return FileSystem::syncFile(descriptor);
    }
    int renameInFolder(int folder, const char* from, const char* to, unsigned flags) override {
        const auto own = parseOwnName(to);
        calls.push_back(own && own->role == OwnRole::Held ? "rename to held" : "rename");
        return FileSystem::renameInFolder(folder, from, to, flags);
    }
};

// Both copies keep the picture's permissions, also bits the umask takes from a new file.
TEST(CommitSafety, AHeldCopyIsFlushedBeforeItIsNamedAndKeepsThePermissions) {
    TestFolder folder;
    folder.write("a.bmp", Original);
    ::chmod((folder / "a.bmp").c_str(), 0666);
    const mode_t umask = ::umask(022);
    NoHardLinks noLinks;
    EXPECT_EQ(convert(folder / "a.bmp", true, {}, noLinks).at(0).status, FileStatus::Converted);
    ::umask(umask);
    EXPECT_EQ(folder.read("a.bak"), Original);
    const auto held = std::ranges::find(noLinks.calls, "rename to held");
    ASSERT_NE(held, noLinks.calls.end());
    EXPECT_EQ(*std::prev(held), "flush file");
    for (const char* name : {"a.bmp", "a.bak"}) {
        struct stat status {};
        ::stat((folder / name).c_str(), &status);
        EXPECT_EQ(status.st_mode & 07777, 0666u) << name;
    }
}

// Another program puts something at the backup's name after the run found it free, just
// before the swap.
// A user's own file there is never replaced: the picture is converted and its original kept
// under the name the failure reports. An earlier backup, or another name of the picture (also
// one there from the start), is dealt with as if it had been there all along: it keeps the
// original, and no held name is left behind.
TEST(CommitSafety, WhatComesAtAFreeBackupNameDuringTheCommitIsNeverLost) {
    const Bytes mine{'m', 'i', 'n', 'e'};
    {
        TestFolder folder;
        folder.write("a.bmp", Original);
        BeforeTheSwap other;
        other.meanwhile = [&] {
            folder.write("a.bak", mine);
        };
        const auto outcomes = convert(folder / "a.bmp", true, {}, other);
        ASSERT_EQ(outcomes.at(0).status, FileStatus::Failed);
        EXPECT_EQ(outcomes.at(0).failure->kind, FileFailure::Kind::BackupNotPlaced);
        EXPECT_EQ(folder.read("a.bak"), mine);
        EXPECT_EQ(folder.read("a.bmp"), Converted);
        const auto& kept = outcomes.at(0).failure->keptOriginal;
        EXPECT_EQ(folder.read(kept.filename().string()), Original);
    }
    enum class Comes { OlderBackup, HardLink, HardLinkFromTheStart };
    for (const Comes comes : {Comes::OlderBackup, Comes::HardLink, Comes::HardLinkFromTheStart}) {
        SCOPED_TRACE(static_cast<int>(comes));
        TestFolder folder;
        folder.write("a.bmp", Original);
        const auto link = [&] {
            std::filesystem::create_hard_link(folder / "a.bmp", folder / "a.bak");
        };
        if (comes == Comes::HardLinkFromTheStart) {
            link();
        }
        BeforeTheSwap other;
        other.meanwhile = [&] {
            if (comes == Comes::HardLink) {
                link();
            } else if (comes == Comes::OlderBackup) {
                folder.write("a.bak", OlderBackup);
            }
        };
        EXPECT_EQ(convert(folder / "a.bmp", true, {}, other).at(0).status, FileStatus::Converted);
        EXPECT_EQ(folder.read("a.bmp"), Converted);
        EXPECT_EQ(folder.read("a.bak"), Original);
        EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.bak", "a.bmp"}));
    }
}

TEST(CommitSafety, TheBackupIsAlwaysBesideItsPicture) {
    EXPECT_EQ(backupPathFor("/pics/A.BMP"), "/pics/A.bak");
    EXPECT_EQ(backupPathFor("/p/\xff\xfe.bmp"), "/p/\xff\xfe.bak");
    EXPECT_EQ(backupPathFor("pics/ab"), "pics/ab.bak");
    EXPECT_EQ(backupPathFor("pics/a.jpeg"), "pics/a.jpeg.bak");
    EXPECT_EQ(backupPathFor("pics/.bmp"), "pics/.bmp.bak");
    EXPECT_EQ(backupPathFor("ab"), "ab.bak");
    // Only the last extension counts, and a dot in a folder's name is no extension.
    EXPECT_EQ(backupPathFor("pics/a.b.bmp"), "pics/a.b.bak");
    EXPECT_EQ(backupPathFor("pics/a.bmp.bmp"), "pics/a.bmp.bak");
    EXPECT_EQ(backupPathFor("p.bmp/ab"), "p.bmp/ab.bak");
}

// Root converting another user's picture: the picture stays that user's, with its mode and
// its extended attributes, and so does the backup. The owner and the group are each kept, also
// when the other one is the new file's already.
TEST(CommitSafety, OwnerGroupModeAndAttributesAreKept) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a picture to another user";
    }
    constexpr uid_t Nobody = 65534;
    const struct {
        uid_t owner;
        gid_t group;
        bool keepBackup;
    } owners[] = {{Nobody, Nobody, true}, {Nobody, 0, false}, {0, Nobody, false}};
    // A security label is copied too: root may set one, and a copy without it escapes the
    // policy the picture was under.
    const std::string tag = "holiday";
    const char* const attributes[] = {"user.tag", "security.pixtint"};
    for (const auto& [owner, group, keepBackup] : owners) {
        SCOPED_TRACE(std::to_string(owner) + ":" + std::to_string(group));
        TestFolder folder;
        folder.write("a.bmp", Original);
        const auto picture = folder / "a.bmp";
        ASSERT_EQ(::chown(picture.c_str(), owner, group), 0);
        ASSERT_EQ(::chmod(picture.c_str(), 0600), 0);
        for (const char* attribute : attributes) {
            if (::setxattr(picture.c_str(), attribute, tag.data(), tag.size(), 0) != 0) {
                GTEST_SKIP() << "no " << attribute << " on this file system";
            }
        }
        ASSERT_EQ(convert(picture, keepBackup).at(0).status, FileStatus::Converted);
        EXPECT_EQ(folder.read("a.bmp"), Converted);
        for (const char* name : {"a.bmp", "a.bak"}) {
            struct stat status {};
            if (::stat((folder / name).c_str(), &status) != 0) {
                EXPECT_FALSE(keepBackup) << name;
                continue;
            }
            EXPECT_EQ(status.st_uid, owner) << name;
            EXPECT_EQ(status.st_gid, group) << name;
            EXPECT_EQ(status.st_mode & 07777, 0600u) << name;
            for (const char* attribute : attributes) {
                char value[16] = {};
                ::getxattr((folder / name).c_str(), attribute, value, sizeof value);
                EXPECT_EQ(std::string(value), tag) << name << " " << attribute;
            }
        }
    }
}

} // namespace

} // namespace pixtint
