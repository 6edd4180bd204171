// SPDX-License-Identifier: MIT
#pragma once

#include "commit/FileOutcome.h"
#include "mainwindow/ErrorMessages.h"

namespace pixtint {

// The messages of failed batch items: the error's number and description, then what happened
// to which file, so that a message met in the middle of a long run still says which picture it
// is about and where its original is.

// A file the core could not convert (or could not back up).
NumberedMessage conversionFailureMessage(const FileOutcome& outcome);
// The one message of a folder that takes no new file: `refusal` says why, in the system's words.
NumberedMessage folderRefusedMessage(const Error& refusal, const std::filesystem::path& folder);
// A file the window did not hand to the core because it cannot be shown: `cause` is why.
NumberedMessage unshowableFileMessage(const NumberedMessage& cause,
                                      const std::filesystem::path& file);

} // namespace pixtint
