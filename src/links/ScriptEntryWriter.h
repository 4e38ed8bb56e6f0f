#pragma once

#include "links/EntryWriter.h"

#include <QByteArray>

class HyperlinkScript;
struct ContentsPlan;

// Writes recognised entries as the areas of the hyperlink script, one block per contents
// page.
class ScriptEntryWriter : public EntryWriter
{
public:
    ScriptEntryWriter(HyperlinkScript& script, QByteArray shape, QByteArray border);

    void page(int pageNumber, bool contentsPage) override;
    void entry(const PlanEntry& entry) override;
    void finish() override;

    // The whole script of a plan: text removal, the contents links and the page blocks.
    static void write(const ContentsPlan& plan, HyperlinkScript& script);

private:
    HyperlinkScript& script_;
    QByteArray shape_;
    QByteArray border_;
    bool anyPage_ = false;
    bool inContents_ = false;
};
