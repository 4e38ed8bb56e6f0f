#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

// What the fuzz targets assert about the parsers' results. A failed check aborts, which
// libFuzzer reports as a crash with the input that caused it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace FuzzChecks {

// An annotation expression that goes into a djvused script stays one expression: no line
// break (so no "." line can end the set-ant block and no command can follow), every quoted
// text closed, and its parentheses paired outside the quotes.
inline bool isInertExpression(const QByteArray& text)
{
    bool quoted = false;
    int depth = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n' || c == '\r')
            return false;
        if (quoted) {
            if (c == '\\') {
                if (++i == text.size())
                    return false;
            } else if (c == '"') {
                quoted = false;
            }
            continue;
        }
        if (c == '"')
            quoted = true;
        else if (c == '(')
            ++depth;
        else if (c == ')' && --depth < 0)
            return false;
    }
    return !quoted && depth == 0 && text.trimmed() != ".";
}

// A Qt text from raw fuzz bytes, read as UTF-8 (invalid sequences become U+FFFD).
inline QString text(const uint8_t* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace FuzzChecks
