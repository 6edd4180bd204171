// SPDX-License-Identifier: MIT
#include "commit/BatchRun.h"

#include "commit/Backup.h"
#include "commit/FolderWritability.h"
#include "commit/PictureCommit.h"
#include "conversion/CachedStart.h"
#include "conversion/Convertibility.h"
#include "conversion/FileConversion.h"
#include "engine/ByteSource.h"
#include "engine/Error.h"
#include "filesafety/FileAttributes.h"
#include "filesafety/FileByteSource.h"
#include "filesafety/FolderLock.h"
#include "filesafety/SiblingFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <set>
#ifndef _WIN32
#include <sys/resource.h>
#endif
#include <thread>
#include <vector>

namespace pixtint {

namespace {

// A picture open from its test to its commit, its first bytes read once for both the test and
// the conversion.
struct OpenPicture {
    explicit OpenPicture(FileByteSource opened)
        : file(std::move(opened))
        , start(file) {}
    OpenPicture(const OpenPicture&) = delete;
    OpenPicture& operator=(const OpenPicture&) = delete;

    FileByteSource file;
    CachedStart start;
};

// One file of a batch from its test to its commit: what was decided about it, and, once its
// converted copy is written, the copy waiting for the group's commit.
struct PreparedFile {
    std::size_t index = 0;
    std::filesystem::path path;                // as the run was given it
    std::filesystem::path target;              // where the file is: a symbolic link's target
    FileStatus status = FileStatus::Converted; // until decided otherwise
    ConversionResult result;
    std::optional<FileFailure> failure;
    std::string skipReason;              // Skipped: why
    std::filesystem::path backup;        // empty when no backup is kept
    bool backupWasFree = false;          // nothing was at the backup's name when claimed
    std::unique_ptr<OpenPicture> source; // open from the test until the commit
    ReadIdentity read;                   // the file as the source opened it
    std::unique_ptr<SiblingFile> copy;
    std::optional<Error> unwritableFolder; // why no copy can be made beside the file
    bool readOnly = false;                 // its mode lets no one write it

    bool decided() const { return status != FileStatus::Converted || failure.has_value(); }

    void fail(FileFailure failed) {
        status = FileStatus::Failed;
        failure = std::move(failed);
        copy.reset();
        source.reset();
    }

    void fail(FileFailure::Kind kind, const Error& error) {
        fail(FileFailure{kind, error, {}, {}});
    }

    FileOutcome outcome() const {
        const bool backedUp = status == FileStatus::Converted && !backup.empty() && !failure;
        return {index,     path,    status,
                result,    failure, backedUp ? backup : std::filesystem::path(),
                skipReason};
    }
};

// What a batch run keeps from one group to the next.
struct RunState {
    BackupClaims claims;
    std::set<std::filesystem::path> finishedFolders; // an interrupted run's left-overs dealt with
    // A dry run's recoveries: the held original each backup would be (path to path).
    std::map<std::filesystem::path, std::filesystem::path> heldForBackup;
    std::map<std::filesystem::path, FolderBackupNames> folderPictures; // listed once each

    const FolderBackupNames& picturesOf(const std::filesystem::path& folder) {
        return folderPictures.try_emplace(folder, folder).first->second;
    }
};

// Runs `step`, turning whatever it throws into the file's failure.
template <typename Step> void guarded(PreparedFile& file, FileFailure::Kind kind, Step&& step) {
    try {
        step();
    } catch (const Error& error) {
        file.fail(kind, error);
    } catch (const std::bad_alloc&) {
        file.fail(kind, Error(ErrorKind::OutOfMemory, file.path));
    } catch (const std::filesystem::filesystem_error& error) {
        file.fail(kind, Error::fromErrno(error.code().value(), file.path));
    } catch (const std::exception&) {
        file.fail(kind, Error::fromErrno(EIO, file.path));
    }
}

// The converted bytes go to the copy, which is made only once a second chunk shows the file
// is large: a small file whose bytes would not change leaves no trace at all.
class CopySink {
public:
    CopySink(const std::filesystem::path& picture, const FileState& original,
             const FolderLock* lock, FileSystem& fileSystem)
        : picture_(picture)
        , original_(original)
        , lock_(lock)
        , fileSystem_(fileSystem) {}

