#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

class ToolRunner;

// Pages of a document as pictures, made by DjVuLibre's ddjvu into memory.
namespace PageRender {

// The page's own size in pixels, as its areas are measured.
bool pageSize(ToolRunner& tools, const QString& path, int page, QSize* size, QString* error);
// The page drawn at this size as a PPM picture. Without ddjvu, *error says so.
bool render(ToolRunner& tools, const QString& path, int page, QSize size, QByteArray* ppm,
            QString* error);

} // namespace PageRender
