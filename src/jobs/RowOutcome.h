#pragma once

#include <QString>

// What became of one row of a pass's list.
struct RowOutcome
{
    enum class State
    {
        NotReached, // the pass ended before this row; the document is as it was
        Done,
        Failed
    };
    State state = State::NotReached;
    QString reason; // why it failed

    bool operator==(const RowOutcome&) const = default;
};
