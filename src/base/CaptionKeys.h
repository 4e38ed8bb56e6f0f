#pragma once

#include "base/IniFile.h"
#include "base/TextKey.h"

#include <QString>

#include <iterator>
#include <type_traits>

// The caption keys of the main window in a language file, section by section, in file order.
// The captions have no built-in text here: the window's own captions stand until a file gives
// one.
inline constexpr const char* kMenuCaptionKeys[] = {"N7", "N8", "N9", "N10", "N1", "N4", "N2"};
inline constexpr const char* kEditCaptionKeys[] = {"TT1", "TT2", "TT3", "L10", "L11", "L22",
                                                   "L23", "B3",  "B4",  "B5",  "ch1", "ch2",
                                                   "ch3", "m1",  "m2",  "m3",  "m4"};
inline constexpr const char* kCreateCaptionKeys[] = {
    "p1",   "r1",   "r2",   "ch11", "ch14", "ch16", "ch7", "ch12", "ch17", "ch18", "ch19",
    "ch20", "ch8",  "ch9",  "B2",   "jB1",  "jB2",  "l4",  "l5",   "l9",   "l7",   "l8",
    "c31",  "c32",  "c33",  "c21",  "c22",  "c11",  "c12", "c13",  "c14",  "c15",  "c16",
    "c17",  "ch10", "ch15", "p2",   "gr1",  "l11",  "l12", "l13",  "l14",  "l15",  "l16"};

// A section of caption keys: its name in the file and its keys.
template <const auto& Keys> struct CaptionKeyList
{
    static constexpr std::size_t size = std::size(Keys);
    static constexpr const char* nameAt(std::size_t i) { return Keys[i]; }
};
struct MenuCaptions : CaptionKeyList<kMenuCaptionKeys>
{
    static constexpr const char* section = "Menu";
};
struct EditCaptions : CaptionKeyList<kEditCaptionKeys>
{
    static constexpr const char* section = "edit";
};
struct CreateCaptions : CaptionKeyList<kCreateCaptionKeys>
{
    static constexpr const char* section = "create";
};

using MenuKey = TextKey<MenuCaptions>;
using EditKey = TextKey<EditCaptions>;
using CreateKey = TextKey<CreateCaptions>;

// Names a section where a key follows, so that the key is checked against that section.
template <typename Table> struct CaptionSection
{
    static QString name() { return QString::fromLatin1(Table::section); }
    // Every key of the section, by name, in file order.
    static QStringList keyNames()
    {
        QStringList names;
        for (std::size_t i = 0; i < Table::size; ++i)
            names << QString::fromLatin1(Table::nameAt(i));
        return names;
    }
};
inline constexpr CaptionSection<MenuCaptions> kMenuSection;
inline constexpr CaptionSection<EditCaptions> kEditSection;
inline constexpr CaptionSection<CreateCaptions> kCreateSection;

// The text a language file gives a key of a section ("" when it gives none).
template <typename Table>
QString captionText(const IniFile& file, CaptionSection<Table>,
                    std::type_identity_t<TextKey<Table>> key)
{
    return file.readText(QString::fromLatin1(Table::section), QString::fromLatin1(key.name()));
}