    void take(std::span<const std::uint8_t> bytes) {
        if (!started_) {
            started_ = true;
            firstChunk_.assign(bytes.begin(), bytes.end());
            return;
        }
        open();
        copy_->write(bytes);
    }

    std::unique_ptr<SiblingFile> finish() {
        open();
        return std::move(copy_);
    }

private:
    void open() {
        if (!copy_) {
            copy_ = std::make_unique<SiblingFile>(picture_, lock_, fileSystem_, &original_);
            copy_->write(firstChunk_);
            firstChunk_ = {};
        }
    }

    const std::filesystem::path& picture_;
    const FileState& original_; // as the source was opened: no need to look it up again
    const FolderLock* lock_;
    FileSystem& fileSystem_;
    bool started_ = false;
    std::vector<std::uint8_t> firstChunk_;
    std::unique_ptr<SiblingFile> copy_;
};

// The copy gets the original's owner, permissions and attributes before it is flushed, so
// that they last with its bytes.
void convertToCopy(PreparedFile& file, const ConversionRequest& request, const FolderLock* lock,
                   FileSystem& fileSystem) {
    CopySink sink(file.target, file.source->file.opened(), lock, fileSystem);
    file.result = convertFile(file.source->start, request,
                              [&sink](std::span<const std::uint8_t> bytes) { sink.take(bytes); });
    if (!file.result.changed()) {
        file.status = FileStatus::Unchanged;
        return;
    }
    file.copy = sink.finish();
    keepAttributes(file.source->file.opened(), file.source->file.descriptor(), file.copy->status(),
                   file.copy->descriptor(), file.path);
}

void countChanges(PreparedFile& file, const ConversionRequest& request) {
    file.result = convertFile(file.source->start, request, [](std::span<const std::uint8_t>) {});
    if (!file.result.changed()) {
        file.status = FileStatus::Unchanged;
    }
}

// A file too short to hold a bit count is no picture of ours, as the list marks it; one that
// cannot be read at all has failed. When every kind is converted, the header decides later.
bool isConvertible(const PreparedFile& file, const ConversionRequest& request,
                   const BatchOptions& options) {
    if (request.everyKind) {
        return !options.requireSignature || isSignedBitmap(file.source->start);
    }
    try {
        return options.requireSignature ? isSignedBitmap24Bit(file.source->start)
                                        : isBitmap24Bit(file.source->start);
    } catch (const Error& error) {
        if (error.kind() == ErrorKind::TooShort) {
            return false;
        }
        throw;
    }
}

// A file of the run, opened where it is, or why it could not be.
struct OpenedFile {
    std::filesystem::path target; // where the file is: a symbolic link's target
    std::optional<FileByteSource> file;
    std::optional<Error> failure;
};

// Opened without following a link: for the usual picture the open itself tells that its path
// is no link, and only a link costs a look-up of its target, which is then opened.
OpenedFile openWhereItIs(const std::filesystem::path& path) {
    try {
        return {path, FileByteSource(path, FinalLink::Refuse), {}};
    } catch (const Error& error) {
        if (error.kind() != ErrorKind::System || error.systemError() != ELOOP) {
            return {path, {}, error};
        }
    }
    auto target = fileAt(path);
    try {
        return {target, FileByteSource(target), {}};
    } catch (const Error& error) {
        return {std::move(target), {}, error};
    }
}

// Has the caller vet the opened file, and tests whether it is a picture the run converts;
// marks it skipped, or failed when it could not be opened or read or the vet refused
// it. The file stays open for its conversion.
void testConvertibility(PreparedFile& file, OpenedFile& opened, const ConversionRequest& request,
                        const BatchOptions& options, const BatchCallbacks& callbacks) {
    guarded(file, FileFailure::Kind::Conversion, [&] {
        if (opened.failure) {
            throw *opened.failure;
        }
        file.source = std::make_unique<OpenPicture>(std::move(*opened.file));
        file.read = ReadIdentity::of(file.source->file.opened());
        file.readOnly = isReadOnly(file.source->file.opened());
        if (callbacks.vet) {
            callbacks.vet(file.index, file.source->start);
        }
        if (!isConvertible(file, request, options)) {
            file.status = FileStatus::Skipped;
            file.skipReason = request.everyKind ? "not a BMP file" : "not a 24-bit picture";
        }
    });
}

// When every kind is converted, a header that shows a kind the program does not convert
// leaves the file alone, with the header's reason. In a folder that takes no new file, a
// file that would change fails with the folder's reason, and a read-only file with its own,
// in a dry run as in a real one.
void convertOrSkip(PreparedFile& file, const ConversionRequest& request,
                   const BatchOptions& options, const FolderLock* lock, FileSystem& fileSystem) {
    try {
        if (options.dryRun || file.unwritableFolder || file.readOnly) {
            countChanges(file, request);
        } else {
            convertToCopy(file, request, lock, fileSystem);
        }
        if (file.unwritableFolder && file.status == FileStatus::Converted) {
            file.fail(FileFailure::Kind::FolderNotWritable, *file.unwritableFolder);
        } else if (file.readOnly && file.status == FileStatus::Converted) {
            file.fail(FileFailure::Kind::Conversion, Error(ErrorKind::ReadOnlyFile, file.path));
        }
    } catch (const Error& error) {
        if (!request.everyKind || !meansNotConvertible(error)) {
            throw;
        }
        file.status = FileStatus::Skipped;
        file.skipReason = error.detail().empty() ? error.reason() : error.detail();
        file.copy.reset();
    }
}

// Converts an undecided file: in a dry run only to count, otherwise into its copy. A file
// whose bytes would not change is marked unchanged and nothing is written for it. Never
// throws: a failure is the file's outcome. The source stays open for the commit to hold.
void prepareFile(PreparedFile& file, const ConversionRequest& request, const BatchOptions& options,
                 const FolderLock* lock, FileSystem& fileSystem) {
    if (!file.decided()) {
        guarded(file, FileFailure::Kind::Conversion,
                [&] { convertOrSkip(file, request, options, lock, fileSystem); });
    }
    if (!file.copy) {
        file.source.reset();
    }
}

bool stopAsked(const BatchCallbacks& callbacks) {
    return callbacks.stopRequested && callbacks.stopRequested();
}

void claimBackup(PreparedFile& file, RunState& state) {
    try {
        file.backup = backupPathFor(file.target);
    } catch (const Error& error) {
        file.fail(FileFailure::Kind::BackupBlocked, error);
        return;
    }
    const auto folder = folderOf(file.target);
    if (auto other = state.picturesOf(folder).sharedWith(file.target.filename().native())) {
        file.fail({FileFailure::Kind::BackupNameShared,
                   Error::fromErrno(EEXIST, file.backup),
                   folder / *other,
                   {}});
        return;
    }
    const auto held = state.heldForBackup.find(file.backup);
    const auto foundAt = held == state.heldForBackup.end() ? std::filesystem::path() : held->second;
    if (auto refused = state.claims.claim(file.target, file.backup, foundAt, &file.backupWasFree)) {
        file.fail(std::move(*refused));
    }
}

void prepareInParallel(std::vector<PreparedFile>& group, const ConversionRequest& request,
                       const BatchOptions& options, const FolderLock* lock,
                       FileSystem& fileSystem) {
    if (group.empty()) {
        return;
    }
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < group.size(); i = next++) {
            prepareFile(group[i], request, options, lock, fileSystem);
        }
    };
    const auto helpers = std::min<std::size_t>(options.jobs, group.size()) - 1;
    std::vector<std::jthread> threads;
    for (std::size_t i = 0; i < helpers; ++i) {
        threads.emplace_back(work);
    }
    work();
}

