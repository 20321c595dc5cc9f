// The window in a browser page: the lesson's root element, the windowed
// controls as HTML controls, the picture boxes as canvases drawn at the
// screen's resolution, the fit to the browser's viewport, and the page's
// events handed to the program's handlers.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "platform/glyphs.h"
#include "platform/layer.h"
#include "platform/marks.h"
#include "platform/paint.h"
#include "platform/picture.h"
#include "platform/pointer.h"
#include "platform/view.h"
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

class WebWindow;
WebWindow* theWindow = nullptr;

std::vector<std::pair<const void*, int>>& elements()
{
    static std::vector<std::pair<const void*, int>> all;
    return all;
}

void requestFrame() { kansu_dom_request_frame(); }

// ---- windowed controls -------------------------------------------------------

// A windowed control's element, its place and font as laid out (in the
// layout's pixels of its container), and how it is shown at a scale.
struct Placement {
    int id = -1;
    Box design;
    Font designFont;
    virtual ~Placement() = default;
    // Places the element at a zoom, on whole device pixels of a screen with
    // `ratio` of them to one of the page's. Inside a picture box places count
    // from the inner edge of its border, as the box's drawing does.
    virtual void place(double zoom, double ratio)
    {
        const Box d = scaled(design, zoom * ratio);
        kansu_dom_place(id, d.left, d.top, d.width, d.height, fontPixelsAt(designFont.points, zoom),
                        view::borderAt(zoom * ratio), ratio);
    }
    // Draws the control into a picture on a canvas at scale s, its place
    // counted from (x, y) of the canvas; a control not drawn into pictures
    // draws nothing.
    virtual void paint(int, double, int, int) const {}
};

// A colour a shade darker, as the frame of a check box's box is drawn.
Colour darker(Colour c)
{
    const auto part = [c](int shift) { return static_cast<Colour>(((c >> shift) & 0xFF) * 79 / 100) << shift; };
    return part(0) | part(8) | part(16);
}

Box layoutBox(const Layout& l)
{
    return {twipsToPixels(l.left), twipsToPixels(l.top), twipsToPixels(l.width), twipsToPixels(l.height)};
}

class WebButton : public CommandButton, public Placement {
public:
    WebButton(const std::string& caption, const Layout& l) : caption_(caption), back_(l.back)
    {
        id = kansu_dom_button(caption.c_str(), l.back, l.font.bold, l.tabIndex);
        design = layoutBox(l), designFont = l.font;
    }
    bool Enabled() const override { return enabled_; }
    void setEnabled(bool e) override
    {
        if (e == enabled_)
            return;
        enabled_ = e;
        kansu_dom_enable(id, e);
    }
    std::string Caption() const override { return caption_; }
    Colour BackColor() const override { return back_; }

private:
    std::string caption_;
    Colour back_;
    bool enabled_ = true;
};

class WebCheckBox : public CheckBox, public Placement {
public:
    WebCheckBox(int parent, const std::string& caption, int value, const Layout& l)
        : caption_(caption), value_(value != 0), back_(l.back), fore_(l.fore)
    {
        id = kansu_dom_check(parent, caption.c_str(), value_, l.back, l.fore, l.font.bold, l.tabIndex);
        design = layoutBox(l), designFont = l.font;
    }
    int Value() const override { return value_ ? 1 : 0; }
    void setValue(int v) override
    {
        if ((v != 0) == value_)
            return;
        value_ = v != 0;
        kansu_dom_check_set(id, value_);
        if (Click)
            Click();
    }
    // The pupil ticked or unticked the box in the page.
    void toggled(bool value)
    {
        if (value == value_)
            return;
        value_ = value;
        if (Click)
            Click();
    }
    std::string Caption() const override { return caption_; }

