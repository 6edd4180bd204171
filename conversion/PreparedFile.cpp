#include "conversion/PreparedFile.h"

#include "conversion/Convertibility.h"
#include "conversion/FileConversion.h"

#include <new>
#include <vector>

namespace pixtint {

namespace {

// Runs `step`, turning whatever it throws into the file's failure.
template <typename Step> void guarded(PreparedFile& file, FileFailure::Kind kind, Step&& step) {
    try {
        step();
    } catch (const AppError& error) {
        file.fail(kind, error);
    } catch (const std::bad_alloc&) {
        file.fail(kind, AppError(ErrorNumber::OutOfMemory));
    } catch (const std::exception&) {
        file.fail(kind, AppError(ErrorNumber::DeviceIoError));
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

    std::unique_ptr<HiddenCopy> finish() {
        open();
        return std::move(copy_);
    }

private:
    void open() {
        if (!copy_) {
            copy_ = std::make_unique<HiddenCopy>(picture_);
            copy_->write(firstChunk_);
            firstChunk_ = {};
        }
    }

    const std::filesystem::path& picture_;
    bool started_ = false;
    std::vector<std::uint8_t> firstChunk_;
    std::unique_ptr<HiddenCopy> copy_;
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

} // namespace

void PreparedFile::fail(FileFailure::Kind kind, const AppError& error) {
    status = FileStatus::Failed;
    failure = FileFailure{kind, error, {}, {}};
    source.reset();
    copy.reset();
    held.reset();
}

FileOutcome PreparedFile::outcome() const {
    const bool backedUp = status == FileStatus::Converted && !backup.empty() && !failure;
    return {index, path, status, result, failure, backedUp ? backup : std::filesystem::path()};
}

// A file too short to hold a bit count is no picture of ours, as the list marks it; one that
// cannot be read at all has failed.
bool isConvertible(const PreparedFile& file, const BatchOptions& options) {
    try {
        return options.requireSignature ? isSignedBitmap24Bit(*file.source)
                                        : isBitmap24Bit(*file.source);
    } catch (const AppError& error) {
        if (error.number() == ErrorNumber::InputPastEndOfFile) {
            return false;
        }
        throw;
    }
}

void testConvertibility(PreparedFile& file, const BatchOptions& options) {
    guarded(file, FileFailure::Kind::Conversion, [&] {
        file.source = std::make_unique<FileByteSource>(file.path);
        if (!isConvertible(file, options)) {
            file.status = FileStatus::NotConvertible;
        }
    });
}

void prepareFile(PreparedFile& file, const ConversionRequest& request,
                 const BatchOptions& options) {
    if (!file.decided()) {
        guarded(file, FileFailure::Kind::Conversion, [&] {
            options.dryRun ? countChanges(file, request) : convertToCopy(file, request);
        });
    }
    file.source.reset();
}

} // namespace pixtint
