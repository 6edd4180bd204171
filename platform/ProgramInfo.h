#pragma once

#include <QString>

namespace pixtint {

// The program's folder (the executable's, without a trailing separator) and its version.
namespace ProgramInfo {

QString ProgramFolder();
int MajorVersion();
int MinorVersion();

} // namespace ProgramInfo

} // namespace pixtint
