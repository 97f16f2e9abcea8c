// calctopo-make-network: writes a random survey network (coordinates and
// observations files) for the benchmark and the comparison of builds, and
// prints the start points worth trying, one per line.
//
//   calctopo-make-network --points N [--unit 1|2|3] [--seed S]
//                         [--noise ANGLE_RAD LENGTH_M] [--odd] [--every-method]
//                         [--heavy-given READINGS] [--heavy-unknown READINGS]
//                         --out FOLDER [--name BASE]
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "support/RandomNetwork.h"

namespace {

int Usage() {
    std::cerr
        << "usage: calctopo-make-network --points N [--unit 1|2|3] [--seed S]\n"
           "                             [--noise ANGLE_RAD LENGTH_M] [--odd] [--every-method]\n"
           "                             [--heavy-given READINGS] [--heavy-unknown READINGS]\n"
           "                             --out FOLDER [--name BASE]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    calctopo::testing::RandomNetworkOptions options;
    std::filesystem::path folder;
    std::string name = "network";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--points" && hasValue) {
            options.points = std::atoi(argv[++i]);
        } else if (arg == "--unit" && hasValue) {
            options.angleUnit = std::atoi(argv[++i]);
        } else if (arg == "--seed" && hasValue) {
            options.seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--noise" && i + 2 < argc) {
            options.angleSigma = std::atof(argv[++i]);
            options.lengthSigma = std::atof(argv[++i]);
        } else if (arg == "--odd") {
            options.oddLines = true;
        } else if (arg == "--every-method") {
            options.everyMethod = true;
        } else if (arg == "--heavy-given" && hasValue) {
            options.givenToUnknownReadings = std::atoi(argv[++i]);
        } else if (arg == "--heavy-unknown" && hasValue) {
            options.unknownToGivenReadings = std::atoi(argv[++i]);
        } else if (arg == "--out" && hasValue) {
            folder = argv[++i];
        } else if (arg == "--name" && hasValue) {
            name = argv[++i];
        } else {
            return Usage();
        }
    }
    if (folder.empty()) {
        return Usage();
    }
    try {
        const calctopo::testing::RandomNetwork random =
            calctopo::testing::MakeRandomNetwork(options);
        std::filesystem::create_directories(folder);
        random.network.WriteFiles(folder, name + ".cor", name + ".obs");
        for (const std::string& start : random.startPoints) {
            std::cout << start << "\n";
        }
    } catch (const std::exception& failure) {
        std::cerr << "calctopo-make-network: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}
