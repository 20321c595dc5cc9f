// The program's one window: its controls, its state record and every
// procedure. The member functions live with their subsystem: app/ (start-up),
// figure/ (grid, painting, dragging, segment), motion/ (steps, run, return),
// chart/ (table, graph), access/ (keyboard, click then click, screen reader),
// export/ (copy, save, print), link/ (the lesson as a link).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/form_state.h"
#include "platform/access.h"
#include "platform/surface.h"

struct AccessTexts;  // access/access.h
namespace lessonlink {
struct Lesson;  // link/link.h
}

class Form1 : public FormState {
public:
    // Creates the window with every control as laid out and runs Form_Load.
    Form1();
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    void Show() { window->Show(); }

    // ---- controls --------------------------------------------------------
    std::unique_ptr<platform::Window> window;  ///< Form1 itself
    platform::PictureBox* kokuban = nullptr;   ///< the blackboard
    platform::PictureBox* hyo = nullptr;       ///< the value table
    platform::PictureBox* gamen = nullptr;     ///< the graph pane
    platform::CommandButton* Command1 = nullptr;  ///< "初期画面"
    platform::CommandButton* Command2 = nullptr;  ///< "最初に"
    platform::CommandButton* susumu = nullptr;    ///< "出す"
    platform::CommandButton* modoru = nullptr;    ///< "戻す"
    platform::CommandButton* jidou = nullptr;     ///< "自    動"
    platform::CommandButton* tomeru = nullptr;    ///< "ストップ"
    platform::CommandButton* end = nullptr;       ///< "終了"
    platform::CheckBox* Check1 = nullptr;  ///< grid
    platform::CheckBox* Check2 = nullptr;  ///< graph
    platform::CheckBox* Check3 = nullptr;  ///< table
    platform::CheckBox* Check4 = nullptr;  ///< distance segment
    platform::ComboBox* Combo1 = nullptr;  ///< pace of the automatic run
    platform::TextBox* Text1 = nullptr;    ///< distance P has moved
    platform::Label* Label1 = nullptr;
    platform::Label* Label2 = nullptr;
    platform::Label* Label3 = nullptr;
    platform::Label* Label5 = nullptr;
    platform::Label* Label6 = nullptr;
    platform::Label* Label7 = nullptr;
    platform::Label* Label8 = nullptr;
    platform::ControlArray<platform::Label> Label4;  ///< 0..6 and 8
    platform::Shape* Shape1 = nullptr;               ///< the red dot of P
    platform::LineControl* Line1 = nullptr;          ///< the dark green tray band
    platform::LineControl* Line2 = nullptr;
    platform::LineControl* Line3 = nullptr;
    platform::ControlArray<platform::LineControl> Line4;  ///< index 1 only
    platform::ControlArray<platform::LineControl> Line5;  ///< the figure's lines, 4 = red segment
    platform::ControlArray<platform::LineControl> Line6;  ///< outline of the 2-cm block
    platform::ControlArray<platform::LineControl> Line7;  ///< outline of the 4-cm block
    platform::ControlArray<platform::LineControl> Line9;  ///< outline of the 6-cm block

    // ---- app: start-up, initial screen, end --------------------------------
    void Form_Load();
    void shokigamen();
    void Command1_Click();
    void end_Click();

    // ---- keys of the whole window (app/keys.cpp) ----------------------------
    bool Form_KeyDown(const platform::Key& key);

    // ---- figure -------------------------------------------------------------
    void hougan();
    void Check1_Click();
    void nuri(std::int16_t n);
    void nuri1(std::int16_t m);
    void nuri2(std::int16_t m);
    void nuri3(std::int16_t m);
    void kokuban_MouseDown(std::int16_t button, std::int16_t shift, float x, float y);
    void kokuban_MouseMove(std::int16_t button, std::int16_t shift, float x, float y);
    void kokuban_MouseUp(std::int16_t button, std::int16_t shift, float x, float y);
    void idou1(std::int16_t x, std::int16_t y);
    void idou2(std::int16_t x, std::int16_t y);
    void idou3(std::int16_t x, std::int16_t y);
    void Check4_Click();

    // ---- motion -------------------------------------------------------------
    void susumu_Click();
    void modoru_Click();
    void jidou_Click();
    void tomeru_Click();
    void matsu(std::int32_t ms);
    void Command2_Click();

