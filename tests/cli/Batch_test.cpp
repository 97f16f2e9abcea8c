#include "cli/Batch.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempFolder.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace calctopo {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::TextLines;
using testing::Utf8Path;
using testing::WriteBytes;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A and B given 100 m apart on an east-west line; from A, a round on B
// (reading 0, so the orientation is 100 grades) and on C (reading 100: bearing
// 200 grades, due south) with a horizontal distance of 50 and a height
// difference of 1. C is radiated from A to (1000, 1950, 101).
const char kCoordinates[] =
    "1 A 1000.000 2000.000 100.000 0.01 0.01\r\n"
    "1 B 1100.000 2000.000 100.000 0.01 0.01\r\n";
const char kObservations[] =
    "7 A B 0.0000 0 1.5 1.6\r\n"
    "5 A C 100.0000 0 1.5 1.6\r\n"
    "2 A C 50.000 0 1.5 1.6\r\n"
    "4 A C 1.000 0 0 0\r\n";

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

RunResult RunCommand(const std::vector<std::string>& args, bool terminal = false) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunBatch(args, out, err, terminal);
    return {status, out.str(), err.str()};
}

class SurveyFolder : public TempFolder {
  public:
    SurveyFolder() {
        WriteBytes(Path() / "t.cor", kCoordinates);
        WriteBytes(Path() / "t.obs", kObservations);
    }
};

TEST(Batch, WrongUsageExitsWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},                                                 // no start point
        {"--coordonnees", "t.cor"},                         // no start point
        {"--depart"},                                       // value missing
        {"--unite", "4", "--depart", "A"},                  // unit out of range
        {"--unite", "x", "--depart", "A"},                  // not a number
        {"--chiffres", "11", "--depart", "A"},              // above 10
        {"--chiffres=-1", "--depart", "A"},                 // below 0
        {"--chiffres", "2.5", "--depart", "A"},             // not an integer
        {"--couleur", "rouge", "--depart", "A"},            // unknown mode
        {"--sortie", "a", "--sortie=b", "--depart", "A"},   // repeated option
        {"--unite", "1", "--unite", "1", "--depart", "A"},  // repeated, even equal
        {"--inconnue", "x", "--depart", "A"},               // unknown option
        {"t.cor", "--depart", "A"},                         // stray argument
    };
    for (const auto& args : cases) {
        const RunResult result = RunCommand(args);
        std::string shown;
        for (const std::string& arg : args) {
            shown += arg + ' ';
        }
        EXPECT_EQ(result.status, BatchWrongUsage) << shown;
        EXPECT_TRUE(Contains(result.err, "Usage : calctopo-batch")) << shown;
        EXPECT_TRUE(result.out.empty()) << shown;
    }
}

TEST(Batch, MissingInputFileExitsWithOne) {
    SurveyFolder folder;
    fs::current_path(folder.Path());
    const RunResult result =
        RunCommand({"--coordonnees", "absent.cor", "--observations", "t.obs", "--depart", "A"});
    EXPECT_EQ(result.status, BatchFailed);
    EXPECT_EQ(result.err, "Le fichier absent.cor n'existe pas \n");
    EXPECT_TRUE(result.out.empty());
    EXPECT_FALSE(fs::exists(folder.Path() / ".vek"));
}

TEST(Batch, FullRunWritesTheResults) {
    SurveyFolder folder;
    fs::current_path(folder.Path());
    // Both option forms; the same start point twice runs the driver twice.
    const RunResult result = RunCommand({"--coordonnees=t.cor", "--observations", "t.obs",
                                         "--sortie", "res", "--depart", "A", "--depart=A"});
    EXPECT_EQ(result.status, BatchDone) << result.err;
    // The second run finds nothing left to determine, and says so in a box.
    EXPECT_EQ(result.err, "Aucun point ne peut être déterminé\n");
    EXPECT_TRUE(Contains(result.out, "Nombre de points connus :      2\n"));
    EXPECT_TRUE(Contains(result.out, "Point :        C calculé\n")) << result.out;
    EXPECT_FALSE(Contains(result.out, "\x1b[")) << "no colours off a terminal";

    // Widths from the ".new" line format with 3 significant digits: 11 for
    // the coordinates, 8 for the last two values.
    const std::vector<std::string> lines = TextLines(folder.Path() / "res.new");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], " 1        A    1000.000    2000.000     100.000   0.0100  0.0100");
    EXPECT_EQ(lines[2], " 0        C    1000.000    1950.000     101.000   0.0000  0.0000");
    const std::vector<std::string> listing = TextLines(folder.Path() / "res.vek");
    ASSERT_FALSE(listing.empty());
    EXPECT_EQ(listing.back(), "All the points are calculated / Tous les points sont calcul\xe9s");
}

