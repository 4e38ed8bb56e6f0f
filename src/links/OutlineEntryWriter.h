#pragma once

#include "outline/Outline.h"

#include <QByteArray>
#include <QString>

struct ContentsPlan;

// Writes the recognised entries of the contents pages as the document's outline, beside
// the hyperlink script, so one djvused run gives the book its links and its outline.
namespace OutlineEntryWriter {

// The entries in reading order, nested by their levels, titled as the page shows them and
// pointing at their target pages.
Outline outline(const ContentsPlan& plan);

// The set-outline block of the plan's outline, to follow the hyperlink blocks in the same
// script; empty when the plan writes no outline. Empty with *error set when it cannot be
// written.
QByteArray block(const ContentsPlan& plan, QString* error);

} // namespace OutlineEntryWriter