    // Its colour, the box with its frame and, when ticked, the tick; the
    // caption beside it, cut at the control's edge.
    void paint(int canvas, double s, int x, int y) const override
    {
        const Box d = scaled(design, s);
        kansu_canvas_rect(canvas, x + d.left, y + d.top, d.width, d.height, back_);
        const double box = 14 * s, bx = x + d.left, by = y + d.top + (d.height - box) / 2;
        const int w = std::max(1, static_cast<int>(std::lround(s)));
        const int l = static_cast<int>(bx), t = static_cast<int>(by), n = static_cast<int>(box);
        for (const Box& side : {Box{l, t, n, w}, Box{l, t + n - w, n, w}, Box{l, t, w, n}, Box{l + n - w, t, w, n}})
            kansu_canvas_rect(canvas, side.left, side.top, side.width, side.height, darker(back_));
        if (value_) {
            const double u = box / 14;
            kansu_canvas_line(canvas, bx + 3 * u, by + 7 * u, bx + 5.5 * u, by + 10 * u, fore_, 1.8 * u);
            kansu_canvas_line(canvas, bx + 5.5 * u, by + 10 * u, bx + 10 * u, by + 3 * u, fore_, 1.8 * u);
        }
        kansu_canvas_clip(canvas, x + d.left, y + d.top, d.width, d.height);
        kansu_canvas_text(canvas, caption_.c_str(), bx + box + 6 * s, y + d.top + (d.height - fontPixels(designFont.points) * s) / 2,
                          s, fontPixels(designFont.points), designFont.bold, fore_);
        kansu_canvas_unclip(canvas);
    }

private:
    std::string caption_;
    bool value_;
    Colour back_ = 0, fore_ = 0;
};

class WebTextBox : public TextBox, public Placement {
public:
    WebTextBox(int parent, const std::string& text, const Layout& l) : text_(text)
    {
        // The box shows the distance P has moved; the program reads it back,
        // so it is for reading only.
        id = kansu_dom_text(parent, text.c_str(), l.tabIndex);
        design = layoutBox(l), designFont = l.font;
    }
    std::string Text() const override { return text_; }
    void setText(const std::string& t) override
    {
        if (t == text_)
            return;
        text_ = t;
        kansu_dom_text_set(id, t.c_str());
    }

    // A white field in a thin grey frame, the text at its left, in the middle.
    void paint(int canvas, double s, int x, int y) const override
    {
        const Box d = scaled(design, s);
        const int w = std::max(1, static_cast<int>(std::lround(s)));
        kansu_canvas_rect(canvas, x + d.left, y + d.top, d.width, d.height, 0xABABAB);
        kansu_canvas_rect(canvas, x + d.left + w, y + d.top + w, d.width - 2 * w, d.height - 2 * w, 0xFFFFFF);
        const int font = fontPixels(designFont.points);
        kansu_canvas_clip(canvas, x + d.left, y + d.top, d.width, d.height);
        kansu_canvas_text(canvas, text_.c_str(), x + d.left + 3 * s, y + d.top + (d.height - font * s) / 2, s, font, 0, 0);
        kansu_canvas_unclip(canvas);
    }

private:
    std::string text_;
};

class WebComboBox : public ComboBox, public Placement {
public:
    WebComboBox(const std::vector<std::string>& items, const std::string& text, const Layout& l) : items_(items)
    {
        std::string joined;
        for (const auto& i : items)
            joined += i + '\n';
        id = kansu_dom_combo(joined.c_str(), text.c_str(), l.tabIndex);
        design = layoutBox(l), designFont = l.font;
    }
    // The pupil may have typed: the text is read from the page each time.
    std::string Text() const override
    {
        char* t = kansu_dom_text_get(id);
        std::string s = t ? t : "";
        std::free(t);
        return s;
    }
    void setText(const std::string& t) override { kansu_dom_text_set(id, t.c_str()); }
    std::vector<std::string> items() const override { return items_; }

private:
    std::vector<std::string> items_;
};

// ---- picture boxes -------------------------------------------------------------

// Strokes, texts and circles of the graphical controls on a box's canvas, in
// device pixels.
class CanvasPainter : public GraphicsPainter {
public:
    // `x`, `y`: where the box's top left lies on the canvas.
    CanvasPainter(int canvas, double s, int x = 0, int y = 0) : canvas_(canvas), s_(s), x_(x), y_(y) {}
    void fillDevice(const Box& d, Colour colour) override
    {
        kansu_canvas_rect(canvas_, x_ + d.left, y_ + d.top, d.width, d.height, colour);
    }
    void slopedLine(const LineControl& l) override
    {
        kansu_canvas_line(canvas_, x_ + l.X1() * s_, y_ + l.Y1() * s_, x_ + l.X2() * s_, y_ + l.Y2() * s_, l.BorderColor(),
                          l.BorderWidth() * s_);
    }
    void label(const Label& l) override
    {
        if (!l.transparent()) {
            const Box b = scaled({static_cast<int>(l.Left()), static_cast<int>(l.Top()), l.Width(), l.Height()}, s_);
            kansu_canvas_rect(canvas_, x_ + b.left, y_ + b.top, b.width, b.height, l.BackColor());
        }
        kansu_canvas_text(canvas_, l.Caption().c_str(), x_ + l.Left() * s_, y_ + l.Top() * s_, s_, fontPixels(l.font().points),
                          l.font().bold, l.ForeColor());
    }
    void shape(const Shape& sh) override
    {
        const double d = std::min(sh.Width(), sh.Height());
        kansu_canvas_disc(canvas_, x_ + (sh.Left() + sh.Width() / 2.0) * s_, y_ + (sh.Top() + sh.Height() / 2.0) * s_,
                          d / 2 * s_, sh.colour());
    }

private:
    int canvas_;
    double s_;
    int x_, y_;
};

