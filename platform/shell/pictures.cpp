// Copy, save and print for every platform: a picture of a pane or of the
// lesson composed here (each box's layer drawn afresh at the picture's scale,
// its graphical controls and the controls inside it above), the dots per inch
// of a saved file, the printed page's footer, and the menus of the panes. The
// backend supplies the surface, the clipboard, the file and the printer.
#include <cmath>

#include "lang/texts.h"
#include "platform/picture.h"
#include "platform/shell/shell.h"

namespace platform {

namespace shell {

namespace {

// The entries of the menu that is open, until one is chosen.
std::vector<exporting::MenuEntry>& openMenu()
{
    static std::vector<exporting::MenuEntry> entries;
    return entries;
}

// The lesson that the platform's own print prints, as it stands.
exporting::Picture& printed()
{
    static exporting::Picture lesson;
    return lesson;
}

const ShellPictureBox& shellBox(const PictureBox& box) { return static_cast<const ShellPictureBox&>(box); }
Native pictureWindow(const exporting::Picture& p) { return shellBox(p.box ? *p.box : *p.board).window.native(); }

backend::PrintJob printJob(const exporting::Picture& lesson)
{
    exporting::Picture onPaper = lesson;
    onPaper.back = exporting::kPaper;
    backend::PrintJob job;
    job.window = pictureWindow(lesson);
    job.size = exporting::arrange(onPaper).size;
    job.draw = [onPaper](double scale) { return compose(onPaper, scale); };
    job.name = lesson.name;
    job.footerLeft = lang::tr("３.１次関数　関数の利用");
    job.footerRight = exporting::dateText();
    return job;
}

}  // namespace

std::unique_ptr<backend::Picture> compose(const exporting::Picture& picture, double s)
{
    const exporting::Arrangement a = exporting::arrange(picture);
    auto surface = backend::makePicture({toDevice(a.size.width, s), toDevice(a.size.height, s)}, picture.back);
    for (const exporting::Spot& spot : a.spots)
        shellBox(*spot.box).paintPicture(*surface, s, toDevice(spot.x, s), toDevice(spot.y, s));
    return surface;
}

void menuChosen(int index)
{
    auto& entries = openMenu();
    if (index < 0 || index >= static_cast<int>(entries.size()))
        return;
    const std::function<void()> run = entries[static_cast<std::size_t>(index)].run;
    entries.clear();
    if (run)
        dispatch(run);
}

void printView()
{
    if (printed().board)
        backend::print(printJob(printed()), false);
}

}  // namespace shell

namespace exporting {

void popupMenu(const PictureBox& box, const std::vector<MenuEntry>& entries, float x, float y)
{
    shell::openMenu() = entries;
    std::vector<std::string> captions;
    for (const MenuEntry& e : entries)
        captions.push_back(e.caption);
    const double zoom = shell::shellBox(box).zoom();
    backend::popupMenu(shell::shellBox(box).native, captions, static_cast<int>(std::lround(x * zoom)),
                       static_cast<int>(std::lround(y * zoom)));
}

void copyText(const std::string& text) { backend::copyText(text); }

void copyPicture(const Picture& p) { backend::copyPicture(*shell::compose(p, kPictureScale)); }

void savePicture(const Picture& p)
{
    // A document places it at the layout's size: kPictureScale pixels to 1/96 inch.
    backend::savePicture(shell::pictureWindow(p), *shell::compose(p, kPictureScale), p.name, static_cast<int>(std::lround(96 * kPictureScale)));
}

void printLesson(const Picture& lesson) { backend::print(shell::printJob(lesson), true); }

void setPrintedLesson(const Picture& lesson) { shell::printed() = lesson; }

}  // namespace exporting

}  // namespace platform
