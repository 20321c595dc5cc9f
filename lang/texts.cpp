#include "lang/texts.h"

namespace lang {

std::string tr(std::string_view japanese) { return std::string(japanese); }

std::string tr(std::string_view japanese, std::initializer_list<std::string_view> arguments)
{
    const std::string text = tr(japanese);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const std::size_t n = static_cast<std::size_t>(text[i + 1] - '1');
            if (n < arguments.size()) {
                out += *(arguments.begin() + n);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// TRANSLATORS: joins the items of a list in a sentence ("2 cm、空き、6 cm").
std::string separator() { return tr("、"); }

std::string list(std::initializer_list<std::string_view> items) { return listOf(items); }

}  // namespace lang
