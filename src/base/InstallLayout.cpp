#include "base/InstallLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace InstallLayout {

namespace {

const QString kSettingsName = QStringLiteral("Tocsmith.ini");

QString besideExecutable(const QString& exeFolder)
{
    return QDir(exeFolder).filePath(QStringLiteral("language"));
}

QString inShareFolder(const QString& exeFolder)
{
    return QDir::cleanPath(exeFolder + QStringLiteral("/../share/tocsmith/language"));
}

} // namespace

bool isInstalled(const QString& exeFolder)
{
    return !QFileInfo(besideExecutable(exeFolder)).isDir() &&
           QFileInfo(inShareFolder(exeFolder)).isDir();
}

QString languageFolder(const QString& exeFolder)
{
    return isInstalled(exeFolder) ? inShareFolder(exeFolder) : besideExecutable(exeFolder);
}

QString settingsFile(const QString& exeFolder)
{
    const QString beside = QDir(exeFolder).filePath(kSettingsName);
    if (!isInstalled(exeFolder))
        return beside;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/tocsmith");
    const QString own = QDir(folder).filePath(kSettingsName);
    QDir().mkpath(folder);
    if (!QFileInfo::exists(own) && QFileInfo(beside).isFile())
        QFile::copy(beside, own);
    return own;
}

} // namespace InstallLayout
