// The browser side of the surface: the calls into the page's JavaScript (one
// library per concern, platform/web/*.js) and the pieces the browser's files
// share. Every element of the page is named by a small number that the
// JavaScript hands out; C++ keeps the state and decides, the JavaScript only
// touches the page.
#pragma once

#include <cstdint>
#include <string>

#include "platform/surface.h"

extern "C" {
// ---- the page and its controls (library_dom.js) -----------------------------
void kansu_dom_window(const char* caption, std::uint32_t back);
int kansu_dom_box(int parent, std::uint32_t back, int tabIndex);
int kansu_dom_button(const char* caption, std::uint32_t back, int bold, int tabIndex);
int kansu_dom_check(int parent, const char* caption, int value, std::uint32_t back, std::uint32_t fore, int bold,
                    int tabIndex);
int kansu_dom_text(int parent, const char* text, int tabIndex);
int kansu_dom_combo(const char* items, const char* text, int tabIndex);
int kansu_dom_label(int parent, const char* caption, std::uint32_t fore, std::uint32_t back, int transparent, int bold);
// Places an element: its box and font size in device pixels, the device
// pixels to one of the page's (its devicePixelRatio).
void kansu_dom_place(int id, int left, int top, int width, int height, int fontPixels, int border, double ratio);
// The lesson's root element: its place and size in the page's pixels, the
// zoom, and the focus mark's width there.
void kansu_dom_lesson(int left, int top, int width, int height, double ratio, double zoom, int focusWidth);
// The canvas of a box: its pixels, `scale` of them to one of the layout's.
void kansu_dom_canvas(int box, int width, int height, double scale, double ratio);
void kansu_dom_enable(int id, int enabled);
// Shows or hides an element that lies outside the lesson when not shown.
void kansu_dom_shown(int id, int shown);
void kansu_dom_check_set(int id, int value);
void kansu_dom_text_set(int id, const char* text);
// The text of a text or combo box, allocated with malloc.
char* kansu_dom_text_get(int id);
void kansu_dom_focus(int id);
int kansu_dom_focused();
void kansu_dom_full_screen(int on);
int kansu_dom_is_full_screen();
void kansu_dom_request_frame();
// The lesson has ended: the page says so and offers to start again.
void kansu_dom_ended();

// ---- drawing on a picture box's canvas (library_canvas.js) ------------------
// Copies the part (x, y, w, h) of an image of RGBA pixels onto the canvas.
void kansu_canvas_put(int box, const void* pixels, int width, int height, int x, int y, int w, int h);
// Copies a whole image onto the canvas with its top left at (x, y).
void kansu_canvas_put_at(int box, const void* pixels, int width, int height, int x, int y);
void kansu_canvas_clip(int box, int x, int y, int w, int h);
void kansu_canvas_unclip(int box);
void kansu_canvas_rect(int box, int x, int y, int w, int h, std::uint32_t colour);
// Device pixels; width in device pixels; round ends.
void kansu_canvas_line(int box, double x1, double y1, double x2, double y2, std::uint32_t colour, double width);
// A text with the top left of its line box at (x, y), `scale` device pixels to
// one of the layout's, in a font of `fontPixels` layout pixels.
void kansu_canvas_text(int box, const char* text, double x, double y, double scale, int fontPixels, int bold,
                       std::uint32_t colour);
void kansu_canvas_disc(int box, double cx, double cy, double radius, std::uint32_t colour);
// The ink of a text without smoothing: width × height bytes allocated with malloc.
std::uint8_t* kansu_canvas_glyphs(const char* text, int pixelSize, int bold, int* width, int* height);

// ---- time and the pause (library_run.js) -------------------------------------
// Waits ms milliseconds while the browser handles events; returns 1 when the
// time ran out, 0 when kansu_run_wake() ended it. Returns to the browser at
// once and comes back here later (the one place the program waits).
int kansu_run_sleep(int ms);
void kansu_run_wake();

// ---- what a screen reader is told, and the marks (library_access.js) --------
void kansu_access_name(int id, const char* name);
void kansu_access_role(int id, const char* role);
void kansu_access_tooltip(int id, const char* text);
void kansu_access_describe(int id, const char* text);
void kansu_access_status(const char* text);
// The cursor's frame and the selection's outline, their outer edges in the
// box's layout pixels; an empty one is hidden.
void kansu_access_marks(int box, int cx, int cy, int cw, int ch, int sx, int sy, int sw, int sh);
void kansu_access_hit_area(int check, int box, int x, int y, int w, int h);

// ---- copy, save and print (library_export.js) --------------------------------
// A canvas for a picture, filled with `back`; its number, as a box's.
int kansu_export_canvas(int width, int height, std::uint32_t back);
// The picture onto the clipboard; as a PNG file to download, named `name`;
// onto the printed page (and the browser's print dialog, when `now`). The
// canvas is let go afterwards. What the browser refuses is said on the page.
void kansu_export_copy_picture(int canvas);
void kansu_export_save_picture(int canvas, const char* name, int dotsPerMetre);
void kansu_export_print(int canvas, int now);
// The page's address without its '#' part, allocated with malloc.
char* kansu_page_address();
// A short message on the page; `error` for what failed.
void kansu_page_notice(const char* text, int error);
// Shows a menu of `entries` (captions, one a line) at (x, y) of the box in
// device pixels; the one chosen is handed to kansu_menu_chosen.
void kansu_export_menu(int box, const char* entries, int x, int y, double ratio);
void kansu_export_copy_text(const char* text);
}

namespace platform::web {

// The lesson that the browser's own print prints, until the program prints one.
void printedLesson(const exporting::Picture& lesson);

// Composes a picture on a canvas of the page at scale s; returns its number.
int composePicture(const exporting::Picture& picture, double s);

// The number of a control's element in the page; -1 for none.
int elementOf(const void* control);
const void* controlOfElement(int id);

// The zoom of a picture box (by its number), and the page's device pixels
// to one of its own.
double zoomOf(int box);
double pageRatio();

// Brings what assistive technology is told up to date with the state the
// program's handlers left.
void settled();

// Runs a handler of the program, then settled().
template <typename F>
void handle(F&& handler)
{
    handler();
    settled();
}

}  // namespace platform::web
