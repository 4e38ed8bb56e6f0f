#include "ui/widgets/WindowSettings.h"

WindowSettings::WindowSettings(const QString& path) : path_(path)
{
    const IniFile ini = IniFile::snapshotOf(path);
    for (Entry* entry : entries_)
        entry->read(ini);
}

void WindowSettings::write() const
{
    const IniFile ini(path_);
    for (const Entry* entry : entries_)
        entry->write(ini);
}
