// SPDX-License-Identifier: MIT
#include "mainwindow/SettingsFile.h"

#include "desktop/FilePaths.h"
#include "mainwindow/ErrorMessages.h"

#include <QFile>
#include <limits>

namespace pixtint {

namespace SettingsFile {

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView trimBlanks(QStringView text) {
    while (!text.isEmpty() && isBlank(text.front())) {
        text = text.mid(1);
    }
    while (!text.isEmpty() && isBlank(text.back())) {
        text.chop(1);
    }
    return text;
}

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The digits of a whole number (an optional sign, then at least one digit), or nothing.
QStringView digitsOf(QStringView number, bool& negative) {
    negative = number.startsWith(QLatin1Char('-'));
    if (negative || number.startsWith(QLatin1Char('+'))) {
        number = number.mid(1);
    }
    if (number.isEmpty()) {
        return {};
    }
    for (QChar c : number) {
        if (!isAsciiDigit(c)) {
            return {};
        }
    }
    return number;
}

// The number a line holds, checked against [min, max]; any count of digits is read without
// wrapping around.
std::int64_t parseWholeNumber(const QString& line, std::int64_t min, std::int64_t max) {
    bool negative = false;
    const QStringView digits = digitsOf(trimBlanks(line), negative);
    if (digits.isEmpty()) {
        throw WindowError(MessageNumber::TypeMismatch);
    }
    const std::int64_t limit = negative ? -min : max;
    std::int64_t magnitude = 0;
    for (QChar c : digits) {
        magnitude = magnitude * 10 + (c.unicode() - u'0');
        if (magnitude > limit) {
            throw WindowError(MessageNumber::Overflow);
        }
    }
    return negative ? -magnitude : magnitude;
}

// The file holds a box's state as 0 (clear), 1 (ticked) or 2 (greyed); anything else is refused
// as the box itself would refuse it.
Qt::CheckState boxState(const QString& line) {
    switch (parseInteger(line)) {
    case 0:
        return Qt::Unchecked;
    case 1:
        return Qt::Checked;
    case 2:
        return Qt::PartiallyChecked;
    default:
        throw WindowError(MessageNumber::InvalidPropertyValue);
    }
}

std::int32_t boxNumber(Qt::CheckState state) {
    switch (state) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void applyLine(int number, const QString& line, SessionState& state) {
    switch (number) {
    case 1:
        state.folder = folderPath(line);
        break;
    case 2:
        state.colours.from = parseLong(line);
        break;
    case 3:
        state.colours.to = parseLong(line);
        break;
    case 4:
        state.resizeTo16x16 = boxState(line);
        break;
    case 5:
        state.insertAtTop = parseBoolean(line);
        break;
    case 6:
        state.keepBackup = boxState(line);
        break;
    default:
        break;
    }
}

QByteArray encodeLine(const QString& line) {
    return QFile::encodeName(line);
}

QString decodeLine(const QByteArray& bytes) {
    return QFile::decodeName(bytes);
}

} // namespace

QByteArray format(const SessionState& state) {
    const QString lines[LineCount] = {
        folderText(state.folder),         formatNumber(state.colours.from),
        formatNumber(state.colours.to),   formatNumber(boxNumber(state.resizeTo16x16)),
        formatBoolean(state.insertAtTop), formatNumber(boxNumber(state.keepBackup)),
    };
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += encodeLine(line) + "\r\n";
    }
    return bytes;
}

void readInto(const QByteArray& bytes, SessionState& state) {
    const QStringList lines = splitLines(bytes);
    for (int number = 1; number <= LineCount; ++number) {
        if (number > lines.size()) {
            throw WindowError(MessageNumber::InputPastEndOfFile);
        }
        applyLine(number, lines[number - 1], state);
    }
}

QStringList splitLines(const QByteArray& bytes) {
    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) {
            end = bytes.size();
        }
        const qsizetype next = end + 1;
        if (end > start && bytes[end - 1] == '\r') {
            --end;
        }
        lines << decodeLine(bytes.mid(start, end - start));
        start = next;
    }
    return lines;
}

QString formatNumber(std::int32_t value) {
    return (value < 0 ? QString() : QStringLiteral(" ")) + QString::number(value) +
           QLatin1Char(' ');
}

QString formatBoolean(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

std::int32_t parseLong(const QString& line) {
    return static_cast<std::int32_t>(parseWholeNumber(
        line, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int16_t parseInteger(const QString& line) {
    return static_cast<std::int16_t>(parseWholeNumber(
        line, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

bool parseBoolean(const QString& line) {
    const QStringView text = trimBlanks(line);
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    bool negative = false;
    const QStringView digits = digitsOf(text, negative);
    if (digits.isEmpty()) {
        throw WindowError(MessageNumber::TypeMismatch);
    }
    // Any count of digits serves: only whether the number is zero matters.
    for (QChar c : digits) {
        if (c != QLatin1Char('0')) {
            return true;
        }
    }
    return false;
}

} // namespace SettingsFile

} // namespace pixtint
