#pragma once

#include <QString>

// Checks that a DjVu file is whole by walking its IFF structure without decoding anything:
// the "AT&T" magic, the outer FORM whose length matches the file, every chunk (with its pad
// byte) lying inside the FORM that holds it, nested FORMs likewise, and for a bundled
// document every component offset of the DIRM chunk naming a FORM of the file. A file cut
// short and given a rewritten length, or one whose chunks overrun, does not pass.
namespace DjvuFileCheck {
// *error says what is wrong, naming the file; on success it is left alone.
bool isWhole(const QString& path, QString* error);
// Why the path names no file to work on: a folder, a name this system cannot spell, or
// nothing at all.
QString notAFile(const QString& path);
// The same walk before a document is read: *error says in plain words what the user can do
// about it, naming the file: it cannot be opened, is empty, is not a DjVu document, is cut
// short, or is damaged.
bool isReadable(const QString& path, QString* error);
} // namespace DjvuFileCheck