    // ---- chart --------------------------------------------------------------
    void hyokaki(std::int16_t mode);
    // The totals the table writes at χ = 0, 1, 2 ... up to the whole
    // centimetres P has moved, in cm².
    std::vector<int> hyoTotals() const;
    void Check3_Click();
    void gurafu(std::int16_t mode);
    void gurafuten(std::int16_t mode);
    void Check2_Click();
    // Whether the graph pane or the table is shown (グラフ, 表 ticked); one
    // that is not takes no focus and opens no menu.
    bool paneShown(const platform::PictureBox* pane) const;
    void showPanes();

    // ---- access: keyboard, click then click, screen reader -------------------
    // The blackboard's mouse events: a drag goes to the handlers above
    // unchanged, a click selects a block and the next click puts it.
    void kokubanDown(std::int16_t button, std::int16_t shift, float x, float y);
    void kokubanMove(std::int16_t button, std::int16_t shift, float x, float y);
    void kokubanUp(std::int16_t button, std::int16_t shift, float x, float y);
    // The texts a screen reader is given, from the state record.
    AccessTexts accessTexts() const;
    AccessState acc;

    // ---- copy, save and print ------------------------------------------------
    // The table's columns as it shows them, as tab-separated text: "χ" and the
    // distances, then "y" and the totals, each line ending with a newline.
    std::string hyoText() const;
    // The menu of the graph pane or the table at (x, y) of it (nothing during a run).
    void paneMenu(platform::PictureBox* pane, float x, float y);

    // ---- the lesson as a link (link/link.cpp) ---------------------------------
    // Builds the lesson of a link as a pupil would by hand: the blocks dragged
    // into their columns, the boxes ticked, then P stepped on.
    void openLink(const lessonlink::Lesson& lesson);
    // The lesson as it stands, as the text after a page's '#', with the
    // language shown unless it is Japanese as written (when asked).
    std::string linkText(bool withLanguage = true) const;

    // ---- the pupil's language (app/language.cpp) -----------------------------
    // Shows the lesson in the language from now on, as it stands, and keeps
    // the choice for the next start.
    void chooseLanguage(const lang::Language& language);
    // The menu of the languages, each in its own words, at (x, y) of a pane.
    void languageMenu(platform::PictureBox* pane, float x, float y);
    // Reading aloud (読み上げ, the panes' menus or F8): after every step, drop,
    // removal, return and the run's end the status line is said with the
    // platform's own voice. Off at first; kept for the next start.
    bool readAloud() const;
    void setReadAloud(bool on);

private:
    // Ctrl++, Ctrl+−, Ctrl+0 and F11: the zoom and full screen.
    bool zoomKey(const platform::Key& key);
    // The lesson's keys: the blackboard's cursor and the presenter's keys.
    bool lessonKey(const platform::Key& key);
    bool boardKey(const platform::Key& key);
    bool presenterKey(const platform::Key& key);
    void moveCursor(int place);
    void pickUp(int place);
    // Puts a block held by keyboard, or a selection, back; false when there was none.
    bool putBack();
    void takeOut(int column);
    // The place of the block held by keyboard, of the selected block; -1 none.
    int heldPlace() const;
    int selectedPlace() const;
    // Names, roles and the blackboard's tooltip; then what is told follows every change.
    void accessInit();
    void accessRefresh();
    // Ctrl+C, Ctrl+S, Ctrl+P: copy, save, print; Ctrl+L the link of the
    // lesson in a page; the menu keys on the graph and the table.
    bool exportKey(const platform::Key& key);
    void copyLink() const;
    void buildLayout();
    void connectHandlers();
    // One block outline and its paint; top edge and seed row by kind.
    void nuriHako(std::int16_t m, int top, int seedY);
    // Lays one block's four outline lines; `top` is the top side's offset above y + 120.
    void idou(platform::ControlArray<platform::LineControl>& lines, std::int16_t x, std::int16_t y, int top);
    // The red segment from B to P.
    void senbun();
    // P's dot, its label and the distance text for the current px.
    void pUgoku();
    // The label "χcm" under the middle of BP.
    void chiLabel(bool visible);
    // Writes or wipes the table column of distance x.
    void hyoRetsu(std::int16_t mode, double x);

    std::unique_ptr<platform::Accessibility> accessibility;
};

// The distance text of χ cm: a blank, then χ with exactly one decimal and a
// full stop (" 0.0", " 0.5", ..., " 10.0").
std::string kyoriText(double chi);