// A traverse A-P-Q-B between the given A and B whose end rounds see no given
// point: P reads A (0) and Q (229.516724 grades, the angle that bends the
// traverse from A at (1000, 2000) through P (1100, 2050) and Q (1200, 2050)
// to B at (1300, 2000)), Q reads P and B the same way.
const char kTraverseCoordinates[] =
    "1 A 1000.000 2000.000 100.000 0 0\r\n"
    "1 B 1300.000 2000.000 100.000 0 0\r\n";
const char kTraverse[] =
    "7 P A 0.000000 0 0 0\r\n"
    "5 P Q 229.516724 0 0 0\r\n"
    "2 P A 111.803399 0 0 0\r\n"
    "2 P Q 100.000000 0 0 0\r\n"
    "4 A P 1.000 0 0 0\r\n"
    "7 Q P 0.000000 0 0 0\r\n"
    "5 Q B 229.516724 0 0 0\r\n"
    "2 Q B 111.803399 0 0 0\r\n"
    "4 P Q 0.500 0 0 0\r\n";

TEST(Batch, ExtendedDeterminationOnRequest) {
    SurveyFolder folder;
    fs::current_path(folder.Path());
    WriteBytes(folder.Path() / "c.cor", kTraverseCoordinates);
    WriteBytes(folder.Path() / "c.obs", kTraverse);
    const std::vector<std::string> base = {"--coordonnees", "c.cor", "--observations", "c.obs",
                                           "--sortie",      "res",   "--depart",       "A"};
    // Without the option the run stops where the ordinary methods do: P
    // levelled from A, and nothing placed ("Aucun point ne peut être
    // déterminé").
    const RunResult plain = RunCommand(base);
    EXPECT_EQ(plain.status, BatchDone) << plain.err;
    EXPECT_FALSE(Contains(plain.out, "Calcul étendu")) << plain.out;
    EXPECT_EQ(plain.err, "Aucun point ne peut être déterminé\n");

    std::vector<std::string> extended = base;
    extended.push_back("--etendu");
    const RunResult result = RunCommand(extended);
    EXPECT_EQ(result.status, BatchDone) << result.err;
    // The ordinary run's lines first, as without the option, then the stage's.
    EXPECT_EQ(result.out.substr(0, plain.out.size()), plain.out);
    EXPECT_EQ(result.out.substr(plain.out.size(), 15), "Calcul étendu\n");
    EXPECT_TRUE(Contains(result.out,
                         "\nBloc local 1 : 2 points placés, recalé sur A, B ; échelle "
                         "1 (écart 0 ppm) ; écart maximal 0.000 sur "))
        << result.out;
    EXPECT_TRUE(
        Contains(result.out, "       Q placé par le bloc local 1 recalé sur        A et B\n"))
        << result.out;
    EXPECT_TRUE(Contains(result.out, "Point :        Q calculé\n")) << result.out;
    const std::vector<std::string> lines = TextLines(folder.Path() / "res.new");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3], " 0        Q    1200.000    2050.000     101.500   0.0000  0.0000");

    // The option takes no value and is given once.
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--etendu=oui", "--depart", "A"},
          std::vector<std::string>{"--etendu", "--etendu", "--depart", "A"}}) {
        EXPECT_EQ(RunCommand(wrong).status, BatchWrongUsage);
    }
}

TEST(Batch, Colours) {
    SurveyFolder folder;
    fs::current_path(folder.Path());
    const std::vector<std::string> base = {"--coordonnees", "t.cor", "--observations", "t.obs",
                                           "--sortie",      "res",   "--depart",       "A"};

    std::vector<std::string> always = base;
    always.insert(always.end(), {"--couleur", "toujours"});
    const RunResult coloured = RunCommand(always);
    EXPECT_EQ(coloured.status, BatchDone) << coloured.err;
    EXPECT_TRUE(Contains(coloured.out, "\x1b[32mPoint :        C calculé\x1b[0m\n"))
        << coloured.out;

    // "auto" colours a terminal only; "jamais" never does.
    EXPECT_TRUE(Contains(RunCommand(base, true).out, "\x1b[32m"));
    std::vector<std::string> never = base;
    never.insert(never.end(), {"--couleur=jamais"});
    EXPECT_FALSE(Contains(RunCommand(never, true).out, "\x1b["));
}

