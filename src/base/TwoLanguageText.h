#pragma once

#include <cstddef>
#include <iterator>

// One text in the two built-in languages, under its key: a row of a constexpr table of texts,
// whose keys the compiler checks (see TextKey).
struct TwoLanguageText
{
    const char* key;
    const char* russian;
    const char* english;
};

// One table of keys made of two arrays of texts: the first's rows, then the second's.
template <const auto& First, const auto& Second> struct JoinedTexts
{
    static constexpr std::size_t firstSize = std::size(First);
    static constexpr std::size_t size = firstSize + std::size(Second);
    static constexpr const TwoLanguageText& at(std::size_t i)
    {
        return i < firstSize ? First[i] : Second[i - firstSize];
    }
    static constexpr const char* nameAt(std::size_t i) { return at(i).key; }
};