class WebPictureBox : public PictureBox, public Placement {
public:
    WebPictureBox(int parent, const Layout& l)
        : layer_(twipsToPixels(l.width) - 4, twipsToPixels(l.height) - 4, l.back, PixelOrder::Rgba)
    {
        id = kansu_dom_box(parent, l.back, l.tabIndex);
        design = layoutBox(l), designFont = l.font;
        backColor_ = l.back;
        foreColor_ = l.fore;
        font_ = l.font;
        // The line height of the box's font: 1.0 em of the face at 96 dpi.
        lineHeight_ = fontPixels(font_.points);
    }

    void place(double zoom, double ratio) override
    {
        zoom_ = zoom, ratio_ = ratio;
        const double s = zoom * ratio;
        Placement::place(zoom, ratio);
        layer_.setScale(s);
        const Image& image = layer_.display();
        if (image.width != canvas_.width || image.height != canvas_.height || s != canvasScale_) {
            // A canvas given a new size is blank: all of it is drawn again.
            canvas_ = {image.width, image.height};
            canvasScale_ = s;
            kansu_dom_canvas(id, image.width, image.height, s, ratio);
            dirty_ = {0, 0, image.width, image.height};
            requestFrame();
        }
        for (Placement* child : children_)
            child->place(zoom, ratio);
    }

    void invalidate(const Box& b) override
    {
        if (b.empty())
            return;
        const double s = zoom_ * ratio_;
        dirty_ = dirty_.united({static_cast<int>(std::floor(b.left * s)) - 1, static_cast<int>(std::floor(b.top * s)) - 1,
                                static_cast<int>(std::ceil(b.width * s)) + 3, static_cast<int>(std::ceil(b.height * s)) + 3});
        requestFrame();
    }

    void Cls() override
    {
        layer_.clear();
        currentX_ = currentY_ = 0;
        requestFrame();
    }
    void Line(float x1, float y1, float x2, float y2, Colour colour) override
    {
        currentX_ = x2;
        currentY_ = y2;
        layer_.line(x1, y1, x2, y2, colour, drawWidth_);
        requestFrame();
    }
    void Print(const std::string& text) override
    {
        layer_.print(static_cast<int>(std::lround(currentX_)), static_cast<int>(std::lround(currentY_)), text, font_, foreColor_);
        requestFrame();
        currentX_ = 0;
        currentY_ += lineHeight_;
    }
    void FloodFill(int x, int y, Colour border) override
    {
        if (fillStyle_ != 0)
            return;  // a transparent brush paints nothing
        layer_.fill(x, y, border, fillColor_);
        requestFrame();
    }
    Colour Point(int x, int y) const override
    {
        if (x < 0 || y < 0 || x >= scaleWidth() || y >= scaleHeight())
            return 0xFFFFFFFFu;
        return layer_.pixel(x, y);
    }
    int scaleWidth() const override { return layer_.width(); }
    int scaleHeight() const override { return layer_.height(); }

    // Draws what changed onto the canvas: the layer's pixels, then the
    // graphical controls above them.
    void paintChanges()
    {
        const double s = zoom_ * ratio_;
        const Box changed = layer_.takeDirty();
        if (!changed.empty())
            invalidate(changed);
        const Image& image = layer_.display();
        const Box d = {std::max(0, dirty_.left), std::max(0, dirty_.top),
                       std::min(image.width, dirty_.left + dirty_.width) - std::max(0, dirty_.left),
                       std::min(image.height, dirty_.top + dirty_.height) - std::max(0, dirty_.top)};
        dirty_ = {};
        if (d.empty())
            return;
        kansu_canvas_clip(id, d.left, d.top, d.width, d.height);
        kansu_canvas_put(id, image.pixels.data(), image.width, image.height, d.left, d.top, d.width, d.height);
        CanvasPainter painter(id, s);
        paintGraphics(painter, *this, d, s, 1);
        kansu_canvas_unclip(id);
    }

