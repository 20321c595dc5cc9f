// Every text the program shows or says goes through here, looked up by its
// Japanese original: the program is written in Japanese, and the catalogue
// (lang/kansu.pot, made from the sources by tools/texts.sh) lists every such
// text for a translator. A text with blanks that place it (the run button's
// "自    動") is looked up as it is shown.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace lang {

// The text as shown to the pupil.
std::string tr(std::string_view japanese);
// The text with %1, %2, ... %9 replaced by the arguments in turn (a % not
// followed by a digit of an argument stays as it is).
std::string tr(std::string_view japanese, std::initializer_list<std::string_view> arguments);

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
