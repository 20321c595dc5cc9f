// The program's command line: what a teacher may ask for when starting it
// (a zoom, full screen), and the answers it gives without opening a window
// (--help, --version, a refused argument).
#pragma once

#include <optional>

struct CommandLine {
    std::optional<int> zoom;  ///< --zoom PERCENT: the window's scale, a whole number from 100 to 300
    bool fullScreen = false;  ///< --fullscreen: the window fills the screen
};

// The exit status of a program whose arguments were refused.
inline constexpr int kBadArguments = 2;

// Reads the arguments with the toolkit's parser. Needs no display: it runs
// before the window system is reached, on a core application object of its
// own that is gone when it returns.
// The toolkit's standard options -platform, -display, -style and -reverse
// are accepted and left in the arguments for the toolkit to read.
// --help and --version are answered by the toolkit, which then ends the
// program with status 0. A wrong argument (an unknown option, a stray word, a
// zoom that is not a whole number from 100 to 300) is named in one line on
// standard error, with a hint to --help, and gives no value: the program then
// ends with kBadArguments.
std::optional<CommandLine> readCommandLine(int& argc, char* argv[]);