    // A pointer on the canvas, at (x, y) of its page pixels.
    void pointer(int kind, int pointerId, int button, int shift, double x, double y)
    {
        std::optional<PointerRule::Event> e;
        if (kind == 0)
            e = rule_.pressed(pointerId, x, y);
        else if (kind == 1)
            e = rule_.moved(pointerId, x, y);
        else if (kind == 2)
            e = rule_.released(pointerId, x, y);
        else
            e = rule_.cancelled(kFarBelow * zoom_);
        if (!e)
            return;
        const MouseHandler& h = e->kind == PointerRule::Down ? MouseDown : e->kind == PointerRule::Move ? MouseMove : MouseUp;
        if (h)
            handle([&] { h(static_cast<std::int16_t>(button), static_cast<std::int16_t>(shift), toLayout(e->x, zoom_), toLayout(e->y, zoom_)); });
    }

    double zoom() const { return zoom_; }
    double ratio() const { return ratio_; }
    const Layer& layer() const { return layer_; }
    std::vector<Placement*> children_;

private:
    Layer layer_;
    Box dirty_;  ///< device pixels of the canvas to draw again
    view::Size canvas_;  ///< the canvas's size in device pixels
    double canvasScale_ = 0;
    PointerRule rule_;
    double zoom_ = 1, ratio_ = 1;
    int lineHeight_ = 0;
};

// ---- the window ------------------------------------------------------------------

class WebWindow : public Window {
public:
    WebWindow(const std::string& caption, Colour back, int clientW, int clientH) : caption_(caption), back_(back)
    {
        kansu_dom_window(caption.c_str(), back);
        const view::Frame frame;
        widthTwips_ = (twipsToPixels(clientW) + frame.left + frame.right) * 15;
        heightTwips_ = (twipsToPixels(clientH) + frame.top + frame.bottom) * 15;
        theWindow = this;
    }
    ~WebWindow() override
    {
        alive_ = false;
        if (theWindow == this)
            theWindow = nullptr;
    }

    // The window's own graphical controls (its labels) are elements of the
    // page, placed once laid out; they do not move.
    void invalidate(const Box&) override {}

    int Width() const override { return widthTwips_; }
    int Height() const override { return heightTwips_; }
    void setWidth(int twips) override
    {
        widthTwips_ = twips;
        layOut();
    }
    void setHeight(int twips) override
    {
        heightTwips_ = twips;
        layOut();
    }
    std::string Caption() const override { return caption_; }
    Colour BackColor() const override { return back_; }

    double zoom() const override { return zoom_; }
    // A zoom asked for fixes it; without one, the lesson fits the viewport.
    void setZoom(double z) override
    {
        fixed_ = view::clampZoom(z);
        layOut();
    }
    bool fullScreen() const override { return kansu_dom_is_full_screen() != 0; }
    void setFullScreen(bool on) override { kansu_dom_full_screen(on); }

    PictureBox& addPictureBox(Container* parent, const Layout& l) override
    {
        auto box = std::make_unique<WebPictureBox>(parentId(parent), l);
        return keep(std::move(box), parent);
    }
    CommandButton& addButton(const std::string& caption, const Layout& l) override
    {
        return keep(std::make_unique<WebButton>(caption, l), nullptr);
    }
    CheckBox& addCheckBox(Container* parent, const std::string& caption, int value, const Layout& l) override
    {
        return keep(std::make_unique<WebCheckBox>(parentId(parent), caption, value, l), parent);
    }
    TextBox& addTextBox(Container* parent, const std::string& text, const Layout& l) override
    {
        return keep(std::make_unique<WebTextBox>(parentId(parent), text, l), parent);
    }
    ComboBox& addComboBox(const std::vector<std::string>& items, const std::string& text, const Layout& l) override
    {
        return keep(std::make_unique<WebComboBox>(items, text, l), nullptr);
    }
    // The tab order is the controls' tab indexes, which the elements carry;
    // the first that is shown takes the focus when the lesson opens.
    void setTabOrder(const std::vector<const void*>& controls) override
    {
        order_.clear();
        for (const void* c : controls)
            order_.push_back(elementOf(c));
    }
    // A pane not shown is hidden in the page: no Tab stop, no focus, nothing
    // a screen reader finds.
    void setPaneShown(const PictureBox& box, bool shown) override
    {
        const int id = elementOf(&box);
        std::erase(hidden_, id);
        if (!shown)
            hidden_.push_back(id);
        kansu_dom_shown(id, shown);
    }

