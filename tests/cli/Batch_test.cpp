#include "cli/Batch.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/TextFile.h"
#include "shell/app/Version.h"
#include "support/TempFolder.h"
#include "support/XmlCheck.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace calctopo {
namespace {

namespace fs = std::filesystem;
using testing::NativeSeparators;
using testing::ReadBytes;
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

// Runs a command line (UTF-8) through the system's shell, as a user types it;
// gives the command's exit status.
int RunShell(const std::string& command) {
#ifdef _WIN32
    // cmd /c drops the first and the last quote of a line that begins with
    // one: the whole line goes inside one more pair. The wide call passes
    // accented names whole, whatever the ANSI code page.
    const std::wstring wide = Utf8Path("\"" + command + "\"").wstring();
    return _wsystem(wide.c_str());
#else
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

// A name quoted for the shell's command line.
std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
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
        {},                                                          // no start point
        {"--coordonnees", "t.cor"},                                  // no start point
        {"--depart"},                                                // value missing
        {"--unite", "4", "--depart", "A"},                           // unit out of range
        {"--unite", "x", "--depart", "A"},                           // not a number
        {"--chiffres", "11", "--depart", "A"},                       // above 10
        {"--chiffres=-1", "--depart", "A"},                          // below 0
        {"--chiffres", "2.5", "--depart", "A"},                      // not an integer
        {"--couleur", "rouge", "--depart", "A"},                     // unknown mode
        {"--sortie", "a", "--sortie=b", "--depart", "A"},            // repeated option
        {"--unite", "1", "--unite", "1", "--depart", "A"},           // repeated, even equal
        {"--croquis", "a.svg", "--croquis=b.svg", "--depart", "A"},  // repeated
        {"--inconnue", "x", "--depart", "A"},                        // unknown option
        {"t.cor", "--depart", "A"},                                  // stray argument
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

TEST(Batch, VersionIsPrintedAloneAndExitsWithZero) {
    // The version comes from project(VERSION): three numbers and two dots.
    const std::string version = ProgramVersion();
    EXPECT_EQ(std::count(version.begin(), version.end(), '.'), 2) << version;
    const RunResult result = RunCommand({"--version"});
    EXPECT_EQ(result.status, BatchDone);
    EXPECT_EQ(result.out, "calctopo-batch " + version + "\n");
    EXPECT_TRUE(result.err.empty());
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

TEST(Batch, CheckReportLiesWhereTheCommandStartedAndChangesNoOtherFile) {
    SurveyFolder folder;
    fs::create_directory(folder.Path() / "donnees");
    WriteBytes(folder.Path() / "donnees" / "t.cor", kCoordinates);
    WriteBytes(folder.Path() / "donnees" / "t.obs", kObservations);
    fs::current_path(folder.Path());
    const RunResult plain = RunCommand(
        {"--coordonnees", "t.cor", "--observations", "t.obs", "--sortie", "res", "--depart", "A"});
    const RunResult text =
        RunCommand({"--coordonnees", "donnees/t.cor", "--observations", "donnees/t.obs", "--sortie",
                    "res", "--depart", "A", "--controle", "rapport.txt"});
    fs::current_path(folder.Path());
    const RunResult csv =
        RunCommand({"--coordonnees", "donnees/t.cor", "--observations", "donnees/t.obs", "--sortie",
                    "res2", "--depart", "A", "--controle=rapport.CSV"});
    EXPECT_EQ(text.status, BatchDone) << text.err;
    EXPECT_EQ(csv.status, BatchDone) << csv.err;
    EXPECT_EQ(text.out, plain.out);
    // The listing and the results are the same bytes with or without the check.
    EXPECT_EQ(ReadBytes(folder.Path() / "donnees" / "res.vek"),
              ReadBytes(folder.Path() / "res.vek"));
    EXPECT_EQ(ReadBytes(folder.Path() / "donnees" / "res.new"),
              ReadBytes(folder.Path() / "res.new"));
    const std::string report = ReadBytes(folder.Path() / "rapport.txt");
    EXPECT_EQ(report.rfind("Contr\xf4le des observations\r\n", 0), 0u) << report;
    // C radiated from A by the only sight there is: nothing checks it.
    EXPECT_TRUE(Contains(report, "non contr\xf4l\xe9  rayonn\xe9 de A, nivell\xe9 de A")) << report;
    const std::string table = ReadBytes(folder.Path() / "rapport.CSV");
    EXPECT_EQ(table.rfind("rang;fichier;ligne;", 0), 0u) << table;
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
    const std::string startName = NameFromPath(fs::current_path());

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
    // with the names in Windows-1252, made absolute: its own relative names
    // are read from its folder, where these relative names would lead astray.
    // The listing is where a relative --sortie has always been: beside the
    // coordinates.
    const std::vector<std::string> workSite = TextLines(site / Utf8Path("chantier été.bvk"));
    ASSERT_GE(workSite.size(), 8u);
    EXPECT_EQ(workSite[5], startName + NativeSeparators("/Relev\xE9s/chantier \xE9t\xE9.cor"));
    EXPECT_EQ(workSite[6], startName + NativeSeparators("/Relev\xE9s/chantier \xE9t\xE9.obs"));
    EXPECT_EQ(workSite[7], startName + NativeSeparators("/Relev\xE9s/r\xE9sultats"));

    // ... and reads back: from the starting folder, it alone leads to the files.
    fs::remove(site / Utf8Path("résultats.new"));
    fs::current_path(start);
    const RunResult again = RunCommand({"--chantier", "Relevés/chantier été.bvk", "--depart", "A"});
    EXPECT_EQ(again.status, BatchDone) << again.err;
    EXPECT_TRUE(again.err.empty()) << again.err;
    EXPECT_TRUE(Contains(again.out, "Point :        C calculé\n")) << again.out;
    EXPECT_EQ(TextLines(site / Utf8Path("résultats.new")).size(), 3u);
}

// A work site holding relative names, run from another folder: the names are
// taken from the work site's folder, and written back as they were.
TEST(Batch, RelativeNamesOfTheWorkSiteAreTakenFromItsFolder) {
    TempFolder folder;
    const fs::path site = folder.Path() / "chantier";
    WriteBytes(site / "net.cor", kCoordinates);
    WriteBytes(site / "net.obs", kObservations);
    const std::string workSite =
        "1\r\n1\r\n3\r\n 4.50000000000000E+0001\r\n 1.20000000000000E-0001\r\n"
        "net.cor\r\nnet.obs\r\nresultat\r\n";
    WriteBytes(site / "net.bvk", workSite);
    fs::create_directories(folder.Path() / "ailleurs");
    fs::current_path(folder.Path() / "ailleurs");

    const RunResult result =
        RunCommand({"--chantier", (site / "net.bvk").string(), "--depart", "A"});
    EXPECT_EQ(result.status, BatchDone) << result.err;
    EXPECT_TRUE(result.err.empty()) << result.err;
    EXPECT_TRUE(Contains(result.out, "Point :        C calculé\n")) << result.out;
    EXPECT_EQ(TextLines(site / "resultat.new").size(), 3u);
    const std::vector<std::string> written = TextLines(site / "net.bvk");
    ASSERT_GE(written.size(), 8u);
    EXPECT_EQ(written[5], "net.cor");
    EXPECT_EQ(written[6], "net.obs");
    EXPECT_EQ(written[7], "resultat");
}

// A start point that names no point runs nothing: one line on the error
// stream, the next start point runs, and the exit status does not change.
TEST(Batch, AnUnknownStartPointIsToldAndTheRunGoesOn) {
    SurveyFolder folder;
    fs::current_path(folder.Path());
    const RunResult result =
        RunCommand({"--coordonnees", "t.cor", "--observations", "t.obs", "--sortie", "res",
                    "--depart", "Z9", "--depart", "a", "--depart", "A"});
    EXPECT_EQ(result.status, BatchDone);
    EXPECT_EQ(result.err, "Point inconnu : Z9\nPoint inconnu : a\n");
    EXPECT_TRUE(Contains(result.out, "Point :        C calculé\n")) << result.out;

    const RunResult none = RunCommand(
        {"--coordonnees", "t.cor", "--observations", "t.obs", "--sortie", "res", "--depart", "Z9"});
    EXPECT_EQ(none.status, BatchDone);
    EXPECT_EQ(none.err, "Point inconnu : Z9\n");
    EXPECT_FALSE(Contains(none.out, "calculé")) << none.out;
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

TEST(Batch, SketchAfterTheLastStartPoint) {
    TempFolder folder;
    WriteBytes(folder.Path() / "data" / "t.cor", kCoordinates);
    WriteBytes(folder.Path() / "data" / "t.obs", kObservations);
    fs::current_path(folder.Path());
    // A relative sketch name lies where the command started, not in the
    // coordinates' folder that "Initialisation" moves to.
    const RunResult result =
        RunCommand({"--coordonnees", "data/t.cor", "--observations", "data/t.obs", "--sortie",
                    "res", "--croquis", "croquis.svg", "--depart", "A"});
    EXPECT_EQ(result.status, BatchDone) << result.err;
    const testing::XmlDocument svg = testing::ParseXml(ReadBytes(folder.Path() / "croquis.svg"));
    ASSERT_TRUE(svg.root) << svg.error;
    // A and B given, C radiated from A: two triangles and a dot.
    ASSERT_NE(svg.root->ById("points"), nullptr);
    EXPECT_EQ(svg.root->ById("points")->All("polygon").size(), 2u);
    EXPECT_EQ(svg.root->ById("points")->All("circle").size(), 1u);
    EXPECT_TRUE(fs::exists(folder.Path() / "data" / "res.new"));

    // A sketch that cannot be written is reported; the results are written
    // all the same, and the command ends with 1 as for any failure.
    fs::remove(folder.Path() / "data" / "res.new");
    fs::current_path(folder.Path());
    const RunResult failed =
        RunCommand({"--coordonnees", "data/t.cor", "--observations", "data/t.obs", "--sortie",
                    "res", "--croquis", "absent/croquis.svg", "--depart", "A"});
    EXPECT_EQ(failed.status, BatchFailed);
    EXPECT_TRUE(Contains(failed.err, "Impossible de créer le fichier ")) << failed.err;
    EXPECT_TRUE(Contains(failed.err, "croquis.svg")) << failed.err;
    EXPECT_TRUE(fs::exists(folder.Path() / "data" / "res.new"));
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
    // Said once: the reader's line and the message box go to the same stream,
    // and the box used to repeat the line.
    EXPECT_EQ(result.err, "Nombre maximum de points atteint : P10001\n");
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
    const int status =
        RunShell(Quoted(CALCTOPO_BATCH) + " --coordonnees " + Quoted(folder.File("demo.cor")) +
                 " --observations " + Quoted(folder.File("demo.obs")) + " --sortie " +
                 Quoted(folder.File("demo")) + " --depart S1 >" + Quoted(folder.File("out.txt")) +
                 " 2>" + Quoted(folder.File("err.txt")));
    EXPECT_EQ(status, 0);
    const std::vector<std::string> out = TextLines(folder.Path() / "out.txt");
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.front().rfind("Nombre de points connus : ", 0), 0u) << out.front();
    EXPECT_FALSE(TextLines(folder.Path() / "demo.new").empty());
    // Standard output ends its lines with LF alone on every system, so that
    // output sent to a file is the same bytes on Linux and on Windows.
    EXPECT_EQ(testing::ReadBytes(folder.Path() / "out.txt").find('\r'), std::string::npos);
}

// The command started with accented names on its command line (wide strings
// on Windows), in an accented folder: every name reaches the files whole.
TEST(Batch, CommandTakesAccentedNames) {
    TempFolder folder;
    const fs::path site = folder.Path() / Utf8Path("Relevés été");
    WriteBytes(site / Utf8Path("chantier é.cor"), kCoordinates);
    WriteBytes(site / Utf8Path("chantier é.obs"), kObservations);
    const std::string name = folder.File("Relevés été/chantier é");
    const int status = RunShell(
        Quoted(CALCTOPO_BATCH) + " --coordonnees " + Quoted(name + ".cor") + " --observations " +
        Quoted(name + ".obs") + " --sortie " + Quoted(folder.File("Relevés été/résultats")) +
        " --depart A >" + Quoted(folder.File("out.txt")) + " 2>" + Quoted(folder.File("err.txt")));
    EXPECT_EQ(status, 0) << testing::ReadBytes(folder.Path() / "err.txt");
    EXPECT_EQ(testing::ReadBytes(folder.Path() / "err.txt"), "");
    EXPECT_TRUE(
        Contains(testing::ReadBytes(folder.Path() / "out.txt"), "Point :        C calculé\n"));
    EXPECT_EQ(TextLines(site / Utf8Path("résultats.new")).size(), 3u);
    EXPECT_TRUE(fs::exists(site / Utf8Path("résultats.vek")));
}

}  // namespace
}  // namespace calctopo
