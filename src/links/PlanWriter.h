#pragma once

#include "links/EntryWriter.h"

struct ContentsPlan;

// Collects the recognised entries of the contents pages into a plan.
class PlanWriter : public EntryWriter
{
public:
    explicit PlanWriter(ContentsPlan& plan) : plan_(plan) {}

    void page(int pageNumber, bool contentsPage) override;
    void entry(const PlanEntry& entry) override;
    void finish() override {}

private:
    ContentsPlan& plan_;
};
