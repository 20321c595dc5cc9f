// The program's face, as every platform asks for it: IPA P Gothic by the
// names it goes by, then IPA Gothic. A page puts the face it carries with it
// first.
#pragma once

namespace platform::face {

inline constexpr const char* kFamilies[] = {"IPAPGothic", "IPA Pゴシック", "IPAGothic"};

}  // namespace platform::face
