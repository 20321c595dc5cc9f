// The browser backend: the calls into the page's JavaScript (one library per
// concern, platform/web/*.js). Every element of the page is named by a small
// number that the JavaScript hands out; the shell keeps the state and
// decides, the JavaScript only touches the page.
#pragma once

#include <cstdint>
#include <string>

#include "platform/backend.h"

extern "C" {
// ---- the page and its controls (library_dom.js) -----------------------------
// The lesson's window: its caption, colour, the focus mark's colour and the
// program's face (families, comma-separated; the page's own face goes first).
void kansu_dom_window(const char* caption, std::uint32_t back, std::uint32_t focusColour, const char* families);
int kansu_dom_box(int parent, std::uint32_t back);
int kansu_dom_button(const char* caption, std::uint32_t back, int bold);
int kansu_dom_check(int parent, const char* caption, int value, std::uint32_t back, std::uint32_t fore, int bold);
int kansu_dom_text(int parent, const char* text);
int kansu_dom_combo(const char* items, const char* text);
int kansu_dom_label(const char* caption, std::uint32_t fore, std::uint32_t back, int transparent, int bold);
// Places an element: its box and font size in device pixels, the device
// pixels to one of the page's (its devicePixelRatio).
void kansu_dom_place(int id, int left, int top, int width, int height, int fontPixels, int border, double ratio);
// The lesson's root element: its place and size in the page's pixels, the
// zoom, and the focus mark's width there.
void kansu_dom_lesson(int left, int top, int width, int height, double ratio, double zoom, int focusWidth);
// The canvas of a box: its size in device pixels.
void kansu_dom_canvas(int box, int width, int height, double ratio);
void kansu_dom_tab_index(int id, int index);
void kansu_dom_enable(int id, int enabled);
// A caption as HTML (its texts escaped; readings above kanji words as ruby).
void kansu_dom_caption(int id, const char* html);
void kansu_dom_title(const char* title);
// The page's language (its BCP 47 tag) and the faces of its captions before the program's own.
void kansu_dom_language(const char* tag, const char* faces);
// Hidden, an element takes no focus and is left out of what a screen reader finds.
void kansu_dom_shown(int id, int shown);
// Shows or hides an element that lies outside the lesson when not shown.
void kansu_dom_shown(int id, int shown);
void kansu_dom_check_set(int id, int value);
void kansu_dom_text_set(int id, const char* text);
// The text of a text or combo box, allocated with malloc.
char* kansu_dom_text_get(int id);
void kansu_dom_focus(int id);
int kansu_dom_focused();
// The focus mark shows while the keyboard is in use.
void kansu_dom_keyboard(int used);
void kansu_dom_full_screen(int on);
int kansu_dom_is_full_screen();
void kansu_dom_request_frame();
// The lesson has ended: the page says so and offers to start again.
void kansu_dom_ended();

// ---- drawing on a canvas (library_canvas.js) ---------------------------------
// Copies an image of RGBA pixels onto the canvas with its top left at (x, y),
// only its part (cx, cy, cw, ch).
void kansu_canvas_put(int canvas, const void* pixels, int width, int height, int x, int y, int cx, int cy, int cw, int ch);
void kansu_canvas_clip(int canvas, double x, double y, double w, double h);
void kansu_canvas_unclip(int canvas);
void kansu_canvas_rect(int canvas, double x, double y, double w, double h, std::uint32_t colour);
// Device pixels; width in device pixels; round ends.
void kansu_canvas_line(int canvas, double x1, double y1, double x2, double y2, std::uint32_t colour, double width);
// A text with the top left of its line box at (x, y), `scale` device pixels to
// one of the layout's, in a font of `fontPixels` layout pixels; `bold` is 1
// for bold, plus 2 for the program's own face whatever the language.
void kansu_canvas_text(int canvas, const char* text, double x, double y, double scale, int fontPixels, int bold,
                       std::uint32_t colour);
void kansu_canvas_disc(int canvas, double cx, double cy, double radius, std::uint32_t colour);
// The width of a text in the captions' face, in pixels.
double kansu_canvas_measure(const char* text, int pixels, int bold, int height);
// The ink of a text without smoothing: width × height bytes allocated with malloc.
std::uint8_t* kansu_canvas_glyphs(const char* text, int pixelSize, int bold, int* width, int* height);

// ---- time and the pause (library_run.js) -------------------------------------
// Waits ms milliseconds while the browser handles events; returns 1 when the
// time ran out, 0 when kansu_run_wake() ended it. Returns to the browser at
// once and comes back here later (the one place the program waits).
int kansu_run_sleep(int ms);
void kansu_run_wake();
// Calls kansu_after_done(id) once, ms milliseconds from now (while the page lives).
void kansu_run_after(int ms, int id);

// ---- what a screen reader is told (library_access.js) ------------------------
void kansu_access_name(int id, const char* name);
void kansu_access_role(int id, const char* role);
void kansu_access_tooltip(int id, const char* text);
void kansu_access_describe(int id, const char* text);
void kansu_access_status(const char* text);
// Says a text with the browser's voice for the language (cutting off what it
// is saying); 0 where it has none. Stops speaking.
int kansu_speech_say(const char* text, const char* tag);
void kansu_speech_stop();
// Says a text through the polite live region.
void kansu_access_announce(const char* text);

// ---- copy, save, print, menus, notices, storage (library_export.js) ------------
// A canvas for a picture, filled with `back`; its number, as a box's.
int kansu_export_canvas(int width, int height, std::uint32_t back);
void kansu_export_drop(int canvas);
// The picture onto the clipboard; as a PNG file to download, named `name`;
// onto the printed page with its footer (and the browser's print dialog,
// when `now`). The canvas is let go afterwards. What the browser refuses is
// said on the page.
void kansu_export_copy_picture(int canvas);
void kansu_export_save_picture(int canvas, const char* name, int dotsPerMetre);
void kansu_export_print(int canvas, int now, const char* footerLeft, const char* footerRight);
// A menu of `entries` (captions, one a line) at (x, y) of the box in the
// page's pixels; the one chosen is handed to kansu_menu_chosen.
void kansu_export_menu(int box, const char* entries, int x, int y);
void kansu_export_copy_text(const char* text);
// The page's address without its '#' part, allocated with malloc.
char* kansu_page_address();
// A short message on the page; `error` for what failed.
void kansu_page_notice(const char* text, int error);
// The browser's local storage: a value allocated with malloc, or null.
char* kansu_store_get(const char* key);
void kansu_store_set(const char* key, const char* value);
}

namespace platform::web {

using backend::Native;

// The one window of the page, and the native of element `id`.
constexpr Native kWindow = Native(1) << 30;
inline Native nativeOf(int id) { return id >= 0 ? Native(id + 1) : 0; }
inline int idOf(Native n) { return n && n != kWindow ? static_cast<int>(n) - 1 : -1; }

// The page's device pixels to one of its own.
double pageRatio();

}  // namespace platform::web