TEST(Batch, WorkSiteIsReadOverriddenAndWrittenBack) {
    TempFolder folder;
    const fs::path data = folder.Path() / "data";
    WriteBytes(data / "t.cor", kCoordinates);
    WriteBytes(data / "t.obs", kObservations);
    fs::create_directories(folder.Path() / "w");
    // The work site names the coordinates by an absolute name, an observations
    // file that the command line replaces, and a listing with an extension,
    // which the window's field shows without it.
    WriteBytes(folder.Path() / "w" / "site.bvk",
               "1\r\n1\r\n3\r\n 4.50000000000000E+0001\r\n 1.20000000000000E-0001\r\n" +
                   (data / "t.cor").string() + "\r\nabsent.obs\r\n" +
                   (folder.Path() / "w" / "res.txt").string() + "\r\n");
    fs::current_path(folder.Path());

    // The relative work-site name is taken against the starting folder:
    // "Initialisation" has moved to the coordinates' folder when it writes it.
    const RunResult result =
        RunCommand({"--chantier", "w/site.bvk", "--observations", (data / "t.obs").string(),
                    "--chiffres", "2", "--depart", "A"});
    EXPECT_EQ(result.status, BatchDone) << result.err;
    EXPECT_TRUE(Contains(result.out, "Point :        C calculé\n")) << result.out;

    // ".vek" added to the extension-free field, and 2 decimals in the ".new".
    EXPECT_TRUE(fs::exists(folder.Path() / "w" / "res.vek"));
    const std::vector<std::string> lines = TextLines(folder.Path() / "w" / "res.new");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], " 1        A    1000.00    2000.00     100.00   0.010  0.010");
    // Written back: the new digits and names, the listing as the field held it.
    const std::vector<std::string> workSite = TextLines(folder.Path() / "w" / "site.bvk");
    ASSERT_GE(workSite.size(), 8u);
    EXPECT_EQ(workSite[2], "2");
    EXPECT_EQ(workSite[6], (data / "t.obs").string());
    EXPECT_EQ(workSite[7], (folder.Path() / "w" / "res").string());
}

// The arguments come in UTF-8; the files on disk carry UTF-8 names; the
// work-site file holds the names in Windows-1252.
TEST(Batch, AccentedNamesFromTheCommandLine) {
    TempFolder folder;
    // Started in an accented folder: the work site's absolute name carries it.
    const fs::path start = folder.Path() / Utf8Path("Géomètre");
    const fs::path site = start / Utf8Path("Relevés");
    WriteBytes(site / Utf8Path("chantier été.cor"), kCoordinates);
    WriteBytes(site / Utf8Path("chantier été.obs"), "@sous-dossier/\xE9t\xE9\r\n");
    WriteBytes(site / "sous-dossier" / Utf8Path("été.obs"), kObservations);
    fs::current_path(start);

    const RunResult result = RunCommand(
        {"--chantier", "Relevés/chantier été.bvk", "--coordonnees", "Relevés/chantier été.cor",
         "--observations", "Relevés/chantier été.obs", "--sortie", "résultats", "--depart", "A"});
    EXPECT_EQ(result.status, BatchDone) << result.err;
    // Only the new work site's first reading fails.
    EXPECT_EQ(result.err, "Erreur d'ouverture du fichier de configuration\n");
    EXPECT_TRUE(Contains(result.out, "Point :        C calculé\n")) << result.out;
    EXPECT_EQ(TextLines(site / Utf8Path("résultats.new")).size(), 3u);
    EXPECT_TRUE(fs::exists(site / Utf8Path("résultats.vek")));

    // The work site, made absolute against the starting folder, was written
    // with the names in Windows-1252 ...
    const std::vector<std::string> workSite = TextLines(site / Utf8Path("chantier été.bvk"));
    ASSERT_GE(workSite.size(), 8u);
    EXPECT_EQ(workSite[5], "Relev\xE9s/chantier \xE9t\xE9.cor");
    EXPECT_EQ(workSite[6], "Relev\xE9s/chantier \xE9t\xE9.obs");
    EXPECT_EQ(workSite[7], "r\xE9sultats");

    // ... and reads back: from the starting folder, it alone leads to the files.
    fs::remove(site / Utf8Path("résultats.new"));
    fs::current_path(start);
    const RunResult again = RunCommand({"--chantier", "Relevés/chantier été.bvk", "--depart", "A"});
    EXPECT_EQ(again.status, BatchDone) << again.err;
    EXPECT_TRUE(again.err.empty()) << again.err;
    EXPECT_TRUE(Contains(again.out, "Point :        C calculé\n")) << again.out;
    EXPECT_EQ(TextLines(site / Utf8Path("résultats.new")).size(), 3u);
}

