#pragma once

#include <QString>

// Where the program's own files are. A folder that holds "language/" beside the executable
// (the build folder, or a copy carried around) keeps everything there, as it always has. An
// installed program (PREFIX/bin with PREFIX/share/tocsmith/ beside it) reads its language
// files from the share folder and keeps its settings in the user's configuration folder.
namespace InstallLayout {

bool isInstalled(const QString& exeFolder);

QString languageFolder(const QString& exeFolder);

// The settings file. When installed and the user has none yet, one left beside the
// executable by an earlier, uninstalled copy is carried over first, so nothing set is lost.
QString settingsFile(const QString& exeFolder);

} // namespace InstallLayout
