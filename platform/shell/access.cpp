// What a screen reader is told, for every platform: names, roles, tooltips,
// the picture boxes' descriptions and the status line, each handed to the
// backend; the status line is not told for a focus move (the screen reader
// reads the control reached). What is said aloud of a change, and when: at
// most one announcement a second, so that an automatic run does not queue a
// step's worth of speech every tenth of a second; a change within that second
// is said when it is over, the latest winning (the run's end is always said);
// nothing twice in a row; and a second of quiet after a focus move, in which
// the screen reader reads the control reached. The keyboard's marks: the
// focus mark while the keyboard is in use, and on the board the cursor (while
// the board has the focus and the keyboard is in use) and the selection,
// painted by the shell.
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/marks.h"
#include "platform/shell/shell.h"

namespace platform {

namespace shell {

namespace {

class ShellAccessibility;
std::vector<ShellAccessibility*>& bridges()
{
    static std::vector<ShellAccessibility*> all;
    return all;
}

// The least time between two announcements, and the quiet after a focus move.
constexpr std::int64_t kSpeechGapMs = 1000;

bool aloud = false;
const lang::Language* voiceless = nullptr;  ///< the language last found without a voice

// Says a text aloud, or says once that the platform has no voice for the language.
void sayAloud(const std::string& text)
{
    const lang::Language& language = lang::current();
    if (backend::speak(text, language) || voiceless == &language)
        return;
    voiceless = &language;
    backend::notice(lang::tr("この端末には、この言語で読み上げる声がありません。"), true);
}

class ShellAccessibility : public Accessibility {
public:
    explicit ShellAccessibility(ShellWindow& window) : window_(window) { bridges().push_back(this); }
    ~ShellAccessibility() override { std::erase(bridges(), this); }

    void name(AnyControl c, const std::string& text) override
    {
        names_[nativeOf(c.control())] = text;
        backend::accessibleName(nativeOf(c.control()), nameOf(text));
    }
    void role(const PictureBox& box, Role role) override { backend::accessibleRole(nativeOf(&box), role); }
    void toolTip(AnyControl c, const std::string& text) override
    {
        tips_[nativeOf(c.control())] = text;
        backend::toolTip(nativeOf(c.control()), lang::tr(text));
    }

    // Names and tooltips in the language chosen now, then everything else told anew.
    void retell()
    {
        for (const auto& [native, name] : names_)
            backend::accessibleName(native, nameOf(name));
        for (const auto& [native, tip] : tips_)
            backend::toolTip(native, lang::tr(tip));
        status_.clear();
        if (Retell)
            Retell();
    }

    const void* focus() const override
    {
        const Control* c = window_.find(backend::focused());
        return c ? c->control() : nullptr;
    }

    void describe(const PictureBox& box, const std::string& text) override
    {
        const Native n = nativeOf(&box);
        // Where a screen reader would speak the focused box's new description
        // beside the announcement, it is written once the focus has left (a
        // box is always given its first one).
        if (backend::kDescriptionChangesSpoken && described_.count(n) && n == backend::focused()) {
            held_[n] = text;
            return;
        }
        held_.erase(n);
        if (described_[n] != text) {
            described_[n] = text;
            backend::describe(n, text);
        }
    }

    void status(const std::string& text, const Speech& speech) override
    {
        if (text == status_)
            return;
        const bool first = status_.empty();
        status_ = text;
        if (quiet_)  // a focus move: the control just reached has no status line yet
            return;
        const Native focused = backend::focused();
        backend::status(text, window_.find(focused) ? focused : 0);
        if (!first)  // the window's first line: nothing has changed yet
            announce(speech);
    }

    void marks(const PictureBox& box, Box cursor, Box selection) override
    {
        marksBox_ = static_cast<ShellPictureBox*>(window_.find(&box));
        cursor_ = cursor.empty() ? Box{} : marks::cursorFrame(cursor);
        selection_ = selection.empty() ? Box{} : marks::selectionFrame(selection);
        showMarks();
    }

    void hitArea(const CheckBox& check, const PictureBox& box, Box area) override
    {
        if (auto* b = static_cast<ShellPictureBox*>(window_.find(&box)))
            b->setHitArea(static_cast<ShellCheckBox*>(window_.find(&check)), area);
    }

    ShellWindow& window() const { return window_; }

    void keyboardUsed(bool used)
    {
        if (used == keyboard_)
            return;
        keyboard_ = used;
        showMarks();
    }

