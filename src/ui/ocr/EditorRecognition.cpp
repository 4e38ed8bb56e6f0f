#include "ui/ocr/EditorRecognition.h"

#include "ocr/PageRecognizer.h"

EditorRecognition::EditorRecognition(const ToolRunner& tools, QString documentPath, int page,
                                     QObject* parent)
    : QObject(parent), tools_(tools.exeFolder(), tools.workFolder(), nullptr),
      documentPath_(std::move(documentPath)), page_(page)
{
    tools_.setCancelToken(thread_.token());
    settings_.cancel = thread_.token();
    settings_.jobs = 1;
}

EditorRecognition::~EditorRecognition()
{
    cancel();
}

bool EditorRecognition::chooseLanguages(const QString& preferred, QString* error)
{
    if (PageRecognizer::dataFolder(preferred, error).isEmpty())
        return false;
    settings_.languages = preferred;
    settings_.languageChoices = PageRecognizer::languageChoices(preferred);
    return true;
}

void EditorRecognition::start()
{
    thread_.start(
        this,
        [this] {
            outcome_ = PageRecognition::recognise(tools_, documentPath_, {page_}, settings_);
        },
        [this] { emit finished(); });
}

void EditorRecognition::cancel()
{
    thread_.cancel();
}