    void Show() override
    {
        // The window's labels become elements of the page.
        for (const Graphic* g : graphics())
            if (auto* label = dynamic_cast<const Label*>(g)) {
                const int id = kansu_dom_label(-1, label->Caption().c_str(), label->ForeColor(), label->BackColor(),
                                               label->transparent(), label->font().bold);
                Placement& p = labels_.emplace_back();
                p.id = id;
                p.design = {static_cast<int>(label->Left()), static_cast<int>(label->Top()), label->Width(), label->Height()};
                p.designFont = label->font();
            }
        shown_ = true;
        layOut();
    }

    void End() override
    {
        if (!alive_)
            return;
        alive_ = false;
        kansu_run_wake();
        kansu_dom_ended();
    }
    bool alive() const override { return alive_; }

    // The browser's viewport in page pixels, and its device pixels to one.
    // The canvas (a number of the page's) that a picture is composed on.
    int compose(const exporting::Picture& picture, double s) const
    {
        const exporting::Arrangement a = exporting::arrange(picture);
        const int canvas = kansu_export_canvas(toDevice(a.size.width, s), toDevice(a.size.height, s), picture.back);
        for (const exporting::Spot& spot : a.spots) {
            const auto& box = static_cast<const WebPictureBox&>(*spot.box);
            const Image image = box.layer().render(s);
            const int x = toDevice(spot.x, s), y = toDevice(spot.y, s);
            kansu_canvas_put_at(canvas, image.pixels.data(), image.width, image.height, x, y);
            kansu_canvas_clip(canvas, x, y, image.width, image.height);
            CanvasPainter painter(canvas, s, x, y);
            paintGraphics(painter, box, {0, 0, image.width, image.height}, s, 1);
            for (const Placement* child : box.children_)
                child->paint(canvas, s, x, y);
            kansu_canvas_unclip(canvas);
        }
        return canvas;
    }

    void viewport(double width, double height, double ratio)
    {
        viewport_ = {static_cast<int>(width), static_cast<int>(height)};
        ratio_ = ratio > 0 ? ratio : 1;
        layOut();
    }

    void frame()
    {
        for (WebPictureBox* box : boxes_)
            box->paintChanges();
    }

    WebPictureBox* box(int id) const
    {
        for (WebPictureBox* b : boxes_)
            if (b->id == id)
                return b;
        return nullptr;
    }
    Placement* placement(int id) const
    {
        for (Placement* p : placements_)
            if (p->id == id)
                return p;
        return nullptr;
    }
    double ratio() const { return ratio_; }

private:
    int parentId(Container* parent) const
    {
        if (!parent || parent == this)
            return -1;
        return static_cast<WebPictureBox*>(static_cast<PictureBox*>(parent))->id;
    }
    template <typename T>
    T& keep(std::unique_ptr<T> control, Container* parent)
    {
        T& ref = *control;
        elements().emplace_back(static_cast<const void*>(&ref), ref.id);
        if constexpr (std::is_same_v<T, WebPictureBox>)
            boxes_.push_back(&ref);
        if (parent && parent != this)
            static_cast<WebPictureBox*>(static_cast<PictureBox*>(parent))->children_.push_back(&ref);
        else
            placements_.push_back(&ref);
        owned_.push_back(std::shared_ptr<T>(std::move(control)));
        return ref;
    }

    // The lesson at its zoom: fitted to the viewport, or the zoom asked for,
    // centred where it is smaller than the viewport.
    void layOut()
    {
        if (!shown_ || viewport_.width <= 0)
            return;
        const view::Size client = view::clientOf(widthTwips_, heightTwips_);
        double z = fixed_;
        int left = 0, top = 0;
        if (z <= 0) {
            const view::Fit f = view::fit(viewport_, client);
            z = f.zoom, left = f.left, top = f.top;
        } else {
            const view::Size shown = view::atZoom(client, z);
            left = std::max(0, (viewport_.width - shown.width) / 2);
            top = std::max(0, (viewport_.height - shown.height) / 2);
        }
        const view::Size shown = view::atZoom(client, z);
        kansu_dom_lesson(left, top, shown.width, shown.height, ratio_, z, marks::focusWidth(z));
        if (!focused_) {  // the first control shown takes the focus once it can
            focused_ = true;
            for (int id : order_)
                if (std::find(hidden_.begin(), hidden_.end(), id) == hidden_.end()) {
                    kansu_dom_focus(id);
                    break;
                }
        }
        if (z == zoom_ && ratio_ == placedRatio_)
            return;
        zoom_ = z;
        placedRatio_ = ratio_;
        for (Placement* p : placements_)
            p->place(z, ratio_);
        for (Placement& l : labels_)
            l.place(z, ratio_);
        settled();
    }

