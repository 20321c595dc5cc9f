// Accessibility in a browser: the controls' names and roles as ARIA
// attributes, the picture boxes' descriptions, the status line, what is said
// aloud in a polite live region, and the focus mark (the page's style while
// the keyboard is in use).
#include "lang/texts.h"
#include "platform/web/web.h"

namespace platform::backend {

using web::idOf;

void accessibleName(Native control, const std::string& name) { kansu_access_name(idOf(control), name.c_str()); }

void accessibleRole(Native box, Accessibility::Role role)
{
    // The board takes keys of its own. A list box is a widget whose keys
    // screen readers pass on by themselves, without a switch of mode (Orca
    // takes an "application" for a document and keeps its keys), and the
    // board is one: a cursor over eight places.
    kansu_access_role(idOf(box), role == Accessibility::Role::Canvas ? "listbox" : "img");
}

void toolTip(Native control, const std::string& text) { kansu_access_tooltip(idOf(control), text.c_str()); }
void describe(Native box, const std::string& text) { kansu_access_describe(idOf(box), text.c_str()); }
void status(const std::string& text, Native) { kansu_access_status(text.c_str()); }

// A page's screen reader speaks a change of the focused element's description.
const bool kDescriptionChangesSpoken = true;

void announce(Native, const std::string& first, const std::string& rest)
{
    kansu_access_announce((rest.empty() ? first : lang::list({first, rest})).c_str());
}
void showFocusMark(Native, bool show) { kansu_dom_keyboard(show); }

bool speak(const std::string& text, const lang::Language& language) { return kansu_speech_say(text.c_str(), language.tag) != 0; }
void stopSpeaking() { kansu_speech_stop(); }

}  // namespace platform::backend
