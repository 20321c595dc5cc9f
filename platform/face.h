// The program's faces, as every platform asks for them: IPA P Gothic by the
// names it goes by, then IPA Gothic, for the lesson's own drawing (the
// numbers printed on the table and the graph) and for Japanese; and, for the
// captions of a language whose letters that face lacks or sets poorly, the
// faces that have them first: those of Debian's fonts-noto-cjk and
// fonts-noto-core on the desktop, and the device's own in a page (an iPad's,
// a Chromebook's, a Windows PC's). A page puts the face it carries first.
#pragma once

#include <string_view>
#include <vector>

namespace platform::face {

inline constexpr const char* kFamilies[] = {"IPAPGothic", "IPA Pゴシック", "IPAGothic"};

// The faces of a language's captions before the program's own, on the
// desktop or in a page; none for Japanese.
inline std::vector<const char*> captionFaces(std::string_view code, bool page)
{
    if (code == "zh")
        return page ? std::vector<const char*>{"PingFang SC", "Hiragino Sans GB", "Microsoft YaHei", "Noto Sans CJK SC", "Noto Sans SC"}
                    : std::vector<const char*>{"Noto Sans CJK SC"};
    if (code == "ko")
        return page ? std::vector<const char*>{"Apple SD Gothic Neo", "Malgun Gothic", "Noto Sans CJK KR", "Noto Sans KR"}
                    : std::vector<const char*>{"Noto Sans CJK KR"};
    if (code == "ne")
        return page ? std::vector<const char*>{"Kohinoor Devanagari", "Nirmala UI", "Noto Sans Devanagari", "Mangal"}
                    : std::vector<const char*>{"Noto Sans Devanagari"};
    if (code == "vi")
        return page ? std::vector<const char*>{"Helvetica Neue", "Segoe UI", "Roboto", "Noto Sans", "Arial"}
                    : std::vector<const char*>{"Noto Sans"};
    if (code == "en" || code == "pt" || code == "es" || code == "fil")
        return page ? std::vector<const char*>{"Helvetica Neue", "Segoe UI", "Roboto", "Noto Sans", "Arial"}
                    : std::vector<const char*>{};
    return {};
}

}  // namespace platform::face
