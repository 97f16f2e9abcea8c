// calctopo-batch: the headless runner of the load and compute actions.
#include <clocale>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Batch.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "data/TextNumbers.h"
#else
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32

// The console as the command leaves it: while it runs, the console's output
// code page is UTF-8 (the command writes UTF-8) and standard output takes ANSI
// colour sequences; at the end both are put back, so the console the user
// typed in shows his other programs as before. Output that goes to a file or a
// pipe meets no console and is left alone.
class WindowsConsole {
  public:
    WindowsConsole() {
        // Binary mode: "\n" stays one LF, as on Linux, so redirected output
        // is the same bytes on both systems. A console shows a lone LF as a
        // new line all the same.
        _setmode(_fileno(stdout), _O_BINARY);
        _setmode(_fileno(stderr), _O_BINARY);
        // Each line is flushed as a whole (the command flushes after every
        // line), so a console never receives half of a UTF-8 character.
        std::setvbuf(stdout, nullptr, _IOFBF, kStreamBuffer);
        std::setvbuf(stderr, nullptr, _IOFBF, kStreamBuffer);

        DWORD mode = 0;
        const bool outConsole = GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
        DWORD errMode = 0;
        const bool errConsole = GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &errMode) != 0;
        if (outConsole || errConsole) {
            previousCodePage_ = GetConsoleOutputCP();
            SetConsoleOutputCP(CP_UTF8);
        }
        if (outConsole) {
            previousMode_ = mode;
            outputIsTerminal_ = SetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE),
                                               mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
        }
    }
    WindowsConsole(const WindowsConsole&) = delete;
    WindowsConsole& operator=(const WindowsConsole&) = delete;
    ~WindowsConsole() {
        std::fflush(stdout);
        std::fflush(stderr);
        if (outputIsTerminal_) {
            SetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), previousMode_);
        }
        if (previousCodePage_ != 0) {
            SetConsoleOutputCP(previousCodePage_);
        }
    }

    // Whether standard output is a console that shows colours, for
    // "--couleur auto". A console too old for ANSI sequences gets none.
    bool OutputIsTerminal() const { return outputIsTerminal_; }

  private:
    static constexpr std::size_t kStreamBuffer = 1 << 16;
    UINT previousCodePage_ = 0;
    DWORD previousMode_ = 0;
    bool outputIsTerminal_ = false;
};

#endif

}  // namespace

#ifdef _WIN32

// Windows hands the arguments over as wide strings: a folder named with
// accents, or with a character outside the ANSI code page, arrives whole and
// is converted like every text (UTF-8 here, Windows-1252 in the core).
int wmain(int argc, wchar_t** argv) {
    const WindowsConsole console;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::wstring wide(argv[i]);
        args.push_back(calctopo::Utf16ToUtf8(std::u16string(wide.begin(), wide.end())));
    }
    return calctopo::RunBatch(args, std::cout, std::cerr, console.OutputIsTerminal());
}

#else

int main(int argc, char** argv) {
    // The system's texts (a rare file error) in the user's language; numbers
    // keep '.' whatever the regional settings.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
#ifdef SIGXFSZ
    // A file grown past the size limit of the session (ulimit -f) must fail
    // its write, which is reported and keeps the previous results, rather
    // than kill the program halfway through a listing.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // The arguments are taken as UTF-8.
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    return calctopo::RunBatch(args, std::cout, std::cerr, isatty(fileno(stdout)) != 0);
}

#endif
