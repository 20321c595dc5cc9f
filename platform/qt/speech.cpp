// Reading aloud on the desktop with Qt's text-to-speech (speech-dispatcher
// on Debian): a new text cuts off the one still being said; a language
// without a voice says nothing.
#include <QCoreApplication>
#include <QTextToSpeech>

#include <algorithm>

#include "platform/qt/internal.h"

namespace platform {

namespace qt {

std::function<bool(const std::string& text, const std::string& tag)>& speechStandIn()
{
    static std::function<bool(const std::string&, const std::string&)> standIn;
    return standIn;
}

namespace {
// Made at the first text said: speech-dispatcher is reached (and started)
// only when something is read aloud.
QTextToSpeech* made = nullptr;
QTextToSpeech* engine()
{
    if (!made)
        made = new QTextToSpeech(qApp);
    return made;
}
}  // namespace

}  // namespace qt

namespace backend {

bool speak(const std::string& text, const lang::Language& language)
{
    if (qt::speechStandIn()) {
        qt::speechStandIn()({}, {});
        return qt::speechStandIn()(text, language.tag);
    }
    QTextToSpeech* speech = qt::engine();
    if (speech->state() == QTextToSpeech::Error)
        return false;
    const QLocale wanted(QString::fromLatin1(language.tag).replace(QLatin1Char('-'), QLatin1Char('_')));
    const QList<QLocale> locales = speech->availableLocales();
    const auto voice = std::find_if(locales.begin(), locales.end(),
                                    [&](const QLocale& l) { return l.language() == wanted.language(); });
    if (voice == locales.end())
        return false;
    if (speech->locale() != *voice)
        speech->setLocale(*voice);
    speech->stop();
    speech->say(qt::q(text));
    return true;
}

void stopSpeaking()
{
    if (qt::speechStandIn())
        qt::speechStandIn()({}, {});
    else if (qt::made)  // nothing was said yet: nothing to stop
        qt::made->stop();
}

}  // namespace backend

}  // namespace platform