using Group = std::vector<PreparedFile>;

// Answers false when a stop was asked for; the group then ends at the files already
// prepared, and the rest is neither converted nor reported.
bool prepareGroup(Group& group, const ConversionRequest& request, const BatchOptions& options,
                  const FolderLock* lock, const BatchCallbacks& callbacks, FileSystem& fileSystem) {
    if (options.jobs > 1) {
        prepareInParallel(group, request, options, lock, fileSystem);
        return true;
    }
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (i > 0 && stopAsked(callbacks)) {
            group.resize(i);
            return false;
        }
        prepareFile(group[i], request, options, lock, fileSystem);
    }
    return true;
}

// One flush of each file system the copies are on, instead of one per copy: the file system
// then commits them all in one go. A flush reports only some write-back errors (none before
// Linux 5.8, and since then those after the descriptor it is called on was opened), so each
// copy's own write-back is then waited for, which reports that file's errors. (An fdatasync()
// per copy would report them too, but ext4 flushes the disk's cache on each: twenty thousand
// icons took eight times as long.)
void flushCopies(Group& group, FileSystem& fileSystem) {
    using Device = decltype(ReadIdentity::device);
    std::map<Device, int> deviceFailures; // each device's flush: 0 or its errno
    std::vector<std::pair<PreparedFile*, Device>> copies;
    for (PreparedFile& file : group) {
        if (!file.copy) {
            continue;
        }
        // The copy is beside the picture, on the file system the picture was read from.
        const Device device = file.read.device;
        if (!deviceFailures.contains(device)) {
            deviceFailures[device] = fileSystem.syncFileSystem(file.copy->descriptor());
        }
        copies.emplace_back(&file, device);
    }
    for (auto [file, device] : copies) {
        int failure = deviceFailures[device];
        if (failure == 0) {
            failure = fileSystem.syncData(file->copy->descriptor());
        }
        if (failure != 0) {
            file->fail(FileFailure::Kind::Conversion, Error::fromErrno(failure, file->path));
        }
    }
}