    std::string caption_;
    Colour back_;
    int widthTwips_ = 0, heightTwips_ = 0;
    double zoom_ = 0, fixed_ = 0, ratio_ = 1, placedRatio_ = 0;
    view::Size viewport_;
    bool alive_ = true, shown_ = false, focused_ = false;
    std::vector<int> order_;   ///< the elements in the tab order
    std::vector<int> hidden_;  ///< the panes not shown
    std::vector<Placement*> placements_;  ///< the top-level controls'
    std::vector<WebPictureBox*> boxes_;
    std::vector<Placement> labels_;
    std::vector<std::shared_ptr<void>> owned_;
};

}  // namespace

int elementOf(const void* control)
{
    for (const auto& [c, id] : elements())
        if (c == control)
            return id;
    return -1;
}

const void* controlOfElement(int id)
{
    for (const auto& [c, e] : elements())
        if (e == id)
            return c;
    return nullptr;
}

double zoomOf(int box)
{
    const WebPictureBox* b = theWindow ? theWindow->box(box) : nullptr;
    return b ? b->zoom() : 1;
}
double pageRatio() { return theWindow ? theWindow->ratio() : 1; }
int composePicture(const exporting::Picture& picture, double s) { return theWindow ? theWindow->compose(picture, s) : -1; }

}  // namespace web

std::unique_ptr<Window> Window::create(const std::string& caption, Colour back, int clientW, int clientH)
{
    return std::make_unique<web::WebWindow>(caption, back, clientW, clientH);
}

}  // namespace platform

using platform::web::theWindow;

// ---- the page's events -------------------------------------------------------------
extern "C" {

EMSCRIPTEN_KEEPALIVE void kansu_clicked(int id)
{
    if (!theWindow || !theWindow->alive())
        return;
    auto* button = static_cast<const platform::CommandButton*>(platform::web::controlOfElement(id));
    if (button && button->Enabled() && button->Click)
        platform::web::handle(button->Click);
}

EMSCRIPTEN_KEEPALIVE void kansu_toggled(int id, int value)
{
    if (!theWindow || !theWindow->alive())
        return;
    auto* check = static_cast<platform::web::WebCheckBox*>(
        static_cast<platform::CheckBox*>(const_cast<void*>(platform::web::controlOfElement(id))));
    if (check)
        platform::web::handle([&] { check->toggled(value != 0); });
}

EMSCRIPTEN_KEEPALIVE void kansu_pointer(int box, int kind, int pointerId, int button, int shift, double x, double y)
{
    if (!theWindow || !theWindow->alive())
        return;
    if (auto* b = theWindow->box(box))
        b->pointer(kind, pointerId, button, shift, x, y);
}

// A long press on a box: the release of the right button there.
EMSCRIPTEN_KEEPALIVE void kansu_context(int box, double x, double y)
{
    if (!theWindow || !theWindow->alive())
        return;
    if (auto* b = theWindow->box(box); b && b->MouseUp)
        platform::web::handle([&] { b->MouseUp(2, 0, platform::toLayout(x, b->zoom()), platform::toLayout(y, b->zoom())); });
}

EMSCRIPTEN_KEEPALIVE void kansu_viewport(double width, double height, double ratio)
{
    if (theWindow && theWindow->alive())
        theWindow->viewport(width, height, ratio);
}

EMSCRIPTEN_KEEPALIVE void kansu_frame()
{
    if (theWindow && theWindow->alive())
        theWindow->frame();
}

EMSCRIPTEN_KEEPALIVE int kansu_key(int code, int digit, int letter, int ctrl, int shift, int alt)
{
    if (!theWindow || !theWindow->alive() || !theWindow->KeyDown)
        return 0;
    platform::Key k;
    k.code = static_cast<platform::Key::Code>(code);
    k.digit = digit;
    k.letter = static_cast<char>(letter);
    k.ctrl = ctrl, k.shift = shift, k.alt = alt;
    k.focus = platform::web::controlOfElement(kansu_dom_focused());
    bool taken = false;
    platform::web::handle([&] { taken = theWindow->KeyDown(k); });
    return taken;
}

}  // extern "C"
