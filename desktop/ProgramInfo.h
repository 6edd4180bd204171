// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace pixtint {

// The program's folder (the executable's, without a trailing separator) and its version.
namespace ProgramInfo {

QString programFolder();
int majorVersion();
int minorVersion();

} // namespace ProgramInfo

} // namespace pixtint
