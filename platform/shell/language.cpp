// The lesson in the pupil's language, for every platform: every caption,
// label and title shown anew in it, each fitted to the box the Japanese was
// laid out for, and what a screen reader is told told anew.
#include <algorithm>
#include <cmath>

#include "platform/paint.h"
#include "platform/shell/shell.h"

namespace platform {

namespace shell {

namespace {
// A caption never shrinks below this share of its font's size.
constexpr double kSmallest = 0.7;
// A reading is set in half the size of the text below it.
constexpr double kReadingSize = 0.5;

// The smallest whole size in pixels a font of `pixels` may be shown at.
double leastPixels(int pixels) { return std::ceil(kSmallest * pixels - 1e-9); }

// Fonts come in whole pixels: the largest scale not above `scale` whose
// size in pixels is whole and whose text of `full` width fits `room`, but
// never below the smallest whole size allowed.
double wholePixels(double scale, int pixels, double full, double room)
{
    const double least = leastPixels(pixels);
    double px = std::max(least, std::floor(pixels * scale + 1e-9));
    while (px > least && px / pixels * full > room + 0.01)
        px -= 1;
    return px / pixels;
}

double widthOf(const std::vector<lang::Run>& runs, int pixels, bool bold)
{
    const auto cells = rubyCells(runs, [&](const std::string& text, bool reading) {
        return backend::textWidth(text, reading ? std::max(1, int(pixels * kReadingSize)) : pixels, bold);
    });
    return cells.empty() ? 0 : cells.back().left + cells.back().width;
}
}  // namespace

backend::Caption fitCaption(std::string_view japanese, const Font& font, double width, double height)
{
    backend::Caption c{lang::runs(japanese), 1};
    if (!lang::current().file || !lang::translated(japanese))
        return c;  // Japanese as laid out, or a text the same in every language
    const int pixels = fontPixels(font.points);
    // Faces other than the program's may be taller for their size.
    const double tallest = std::min(1.0, height / std::max(1.0, backend::lineHeight(pixels, font.bold)));
    const bool readings = std::any_of(c.runs.begin(), c.runs.end(), [](const lang::Run& r) { return !r.reading.empty(); });
    if (readings) {
        const double full = widthOf(c.runs, pixels, font.bold);
        const double fit = std::min({1.0, width / std::max(1.0, full), height / ((1 + kReadingSize) * pixels)});
        if (std::floor(pixels * fit + 1e-9) >= leastPixels(pixels)) {
            c.scale = wholePixels(fit, pixels, full, width);
            c.width = c.scale * full;
            return c;
        }
        // Too small for two lines: the readings in place of the kanji.
        c.runs = {lang::Run{lang::plain(c.runs, true), {}}};
    }
    const double full = widthOf(c.runs, pixels, font.bold);
    c.scale = wholePixels(std::clamp(std::min(tallest, width / std::max(1.0, full)), kSmallest, 1.0), pixels, full, width);
    c.width = c.scale * full;
    return c;
}

int ShellWindow::roomBeside(const Control& c) const
{
    // Up to 4 pixels before the nearest control or pane to its right at its height.
    int room = view::clientOf(widthTwips_, heightTwips_).width - (c.design.left + c.design.width);
    for (const auto& other : controls_)
        if (other.get() != &c && !other->parent && other->design.left >= c.design.left + c.design.width &&
            other->design.top < c.design.top + c.design.height && c.design.top < other->design.top + other->design.height)
            room = std::min(room, other->design.left - (c.design.left + c.design.width) - 4);
    return std::max(0, room);
}

void ShellWindow::relabel()
{
    backend::setTitle(native_, lang::tr(caption_));
    for (const auto& c : controls_)
        c->relabel();
    // The labels of the window and of the picture boxes, in the boxes laid out for them.
    std::vector<Container*> containers{this};
    for (ShellPictureBox* b : boxes_)
        containers.push_back(b);
    for (Container* container : containers)
        for (Graphic* g : container->graphics())
            if (auto* label = dynamic_cast<Label*>(g)) {
                const backend::Caption c = fitCaption(label->Caption(), label->font(), label->Width(), label->Height());
                label->show(c.runs, c.scale, lang::current().file && !lang::translated(label->Caption()));
                if (const auto native = labels_.find(g); native != labels_.end() && native->second)
                    backend::setCaption(native->second, c);
            }
    placed_ = false;  // every font anew
    layOut();
    if (!placed_)
        for (const auto& c : controls_)
            c->place(zoom_, ratio_);
}

}  // namespace shell

void chooseLanguage(const lang::Language& language)
{
    lang::choose(language);
    for (shell::ShellWindow* w : shell::allWindows()) {
        backend::setLanguage(w->native(), language);
        w->relabel();
    }
    shell::retell();
}

}  // namespace platform
