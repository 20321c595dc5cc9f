// The window in a browser page: the lesson's root element in the viewport,
// the controls as HTML controls, the picture boxes as canvases drawn at the
// screen's resolution, the painter of those canvases and of pictures, and
// the page's events handed to the shell.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/face.h"
#include "platform/marks.h"
#include "platform/shell/shell.h"
#include "platform/web/web.h"

namespace platform {

GlyphMask renderGlyphs(const std::string& text, int pixelSize, bool bold)
{
    GlyphMask mask;
    std::uint8_t* ink = kansu_canvas_glyphs(text.c_str(), pixelSize, bold, &mask.width, &mask.height);
    mask.ink.assign(ink, ink + std::size_t(mask.width) * std::size_t(mask.height));
    std::free(ink);
    return mask;
}

namespace web {

namespace {

struct Page {
    view::Size viewport;       ///< in the page's pixels
    double ratio = 1;          ///< device pixels to one of the page's
    int first = -1;            ///< the element that takes the focus first
    bool focused = false;      ///< the first has taken it
    std::vector<std::function<void()>> later;  ///< to run before the next frame is drawn
};
Page& thePage()
{
    static Page p;
    return p;
}

// Strokes, texts, circles and pixels on a canvas of the page, in its device pixels.
template <typename Base>
class CanvasPainterOf : public Base {
public:
    explicit CanvasPainterOf(int canvas) : canvas_(canvas) {}
    void fillDevice(const Box& d, Colour colour) override
    {
        kansu_canvas_rect(canvas_, this->x() + d.left, this->y() + d.top, d.width, d.height, colour);
    }
    void slopedLine(const LineControl& l) override
    {
        const double s = this->scale();
        kansu_canvas_line(canvas_, this->x() + l.X1() * s, this->y() + l.Y1() * s, this->x() + l.X2() * s,
                          this->y() + l.Y2() * s, l.BorderColor(), l.BorderWidth() * s);
    }
    void label(const Label& l) override
    {
        const double s = this->scale();
        if (!l.transparent())
            fillDevice(scaled({static_cast<int>(l.Left()), static_cast<int>(l.Top()), l.Width(), l.Height()}, s), l.BackColor());
        kansu_canvas_text(canvas_, l.shownText().c_str(), this->x() + l.Left() * s, this->y() + l.Top() * s, s,
                          static_cast<int>(std::lround(fontPixels(l.font().points) * l.textScale())),
                          l.font().bold | (l.ownFace() ? 2 : 0), l.ForeColor());
    }
    void shape(const Shape& sh) override
    {
        const double s = this->scale(), d = std::min(sh.Width(), sh.Height());
        kansu_canvas_disc(canvas_, this->x() + (sh.Left() + sh.Width() / 2.0) * s, this->y() + (sh.Top() + sh.Height() / 2.0) * s,
                          d / 2 * s, sh.colour());
    }
    void image(const Image& image, int x, int y, const Box& clip) override
    {
        kansu_canvas_put(canvas_, image.pixels.data(), image.width, image.height, static_cast<int>(this->x()) + x,
                         static_cast<int>(this->y()) + y, clip.left - x, clip.top - y, clip.width, clip.height);
    }
    void stroke(double x1, double y1, double x2, double y2, double width, Colour colour) override
    {
        kansu_canvas_line(canvas_, this->x() + x1, this->y() + y1, this->x() + x2, this->y() + y2, colour, width);
    }
    void text(double x, double y, const std::string& text, int pixels, bool bold, double scale, Colour colour,
              bool ownFace) override
    {
        kansu_canvas_text(canvas_, text.c_str(), this->x() + x, this->y() + y, scale, pixels, bold | (ownFace ? 2 : 0),
                          colour);
    }
    void clip(const Box& d) override { kansu_canvas_clip(canvas_, this->x() + d.left, this->y() + d.top, d.width, d.height); }
    void unclip() override { kansu_canvas_unclip(canvas_); }

protected:
    int canvas_;
};
using CanvasPainter = CanvasPainterOf<GraphicsPainter>;

class CanvasPicture : public CanvasPainterOf<backend::Picture> {
public:
    CanvasPicture(view::Size size, Colour back) : CanvasPainterOf(kansu_export_canvas(size.width, size.height, back)), size_(size) {}
    ~CanvasPicture() override { kansu_export_drop(canvas_); }
    view::Size size() const override { return size_; }
    int canvas() const { return canvas_; }

private:
    view::Size size_;
};

}  // namespace

double pageRatio() { return thePage().ratio; }
int canvasOf(const backend::Picture& picture) { return static_cast<const CanvasPicture&>(picture).canvas(); }

}  // namespace web

namespace backend {

using namespace web;

const PixelOrder kPixelOrder = PixelOrder::Rgba;

Native makeWindow(const std::string& caption, Colour back, view::Size)
{
    std::string families;
    for (const char* family : face::kFamilies)
        families += std::string(families.empty() ? "" : ", ") + '"' + family + '"';
    kansu_dom_window(caption.c_str(), back, marks::kFocus, families.c_str());
    return kWindow;
}

Surroundings surroundings(Native)
{
    Surroundings s;
    s.window = thePage().viewport;
    s.ratio = thePage().ratio;
    s.sizable = false;
    return s;
}

void sizeWindow(Native, view::Size) {}

void showLayout(Native, Box shown, double zoom, int focusWidth)
{
    kansu_dom_lesson(shown.left, shown.top, shown.width, shown.height, thePage().ratio, zoom, focusWidth);
    if (!thePage().focused && thePage().first >= 0) {  // the first control takes the focus once it can
        thePage().focused = true;
        kansu_dom_focus(thePage().first);
    }
}

void showWindow(Native) {}
bool fullScreen(Native) { return kansu_dom_is_full_screen() != 0; }
void setFullScreen(Native, bool on) { kansu_dom_full_screen(on); }

void endWindow(Native)
{
    kansu_run_wake();
    kansu_dom_ended();
}

void destroyWindow(Native) {}

Native make(const NewControl& s)
{
    const int parent = idOf(s.parent);
    switch (s.kind) {
    case Kind::PictureBox: return nativeOf(kansu_dom_box(parent, s.back));
    case Kind::Button: return nativeOf(kansu_dom_button(s.text.c_str(), s.back, s.font.bold));
    case Kind::CheckBox: return nativeOf(kansu_dom_check(parent, s.text.c_str(), s.checked, s.back, s.fore, s.font.bold));
    case Kind::TextBox: return nativeOf(kansu_dom_text(parent, s.text.c_str()));
    case Kind::Label: return nativeOf(kansu_dom_label(s.text.c_str(), s.fore, s.back, s.transparent, s.font.bold));
    case Kind::ComboBox: {
        std::string joined;
        for (const auto& i : s.items)
            joined += i + '\n';
        return nativeOf(kansu_dom_combo(joined.c_str(), s.text.c_str()));
    }
    }
    return 0;
}

void place(Native control, Box b, int fontPixels, int border, double)
{
    kansu_dom_place(idOf(control), b.left, b.top, b.width, b.height, fontPixels, border, thePage().ratio);
}

void setEnabled(Native button, bool enabled) { kansu_dom_enable(idOf(button), enabled); }

void setCaption(Native control, const Caption& caption)
{
    const auto escaped = [](const std::string& text) {
        std::string out;
        for (const char c : text)
            out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '"' ? "&quot;" : std::string(1, c);
        return out;
    };
    std::string html;
    for (const lang::Run& r : caption.runs)
        html += r.reading.empty() ? escaped(r.text) : "<ruby>" + escaped(r.text) + "<rt>" + escaped(r.reading) + "</rt></ruby>";
    kansu_dom_caption(idOf(control), html.c_str());
}

void setTitle(Native, const std::string& title) { kansu_dom_title(title.c_str()); }

double textWidth(const std::string& text, int pixels, bool bold) { return kansu_canvas_measure(text.c_str(), pixels, bold, 0); }
double lineHeight(int pixels, bool bold) { return kansu_canvas_measure("", pixels, bold, 1); }

void setLanguage(Native, const lang::Language& language)
{
    std::string faces;
    for (const char* face : face::captionFaces(language.code, true))
        faces += std::string(faces.empty() ? "" : ", ") + '"' + face + '"';
    kansu_dom_language(language.tag, faces.c_str());
}
void setChecked(Native check, bool checked) { kansu_dom_check_set(idOf(check), checked); }
void setText(Native control, const std::string& text) { kansu_dom_text_set(idOf(control), text.c_str()); }

std::string text(Native combo)
{
    char* t = kansu_dom_text_get(idOf(combo));
    std::string s = t ? t : "";
    std::free(t);
    return s;
}

void setTabOrder(const std::vector<Native>& order)
{
    for (std::size_t i = 0; i < order.size(); ++i)
        kansu_dom_tab_index(idOf(order[i]), static_cast<int>(i) + 1);
}

void setShown(Native control, bool shown) { kansu_dom_shown(idOf(control), shown); }

// Before the lesson is on the page, the focus waits for it.
void focus(Native control)
{
    if (thePage().focused)
        kansu_dom_focus(idOf(control));
    else
        thePage().first = idOf(control);
}
Native focused() { return nativeOf(kansu_dom_focused()); }

void setCanvas(Native box, view::Size size) { kansu_dom_canvas(idOf(box), size.width, size.height, thePage().ratio); }
double deviceRatio(Native) { return thePage().ratio; }
void repaint(Native, Box) { kansu_dom_request_frame(); }

std::unique_ptr<Picture> makePicture(view::Size size, Colour back) { return std::make_unique<CanvasPicture>(size, back); }

void later(std::function<void()> then)
{
    thePage().later.push_back(std::move(then));
    kansu_dom_request_frame();
}

}  // namespace backend

}  // namespace platform

