// Compiled by CTest, never linked: a key its table lacks must not compile. Each WRONG_...
// choice puts one misspelt key into a call as the program writes it; without a choice every
// key is right and the file compiles.
#include "base/CaptionKeys.h"
#include "base/EngineTexts.h"
#include "base/MessageTexts.h"
#include "base/ReviewCaptions.h"
#include "base/TipTexts.h"

QString engineSentence()
{
#ifdef WRONG_ENGINE
    return EngineTexts::say("e_cel");
#else
    return EngineTexts::say("e_cell");
#endif
}

QString message(const MessageTexts& texts)
{
#ifdef WRONG_MESSAGE
    return texts.text("mes9");
#else
    return texts.text("mes1") + texts.text("st1") + texts.text("e_cell");
#endif
}

QString reviewCaption(const ReviewCaptions& captions)
{
#ifdef WRONG_REVIEW
    return captions.text("titel");
#else
    return captions.text("title");
#endif
}

QString tip()
{
#ifdef WRONG_TIP
    return TipTexts::russianText("CheckBox99");
#else
    return TipTexts::russianText("CheckBox6");
#endif
}

QString windowCaption(const IniFile& file)
{
#if defined(WRONG_CAPTION)
    return captionText(file, kCreateSection, "ch21");
#elif defined(WRONG_SECTION)
    return captionText(file, kMenuSection, "ch20"); // a key of section create
#else
    return captionText(file, kCreateSection, "ch20") + captionText(file, kMenuSection, "N7");
#endif
}
