// SPDX-License-Identifier: MIT
// The batch's promise on Windows: the replace, the hold between read and commit, the held
// original and its recovery, two runs, a read-only picture, long and Japanese names, and
// backup names compared without case.
#include "commit/Backup.h"
#include "filesafety/OwnNames.h"
#include "tests/commit/RecordedRun.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

namespace pixtint {

namespace {

namespace fs = std::filesystem;

// The wide calls take a name longer than MAX_PATH only with this prefix; the program is given
// paths as a user types them.
std::wstring prefixed(const fs::path& path) {
    return LR"(\\?\)" + fs::absolute(path).lexically_normal().native();
}

void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    const HANDLE file = ::CreateFileW(prefixed(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << ::GetLastError();
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

std::vector<std::uint8_t> readFile(const fs::path& path) {
    const HANDLE file = ::CreateFileW(prefixed(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::vector<std::uint8_t> bytes(1 << 16);
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

std::vector<std::wstring> namesIn(const fs::path& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE listing = ::FindFirstFileW((prefixed(folder) + L"\\*").c_str(), &found);
    do {
        if (std::wstring_view(found.cFileName) != L"." &&
            std::wstring_view(found.cFileName) != L"..") {
            names.emplace_back(found.cFileName);
        }
    } while (::FindNextFileW(listing, &found));
    ::FindClose(listing);
    std::sort(names.begin(), names.end());
    return names;
}

RecordedRun convert(const std::vector<fs::path>& files,
                    const std::function<void()>& meanwhile = {}) {
    return record(BatchRun(blueToRed()), files, meanwhile);
}

TEST(WindowsCommit, ReplacesPicturesUnderJapaneseAndLongNamesKeepingTheirOriginals) {
    const TestFolder folder;
    const fs::path japanese = folder.path() / L"日本語のアイコン.bmp";
    fs::path deep = folder.path();
    for (int level = 0; deep.native().size() < 300; ++level) {
        deep /= std::wstring(40, static_cast<wchar_t>(L'a' + level));
        ASSERT_TRUE(::CreateDirectoryW(prefixed(deep).c_str(), nullptr)) << ::GetLastError();
    }
    const fs::path longName = deep / L"icon.bmp";
    writeFile(japanese, Original);
    writeFile(longName, Original);

    const auto run = convert({japanese, longName});

    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(run.status(i), FileStatus::Converted) << run.outcomes[i].failure->error.what();
    }
    EXPECT_EQ(readFile(japanese), Converted);
    EXPECT_EQ(readFile(folder.path() / L"日本語のアイコン.bak"), Original);
    EXPECT_EQ(readFile(longName), Converted);
    EXPECT_EQ(readFile(deep / L"icon.bak"), Original);
    EXPECT_EQ(namesIn(deep), (std::vector<std::wstring>{L"icon.bak", L"icon.bmp"}));
    ::RemoveDirectoryW(prefixed(deep).c_str()); // TestFolder cannot remove what it cannot name
}

// Held open without write or delete sharing from its read to its commit: an editor's save in
// that time fails as "in use", and the run converts the bytes it read.
TEST(WindowsCommit, NoOtherProgramWritesOrReplacesThePictureBetweenReadAndCommit) {
    const TestFolder folder;
    const fs::path picture = folder / "a.bmp";
    const fs::path save = folder / "editor-save.tmp";
    writeFile(picture, Original);
    writeFile(save, OlderBackup);
    DWORD writeRefused = 0;
    DWORD replaceRefused = 0;

    const auto run = convert({picture}, [&] {
        const HANDLE writer = ::CreateFileW(picture.c_str(), GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        writeRefused = writer == INVALID_HANDLE_VALUE ? ::GetLastError() : 0;
        if (writer != INVALID_HANDLE_VALUE) {
            ::CloseHandle(writer);
        }
        replaceRefused = ::MoveFileExW(save.c_str(), picture.c_str(), MOVEFILE_REPLACE_EXISTING)
                             ? 0
                             : ::GetLastError();
    });

    EXPECT_EQ(writeRefused, ERROR_SHARING_VIOLATION);
    EXPECT_NE(replaceRefused, 0u);
    EXPECT_EQ(run.status(0), FileStatus::Converted);
    EXPECT_EQ(readFile(picture), Converted);
    EXPECT_EQ(readFile(save), OlderBackup);
}

// A run killed between the replace and the backup leaves the original under its held name;
// the next run in the folder makes it the backup.
TEST(WindowsCommit, AHeldOriginalBecomesTheBackupInTheNextRun) {
    const TestFolder folder;
    writeFile(folder / "a.bmp", Converted);
    writeFile(folder / "made.tmp", Original);
    const HANDLE made = ::CreateFileW((folder / "made.tmp").c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    BY_HANDLE_FILE_INFORMATION information{};
    ::GetFileInformationByHandle(made, &information);
    ::CloseHandle(made);
    const auto number =
        (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    const auto held = folder / ownName("a.bak", OwnRole::Held, number);
    ASSERT_TRUE(::MoveFileW((folder / "made.tmp").c_str(), held.c_str()));

    const auto run = convert({folder / "a.bmp"});

    ASSERT_EQ(run.recoveries.size(), 1u);
    EXPECT_EQ(run.recoveries[0].action, Recovery::Action::MadeBackup);
    EXPECT_EQ(run.status(0), FileStatus::Unchanged);
    EXPECT_EQ(readFile(folder / "a.bak"), Original);
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::wstring>{L"a.bak", L"a.bmp"}));
}

// Each run holds the folder from its reads to its commits: the second converts nothing the
// first converted, and no backup gets converted bytes.
TEST(WindowsCommit, TwoRunsInOneFolderTakeTurns) {
    const TestFolder folder;
    std::vector<fs::path> pictures;
    for (int i = 0; i < 30; ++i) {
        pictures.push_back(folder / ("icon" + std::to_string(i) + ".bmp"));
        writeFile(pictures.back(), Original);
    }
    RecordedRun first;
    RecordedRun second;
    std::thread other([&] { second = convert(pictures); });
    first = convert(pictures);
    other.join();

    for (std::size_t i = 0; i < pictures.size(); ++i) {
        EXPECT_NE(first.status(i) == FileStatus::Converted,
                  second.status(i) == FileStatus::Converted)
            << i;
        EXPECT_EQ(readFile(pictures[i]), Converted) << i;
        EXPECT_EQ(readFile(fs::path(pictures[i]).replace_extension(".bak")), Original) << i;
    }
}

TEST(WindowsCommit, AReadOnlyPictureIsLeftAsItIs) {
    const TestFolder folder;
    const fs::path picture = folder / "kept.bmp";
    writeFile(picture, Original);
    ASSERT_TRUE(::SetFileAttributesW(picture.c_str(), FILE_ATTRIBUTE_READONLY));

    const auto run = convert({picture});

    EXPECT_EQ(run.status(0), FileStatus::Failed);
    EXPECT_EQ(readFile(picture), Original);
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::wstring>{L"kept.bmp"}));
    ::SetFileAttributesW(picture.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// On Windows x.bak and X.BAK are one name: a picture named so is x.bmp's backup place.
TEST(WindowsBackupNames, AreComparedWithoutCase) {
    const std::vector<fs::path> pictures{"d/x.bmp", "d/X.BAK"};
    BackupClaims claims(pictures);

    const auto refused = claims.claim("d/x.bmp", "d/x.bak");

    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->kind, FileFailure::Kind::BackupNameShared);
}

} // namespace

} // namespace pixtint
