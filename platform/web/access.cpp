// Accessibility in a browser: the controls' names and roles as ARIA
// attributes, the picture boxes' descriptions, the status line in a polite
// live region, and the focus mark (the page's style while the keyboard is in
// use).
#include "platform/web/web.h"

namespace platform::backend {

using web::idOf;

void accessibleName(Native control, const std::string& name) { kansu_access_name(idOf(control), name.c_str()); }

void accessibleRole(Native box, Accessibility::Role role)
{
    // The board takes keys of its own: a screen reader passes them on.
    kansu_access_role(idOf(box), role == Accessibility::Role::Canvas ? "application" : "img");
}

void toolTip(Native control, const std::string& text) { kansu_access_tooltip(idOf(control), text.c_str()); }
void describe(Native box, const std::string& text) { kansu_access_describe(idOf(box), text.c_str()); }
void status(const std::string& text, Native) { kansu_access_status(text.c_str()); }
void showFocusMark(Native, bool show) { kansu_dom_keyboard(show); }

}  // namespace platform::backend
