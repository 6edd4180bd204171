// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace pixtint {

class Error;

// Why a picture is not converted, in the window's language, for the status bar: the kind the
// conversion refuses ("16-bit pictures cannot be converted"), a damaged file, a file that
// cannot be read, a full palette.
QString refusalReason(const Error& error);
// What the status bar says of an item whose conversion failed although its kind is converted.
QString conversionFailedReason();

} // namespace pixtint
