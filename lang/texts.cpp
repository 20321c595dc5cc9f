#include "lang/texts.h"

#include <algorithm>
#include <cstring>

#include "lang/catalogue.h"

namespace lang {

namespace {

const Language* chosen = nullptr;
const catalogue::Table* table = nullptr;  ///< the chosen language's texts; null for Japanese as written

// The marks of a reading: ｜漢字《かんじ》.
constexpr std::string_view kBar = "｜", kOpen = "《", kClose = "》";

// The translation of a Japanese original, or the original where there is none.
std::string_view lookUp(std::string_view japanese)
{
    if (!table)
        return japanese;
    const catalogue::Entry* begin = table->entries;
    const catalogue::Entry* end = begin + table->count;
    const catalogue::Entry* at =
        std::lower_bound(begin, end, japanese, [](const catalogue::Entry& e, std::string_view j) { return e.japanese < j; });
    return at != end && at->japanese == japanese ? std::string_view(at->text) : japanese;
}

}  // namespace

const std::vector<Language>& languages()
{
    static const std::vector<Language> all{
        {"ja", "日本語", "ja", nullptr, false},
        {"furigana", "にほんご（ふりがな）", "ja", "ja_furigana", true},
        {"en", "English", "en", "en", false},
        {"pt", "Português", "pt-BR", "pt_BR", false},
        {"zh", "中文", "zh-CN", "zh_CN", false},
        {"fil", "Filipino", "fil", "fil", false},
        {"vi", "Tiếng Việt", "vi", "vi", false},
        {"es", "Español", "es", "es", false},
        {"ko", "한국어", "ko", "ko", false},
        {"ne", "नेपाली", "ne", "ne", false},
    };
    return all;
}

const Language* find(std::string_view code)
{
    for (const Language& l : languages())
        if (code == l.code)
            return &l;
    return nullptr;
}

const Language& current() { return chosen ? *chosen : languages().front(); }

void choose(const Language& language)
{
    chosen = &language;
    table = nullptr;
    for (std::size_t i = 0; language.file && i < catalogue::kTableCount; ++i)
        if (std::strcmp(catalogue::kTables[i].file, language.file) == 0)
            table = &catalogue::kTables[i];
}

std::string codes()
{
    std::string out;
    for (const Language& l : languages())
        out += std::string(out.empty() ? "" : ", ") + l.code;
    return out;
}

std::vector<Run> runs(std::string_view japanese)
{
    const std::string_view text = lookUp(japanese);
    if (!current().readings)
        return {Run{std::string(text), {}}};
    std::vector<Run> out;
    const auto plainText = [&out](std::string_view t) {
        if (t.empty())
            return;
        if (out.empty() || !out.back().reading.empty())
            out.push_back({});
        out.back().text += t;
    };
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t bar = text.find(kBar, at);
        const std::size_t open = bar == std::string_view::npos ? bar : text.find(kOpen, bar);
        const std::size_t close = open == std::string_view::npos ? open : text.find(kClose, open);
        if (close == std::string_view::npos) {
            plainText(text.substr(at));
            break;
        }
        plainText(text.substr(at, bar - at));
        out.push_back({std::string(text.substr(bar + kBar.size(), open - bar - kBar.size())),
                       std::string(text.substr(open + kOpen.size(), close - open - kOpen.size()))});
        at = close + kClose.size();
    }
    if (out.empty())
        out.push_back({});
    return out;
}

std::string plain(const std::vector<Run>& rs, bool readings)
{
    std::string out;
    for (const Run& r : rs)
        out += readings && !r.reading.empty() ? r.reading : r.text;
    return out;
}

bool translated(std::string_view japanese) { return table && lookUp(japanese).data() != japanese.data(); }

std::string tr(std::string_view japanese)
{
    if (!table)
        return std::string(japanese);
    return current().readings ? plain(runs(japanese), true) : std::string(lookUp(japanese));
}

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

std::string sentences(std::initializer_list<std::string_view> texts)
{
    std::string out;
    for (std::string_view t : texts) {
        if (t.empty())
            continue;
        if (!out.empty() && !out.ends_with("。"))
            out += ' ';
        out += t;
    }
    return out;
}

}  // namespace lang
