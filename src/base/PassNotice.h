#pragma once

#include <QString>

class MessageTexts;

// What a run met that the user is to be told of, as the engine found it: its kind, the
// document, and the engine's own sentence. The front ends choose the words around it and
// when to show it (the command line at once, the window once the run has ended).
struct PassNotice
{
    enum class Kind
    {
        NoFiles,        // the list holds no document
        NoBorderChoice, // no border type or shape is chosen
        NoKindChoice,   // no kind of work is chosen
        ToolMissing,    // djvused is nowhere to be found
        ToolNotStarted, // a tool could not be started; reason: "<tool>: <why>"
        DocumentFailed, // reason: the whole sentence, naming the document
        FileFailed,     // the path and the tool's or the reading's words apart
    };
    Kind kind = Kind::DocumentFailed;
    QString path;
    QString reason;

    bool operator==(const PassNotice&) const = default;
};

// Receives each notice as the run meets it.
class NoticeSink
{
public:
    virtual ~NoticeSink() = default;
    virtual void notice(const PassNotice& notice) = 0;
};

// The words a message box or the command line's standard error gives a notice.
struct NoticeWords
{
    QString text;
    QString caption; // empty: the window's title, and nothing on the command line

    static NoticeWords of(const PassNotice& notice, const MessageTexts& texts);
};
