// calctopo-batch: the headless runner of the load and compute actions.
#include <clocale>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Batch.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// Whether standard output is a terminal, for "--couleur auto".
bool StandardOutputIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stdout)) != 0;
#else
    return isatty(fileno(stdout)) != 0;
#endif
}

}  // namespace

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
    return calctopo::RunBatch(args, std::cout, std::cerr, StandardOutputIsTerminal());
}
