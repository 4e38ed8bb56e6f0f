#pragma once

#include "jobs/CreateRow.h"
#include "links/BorderExpression.h"

#include <QString>

// The parameters of one Create-list row, read from its text columns and checked.
struct CreateJob
{
    QString path;
    int firstPage = 1;
    int lastPage = 1;
    int offset = 0;
    int kind = 0;
    int shape = 0;
    BorderExpression::Style style;
    bool halve = false;
    QString comment;

    bool contentsLink = false;
    int contentsLinkPage = 1;
    int contentsLinkEveryPage = 0; // 0 one page, 1 every page, anything else none
    BorderExpression::ContentsLink link;
};

namespace CreateRowReader {
// false with a sentence naming the column and its text when a column does not read.
bool read(const CreateRow& row, CreateJob* job, QString* error);
} // namespace CreateRowReader