TEST(Batch, AMissingAccentedFileIsNamedInUtf8) {
    TempFolder folder;
    fs::create_directories(folder.Path() / Utf8Path("Relevés"));
    fs::current_path(folder.Path());
    const RunResult result =
        RunCommand({"--coordonnees", "Relevés/absent été.cor", "--observations",
                    "Relevés/absent été.obs", "--depart", "A"});
    EXPECT_EQ(result.status, BatchFailed);
    EXPECT_EQ(result.err,
              "Le fichier Relevés/absent été.cor n'existe pas \n"
              "Le fichier Relevés/absent été.obs n'existe pas \n");
}

TEST(Batch, UnreadableWorkSiteIsToldAndTheRunGoesOn) {
    SurveyFolder folder;
    fs::current_path(folder.Path());
    const RunResult result =
        RunCommand({"--chantier", "new.bvk", "--coordonnees", "t.cor", "--observations", "t.obs",
                    "--sortie", "res", "--depart", "A"});
    EXPECT_EQ(result.status, BatchDone) << result.err;
    EXPECT_EQ(result.err, "Erreur d'ouverture du fichier de configuration\n");
    // "Initialisation" then creates it.
    EXPECT_TRUE(fs::exists(folder.Path() / "new.bvk"));
    EXPECT_TRUE(fs::exists(folder.Path() / "res.new"));
}

TEST(Batch, FailureReportDuringInitialisationExitsWithOne) {
    SurveyFolder folder;
    fs::current_path(folder.Path());
    const RunResult result = RunCommand({"--coordonnees", "t.cor", "--observations", "t.obs",
                                         "--sortie", "no-such-folder/res", "--depart", "A"});
    EXPECT_EQ(result.status, BatchFailed);
    EXPECT_FALSE(result.err.empty());
    // Nothing was loaded, so no start point ran and "Quitter" wrote nothing.
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_FALSE(fs::exists(folder.Path() / "no-such-folder"));
}

TEST(Batch, TableLimitExitsWithThree) {
    SurveyFolder folder;
    fs::current_path(folder.Path());
    std::string points;
    for (int i = 1; i <= 10001; ++i) {
        points += "1 P" + std::to_string(i) + " 1000 2000 100 0 0\r\n";
    }
    WriteBytes(folder.Path() / "big.cor", points);
    const RunResult result = RunCommand({"--coordonnees", "big.cor", "--observations", "t.obs",
                                         "--sortie", "res", "--depart", "A"});
    EXPECT_EQ(result.status, BatchTableLimit);
    EXPECT_TRUE(Contains(result.err, "Nombre maximum de points atteint : ")) << result.err;
    EXPECT_FALSE(fs::exists(folder.Path() / "res.new"));
}

// The installed command on the bundled example work site.
TEST(Batch, CommandRunsTheDemo) {
    const fs::path demo = fs::path(CALCTOPO_SOURCE_DIR) / "examples" / "demo";
    if (!fs::exists(demo / "demo.cor") || !fs::exists(demo / "demo.obs")) {
        GTEST_SKIP() << "no example work site in " << demo;
    }
    TempFolder folder;
    fs::copy(demo, folder.Path(), fs::copy_options::recursive);
    const std::string command =
        std::string("\"") + CALCTOPO_BATCH + "\" --coordonnees \"" + folder.File("demo.cor") +
        "\" --observations \"" + folder.File("demo.obs") + "\" --sortie \"" + folder.File("demo") +
        "\" --depart S1 >\"" + folder.File("out.txt") + "\" 2>\"" + folder.File("err.txt") + "\"";
    int status = std::system(command.c_str());
#ifndef _WIN32
    ASSERT_TRUE(WIFEXITED(status));
    status = WEXITSTATUS(status);
#endif
    EXPECT_EQ(status, 0);
    const std::vector<std::string> out = TextLines(folder.Path() / "out.txt");
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.front().rfind("Nombre de points connus : ", 0), 0u) << out.front();
    EXPECT_FALSE(TextLines(folder.Path() / "demo.new").empty());
}

}  // namespace
}  // namespace calctopo
