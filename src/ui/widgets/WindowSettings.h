#pragma once

#include "base/IniFile.h"
#include "jobs/CreateJob.h"
#include "jobs/JobValues.h"

#include <QList>
#include <QString>

#include <type_traits>

// The main window's settings in Tocsmith.ini, each a named member that holds its type, its
// section and key and its value when the file lacks it. The file is read as the object is
// made; each tab takes its own settings from it and puts them back, and write() stores
// what was put back. Keys are written in the order the members are declared, which is the
// order a new file holds them.
class WindowSettings
{
    class Entry
    {
    public:
        virtual ~Entry() = default;
        virtual void read(const IniFile& ini) = 0;
        virtual void write(const IniFile& ini) const = 0;
    };

public:
    // bool is a "0"/"1" flag, int a whole number, QString a text, quint32 a colour (the file
    // holds its hexadecimal digits, blue first).
    template <typename T> class Setting : Entry
    {
    public:
        Setting(WindowSettings* owner, const char* section, const char* key, T missing)
            : section_(QLatin1String(section)), key_(QLatin1String(key)), value_(std::move(missing))
        {
            owner->entries_ << this;
        }
        const T& operator()() const { return value_; }
        // Only a value set is written; a setting never set keeps its line as it was.
        void set(const T& value)
        {
            value_ = value;
            set_ = true;
        }

    private:
        void read(const IniFile& ini) override
        {
            if constexpr (std::is_same_v<T, bool>)
                value_ = ini.readFlag(section_, key_, value_);
            else if constexpr (std::is_same_v<T, int>)
                value_ = ini.readInt(section_, key_, value_);
            else if constexpr (std::is_same_v<T, quint32>)
                value_ = ini.readColour(section_, key_, value_);
            else
                value_ = ini.readText(section_, key_, value_);
        }
        void write(const IniFile& ini) const override
        {
            if (!set_)
                return;
            if constexpr (std::is_same_v<T, bool>)
                ini.writeFlag(section_, key_, value_);
            else if constexpr (std::is_same_v<T, int>)
                ini.writeInt(section_, key_, value_);
            else if constexpr (std::is_same_v<T, quint32>)
                ini.writeColour(section_, key_, value_);
            else
                ini.writeText(section_, key_, value_);
        }
        QString section_;
        QString key_;
        T value_;
        bool set_ = false;
    };

    explicit WindowSettings(const QString& path);
    WindowSettings(const WindowSettings&) = delete;
    WindowSettings& operator=(const WindowSettings&) = delete;
    // Writes each setting that was set.
    void write() const;

private:
    QString path_;
    QList<Entry*> entries_; // in the order of the members below

public:
    // The Create tab's options ("Create").
    Setting<bool> createClose{this, "Create", "Close", false};
    Setting<bool> createClear{this, "Create", "Clear", false};
    Setting<bool> createBackup{this, "Create", "Backup", true};
    Setting<bool> createAlign{this, "Create", "Edit", false};
    Setting<bool> createRemoveOcr{this, "Create", "OCR", false};
    Setting<bool> createOutline{this, "Create", "outline", false};
    Setting<bool> createRecognise{this, "Create", "recognise", true};
    Setting<bool> createHighlight{this, "Create", "hlite", false};
    Setting<bool> createAlwaysVisible{this, "Create", "Vis", false};
    Setting<bool> createContentsLink{this, "Create", "oglav", true};
    // The Fix tab's options ("Edit").
    Setting<bool> fixClose{this, "Edit", "Close", false};
    Setting<bool> fixClear{this, "Edit", "Clear", false};
    Setting<bool> fixBackup{this, "Edit", "Backup", true};
    // The window's own ("Menu"). The menu's two options are stored inverted.
    Setting<bool> menuTop{this, "Menu", "Top", false};
    Setting<bool> menuLog{this, "Menu", "Protokol", false};
    Setting<QString> language{this, "Menu", "language", QString()};
    Setting<int> width{this, "Menu", "Width", 0};
    Setting<int> height{this, "Menu", "Height", 0};
    // The contents-link tab's and the rest of the Create tab's ("Create").
    Setting<bool> linkHighlight{this, "Create", "oglav_8", false};
    Setting<quint32> linkHighlightColour{this, "Create", "oglav_9", 0};
    Setting<quint32> linkBorderColour{this, "Create", "oglav_10", 0};
    Setting<quint32> createBorderColour{this, "Create", "color1", 0};
    Setting<quint32> createHighlightColour{this, "Create", "color2", 0};
    Setting<QString> createComment{this, "Create", "goto", QStringLiteral("Go to page")};
    Setting<bool> linkEveryPage{this, "Create", "all_page",
                                JobDefaults::linkPages == ContentsLinkPages::EveryPage};
    Setting<bool> createCheckPageCount{this, "Create", "Prov", true};
    // The contents link's place and words start as a job's do.
    Setting<int> linkPage{this, "Create", "oglav_1", CreateJob().contentsLinkPage};
    Setting<int> linkLeft{this, "Create", "oglav_2", ContentsLinkSettings().left};
    Setting<int> linkBottom{this, "Create", "oglav_3", ContentsLinkSettings().bottom};
    Setting<int> linkWidth{this, "Create", "oglav_4", ContentsLinkSettings().width};
    Setting<int> linkHeight{this, "Create", "oglav_5", ContentsLinkSettings().height};
    Setting<int> linkTarget{this, "Create", "oglav_6", ContentsLinkSettings().targetPage};
    Setting<QString> linkComment{this, "Create", "oglav_7", ContentsLinkSettings().comment};
};
