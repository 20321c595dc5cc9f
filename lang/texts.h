// Every text the program shows or says goes through here, looked up by its
// Japanese original: the program is written in Japanese, and the catalogue
// (lang/kansu.pot, made from the sources by tools/texts.py) lists every such
// text for a translator, whose lang/<language>.po the program carries (made
// into C++ by tools/catalogue.py when it is built). A text with blanks that
// place it (the run button's "自    動") is looked up as it is shown.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace lang {

// ---- the languages a pupil may choose --------------------------------------------

struct Language {
    const char* code;  ///< as asked for: "--lang pt", "?lang=pt", "lang=pt" in a link
    const char* name;  ///< in its own words, as the menu lists it
    const char* tag;   ///< its BCP 47 tag, for a page's lang and a voice
    const char* file;  ///< lang/<file>.po; null for Japanese as written
    bool readings;     ///< Japanese with the reading of each kanji word above it
};
// Japanese as written first (the default), then the others, as the menu lists them.
const std::vector<Language>& languages();
// The language of a code, or null for none.
const Language* find(std::string_view code);
const Language& current();
void choose(const Language& language);
// The codes, for a message that names them ("ja, furigana, en, ...").
std::string codes();

// ---- texts ------------------------------------------------------------------------------

// The text as shown to the pupil in plain text (in Japanese with readings,
// the reading in place of each kanji word).
std::string tr(std::string_view japanese);
// The text with %1, %2, ... %9 replaced by the arguments in turn (a % not
// followed by a digit of an argument stays as it is).
std::string tr(std::string_view japanese, std::initializer_list<std::string_view> arguments);
// Whether the language chosen has the text (a text that is the same in every
// language, "A" or "cm", has none).
bool translated(std::string_view japanese);
// Marks a Japanese original for the catalogue where it is kept to be looked
// up later, where it is shown (a caption, an accessible name).
constexpr const char* N_(const char* japanese) { return japanese; }

// A run of a caption: its text, and the reading shown above it (empty: none).
struct Run {
    std::string text, reading;
    bool operator==(const Run&) const = default;
};
// The text in runs: in Japanese with readings, each kanji word with its
// reading; in any other language one run.
std::vector<Run> runs(std::string_view japanese);
// Runs as plain text: each reading in place of its text, or the texts alone.
std::string plain(const std::vector<Run>& runs, bool readings);

// Sentences one after another: Japanese and Chinese, whose full stop "。"
// ends a sentence, join them as they are; every other language with a space.
std::string sentences(std::initializer_list<std::string_view> texts);

// The separator between the items of a list in a sentence ("、").
std::string separator();
// A list as a sentence writes it: the items joined by the separator.
std::string list(std::initializer_list<std::string_view> items);
template <typename Range>
std::string listOf(const Range& items)
{
    std::string out;
    bool first = true;
    for (const auto& item : items) {
        if (!first)
            out += separator();
        out += item;
        first = false;
    }
    return out;
}
}  // namespace lang
