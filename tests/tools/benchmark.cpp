// calctopo-bench: one whole process of the program on one network, timed: the
// load ("Initialisation"), the runs from the start points, the writing of the
// results ("Quitter" and the closing of the listing), the whole process, and
// the peak memory. scripts/bench runs it for each network and strategy.
//
//   calctopo-bench --coordinates F --observations F --listing F [--unit 1|2|3]
//                  [--strategy incremental|literal] [--pane F] --start NAME...
//
// Prints one line: load, run, write and whole in milliseconds, then the peak
// resident memory in kilobytes. The message-pane lines (with their colours),
// message boxes and failures go to --pane after the timing, for comparing the
// strategies byte for byte.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/resource.h>
#endif

#include "data/GLOBAL.h"
#include "data/WindowServices.h"
#include "shell/app/Actions.h"

namespace {

using Clock = std::chrono::steady_clock;

// The window services of a process without a window: everything shown is
// kept in memory, so that the pane costs what appending to a list costs.
class KeptServices : public calctopo::WindowServices {
  public:
    void Affiche(const std::string& text, calctopo::MessageKind kind) override {
        static const char* const kColour[] = {"black: ", "red: ", "green: "};
        lines.push_back(kColour[static_cast<int>(kind)] + text);
    }
    void AppendPlain(const std::string& text) override { lines.push_back("plain: " + text); }
    void AddStartPoint(const std::string&) override {}
    void ClearStartPoints() override {}
    std::string StartPointText() override { return start; }
    void EnableStartPoint() override {}
    void MessageBox(const std::string& text) override { lines.push_back("box: " + text); }
    void ReportFailure(const std::string& message) override {
        lines.push_back("failure: " + message);
    }
    void StandardOutput(const std::string& line) override { lines.push_back("stdout: " + line); }

    std::vector<std::string> lines;
    std::string start;
};

double Milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Peak resident memory of the process, in kilobytes (0 where unknown).
long PeakMemoryKilobytes() {
#if defined(__unix__) || defined(__APPLE__)
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0) {
#ifdef __APPLE__
        return usage.ru_maxrss / 1024;
#else
        return usage.ru_maxrss;
#endif
    }
#endif
    return 0;
}

int Usage() {
    std::cerr << "usage: calctopo-bench --coordinates F --observations F --listing F\n"
                 "                      [--unit 1|2|3] [--strategy incremental|literal]\n"
                 "                      [--pane F] --start NAME...\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const Clock::time_point start = Clock::now();
    calctopo::FileFields fields;
    std::vector<std::string> starts;
    std::string pane;
    int unit = 1;
    auto strategy = calctopo::ComputationStrategy::Incremental;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--coordinates" && hasValue) {
            fields.coordinates = argv[++i];
        } else if (arg == "--observations" && hasValue) {
            fields.observations = argv[++i];
        } else if (arg == "--listing" && hasValue) {
            fields.listing = argv[++i];
        } else if (arg == "--unit" && hasValue) {
            unit = std::atoi(argv[++i]);
        } else if (arg == "--strategy" && hasValue) {
            const std::string name = argv[++i];
            if (name == "literal") {
                strategy = calctopo::ComputationStrategy::Literal;
            } else if (name != "incremental") {
                return Usage();
            }
        } else if (arg == "--pane" && hasValue) {
            pane = argv[++i];
        } else if (arg == "--start" && hasValue) {
            starts.emplace_back(argv[++i]);
        } else {
            return Usage();
        }
    }
    if (fields.coordinates.empty() || fields.observations.empty() || fields.listing.empty() ||
        starts.empty()) {
        return Usage();
    }

    // The tables are large: the state lives on the heap, as in the programs.
    auto state = std::make_unique<calctopo::SurveyState>();
    state->Strategy = strategy;
    state->Parameters.angleUnit = unit;
    KeptServices ui;

    const Clock::time_point beforeLoad = Clock::now();
    const bool loaded = calctopo::Initialisation(*state, ui, fields, calctopo::WorkSiteWrite::Skip);
    const Clock::time_point afterLoad = Clock::now();
    if (loaded) {
        for (const std::string& name : starts) {
            ui.start = name;
            calctopo::StartPointChanged(*state, ui);
        }
    }
    const Clock::time_point afterRun = Clock::now();
    const bool written = calctopo::Quitter(*state, ui);
    state->ListingFile.Close();
    state.reset();
    const Clock::time_point end = Clock::now();

    std::printf("%.2f %.2f %.2f %.2f %ld\n", Milliseconds(beforeLoad, afterLoad),
                Milliseconds(afterLoad, afterRun), Milliseconds(afterRun, end),
                Milliseconds(start, end), PeakMemoryKilobytes());
    if (!pane.empty()) {
        std::ofstream out(pane, std::ios::binary);
        for (const std::string& line : ui.lines) {
            out << line << '\n';
        }
    }
    return loaded && written ? 0 : 1;
}
