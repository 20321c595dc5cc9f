// Accessibility in a browser: the controls' names and roles as ARIA
// attributes, the picture boxes' descriptions, the status line in a polite
// live region, and the keyboard's marks above the blackboard. The focus mark
// around the focused control is the page's style (while the keyboard is in
// use), in the same colour and width as on the desktop.
#include <emscripten/emscripten.h>

#include <vector>

#include "platform/access.h"
#include "platform/marks.h"
#include "platform/web/web.h"

namespace platform::web {

namespace {

class WebAccessibility;
std::vector<WebAccessibility*>& bridges()
{
    static std::vector<WebAccessibility*> all;
    return all;
}

class WebAccessibility : public Accessibility {
public:
    explicit WebAccessibility(Window&) { bridges().push_back(this); }
    ~WebAccessibility() override { std::erase(bridges(), this); }

    void name(AnyControl c, const std::string& text) override { kansu_access_name(elementOf(c.control()), text.c_str()); }
    void role(const PictureBox& box, Role role) override
    {
        // The board takes keys of its own: a screen reader passes them on.
        kansu_access_role(elementOf(&box), role == Role::Canvas ? "application" : "img");
    }
    void toolTip(AnyControl c, const std::string& text) override { kansu_access_tooltip(elementOf(c.control()), text.c_str()); }
    const void* focus() const override { return controlOfElement(kansu_dom_focused()); }
    void describe(const PictureBox& box, const std::string& text) override
    {
        kansu_access_describe(elementOf(&box), text.c_str());
    }
    void status(const std::string& text) override
    {
        if (text == status_)
            return;
        status_ = text;
        if (!quiet_)  // a focus move: the screen reader reads the control reached
            kansu_access_status(text.c_str());
    }
    void marks(const PictureBox& box, Box cursor, Box selection) override
    {
        const Box c = cursor.empty() ? Box{} : marks::cursorFrame(cursor);
        const Box s = selection.empty() ? Box{} : marks::selectionFrame(selection);
        kansu_access_marks(elementOf(&box), c.left, c.top, c.width, c.height, s.left, s.top, s.width, s.height);
    }
    void hitArea(const CheckBox& check, const PictureBox& box, Box area) override
    {
        kansu_access_hit_area(elementOf(&check), elementOf(&box), area.left, area.top, area.width, area.height);
    }

    void refresh(bool quiet)
    {
        quiet_ = quiet;
        if (Refresh)
            Refresh();
        quiet_ = false;
    }

private:
    std::string status_;
    bool quiet_ = false;
};

}  // namespace

void settled()
{
    for (WebAccessibility* b : bridges())
        b->refresh(false);
}

}  // namespace platform::web

namespace platform {
std::unique_ptr<Accessibility> Accessibility::create(Window& window)
{
    return std::make_unique<web::WebAccessibility>(window);
}
}  // namespace platform

extern "C" EMSCRIPTEN_KEEPALIVE void kansu_focus_moved()
{
    for (platform::web::WebAccessibility* b : platform::web::bridges())
        b->refresh(true);
}
