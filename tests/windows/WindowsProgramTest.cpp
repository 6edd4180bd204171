// SPDX-License-Identifier: MIT
// pixtint-convert.exe as a Windows program: its arguments and its output in UTF-8.
#include "tests/support/BmpBytes.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace pixtint {

namespace {

namespace fs = std::filesystem;

struct Finished {
    DWORD exitCode = 0;
    std::string out;
};

// Runs the program with `arguments` (a command line's tail), its standard output in a file.
Finished runProgram(const TestFolder& streams, const std::wstring& arguments) {
    const auto outPath = streams / "out.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE out = ::CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    PROCESS_INFORMATION process{};
    const auto program = fs::absolute(PIXTINT_CONVERT).native();
    std::wstring line = L"\"" + program + L"\" " + arguments;
    Finished finished;
    if (::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                         &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::GetExitCodeProcess(process.hProcess, &finished.exitCode);
        ::CloseHandle(process.hProcess);
        ::CloseHandle(process.hThread);
    } else {
        finished.exitCode = 1000 + ::GetLastError();
    }
    ::CloseHandle(out);
    const auto bytes = bytesOf(outPath);
    finished.out.assign(bytes.begin(), bytes.end());
    return finished;
}

TEST(WindowsProgram, TakesAndPrintsNamesOfAnyScriptInUtf8) {
    const TestFolder pictures;
    const TestFolder streams;
    const fs::path picture = pictures.path() / L"ツールバー.bmp";
    std::ofstream(picture, std::ios::binary).write("", 0);
    const auto bytes = makeBmp24(2, 2, {255, 0, 255});
    std::ofstream(picture, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));

    const auto run =
        runProgram(streams, L"--json -f magenta -t black \"" + picture.native() + L"\"");

    EXPECT_EQ(run.exitCode, 0u) << run.out;
    // The name as UTF-8 bytes, whatever the console's code page.
    EXPECT_NE(run.out.find("\xE3\x83\x84\xE3\x83\xBC\xE3\x83\xAB\xE3\x83\x90\xE3\x83\xBC.bmp"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(bytesOf(pictures.path() / L"ツールバー.bak"), bytes);
}

} // namespace

} // namespace pixtint
