// What a teacher may ask for when the lesson starts, read the same way on
// every platform: on the desktop's command line ("kansu --zoom 150 --link
// 'figure=1,1,3,0,2&graph'"), in a page's address ("kansu.html?zoom=150#figure=...").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Form1;

struct StartOptions {
    std::optional<int> zoom;          ///< the window's scale in percent, a whole number from 100 to 300
    bool fullScreen = false;          ///< the window fills the screen
    std::optional<std::string> link;  ///< a lesson to open, as the text of a link after its '#'
    std::optional<std::string> lang;  ///< the language to show it in ("pt")
    std::vector<std::string> refused; ///< what a page's address asked for that was left out ("lang=xx")
};

// An option as the command line's help lists it.
struct StartOption {
    const char* name;   ///< written after "--"
    const char* value;  ///< the name of its value; null for an option without one
    const char* help;
};
const std::vector<StartOption>& startOptions();

// Takes one option (its name without dashes) with its value. Empty when
// taken; else one line saying why it was refused.
std::string readStartOption(StartOptions& options, std::string_view name, std::string_view value = {});
// Takes "--name value" and "--name" in turn, leaving out what it refuses (a
// page's address, where nobody reads a refusal).
StartOptions readStartOptions(const std::vector<std::string>& arguments);

// Starts the lesson as asked: the zoom asked for, else the one kept from the
// last run; full screen; the language asked for (else the link's, else the
// one kept, else Japanese); the lesson of the link built as a pupil would by
// hand, with the parts it could not read said in one line.
void start(Form1& form, const StartOptions& options);
