// Compiled by CTest, never linked: a key its table lacks must not compile. CTest gives each
// key as the program writes it at a call site, all right ones or one misspelt.
#include "base/CaptionKeys.h"
#include "base/EngineTexts.h"
#include "base/MessageTexts.h"
#include "base/ReviewCaptions.h"
#include "base/TipTexts.h"
#include "cli/CommandLine.h"

QString texts(const MessageTexts& messages, const ReviewCaptions& captions, const IniFile& file)
{
    return EngineTexts::say(ENGINE_KEY) + messages.text(MESSAGE_KEY) + captions.text(REVIEW_KEY) +
           TipTexts::russianText(TIP_KEY) + captionText(file, kCreateSection, CREATE_KEY) +
           captionText(file, kMenuSection, MENU_KEY);
}

void declare(CommandLine& line, bool* set)
{
    line.flag(QStringLiteral("--pages"), HELP_KEY, set);
}