    void focusMoved()
    {
        // The screen reader reads the control reached: a change is said
        // after that, and a box left behind gets its latest description.
        quietUntil_ = std::max(quietUntil_, events::monotonicMs() + kSpeechGapMs);
        for (auto it = held_.begin(); it != held_.end();)
            if (it->first != backend::focused()) {
                backend::describe(it->first, described_[it->first] = it->second);
                it = held_.erase(it);
            } else {
                ++it;
            }
        showMarks();
        quiet_ = true;
        try {
            if (Refresh)
                Refresh();
        } catch (const std::exception& e) {
            failed(e.what());
        }
        quiet_ = false;
    }

private:
    // A name as told: blanks that space a caption out (two or more in a row) left out.
    static std::string nameOf(const std::string& japanese)
    {
        const std::string text = lang::tr(japanese);
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == ' ' && ((i + 1 < text.size() && text[i + 1] == ' ') || (i > 0 && text[i - 1] == ' ')))
                continue;
            out += text[i];
        }
        return out;
    }

    Native nativeOf(const void* control) const
    {
        const Control* c = window_.find(control);
        return c ? c->native : 0;
    }

    // Says `speech` now, or when the second since the last announcement (or
    // focus move) is over; what is said then is the latest.
    void announce(const Speech& speech)
    {
        pending_ = speech;
        sayWhenDue();
    }

    void sayWhenDue()
    {
        if (due_ || !pending_)
            return;
        const std::int64_t wait = quietUntil_ - events::monotonicMs();
        if (wait > 0) {
            due_ = true;
            backend::after(static_cast<int>(wait), [this, alive = std::weak_ptr<bool>(alive_)] {
                if (alive.expired())  // the window has gone
                    return;
                due_ = false;
                sayWhenDue();
            });
            return;
        }
        const Speech speech = *pending_;
        pending_.reset();
        if (speech == said_ || !window_.alive())  // the pupil heard this last
            return;
        said_ = speech;
        quietUntil_ = events::monotonicMs() + kSpeechGapMs;
        backend::announce(window_.native(), speech.values, speech.change);
        if (readAloud())
            sayAloud(speech.change.empty() ? speech.values : lang::tr("%1、%2", {speech.values, speech.change}));
    }

    // The focus mark around the focused control and the keyboard cursor on
    // the box, both only while the keyboard is in use.
    void showMarks()
    {
        backend::showFocusMark(window_.native(), keyboard_);
        if (marksBox_)
            marksBox_->setMarks(cursor_, keyboard_ && focus() == marksBox_->control(), selection_);
    }

    ShellWindow& window_;
    std::map<Native, std::string> names_, tips_;  ///< as given, in Japanese
    ShellPictureBox* marksBox_ = nullptr;
    Box cursor_, selection_;  ///< the marks' outer edges, in the box's pixels
    std::string status_;
    bool keyboard_ = false, quiet_ = false;
    std::map<Native, std::string> described_, held_;  ///< the descriptions given, and those held back
    std::optional<Speech> pending_;  ///< waits for the end of the second
    Speech said_;                    ///< the last announcement
    std::int64_t quietUntil_ = 0;    ///< no announcement before this time (events::monotonicMs)
    bool due_ = false;               ///< a call waits for that time
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);  ///< for the calls that wait
};

}  // namespace

void settled()
{
    for (ShellAccessibility* b : bridges())
        if (b->Refresh)
            b->Refresh();
}

}  // namespace shell

bool readAloud() { return shell::aloud; }

void setReadAloud(bool on)
{
    const bool wasOn = shell::aloud;
    shell::aloud = on;
    shell::voiceless = nullptr;
    if (wasOn && !on)
        backend::stopSpeaking();
}

namespace shell {

void keyboardUsed(Native window, bool used)
{
    for (ShellAccessibility* b : bridges())
        if (b->window().native() == window && b->window().alive())
            b->keyboardUsed(used);
}

void retell()
{
    for (ShellAccessibility* b : bridges())
        if (b->window().alive())
            b->retell();
}

void focusMoved()
{
    for (ShellAccessibility* b : bridges())
        if (b->window().alive())
            b->focusMoved();
}

}  // namespace shell

std::unique_ptr<Accessibility> Accessibility::create(Window& window)
{
    return std::make_unique<shell::ShellAccessibility>(static_cast<shell::ShellWindow&>(window));
}

}  // namespace platform
