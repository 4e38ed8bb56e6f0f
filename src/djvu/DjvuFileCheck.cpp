#include "djvu/DjvuFileCheck.h"

#include "base/EngineTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QList>

namespace {

quint32 bigEndian32(const QByteArray& bytes, qsizetype at)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData()) + at;
    return quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | quint32(b[3]);
}

// Chunk identifiers are four printable ASCII characters.
bool isChunkId(const QByteArray& id)
{
    if (id.size() != 4)
        return false;
    for (char c : id)
        if (c < 0x20 || c > 0x7e)
            return false;
    return true;
}

bool isComposite(const QByteArray& id)
{
    return id == "FORM" || id == "LIST" || id == "PROP" || id == "CAT ";
}

class Walk
{
public:
    explicit Walk(QFile& file) : file_(file), size_(file.size()) {}

    bool run()
    {
        const QByteArray head = readAt(0, 16);
        if (head.size() < 16 || !head.startsWith("AT&TFORM"))
            return failWith(EngineTexts::say("e_no_header"));
        const qint64 end = 12 + qint64(bigEndian32(head, 8));
        // The format pads the last chunk to an even length; a writer may leave the pad off.
        if (size_ != end && size_ != end + 1)
            return failWith(EngineTexts::say("e_incomplete").arg(size_).arg(end));
        if (!isChunkId(head.mid(12, 4)))
            return failWith(EngineTexts::say("e_bad_header"));
        formStarts_ << 4;
        const bool bundledKind = head.mid(12, 4) == "DJVM";
        if (!walkForm(16, end, 1, head.mid(12, 4)))
            return false;
        return !bundledKind || checkDirectory();
    }

    QString error;

private:
    QByteArray readAt(qint64 at, qint64 count)
    {
        if (!file_.seek(at))
            return {};
        return file_.read(count);
    }

    bool failWith(const QString& what)
    {
        error = what;
        return false;
    }

    // The chunks between `pos` and `end`, each starting on an even offset. A page begins
    // with its INFO chunk and a bundle with its directory.
    bool walkForm(qint64 pos, qint64 end, int depth, const QByteArray& type)
    {
        if (depth > 32)
            return failWith(EngineTexts::say("e_too_deep"));
        const QByteArray first = type == "DJVU" ? "INFO" : type == "DJVM" ? "DIRM" : "";
        if (!first.isEmpty() && (pos + 8 > end || readAt(pos, 4) != first))
            return failWith(EngineTexts::say("e_part_without")
                                .arg(QString::fromLatin1(type), QString::fromLatin1(first)));
        while (pos < end) {
            if (pos % 2 != 0)
                ++pos; // the pad byte of the chunk before
            if (pos >= end)
                break;
            if (pos + 8 > end)
                return failWith(EngineTexts::say("e_chunk_cut").arg(pos));
            const QByteArray header = readAt(pos, 8);
            if (header.size() != 8 || !isChunkId(header.left(4)))
                return failWith(EngineTexts::say("e_chunk_damaged").arg(pos));
            const qint64 chunkEnd = pos + 8 + qint64(bigEndian32(header, 4));
            if (chunkEnd > end)
                return failWith(EngineTexts::say("e_chunk_past_end")
                                    .arg(QString::fromLatin1(header.left(4)))
                                    .arg(pos));
            const QByteArray id = header.left(4);
            if (isComposite(id)) {
                if (chunkEnd < pos + 12)
                    return failWith(EngineTexts::say("e_empty_form").arg(pos));
                if (depth == 1)
                    formStarts_ << pos;
                if (!walkForm(pos + 12, chunkEnd, depth + 1, readAt(pos + 8, 4)))
                    return false;
            } else if (id == "DIRM" && depth == 1) {
                directory_ = readAt(pos + 8, chunkEnd - pos - 8);
            }
            pos = chunkEnd;
        }
        return true;
    }

    // DIRM: a flags byte (0x80: bundled), a 16-bit count, then for a bundled document one
    // 32-bit file offset per component, each the start of a FORM of this file.
    bool checkDirectory()
    {
        if (directory_.size() < 3)
            return failWith(EngineTexts::say("e_no_directory"));
        if ((quint8(directory_[0]) & 0x80) == 0)
            return true; // an indirect index names files, not offsets
        const int count = quint8(directory_[1]) << 8 | quint8(directory_[2]);
        if (directory_.size() < 3 + 4 * qsizetype(count))
            return failWith(EngineTexts::say("e_directory_cut"));
        for (int i = 0; i < count; ++i) {
            const qint64 offset = bigEndian32(directory_, 3 + 4 * i);
            if (!formStarts_.contains(offset))
                return failWith(EngineTexts::say("e_no_component").arg(offset));
        }
        return true;
    }

    QFile& file_;
    qint64 size_ = 0;
    QList<qint64> formStarts_;
    QByteArray directory_;
};

} // namespace

namespace DjvuFileCheck {

bool isWhole(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = EngineTexts::say("e_check_no_read").arg(path);
        return false;
    }
    Walk walk(file);
    if (walk.run())
        return true;
    *error = EngineTexts::say("e_check_damaged").arg(path, walk.error);
    return false;
}

QString notAFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return EngineTexts::say("e_is_folder").arg(path);
    // A name read from bytes this system's encoding cannot spell holds replacement characters
    // and spells other bytes than the user gave: the file may well be there.
    if (path.contains(QChar::ReplacementCharacter) ||
        QFile::decodeName(QFile::encodeName(path)) != path)
        return EngineTexts::say("e_name_unspelt").arg(path);
    return EngineTexts::say("e_no_file").arg(path);
}

bool isReadable(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QFileInfo(path).isReadable()
                     ? EngineTexts::say("e_doc_no_open").arg(path, file.errorString())
                     : EngineTexts::say("e_doc_no_permission").arg(path);
        return false;
    }
    const QByteArray head = file.read(16);
    const QByteArray magic = "AT&TFORM";
    if (head.isEmpty()) {
        *error = EngineTexts::say("e_doc_empty").arg(path);
        return false;
    }
    if (!head.startsWith(magic.left(std::min(head.size(), magic.size())))) {
        *error = EngineTexts::say("e_doc_not_djvu").arg(path);
        return false;
    }
    // The outer FORM says how long the file is meant to be.
    if (head.size() < 16 || file.size() < 12 + qint64(bigEndian32(head, 8))) {
        *error = EngineTexts::say("e_doc_cut_short").arg(path);
        return false;
    }
    file.seek(0);
    Walk walk(file);
    if (walk.run())
        return true;
    *error = EngineTexts::say("e_doc_damaged").arg(path, walk.error);
    return false;
}

} // namespace DjvuFileCheck
