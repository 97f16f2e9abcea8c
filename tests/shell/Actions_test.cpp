#include "shell/app/Actions.h"

#include <filesystem>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/Failures.h"
#include "data/GLOBAL.h"
#include "shell/app/WorkSite.h"
#include "data/TextNumbers.h"
#include "support/RecordingServices.h"
#include "support/TempFolder.h"

namespace calctopo {
namespace {

namespace fs = std::filesystem;
using testing::RecordedCall;
using testing::RecordingServices;
using testing::TempFolder;
using testing::TextLines;
using testing::Utf8Path;
using testing::WriteBytes;

// Two given points and one observation each way: enough for a load to list
// two start points and count one distance.
const char kCoordinates[] =
    "* test points\r\n"
    "1 A 1000.000 2000.000 100.000 0.01 0.01\r\n"
    "1 B 1100.000 2000.000 100.000 0.01 0.01\r\n";
const char kObservations[] = "2 A B 100.000 0 1.5 1.6\r\n";

// p.cor and p.obs in the folder, made the working directory.
void WriteInputsAndEnter(const TempFolder& folder) {
    WriteBytes(folder.Path() / "p.cor", kCoordinates);
    WriteBytes(folder.Path() / "p.obs", kObservations);
    fs::current_path(folder.Path());
}

fs::path Canonical(const fs::path& path) {
    return fs::weakly_canonical(path);
}

TEST(Initialisation, BothInputsMissingShowTwoBoxesAndLoadNothing) {
    TempFolder folder;
    fs::create_directories(folder.Path() / "obs");
    fs::current_path(folder.Path());
    auto state = std::make_unique<SurveyState>();
    state->WorkSiteFileName = (folder.Path() / "site.bvk").string();
    RecordingServices ui;

    EXPECT_FALSE(Initialisation(*state, ui, {"cor/none.cor", "obs/none.obs", "res"}));

    // One box per missing file, the coordinates file first, names as typed.
    EXPECT_EQ(ui.Texts(RecordedCall::Kind::MessageBox),
              (std::vector<std::string>{"Le fichier cor/none.cor n'existe pas ",
                                        "Le fichier obs/none.obs n'existe pas "}));
    EXPECT_EQ(state->PointCount(), 0);
    EXPECT_TRUE(ui.startPoints.empty());
    EXPECT_FALSE(ui.startPointEnabled);
    EXPECT_FALSE(state->ListingFile.IsOpen());
    EXPECT_FALSE(fs::exists(folder.Path() / "site.bvk"));
    EXPECT_FALSE(fs::exists(folder.Path() / "res.vek"));
    EXPECT_FALSE(fs::exists(folder.Path() / "obs" / "res.vek"));
    // The names are kept as typed, and the working directory follows the
    // observations file when that one is missing.
    EXPECT_EQ(state->CoordinatesFileName, "cor/none.cor");
    EXPECT_EQ(state->ListingFileName, "res");
    EXPECT_EQ(Canonical(fs::current_path()), Canonical(folder.Path() / "obs"));
}

TEST(Initialisation, MissingFileMessages) {
    TempFolder folder;
    fs::current_path(folder.Path());
    WriteBytes(folder.Path() / "p.obs", kObservations);
    WriteBytes(folder.Path() / "p.cor", kCoordinates);
    auto state = std::make_unique<SurveyState>();
    RecordingServices ui;

    // An empty coordinates field: the name's place is empty, so two blanks
    // stand between "fichier" and "n'existe".
    EXPECT_FALSE(Initialisation(*state, ui, {"", "p.obs", "res"}, WorkSiteWrite::Skip));
    EXPECT_EQ(ui.Texts(RecordedCall::Kind::MessageBox),
              (std::vector<std::string>{"Le fichier  n'existe pas "}));

    // A folder is not a file.
    fs::create_directories(folder.Path() / "dir.obs");
    RecordingServices ui2;
    EXPECT_FALSE(Initialisation(*state, ui2, {"p.cor", "dir.obs", "res"}, WorkSiteWrite::Skip));
    EXPECT_EQ(ui2.Texts(RecordedCall::Kind::MessageBox),
              (std::vector<std::string>{"Le fichier dir.obs n'existe pas "}));
    EXPECT_FALSE(fs::exists(folder.Path() / "res.vek"));
}

TEST(Initialisation, ListingNameWithoutExtensionGetsVek) {
    TempFolder folder;
    const fs::path site = folder.Path() / "site";
    WriteBytes(site / "p.cor", kCoordinates);
    WriteBytes(site / "p.obs", kObservations);
    fs::create_directories(site / "out.d");
    fs::current_path(folder.Path());
    auto state = std::make_unique<SurveyState>();
    state->WorkSiteFileName = (folder.Path() / "site.bvk").string();
    RecordingServices ui;

    // The '.' of the folder name is not an extension of the file name.
    ASSERT_TRUE(Initialisation(*state, ui, {"site/p.cor", "site/p.obs", "out.d/resultat"}));

    // The listing is relative to the coordinates file's folder, made current.
    EXPECT_EQ(state->ListingFileName, "out.d/resultat.vek");
    EXPECT_TRUE(fs::exists(site / "out.d" / "resultat.vek"));
    // The work-site file keeps the names as typed (lines 6 to 8).
    const std::vector<std::string> workSite = TextLines(folder.Path() / "site.bvk");
    ASSERT_GE(workSite.size(), 8u);
    EXPECT_EQ(workSite[5], "site/p.cor");
    EXPECT_EQ(workSite[6], "site/p.obs");
    EXPECT_EQ(workSite[7], "out.d/resultat");

    // Another extension is kept.
    RecordingServices ui2;
    ASSERT_TRUE(Initialisation(*state, ui2, {"p.cor", "p.obs", "resultat.txt"}));
    EXPECT_EQ(state->ListingFileName, "resultat.txt");
    EXPECT_TRUE(fs::exists(site / "resultat.txt"));
    EXPECT_FALSE(fs::exists(site / "resultat.txt.vek"));
}

TEST(Initialisation, RelativeNamesMeanTheFilesSeenWhenItStarts) {
    TempFolder folder;
    const fs::path site = folder.Path() / "site";
    WriteBytes(site / "p.cor", kCoordinates);
    WriteBytes(site / "p.obs", kObservations);
    // Once the folder of the coordinates file is current, "site/p.obs" names
    // this other file: it must not be the one read.
    WriteBytes(site / "site" / "p.obs", std::string(kObservations) + "2 B A 100.000 0 1.5 1.6\r\n");
    WriteBytes(site / "site" / "p.cor", "1 X 1.0 2.0 3.0 0 0\r\n");
    fs::current_path(folder.Path());
    auto state = std::make_unique<SurveyState>();
    RecordingServices ui;

    ASSERT_TRUE(
        Initialisation(*state, ui, {"site/p.cor", "site/p.obs", "res"}, WorkSiteWrite::Skip));

    EXPECT_EQ(state->PointCount(), 2);
    EXPECT_EQ(state->DistanceTable.Count(), 1);
    EXPECT_EQ(ui.startPoints, (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(ui.startPointEnabled);
    EXPECT_TRUE(ui.Texts(RecordedCall::Kind::Failure).empty());
    // The state keeps the names as typed once the load is over.
    EXPECT_EQ(state->CoordinatesFileName, "site/p.cor");
    EXPECT_EQ(state->ObservationsFileName, "site/p.obs");
    EXPECT_EQ(Canonical(fs::current_path()), Canonical(site));
    EXPECT_TRUE(fs::exists(site / "res.vek"));
}

TEST(Initialisation, AccentedFoldersAndFilesAreLoadedAndWritten) {
    TempFolder folder;
    // On disk the names are UTF-8; the fields, the state, the include line and
    // the work-site file hold them in Windows-1252. The names typed are
    // relative to an accented working directory, which the absolute names
    // the load reads must carry in Windows-1252 too.
    const fs::path start = folder.Path() / Utf8Path("Géomètre");
    const fs::path site = start / Utf8Path("Relevés");
    WriteBytes(site / Utf8Path("chantier été.cor"), kCoordinates);
    WriteBytes(site / Utf8Path("chantier été.obs"), "@sous-dossier/\xE9t\xE9\r\n");
    WriteBytes(site / "sous-dossier" / Utf8Path("été.obs"), kObservations);
    fs::current_path(start);
    auto state = std::make_unique<SurveyState>();
    state->WorkSiteFileName = folder.Path().string() + "/chantier \xE9t\xE9.bvk";
    RecordingServices ui;

    // A missing accented file is named in its box as typed.
    EXPECT_FALSE(Initialisation(
        *state, ui, {"Relev\xE9s/absent \xE9t\xE9.cor", "Relev\xE9s/chantier \xE9t\xE9.obs", "x"}));
    EXPECT_EQ(ui.Texts(RecordedCall::Kind::MessageBox),
              (std::vector<std::string>{"Le fichier Relevés/absent été.cor n'existe pas "}));
    fs::current_path(start);

    RecordingServices ui2;
    ASSERT_TRUE(Initialisation(*state, ui2,
                               {"Relev\xE9s/chantier \xE9t\xE9.cor",
                                "Relev\xE9s/chantier \xE9t\xE9.obs", "r\xE9sultats"}));
    EXPECT_TRUE(ui2.Texts(RecordedCall::Kind::Failure).empty());
    EXPECT_TRUE(ui2.Texts(RecordedCall::Kind::StandardOutput).empty());
    EXPECT_TRUE(ui2.PaneLines(MessageKind::Problem).empty());
    EXPECT_EQ(state->PointCount(), 2);
    EXPECT_EQ(state->DistanceTable.Count(), 1);  // from the included file
    EXPECT_EQ(ui2.startPoints, (std::vector<std::string>{"A", "B"}));
    // The working directory is the accented folder, where the listing lies.
    EXPECT_EQ(Canonical(fs::current_path()), Canonical(site));
    EXPECT_TRUE(fs::exists(site / Utf8Path("résultats.vek")));

    // The work-site file keeps the Windows-1252 names as typed.
    const std::vector<std::string> workSite =
        TextLines(folder.Path() / Utf8Path("chantier été.bvk"));
    ASSERT_GE(workSite.size(), 8u);
    EXPECT_EQ(workSite[5], "Relev\xE9s/chantier \xE9t\xE9.cor");
    EXPECT_EQ(workSite[6], "Relev\xE9s/chantier \xE9t\xE9.obs");
    EXPECT_EQ(workSite[7], "r\xE9sultats");

    EXPECT_TRUE(Quitter(*state, ui2));
    EXPECT_EQ(TextLines(site / Utf8Path("résultats.new")).size(), 2u);
}

TEST(Initialisation, SecondRunListsEachNameOnce) {
    TempFolder folder;
    WriteInputsAndEnter(folder);
    auto state = std::make_unique<SurveyState>();
    RecordingServices ui;

    ASSERT_TRUE(Initialisation(*state, ui, {"p.cor", "p.obs", "res"}, WorkSiteWrite::Skip));
    ASSERT_TRUE(Initialisation(*state, ui, {"p.cor", "p.obs", "res"}, WorkSiteWrite::Skip));

    EXPECT_EQ(ui.startPoints, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(state->PointCount(), 2);
    // The list is emptied before each load, not after.
    std::vector<RecordedCall::Kind> listCalls;
    for (const RecordedCall& call : ui.calls) {
        if (call.kind == RecordedCall::Kind::ClearStartPoints ||
            call.kind == RecordedCall::Kind::AddStartPoint) {
            listCalls.push_back(call.kind);
        }
    }
    using K = RecordedCall::Kind;
    EXPECT_EQ(listCalls, (std::vector<K>{K::ClearStartPoints, K::AddStartPoint, K::AddStartPoint,
                                         K::ClearStartPoints, K::AddStartPoint, K::AddStartPoint}));
}

TEST(Initialisation, FailuresEndTheActionWithAReport) {
    TempFolder folder;
    WriteInputsAndEnter(folder);

    {
        // The listing cannot be created: reported, nothing loaded, but the
        // work-site file is already written, and the action says so.
        auto state = std::make_unique<SurveyState>();
        state->WorkSiteFileName = (folder.Path() / "site.bvk").string();
        RecordingServices ui;
        bool written = false;
        EXPECT_FALSE(Initialisation(*state, ui, {"p.cor", "p.obs", "no-such-folder/res"},
                                    WorkSiteWrite::Write, {}, &written));
        EXPECT_TRUE(written);
        EXPECT_EQ(ui.Texts(RecordedCall::Kind::Failure).size(), 1u);
        EXPECT_EQ(state->PointCount(), 0);
        EXPECT_TRUE(ui.startPoints.empty());
        EXPECT_FALSE(ui.startPointEnabled);
        EXPECT_TRUE(ui.PaneLines().empty());
        EXPECT_TRUE(fs::exists(folder.Path() / "site.bvk"));
    }
    {
        // No work site to write to: reported before the listing is touched.
        auto state = std::make_unique<SurveyState>();
        RecordingServices ui;
        bool written = true;
        EXPECT_FALSE(Initialisation(*state, ui, {"p.cor", "p.obs", "res"}, WorkSiteWrite::Write, {},
                                    &written));
        EXPECT_FALSE(written);
        EXPECT_EQ(ui.Texts(RecordedCall::Kind::Failure).size(), 1u);
        EXPECT_FALSE(fs::exists(folder.Path() / "res.vek"));
        EXPECT_EQ(state->PointCount(), 0);
    }
    {
        // Skipping the work-site file leaves it alone even when one is named.
        auto state = std::make_unique<SurveyState>();
        state->WorkSiteFileName = (folder.Path() / "other.bvk").string();
        RecordingServices ui;
        bool written = true;
        EXPECT_TRUE(Initialisation(*state, ui, {"p.cor", "p.obs", "res"}, WorkSiteWrite::Skip, {},
                                   &written));
        EXPECT_FALSE(written);
        EXPECT_FALSE(fs::exists(folder.Path() / "other.bvk"));
    }
}

// A work site's relative names ("net.cor", "resultat") mean files of its own
// folder, wherever the program was started; absolute names stay as they are,
// and the work-site file gets the names back as they were given.
TEST(Initialisation, RelativeNamesOfAWorkSiteAreTakenFromItsFolder) {
    TempFolder folder;
    const fs::path site = folder.Path() / "chantier";
    const fs::path elsewhere = folder.Path() / "ailleurs";
    WriteBytes(site / "net.cor", kCoordinates);
    WriteBytes(site / "net.obs", kObservations);
    // Files of the same names where the program runs: not the ones to read.
    WriteBytes(elsewhere / "net.cor", "1 X 1.0 2.0 3.0 0 0\r\n");
    WriteBytes(elsewhere / "net.obs", "");
    fs::current_path(elsewhere);
    auto state = std::make_unique<SurveyState>();
    state->WorkSiteFileName = (site / "net.bvk").string();
    const std::string nameFolder = WorkSiteFolder(*state);
    EXPECT_EQ(fs::path(nameFolder), site);
    RecordingServices ui;
    bool written = false;

    ASSERT_TRUE(Initialisation(*state, ui, {"net.cor", "net.obs", "resultat"}, WorkSiteWrite::Write,
                               nameFolder, &written));
    EXPECT_TRUE(written);
    EXPECT_EQ(ui.startPoints, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(state->DistanceTable.Count(), 1);
    // The listing lies beside the work site, its ".new" too.
    EXPECT_TRUE(fs::exists(site / "resultat.vek"));
    EXPECT_FALSE(fs::exists(elsewhere / "resultat.vek"));
    EXPECT_EQ(fs::path(state->ListingFileName), site / "resultat.vek");
    const std::vector<std::string> workSite = TextLines(site / "net.bvk");
    ASSERT_GE(workSite.size(), 8u);
    EXPECT_EQ(workSite[5], "net.cor");
    EXPECT_EQ(workSite[6], "net.obs");
    EXPECT_EQ(workSite[7], "resultat");
    EXPECT_EQ(state->CoordinatesFileName, "net.cor");
    EXPECT_TRUE(Quitter(*state, ui));
    EXPECT_TRUE(fs::exists(site / "resultat.new"));

    // A missing file is named as given, and the work site is not written.
    fs::current_path(elsewhere);
    RecordingServices ui2;
    EXPECT_FALSE(Initialisation(*state, ui2, {"absent.cor", (site / "net.obs").string(), "r"},
                                WorkSiteWrite::Write, nameFolder, &written));
    EXPECT_FALSE(written);
    EXPECT_EQ(ui2.Texts(RecordedCall::Kind::MessageBox),
              (std::vector<std::string>{"Le fichier absent.cor n'existe pas "}));
    // "..": the folder above the work site's.
    WriteBytes(folder.Path() / "haut.cor", kCoordinates);
    RecordingServices ui3;
    EXPECT_TRUE(Initialisation(*state, ui3, {"../haut.cor", "net.obs", "r"}, WorkSiteWrite::Write,
                               nameFolder, &written));
    EXPECT_TRUE(written);
    EXPECT_TRUE(fs::exists(site / "r.vek"));
}

TEST(StartPointChanged, ATextThatNamesNoPointRunsNothing) {
    TempFolder folder;
    WriteInputsAndEnter(folder);
    auto state = std::make_unique<SurveyState>();
    RecordingServices ui;
    ASSERT_TRUE(Initialisation(*state, ui, {"p.cor", "p.obs", "res"}, WorkSiteWrite::Skip));
    const std::size_t loadCalls = ui.calls.size();

    ui.startPointText = "A";
    EXPECT_EQ(StartPointChanged(*state, ui), StartPointOutcome::Ran);
    EXPECT_EQ(state->StartPointIndex, 1);
    const std::size_t runCalls = ui.calls.size();
    EXPECT_GT(runCalls, loadCalls);

    // A prefix, another letter case, an empty text: nothing runs, and the
    // start point chosen before stays as it was.
    for (const char* text : {"", "a", "B2", " A"}) {
        ui.startPointText = text;
        EXPECT_EQ(StartPointChanged(*state, ui), StartPointOutcome::UnknownPoint) << text;
    }
    EXPECT_EQ(ui.calls.size(), runCalls);
    EXPECT_EQ(state->StartPointIndex, 1);
    EXPECT_EQ(UnknownPointText("B2"), "Point inconnu : B2");
}

TEST(Quitter, WritesTheNewFileOrReportsWhyNot) {
    TempFolder folder;
    WriteInputsAndEnter(folder);

    // Nothing loaded: nothing written, nothing to report.
    auto empty = std::make_unique<SurveyState>();
    RecordingServices quiet;
    EXPECT_TRUE(Quitter(*empty, quiet));
    EXPECT_TRUE(quiet.calls.empty());

    auto state = std::make_unique<SurveyState>();
    RecordingServices ui;
    ASSERT_TRUE(Initialisation(*state, ui, {"p.cor", "p.obs", "res"}, WorkSiteWrite::Skip));
    EXPECT_TRUE(Quitter(*state, ui));
    EXPECT_EQ(TextLines(folder.Path() / "res.new").size(), 2u);

    // A ".new" file that cannot be created: reported, the window stays open.
    state->ListingFileName = (folder.Path() / "no-such-folder" / "res.vek").string();
    EXPECT_FALSE(Quitter(*state, ui));
    EXPECT_EQ(ui.Texts(RecordedCall::Kind::Failure).size(), 1u);
}

// ---------------------------------------------------------------------------
// Failures that must lose nothing

// A given, B given; C radiated from A, so the run writes residual lines.
const char kRadiationObservations[] =
    "7 A B 0.0000 0 1.5 1.6\r\n"
    "5 A C 100.0000 0 1.5 1.6\r\n"
    "2 A C 50.000 0 1.5 1.6\r\n"
    "4 A C 1.000 0 0 0\r\n";

#ifndef _WIN32
TEST(Quitter, AfterAFailedLoadOrRunTheGoodOldResultsAreKept) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    TempFolder folder;
    WriteBytes(folder.Path() / "p.cor", std::string(kCoordinates) + "@absent\r\n");
    WriteBytes(folder.Path() / "p.obs", kRadiationObservations);
    WriteBytes(folder.Path() / "res.new", "ancien\r\n");
    fs::current_path(folder.Path());

    {
        // The listing fills the disk during the load (a listing on /dev/full:
        // every write fails as on a full disk).
        fs::create_symlink("/dev/full", folder.Path() / "res.vek");
        auto state = std::make_unique<SurveyState>();
        RecordingServices ui;
        EXPECT_FALSE(Initialisation(*state, ui, {"p.cor", "p.obs", "res"}, WorkSiteWrite::Skip));
        EXPECT_EQ(ui.Texts(RecordedCall::Kind::Failure),
                  std::vector<std::string>{
                      "Erreur d'écriture dans le fichier res.vek (Plus de place sur le disque)"});
        // Before, "Quitter" then replaced the good ".new" with the points read.
        EXPECT_TRUE(Quitter(*state, ui));
        EXPECT_EQ(testing::ReadBytes(folder.Path() / "res.new"), "ancien\r\n");
        EXPECT_EQ(ui.Texts(RecordedCall::Kind::MessageBox),
                  std::vector<std::string>{
                      "Le fichier res.new n'est pas écrit : l'initialisation a été interrompue "
                      "par une erreur, les données lues sont incomplètes. Un fichier de "
                      "résultats antérieur est gardé tel quel ; corrigez la cause de l'erreur, "
                      "puis refaites « Initialisation » et le calcul."});
        fs::remove(folder.Path() / "res.vek");
    }
    {
        // The disk fills during the run, when C's residual lines are written.
        auto state = std::make_unique<SurveyState>();
        RecordingServices ui;
        ASSERT_TRUE(Initialisation(*state, ui, {"p.cor", "p.obs", "res"}, WorkSiteWrite::Skip));
        state->ListingFile.Create("/dev/full");
        ui.startPointText = "A";
        StartPointChanged(*state, ui);
        EXPECT_EQ(ui.Texts(RecordedCall::Kind::Failure).size(), 1u);
        EXPECT_TRUE(Quitter(*state, ui));
        EXPECT_EQ(testing::ReadBytes(folder.Path() / "res.new"), "ancien\r\n");
        EXPECT_NE(ui.Texts(RecordedCall::Kind::MessageBox)
                      .back()
                      .find("n'est pas écrit : le calcul a été interrompu par une erreur"),
                  std::string::npos);

        // A new load that completes clears the mark: the results are written.
        ASSERT_TRUE(Initialisation(*state, ui, {"p.cor", "p.obs", "res"}, WorkSiteWrite::Skip));
        StartPointChanged(*state, ui);
        EXPECT_TRUE(Quitter(*state, ui));
        EXPECT_EQ(TextLines(folder.Path() / "res.new").size(), 3u);
    }
}

TEST(Initialisation, ADeviceIsNoInputFile) {
    TempFolder folder;
    WriteBytes(folder.Path() / "p.obs", kObservations);
    fs::current_path(folder.Path());
    auto state = std::make_unique<SurveyState>();
    RecordingServices ui;
    // Before, the listing was then created in /dev.
    EXPECT_FALSE(Initialisation(*state, ui, {"/dev/zero", "p.obs", "res"}, WorkSiteWrite::Skip));
    EXPECT_EQ(ui.Texts(RecordedCall::Kind::MessageBox),
              std::vector<std::string>{"Le fichier /dev/zero n'est pas un fichier ordinaire "
                                       "(périphérique, tube ou socket) : il ne peut pas être lu"});
    EXPECT_FALSE(state->ListingFile.IsOpen());
    EXPECT_FALSE(fs::exists("/dev/res.vek"));
}
#endif

TEST(FailureMessage, NoLibraryTextReachesTheUser) {
    EXPECT_EQ(FailureMessage(IoFailure("Impossible de cr\xE9"
                                       "er le fichier x")),
              "Impossible de cr\xE9"
              "er le fichier x");
    EXPECT_EQ(Cp1252ToUtf8(FailureMessage(std::bad_alloc())),
              "Mémoire insuffisante : l'action est interrompue. Fermez d'autres programmes, ou "
              "vérifiez que les fichiers d'entrée sont bien ceux du chantier.");
    const std::string internal = FailureMessage(std::out_of_range("vector::_M_range_check"));
    EXPECT_EQ(Cp1252ToUtf8(internal),
              "Erreur interne du programme : l'action est interrompue. Les fichiers de résultats "
              "antérieurs sont gardés ; signalez ce problème avec les fichiers d'entrée.");
}

}  // namespace
}  // namespace calctopo
