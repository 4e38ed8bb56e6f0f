#pragma once

// Drives the real main window offscreen with a temporary folder as its exe folder. Every
// modal dialog is replaced by a recorder, so no test ever waits for a box.

#include "base/IniFile.h"
#include "ui/main/Unit11111.h"

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

class WindowTest : public ::testing::Test
{
protected:
    QTemporaryDir exe;
    std::unique_ptr<TForm1> form;
    QStringList messages;                 // texts of the message boxes shown
    QStringList captions;                 // and their captions
    QStringList questions;                // texts of the yes-or-no questions asked
    bool answer = true;                   // the answer to each of them
    QStringList threeWayQuestions;        // texts of the Yes / Yes to all / No questions asked
    QList<OutlineAnswer> threeWayAnswers; // their answers in turn (No when none is left)
    bool threeWayOnWindowThread = true;
    QStringList opened;           // paths handed to the shell
    QStringList filesToChoose;    // answers of the file-open dialog, in turn
    std::optional<QColor> colour; // answer of the colour dialog (none: cancelled)
    int fileDialogs = 0;
    std::function<void()> duringMessage; // runs while a message box is "open"

    QString iniPath() const { return exe.filePath(QStringLiteral("Tocsmith.ini")); }

    void writeIni(const QByteArray& bytes)
    {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readIni() const
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void start()
    {
        form = std::make_unique<TForm1>(exe.path());
        hookDialogs();
    }
    void startShown()
    {
        start();
        form->show();
        QApplication::processEvents();
    }
    // Closes the window as the user would; the settings file is written.
    void finish()
    {
        form->close();
        form.reset();
    }
    void restart()
    {
        finish();
        start();
    }

    void hookDialogs()
    {
        form->dialogs.messageBox = [this](const QString& text, const QString& caption) {
            messages << text;
            captions << caption;
            if (duringMessage)
                duringMessage();
        };
        form->dialogs.openDjvuFile = [this]() {
            ++fileDialogs;
            return filesToChoose.isEmpty() ? QString() : filesToChoose.takeFirst();
        };
        form->dialogs.colourDialog = [this](const QColor&) { return colour; };
        form->dialogs.openInShell = [this](const QString& path) { opened << path; };
        form->dialogs.question = [this](const QString& text, const QString&) {
            questions << text;
            return answer;
        };
        form->dialogs.threeWayQuestion = [this](const QString& text, const QString&) {
            threeWayQuestions << text;
            threeWayOnWindowThread = threeWayOnWindowThread &&
                                     QThread::currentThread() == QApplication::instance()->thread();
            return threeWayAnswers.isEmpty() ? OutlineAnswer::No : threeWayAnswers.takeFirst();
        };
    }

    // Types text into a widget key by key, as the keyboard would.
    static void type(QWidget* widget, const QString& text)
    {
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(widget, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(widget, &release);
        }
    }
    static void backspace(QWidget* widget)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
    }

    // Drags files over a widget of the window and lets them go, as the file manager does.
    void drop(const QStringList& paths, QWidget* over = nullptr)
    {
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        QMimeData mime;
        mime.setUrls(urls);
        mime.setText(paths.join(QLatin1Char('\n')));
        QWidget* target = over ? over : form.get();
        const QPoint at(target->width() / 2, target->height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent event(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    QString mes1() const { return form->texts.text("mes1"); }
};
