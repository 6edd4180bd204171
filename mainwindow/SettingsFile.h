// SPDX-License-Identifier: MIT
#pragma once

#include "mainwindow/SessionState.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace pixtint {

// The settings file: six lines and no keys, each line's meaning given by its number alone.
// These functions move between the file's text and the session's choices.
namespace SettingsFile {

inline constexpr int LineCount = 6;

// The whole file for the session's choices: every line, the last included, ends in CR LF.
QByteArray format(const SessionState& state);

// Reads the file's lines into `state` in order, each before the next is read, so that a bad
// line keeps the values before it. Throws WindowError: 62 when the file ends before its sixth
// line, and the errors of the parsers below, or 380 for a box value other than 0, 1 or 2.
void readInto(const QByteArray& bytes, SessionState& state);

// The file's lines. A line ends at LF or at the end of the file, and one CR at its end is
// dropped; nothing after the last LF means no further line.
QStringList splitLines(const QByteArray& bytes);

// A number as the file holds it: a blank in place of a plus sign, and one blank after.
QString formatNumber(std::int32_t value);
QString formatBoolean(bool value);

// Line conversions, blanks around the value ignored. A line that holds no whole number throws
// WindowError 13 (type mismatch); a number out of the type's range throws 6 (overflow).
std::int32_t parseLong(const QString& line);
std::int16_t parseInteger(const QString& line);
// "True" or "False" in any letter case, or a whole number: 0 is false, any other true.
bool parseBoolean(const QString& line);

} // namespace SettingsFile

} // namespace pixtint
