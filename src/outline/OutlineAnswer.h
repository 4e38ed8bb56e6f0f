#pragma once

// The answer to "the document already has an outline: replace it?".
enum class OutlineAnswer
{
    Yes,        // replace it in this document
    YesToAll,   // and in every later one of the run, without asking again
    No,         // leave this document as it is and go on with the next
    Merge,      // add the new bookmarks to the outline it has
    MergeToAll, // and in every later one of the run, without asking again
};
