#include "conversion/BatchRun.h"

#include "conversion/Backup.h"
#include "conversion/Convertibility.h"
#include "conversion/FileConversion.h"
#include "engine/ByteSource.h"
#include "engine/FolderLock.h"
#include "engine/SiblingFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <memory>
#include <new>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace pixtint {

namespace {

// One file of a batch from its test to its commit: what was decided about it, and, once its
// converted copy is written, the copy waiting for the group's commit.
struct PreparedFile {
    std::size_t index = 0;
    std::filesystem::path path;
    FileStatus status = FileStatus::Converted; // until decided otherwise
    ConversionResult result;
    std::optional<FileFailure> failure;
    std::string notConvertible;             // NotConvertible: why
    std::filesystem::path backup;           // empty when no backup is kept
    std::unique_ptr<FileByteSource> source; // open from the test until it is converted
    std::unique_ptr<SiblingFile> copy;
    std::unique_ptr<HeldOriginal> held;

    bool decided() const { return status != FileStatus::Converted || failure.has_value(); }

    void fail(FileFailure::Kind kind, const Error& error) {
        status = FileStatus::Failed;
        failure = FileFailure{kind, error, {}, {}};
        source.reset();
        copy.reset();
        held.reset();
    }

    FileOutcome outcome() const {
        const bool backedUp = status == FileStatus::Converted && !backup.empty() && !failure;
        return {index,         path,    status,
                result,        failure, backedUp ? backup : std::filesystem::path(),
                notConvertible};
    }
};

// What a batch run keeps from one group to the next.
struct RunState {
    BackupClaims claims;
    std::set<std::filesystem::path> cleanedFolders; // leftover copies already removed there
};

// Runs `step`, turning whatever it throws into the file's failure.
template <typename Step> void guarded(PreparedFile& file, FileFailure::Kind kind, Step&& step) {
    try {
        step();
    } catch (const Error& error) {
        file.fail(kind, error);
    } catch (const std::bad_alloc&) {
        file.fail(kind, Error(ErrorKind::OutOfMemory, file.path));
    } catch (const std::exception&) {
        file.fail(kind, Error::fromErrno(EIO, file.path));
    }
}

// The converted bytes go to the copy, which is made only once a second chunk shows the file
// is large: a small file whose bytes would not change leaves no trace at all.
class CopySink {
public:
    explicit CopySink(const std::filesystem::path& picture)
        : picture_(picture) {}

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
            copy_ = std::make_unique<SiblingFile>(picture_);
            copy_->write(firstChunk_);
            firstChunk_ = {};
        }
    }

    const std::filesystem::path& picture_;
    bool started_ = false;
    std::vector<std::uint8_t> firstChunk_;
    std::unique_ptr<SiblingFile> copy_;
};

void convertToCopy(PreparedFile& file, const ConversionRequest& request) {
    CopySink sink(file.path);
    file.result = convertFile(*file.source, request,
                              [&sink](std::span<const std::uint8_t> bytes) { sink.take(bytes); });
    if (!file.result.changed()) {
        file.status = FileStatus::Unchanged;
        return;
    }
    file.copy = sink.finish();
}

void countChanges(PreparedFile& file, const ConversionRequest& request) {
    file.result = convertFile(*file.source, request, [](std::span<const std::uint8_t>) {});
    if (!file.result.changed()) {
        file.status = FileStatus::Unchanged;
    }
}

// A file too short to hold a bit count is no picture of ours, as the list marks it; one that
// cannot be read at all has failed. When every kind is converted, the header decides later.
bool isConvertible(const PreparedFile& file, const ConversionRequest& request,
                   const BatchOptions& options) {
    if (request.everyKind) {
        return !options.requireSignature || isSignedBitmap(*file.source);
    }
    try {
        return options.requireSignature ? isSignedBitmap24Bit(*file.source)
                                        : isBitmap24Bit(*file.source);
    } catch (const Error& error) {
        if (error.kind() == ErrorKind::TooShort) {
            return false;
        }
        throw;
    }
}

// Opens the file and tests whether it is a picture the run converts; marks it not
// convertible, or failed when it cannot be read. The file stays open for its conversion.
void testConvertibility(PreparedFile& file, const ConversionRequest& request,
                        const BatchOptions& options) {
    guarded(file, FileFailure::Kind::Conversion, [&] {
        file.source = std::make_unique<FileByteSource>(file.path);
        if (!isConvertible(file, request, options)) {
            file.status = FileStatus::NotConvertible;
            file.notConvertible = request.everyKind ? "not a BMP file" : "not a 24-bit picture";
        }
    });
}

// When every kind is converted, a header that shows a kind the program does not convert
// leaves the file alone, with the header's reason.
void convertOrSkip(PreparedFile& file, const ConversionRequest& request,
                   const BatchOptions& options) {
    try {
        options.dryRun ? countChanges(file, request) : convertToCopy(file, request);
    } catch (const Error& error) {
        if (!request.everyKind || !meansNotConvertible(error)) {
            throw;
        }
        file.status = FileStatus::NotConvertible;
        file.notConvertible = error.detail().empty() ? error.reason() : error.detail();
        file.copy.reset();
    }
}

// Converts an undecided file: in a dry run only to count, otherwise into its copy. A file
// whose bytes would not change is marked unchanged and nothing is written for it. Never
// throws: a failure is the file's outcome.
void prepareFile(PreparedFile& file, const ConversionRequest& request,
                 const BatchOptions& options) {
    if (!file.decided()) {
        guarded(file, FileFailure::Kind::Conversion,
                [&] { convertOrSkip(file, request, options); });
    }
    file.source.reset();
}

bool stopAsked(const BatchCallbacks& callbacks) {
    return callbacks.stopRequested && callbacks.stopRequested();
}

