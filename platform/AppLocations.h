#pragma once

#include <QString>

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

// Readme.txt beside the program, else the installed one; the one beside the program when
// neither exists, so that the viewer is still asked and says what is missing.
QString readmeFile(const QString& programFolder);

} // namespace AppLocations

} // namespace pixtint
