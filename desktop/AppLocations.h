// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace pixtint {

// Where the program keeps its settings file and finds its user guide. A copy in a folder of the
// user's own (portable use) keeps both beside itself; an installed program keeps the settings in
// the user's configuration folder and reads the guide from its documentation folder.
namespace AppLocations {

// The folder an install puts the program in. The settings never go there, even for the
// superuser who could write there: it belongs to the package manager.
QString installedProgramFolder();

// True when the settings may live beside the program: the user may write into its folder and
// it is not the installed program's folder.
bool isPortableFolder(const QString& programFolder);

// The rule with its facts given: beside the program in portable use, else the "Pixtint" folder
// of the user's configuration folder.
QString settingsFolder(const QString& programFolder, bool portable, const QString& configHome);

// "Pixtint.ini" in the settings folder, with the user's configuration folder ($XDG_CONFIG_HOME,
// by default ~/.config) as it is now.
QString settingsFile(const QString& programFolder);

// Creates the folder that will hold `file` when it is missing. A failure is left to the write
// that follows, which reports it.
void createFolderFor(const QString& file);

// The user guide in the program's language (QLocale's default): Readme.en.txt for English,
// Readme.txt otherwise and when no English guide is found. Beside the program, else the
// installed one; nothing when neither exists.
std::optional<QString> readmeFile(const QString& programFolder);
// Every path readmeFile looks at, in the order it looks, for telling the user where no guide
// was found.
QStringList readmePlaces(const QString& programFolder);

// The folder shown when no settings give one (a first start, or settings that cannot be read):
// the program's own folder in portable use; for an installed program, which has nothing to show
// in its own folder, the user's Pictures folder, else the home folder. Without a trailing
// separator, as the window holds a folder.
QString firstStartFolder(const QString& programFolder);

} // namespace AppLocations

} // namespace pixtint
