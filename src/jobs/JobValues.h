#pragma once

#include <optional>

// The typed choices of a Create job. An enum's number is its stored form: the number a
// list row's column holds and the position of the choice in the window's drop-down list;
// the command line names each by its word (cli/CreateJobOptions).

// What the pages hold and so how their entries are read.
enum class WorkKind
{
    Contents = 0,
    Index1 = 1, // an index whose entries end in their page numbers
    Index2 = 2, // an index whose every number becomes a link of its own
};

// How the contents pages are read: by the classic word rules, or by the smart reading that
// understands titles, leaders, levels and lost numbers.
enum class ContentsReading
{
    Classic = 0,
    Smart = 1,
};

enum class AreaShape
{
    Rectangle = 0,
    Oval = 1,
};

enum class BorderType
{
    None = 0,
    Xor = 1,
    Border = 2, // a plain border of its colour
    ShadowIn = 3,
    ShadowOut = 4,
    ShadowEtchedIn = 5,
    ShadowEtchedOut = 6,
};

// Where the link back to the contents goes.
enum class ContentsLinkPages
{
    OnePage = 0,
    EveryPage = 1,
    NoPage = 2, // a row's column that holds any other number
};

// The one place that says what each choice is when nobody chose.
namespace JobDefaults {
constexpr WorkKind kind = WorkKind::Contents;
constexpr ContentsReading reading = ContentsReading::Classic;
constexpr AreaShape shape = AreaShape::Rectangle;
constexpr BorderType borderType = BorderType::Xor;
constexpr ContentsLinkPages linkPages = ContentsLinkPages::OnePage;
} // namespace JobDefaults

namespace JobValue {

template <typename E> inline constexpr int kCount = 0;
template <> inline constexpr int kCount<WorkKind> = 3;
template <> inline constexpr int kCount<ContentsReading> = 2;
template <> inline constexpr int kCount<AreaShape> = 2;
template <> inline constexpr int kCount<BorderType> = 7;
template <> inline constexpr int kCount<ContentsLinkPages> = 3;

template <typename E> constexpr int number(E value)
{
    return int(value);
}

// The choice a stored number names; none when it names none.
template <typename E> constexpr std::optional<E> fromNumber(int number)
{
    static_assert(kCount<E> > 0, "a typed job value");
    if (number < 0 || number >= kCount<E>)
        return std::nullopt;
    return E(number);
}

// Shadow borders have a width, and an oval takes none of them.
constexpr bool isShadow(BorderType type)
{
    return type >= BorderType::ShadowIn;
}

} // namespace JobValue