// ---- the page's events ---------------------------------------------------------------
namespace {

using platform::shell::Pointer;
using platform::web::nativeOf;

// The program's key for the browser's key name and the key's place on the keyboard.
platform::Key keyOf(const char* name, const char* code)
{
    using platform::Key;
    static const std::pair<const char*, Key::Code> names[] = {
        {"ArrowLeft", Key::Left}, {"ArrowRight", Key::Right}, {"ArrowUp", Key::Up}, {"ArrowDown", Key::Down},
        {"Home", Key::Home},      {"End", Key::End},          {" ", Key::Space},    {"Enter", Key::Enter},
        {"Escape", Key::Escape},  {"Delete", Key::Delete},    {"Backspace", Key::Backspace},
        {"PageUp", Key::PageUp},  {"PageDown", Key::PageDown}, {"F5", Key::F5},     {"F8", Key::F8}, {"F10", Key::F10},
        {"+", Key::Plus},         {"=", Key::Plus},           {"-", Key::Minus},    {"ContextMenu", Key::Menu},
    };
    Key k;
    for (const auto& [n, c] : names)
        if (std::strcmp(name, n) == 0)
            k.code = c;
    const std::string place = code;
    for (const char* prefix : {"Digit", "Numpad"})
        if (place.size() == std::strlen(prefix) + 1 && place.rfind(prefix, 0) == 0 && place.back() >= '0' && place.back() <= '9') {
            k.code = Key::Digit;
            k.digit = place.back() - '0';
        }
    if (place.size() == 4 && place.rfind("Key", 0) == 0 && place[3] >= 'A' && place[3] <= 'Z') {
        k.code = Key::Letter;
        k.letter = place[3];
    }
    return k;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void kansu_clicked(int id) { platform::shell::clicked(nativeOf(id)); }
EMSCRIPTEN_KEEPALIVE void kansu_toggled(int id, int value) { platform::shell::toggled(nativeOf(id), value != 0); }

EMSCRIPTEN_KEEPALIVE void kansu_pointer(int box, int kind, int pointerId, int button, int shift, double x, double y)
{
    const Pointer what = kind == 0 ? Pointer::Down : kind == 1 ? Pointer::Move : kind == 2 ? Pointer::Up : Pointer::Cancel;
    platform::shell::pointer(nativeOf(box), what, pointerId, static_cast<std::int16_t>(button),
                             static_cast<std::int16_t>(shift), x, y);
}

// A long press on a box: the release of the right button there.
EMSCRIPTEN_KEEPALIVE void kansu_context(int box, double x, double y) { platform::shell::longPress(nativeOf(box), x, y); }

EMSCRIPTEN_KEEPALIVE void kansu_viewport(double width, double height, double ratio)
{
    auto& p = platform::web::thePage();
    p.viewport = {static_cast<int>(width), static_cast<int>(height)};
    p.ratio = ratio > 0 ? ratio : 1;
    platform::shell::windowResized(platform::web::kWindow);
}

EMSCRIPTEN_KEEPALIVE void kansu_frame()
{
    auto later = std::move(platform::web::thePage().later);
    platform::web::thePage().later.clear();
    for (auto& then : later)
        then();
    platform::shell::frame([](platform::backend::Native box) -> std::unique_ptr<platform::GraphicsPainter> {
        return std::make_unique<platform::web::CanvasPainter>(platform::web::idOf(box));
    });
}

EMSCRIPTEN_KEEPALIVE int kansu_key(const char* name, const char* code, int ctrl, int shift, int alt)
{
    platform::Key k = keyOf(name, code);
    k.ctrl = ctrl, k.shift = shift, k.alt = alt;
    return platform::shell::key(platform::web::kWindow, k, platform::backend::focused());
}

EMSCRIPTEN_KEEPALIVE void kansu_keyboard(int used) { platform::shell::keyboardUsed(platform::web::kWindow, used != 0); }
EMSCRIPTEN_KEEPALIVE void kansu_focus_moved() { platform::shell::focusMoved(); }

}  // extern "C"
