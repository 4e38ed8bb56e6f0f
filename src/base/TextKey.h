#pragma once

#include <array>
#include <cstddef>
#include <cstdlib>
#include <string_view>
#include <utility>

namespace TextKeys {

// Not constexpr: only a key missing from its table reaches this call, and as no constant
// evaluation can make it, that key does not compile. It has a body because some compilers
// also run a key's lookup at run time (a key given as a default member value).
[[noreturn]] inline void theKeyIsNotInItsTable()
{
    std::abort();
}

} // namespace TextKeys

// A key of one table of texts, checked by the compiler. `Table` gives a constexpr `size` and
// `nameAt(i)`. A key is made from a string literal and compiles only when the table holds
// that name, so a misspelt key fails the build instead of showing an empty text. Every key of
// a table, in table order, comes from all().
template <typename Table> class TextKey
{
public:
    consteval TextKey(const char* name) : index_(indexOf(name)) {}

    static constexpr std::size_t count() { return Table::size; }
    static constexpr TextKey at(std::size_t index) { return TextKey(index, Unchecked{}); }
    static constexpr std::array<TextKey, Table::size> all()
    {
        return allOf(std::make_index_sequence<Table::size>());
    }

    constexpr std::size_t index() const { return index_; }
    constexpr const char* name() const { return Table::nameAt(index_); }
    friend constexpr bool operator==(TextKey, TextKey) = default;

private:
    struct Unchecked
    {
    };
    constexpr TextKey(std::size_t index, Unchecked) : index_(index) {}
    template <std::size_t... I>
    static constexpr std::array<TextKey, sizeof...(I)> allOf(std::index_sequence<I...>)
    {
        return {at(I)...};
    }

    static consteval std::size_t indexOf(const char* name)
    {
        const std::string_view wanted(name);
        for (std::size_t i = 0; i < Table::size; ++i) {
            if (wanted == Table::nameAt(i))
                return i;
        }
        TextKeys::theKeyIsNotInItsTable();
        return 0;
    }

    std::size_t index_;
};
