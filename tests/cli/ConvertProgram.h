#pragma once

#include "tests/support/TestFolder.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace pixtint {

struct ProgramResult {
    int exitStatus = -1; // -1 when it ended by a signal
    int signal = 0;
    std::string out;
    std::string err;
};

// The real pixtint-convert run as a child, its standard output and error caught in files.
class ConvertProgram {
public:
    explicit ConvertProgram(const std::vector<std::string>& arguments);
    ~ConvertProgram();
    ConvertProgram(const ConvertProgram&) = delete;
    ConvertProgram& operator=(const ConvertProgram&) = delete;

    pid_t pid() const { return pid_; }
    std::string outputSoFar() const;
    ProgramResult wait();

private:
    TestFolder streams_;
    pid_t pid_ = -1;
};

inline ProgramResult runConvert(const std::vector<std::string>& arguments) {
    return ConvertProgram(arguments).wait();
}

} // namespace pixtint
