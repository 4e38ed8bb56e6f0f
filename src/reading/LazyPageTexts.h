#pragma once

#include "reading/PageText.h"

#include <QSet>

#include <functional>

// The pages of a book for the smart reading: the pages already read are handed out as they
// are; the first time another page is asked for, every page is fetched at once (one tool
// run), and a failed fetch is not tried again.
class LazyPageTexts : public PageTextSource
{
public:
    // Fills the map with the text of every page that has one; false when it could not.
    using FetchAll = std::function<bool(QMap<int, PageText>*)>;
    // Given pages as they are, replaces those it reads better and names them; each page is
    // asked for once.
    using Complete = std::function<QList<int>(QMap<int, PageText>*)>;

    LazyPageTexts(int pageCount, QMap<int, PageText> read, FetchAll fetchAll);
    void setComplete(Complete complete) { complete_ = std::move(complete); }

    int pageCount() const override { return pageCount_; }
    PageText page(int number) override;
    QList<int> complete(const QList<int>& pages) override;

    bool fetched() const { return tried_ && !failed_; }
    // The fetch was needed and failed: the pages it should have given read as empty.
    bool failed() const { return failed_; }

private:
    int pageCount_;
    QMap<int, PageText> pages_;
    FetchAll fetchAll_;
    Complete complete_;
    QSet<int> completed_;
    bool tried_ = false;
    bool failed_ = false;
};