// Every copy named and closed, each close checked, before any picture is replaced; then
// each commit, and the folder's flush, which the outcomes wait for.
void commitGroup(Group& group, const std::optional<FolderLock>& lock,
                 const std::optional<Error>& lockFailure, const BatchCallbacks& callbacks,
                 FileSystem& fileSystem) {
    flushCopies(group, fileSystem);
    for (PreparedFile& file : group) {
        if (file.copy && !lock) {
            file.fail(FileFailure::Kind::Conversion, *lockFailure);
        } else if (file.copy) {
            guarded(file, FileFailure::Kind::Conversion,
                    [&] { file.copy->nameAndClose(*lock, fileSystem); });
        }
    }
    std::vector<PreparedFile*> converted;
    for (PreparedFile& file : group) {
        if (!file.copy) {
            continue;
        }
        if (callbacks.aboutToReplace) {
            callbacks.aboutToReplace(file.index);
        }
        const PictureCommit commit{
            *lock,
            file.target,
            file.source->file.descriptor(),
            file.read,
            *file.copy,
            file.backup,
            file.backupWasFree,
            file.source->start.whole(),
#ifdef _WIN32
            [&file] { file.source.reset(); },
#endif
        };
        if (auto failed = commitPicture(commit, fileSystem)) {
            file.fail(std::move(*failed));
        } else {
            converted.push_back(&file);
        }
        file.copy.reset();
        file.source.reset();
    }
    if (!converted.empty()) {
        if (const int failure = fileSystem.syncFolder(lock->descriptor())) {
            for (PreparedFile* file : converted) {
                file->fail(FileFailure::Kind::Conversion, Error::fromErrno(failure, file->path));
            }
        }
    }
}

// Before a run works in a folder, and in a dry run too, it finishes (or tells) what an
// interrupted run left there.
void finishInterruptedRun(const FolderLock& lock, const BatchOptions& options,
                          const BatchCallbacks& callbacks, RunState& state) {
    for (const auto& recovery : finishInterruptedCommits(lock, options.dryRun)) {
        if (options.dryRun && recovery.action == Recovery::Action::MadeBackup) {
            state.heldForBackup[recovery.backup] = recovery.held;
        }
        if (callbacks.recovered) {
            callbacks.recovered(recovery);
        }
    }
}

