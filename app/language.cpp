// The pupil's language: chosen from the panes' menus (or at the start, or by
// a link), shown at once with the lesson as it stands, and kept for the next
// start on this device.
#include "app/form1.h"

void Form1::chooseLanguage(const lang::Language& language)
{
    platform::chooseLanguage(language);
    platform::settings::saveLanguage(language.code);
}

bool Form1::readAloud() const { return platform::readAloud(); }

void Form1::setReadAloud(bool on)
{
    platform::setReadAloud(on);
    platform::settings::saveReadAloud(on);
}

void Form1::languageMenu(platform::PictureBox* pane, float x, float y)
{
    std::vector<platform::exporting::MenuEntry> entries;
    for (const lang::Language& l : lang::languages()) {
        const bool chosen = &l == &lang::current();
        // Each in its own words, the one shown now ticked.
        entries.push_back({std::string(chosen ? "✓ " : "") + l.name, [this, &l] { chooseLanguage(l); }});
    }
    platform::exporting::popupMenu(*pane, entries, x, y);
}
