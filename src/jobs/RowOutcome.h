#pragma once

#include <QString>

// What became of one row of a pass's list.
struct RowOutcome
{
    enum class State
    {
        NotReached, // the pass ended before this row; the document is as it was
        Done,       // the document was changed
        Unchanged,  // the document was read whole and nothing in it needed changing
        Skipped,    // the user declined the change; the document is as it was
        Failed
    };
    State state = State::NotReached;
    QString reason; // why it failed or was skipped

    bool operator==(const RowOutcome&) const = default;
};
