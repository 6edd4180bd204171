#include "conversion/BatchRun.h"

#include "conversion/BackupClaims.h"
#include "conversion/BackupName.h"
#include "conversion/PreparedFile.h"
#include "conversion/RunState.h"
#include "engine/PosixFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace pixtint {

namespace {

std::filesystem::path folderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

bool stopAsked(const BatchCallbacks& callbacks) {
    return callbacks.stopRequested && callbacks.stopRequested();
}

void claimBackup(PreparedFile& file, BackupClaims& claims) {
    try {
        file.backup = backupPathFor(file.path);
    } catch (const AppError& error) {
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

// The original is held under a private name, the copy replaces the picture, then the held
// original becomes the backup. Holding it only now leaves at most one held original behind
// when a run is killed. A picture that cannot be replaced stays as it was, and so does its
// older backup.
void replacePicture(PreparedFile& file, const BatchCallbacks& callbacks) {
    if (callbacks.aboutToReplace) {
        callbacks.aboutToReplace(file.index);
    }
    if (!file.backup.empty()) {
        try {
            file.held = std::make_unique<HeldOriginal>(file.path, file.backup);
        } catch (const AppError& error) {
            file.fail(FileFailure::Kind::BackupBlocked, error);
            return;
        }
    }
    try {
        file.copy->replacePicture();
    } catch (const AppError& error) {
        file.fail(FileFailure::Kind::Conversion, error);
        return;
    }
    if (!file.held) {
        return;
    }
    try {
        file.held->commit();
    } catch (const AppError& error) {
        file.status = FileStatus::Failed;
        file.failure =
            FileFailure{FileFailure::Kind::BackupNotPlaced, error, {}, file.held->path()};
    }
}

} // namespace

BatchRun::BatchRun(ConversionRequest request, BatchOptions options)
    : request_(std::move(request))
    , options_(options) {
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
        Group group = takeGroup(files, next, state);
        const bool stopped = !prepare(group, callbacks);
        commit(group, callbacks);
        if (stopped) {
            return false;
        }
    }
    return true;
}

// Files are taken, tested and their backup names claimed in list order, so that which of two
// pictures keeps a shared backup name never depends on timing.
BatchRun::Group BatchRun::takeGroup(std::span<const std::filesystem::path> files, std::size_t& next,
                                    RunState& state) const {
    Group group;
    std::uint64_t groupBytes = 0;
    while (next < files.size() && group.size() < options_.groupFiles &&
           (group.empty() || groupBytes < options_.groupBytes)) {
        PreparedFile& file = group.emplace_back();
        file.index = next;
        file.path = files[next++];
        testConvertibility(file, options_);
        groupBytes += file.source ? file.source->size() : 0;
        if (!file.decided() && request_.keepBackup) {
            claimBackup(file, state.claims);
        }
        const auto folder = folderOf(file.path);
        if (!options_.dryRun && state.cleanedFolders.insert(folder).second) {
            removeLeftoverCopies(folder);
        }
    }
    return group;
}

// Answers false when a stop was asked for; the group then ends at the files already
// prepared, and the rest is neither converted nor reported.
bool BatchRun::prepare(Group& group, const BatchCallbacks& callbacks) const {
    if (options_.jobs > 1) {
        prepareInParallel(group, request_, options_);
        return true;
    }
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (i > 0 && stopAsked(callbacks)) {
            group.resize(i);
            return false;
        }
        prepareFile(group[i], request_, options_);
    }
    return true;
}

void BatchRun::commit(Group& group, const BatchCallbacks& callbacks) {
    std::vector<int> descriptors;
    for (const PreparedFile& file : group) {
        if (file.copy) {
            descriptors.push_back(file.copy->descriptor());
        }
    }
    if (!descriptors.empty()) {
        flushOrFail(group, descriptors);
    }
    std::set<std::filesystem::path> changedFolders;
    for (PreparedFile& file : group) {
        if (file.copy) {
            replacePicture(file, callbacks);
            changedFolders.insert(folderOf(file.path));
        }
        callbacks.outcome(file.outcome());
    }
    for (const auto& folder : changedFolders) {
        syncFolderOf(folder / ".");
    }
}

void BatchRun::flushOrFail(Group& group, std::span<const int> descriptors) {
    try {
        flushCopies(descriptors);
    } catch (const AppError& error) {
        for (PreparedFile& file : group) {
            if (file.copy) {
                file.fail(FileFailure::Kind::Conversion, error);
            }
        }
    }
}

// One flush of each file system the copies are on, instead of one per copy: the file system
// then commits them all in one go.
void BatchRun::flushCopies(std::span<const int> descriptors) {
    std::set<dev_t> flushed;
    for (const int descriptor : descriptors) {
        struct stat status {};
        if (::fstat(descriptor, &status) != 0) {
            throw AppError::fromErrno(errno, {});
        }
        if (flushed.insert(status.st_dev).second && ::syncfs(descriptor) != 0) {
            throw AppError::fromErrno(errno, {});
        }
    }
}

} // namespace pixtint