// A group's files are all in one folder, whose lock the group holds from their reads to
// their commits. Files are taken, tested and their backup names claimed in list order, so
// that which of two pictures keeps a shared backup name never depends on timing.
Group takeGroup(std::span<const std::filesystem::path> files, std::size_t& next,
                const std::filesystem::path& folder, RunState& state,
                const ConversionRequest& request, const BatchOptions& options,
                const BatchCallbacks& callbacks) {
    Group group;
    std::uint64_t groupBytes = 0;
    const auto unwritableFolder = folderWriteProblem(folder);
    while (next < files.size() && group.size() < options.groupFiles &&
           (group.empty() || groupBytes < options.groupBytes)) {
        auto opened = openWhereItIs(files[next]);
        const bool elsewhere = folderOf(opened.target) != folder;
        if (elsewhere && !group.empty()) {
            break;
        }
        PreparedFile& file = group.emplace_back();
        file.index = next;
        file.path = files[next++];
        file.target = opened.target;
        if (elsewhere) { // a link made to point elsewhere since the group began
            file.fail(FileFailure::Kind::Conversion, Error(ErrorKind::ChangedDuringRun, file.path));
            continue;
        }
        file.unwritableFolder = unwritableFolder;
        testConvertibility(file, opened, request, options, callbacks);
        if (callbacks.vet && file.failure) {
            break; // reported before anything after it is converted
        }
        groupBytes += file.source ? file.source->file.size() : 0;
        if (!file.decided() && request.keepBackup) {
            claimBackup(file, state);
        }
    }
    return group;
}

} // namespace

// Each file of a group holds two descriptors until its commit. Each group costs a flush of the
// whole file system, which on a disk that other programs write to takes their writes along,
// and a flush of the folder: a folder of a thousand icons is one group.
std::size_t groupFilesForThisProcess() {
    constexpr std::size_t Wanted = 1024;
#ifdef _WIN32
    return Wanted; // Windows counts open handles by the million, not against a small limit
#else
    constexpr rlim_t Spare = 64; // standard streams, folders, the program's own
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) {
        return 64;
    }
    if (limit.rlim_cur < 2 * Wanted + Spare && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, 2 * Wanted + Spare);
        ::setrlimit(RLIMIT_NOFILE, &limit);
        ::getrlimit(RLIMIT_NOFILE, &limit);
    }
    return std::clamp<std::size_t>((limit.rlim_cur - std::min(limit.rlim_cur, Spare)) / 2, 1,
                                   Wanted);
#endif
}

BatchRun::BatchRun(ConversionRequest request, BatchOptions options, FileSystem& fileSystem)
    : request_(std::move(request))
    , options_(options)
    , fileSystem_(fileSystem) {
    options_.jobs = std::max(1u, options_.jobs);
    options_.groupFiles = std::max<std::size_t>(1, options_.groupFiles);
}

bool BatchRun::run(std::span<const std::filesystem::path> files, const BatchCallbacks& callbacks) {
    RunState state{BackupClaims(files), {}, {}, {}};
    std::size_t next = 0;
    while (next < files.size()) {
        if (next > 0 && stopAsked(callbacks)) {
            return false;
        }
        const auto folder = folderOf(fileAt(files[next]));
        std::optional<FolderLock> lock;
        std::optional<Error> lockFailure;
        try {
            lock.emplace(folder);
        } catch (const Error& error) {
            lockFailure = error; // the files fail on their own, or at their commit
        }
        if (lock && state.finishedFolders.insert(folder).second) {
            finishInterruptedRun(*lock, options_, callbacks, state);
        }
        Group group = takeGroup(files, next, folder, state, request_, options_, callbacks);
        const FolderLock* heldLock = lock ? &*lock : nullptr;
        const bool stopped =
            !prepareGroup(group, request_, options_, heldLock, callbacks, fileSystem_);
        commitGroup(group, lock, lockFailure, callbacks, fileSystem_);
        lock.reset(); // another run may go on while this one reports, a message box included
        for (const PreparedFile& file : group) {
            callbacks.outcome(file.outcome());
        }
        if (stopped) {
            return false;
        }
    }
    return true;
}

} // namespace pixtint