void claimBackup(PreparedFile& file, BackupClaims& claims) {
    try {
        file.backup = backupPathFor(file.path);
    } catch (const Error& error) {
        file.fail(FileFailure::Kind::BackupBlocked, error);
        return;
    }
    if (auto refused = claims.claim(file.path, file.backup)) {
        file.status = FileStatus::Failed;
        file.failure = std::move(refused);
    }
}

void prepareInParallel(std::vector<PreparedFile>& group, const ConversionRequest& request,
                       const BatchOptions& options) {
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < group.size(); i = next++) {
            prepareFile(group[i], request, options);
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
                  const BatchCallbacks& callbacks) {
    if (options.jobs > 1) {
        prepareInParallel(group, request, options);
        return true;
    }
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (i > 0 && stopAsked(callbacks)) {
            group.resize(i);
            return false;
        }
        prepareFile(group[i], request, options);
    }
    return true;
}

// One flush of each file system the copies are on, instead of one per copy: the file system
// then commits them all in one go.
void flushCopies(Group& group, FileSystem& fileSystem) {
    std::set<dev_t> flushed;
    for (PreparedFile& file : group) {
        struct stat status {};
        if (!file.copy || ::fstat(file.copy->descriptor(), &status) != 0 ||
            !flushed.insert(status.st_dev).second) {
            continue;
        }
        if (const int failure = fileSystem.syncFileSystem(file.copy->descriptor())) {
            for (PreparedFile& other : group) {
                if (other.copy) {
                    other.fail(FileFailure::Kind::Conversion,
                               Error::fromErrno(failure, other.path));
                }
            }
            return;
        }
    }
}

void renameCopy(PreparedFile& file, FileSystem& fileSystem) {
    const FolderLock lock(folderOf(file.path));
    const auto name = file.copy->nameAndClose().filename();
    if (const int failure = fileSystem.renameInFolder(lock.descriptor(), name.c_str(),
                                                      file.path.filename().c_str(), 0)) {
        throwErrno(failure, file.path);
    }
    file.copy->forgetName();
}

// The original is held under a private name, the copy replaces the picture, then the held
// original becomes the backup. Holding it only now leaves at most one held original behind
// when a run is killed. A picture that cannot be replaced stays as it was, and so does its
// older backup.
void replacePicture(PreparedFile& file, const BatchCallbacks& callbacks, FileSystem& fileSystem) {
    if (callbacks.aboutToReplace) {
        callbacks.aboutToReplace(file.index);
    }
    if (!file.backup.empty()) {
        try {
            file.held = std::make_unique<HeldOriginal>(file.path, file.backup);
        } catch (const Error& error) {
            file.fail(FileFailure::Kind::BackupBlocked, error);
            return;
        }
    }
    try {
        renameCopy(file, fileSystem);
    } catch (const Error& error) {
        file.fail(FileFailure::Kind::Conversion, error);
        return;
    }
    if (!file.held) {
        return;
    }
    try {
        file.held->commit();
    } catch (const Error& error) {
        file.status = FileStatus::Failed;
        file.failure =
            FileFailure{FileFailure::Kind::BackupNotPlaced, error, {}, file.held->path()};
    }
}

void commitGroup(Group& group, const BatchCallbacks& callbacks, FileSystem& fileSystem) {
    flushCopies(group, fileSystem);
    std::set<std::filesystem::path> changedFolders;
    for (PreparedFile& file : group) {
        if (file.copy) {
            replacePicture(file, callbacks, fileSystem);
            changedFolders.insert(folderOf(file.path));
        }
        callbacks.outcome(file.outcome());
    }
    for (const auto& folder : changedFolders) {
        syncFolderOf(folder / ".");
    }
}

// Files are taken, tested and their backup names claimed in list order, so that which of two
// pictures keeps a shared backup name never depends on timing.
Group takeGroup(std::span<const std::filesystem::path> files, std::size_t& next, RunState& state,
                const ConversionRequest& request, const BatchOptions& options) {
    Group group;
    std::uint64_t groupBytes = 0;
    while (next < files.size() && group.size() < options.groupFiles &&
           (group.empty() || groupBytes < options.groupBytes)) {
        PreparedFile& file = group.emplace_back();
        file.index = next;
        file.path = files[next++];
        testConvertibility(file, request, options);
        groupBytes += file.source ? file.source->size() : 0;
        if (!file.decided() && request.keepBackup) {
            claimBackup(file, state.claims);
        }
        const auto folder = folderOf(file.path);
        if (!options.dryRun && state.cleanedFolders.insert(folder).second) {
            try {
                removeLeftoverSiblings(FolderLock(folder).descriptor());
            } catch (const Error&) {
                // A folder that cannot be opened fails its files on their own.
            }
        }
    }
    return group;
}

} // namespace

BatchRun::BatchRun(ConversionRequest request, BatchOptions options, FileSystem& fileSystem)
    : request_(std::move(request))
    , options_(options)
    , fileSystem_(fileSystem) {
    options_.jobs = std::max(1u, options_.jobs);
    options_.groupFiles = std::max<std::size_t>(1, options_.groupFiles);
}

bool BatchRun::run(std::span<const std::filesystem::path> files, const BatchCallbacks& callbacks) {
    RunState state{BackupClaims(files), {}};
    std::size_t next = 0;
    while (next < files.size()) {
        if (next > 0 && stopAsked(callbacks)) {
            return false;
        }
        Group group = takeGroup(files, next, state, request_, options_);
        const bool stopped = !prepareGroup(group, request_, options_, callbacks);
        commitGroup(group, callbacks, fileSystem_);
        if (stopped) {
            return false;
        }
    }
    return true;
}

} // namespace pixtint
