#pragma once

#include <QString>

// The title of a bookmark as the contents page shows it: the numbering kept, the dot
// leaders that run to the page number dropped, words spaced out letter by letter
// ("О Г Л А В Л Е Н И Е") joined, inner spaces single.
namespace OutlineTitle {
QString clean(const QString& title);
}
