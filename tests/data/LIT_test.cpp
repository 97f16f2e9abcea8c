// The two input readers: line splitting, include names, the coordinates file
// and the observations file.
#include "data/LIT.h"

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/Failures.h"
#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "support/RecordingServices.h"
#include "support/TableLimit.h"
#include "support/TempFolder.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace calctopo {
namespace {

namespace fs = std::filesystem;
using testing::NativeSeparators;
using testing::ReadBytes;
using testing::RecordedCall;
using testing::RecordingServices;
using testing::TableLimitMessage;

// ---------------------------------------------------------------------------
// Test support: a temporary folder, files in it, a change of directory.

// A temporary folder whose files are written in Windows-1252, as a surveyor's
// files are; the tests spell the content in UTF-8.
class Cp1252Folder : public testing::TempFolder {
  public:
    // Writes a file and returns its name.
    std::string Write(const std::string& relative, const std::string& utf8Content) const {
        return TempFolder::Write(relative, Utf8ToCp1252(utf8Content));
    }
};

// Makes a folder current and restores the previous one.
class CurrentDirectory {
  public:
    explicit CurrentDirectory(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~CurrentDirectory() {
        std::error_code ignored;
        fs::current_path(previous_, ignored);
    }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

  private:
    fs::path previous_;
};

std::vector<std::string> StdoutLines(const RecordingServices& ui) {
    return ui.Texts(RecordedCall::Kind::StandardOutput);
}

std::vector<std::string> Problems(const RecordingServices& ui) {
    return ui.PaneLines(MessageKind::Problem);
}

// The folder's full name as the program finds it from its working directory,
// in UTF-8.
std::string CanonicalName(const fs::path& folder) {
    const std::u8string name = fs::canonical(folder).u8string();
    return std::string(name.begin(), name.end());
}

std::vector<std::string> Lines(std::initializer_list<const char*> texts) {
    return std::vector<std::string>(texts.begin(), texts.end());
}

// A state, a recorder, and one of the two readers run on the file named in
// the state's `fileName`.
template <std::string SurveyState::*fileName, void (*read)(SurveyState&, WindowServices&)>
struct ReaderRun {
    SurveyState state;
    RecordingServices ui;
    void Load(const std::string& name) {
        state.*fileName = name;
        read(state, ui);
    }
};

// ---------------------------------------------------------------------------
// SplitLine

TEST(SplitLine, CutsOnBlanksAndTabsOnly) {
    std::vector<std::string> fields;
    EXPECT_EQ(SplitLine("  a \t\tbb  c;d,e\t", fields), 3);
    EXPECT_EQ(fields, Lines({"a", "bb", "c;d,e"}));
    // Control characters other than the tab separate nothing inside the line.
    EXPECT_EQ(SplitLine("a\001b c\rd", fields), 2);
    EXPECT_EQ(fields, Lines({"a\001b", "c\rd"}));
}

TEST(SplitLine, TrimsControlCharactersAtBothEnds) {
    std::vector<std::string> fields;
    EXPECT_EQ(SplitLine("\x01\x1F x y\r\n\x0B", fields), 2);
    EXPECT_EQ(fields, Lines({"x", "y"}));
    // Bytes above 127 are not blanks.
    EXPECT_EQ(SplitLine("\xA0x\xE9", fields), 1);
    EXPECT_EQ(fields.front(), "\xA0x\xE9");
}

TEST(SplitLine, CommentsAndBlankLinesHaveNoField) {
    std::vector<std::string> fields{"stale"};
    EXPECT_EQ(SplitLine("", fields), 0);
    EXPECT_TRUE(fields.empty());
    EXPECT_EQ(SplitLine(" \t \r", fields), 0);
    EXPECT_EQ(SplitLine("* 1 A B 1 2 3 4", fields), 0);
    EXPECT_EQ(SplitLine(" \t*comment", fields), 0);
    // A '*' further on is an ordinary character.
    EXPECT_EQ(SplitLine("a *b", fields), 2);
    EXPECT_EQ(fields, Lines({"a", "*b"}));
}

TEST(SplitLine, KeepsThirteenFieldsAndCountsThemAll) {
    std::vector<std::string> fields;
    EXPECT_EQ(SplitLine("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15", fields), 15);
    ASSERT_EQ(fields.size(), 13u);
    EXPECT_EQ(fields.back(), "13");
    EXPECT_EQ(SplitLine("1 2 3 4 5 6 7 8 9 10 11 12 13", fields), 13);
    EXPECT_EQ(fields.size(), 13u);
}

// ---------------------------------------------------------------------------
// ResolveIncludeName. Results use the system's separator, '/' on Linux and
// '\' on Windows; the expected names are written with '/'.

TEST(ResolveIncludeName, TakesTheMissingPartsFromTheCurrentFile) {
    EXPECT_EQ(ResolveIncludeName("@sub", "/w/chantier/base.cor"),
              NativeSeparators("/w/chantier/SUB.cor"));
    EXPECT_EQ(ResolveIncludeName("@sub.txt", "/w/chantier/base.cor"),
              NativeSeparators("/w/chantier/SUB.TXT"));
    EXPECT_EQ(ResolveIncludeName("@.dat", "/w/chantier/base.cor"),
              NativeSeparators("/w/chantier/base.DAT"));
    EXPECT_EQ(ResolveIncludeName("@", "/w/chantier/base.cor"),
              NativeSeparators("/w/chantier/base.cor"));
    EXPECT_EQ(ResolveIncludeName("@noext", "/w/chantier/base"),
              NativeSeparators("/w/chantier/NOEXT"));
}

TEST(ResolveIncludeName, UpperCasesOnlyTheIncludeFieldsAsciiLetters) {
    EXPECT_EQ(ResolveIncludeName("@aZ\xE9_1", "/Work/Mixed/base.Cor"),
              NativeSeparators("/Work/Mixed/AZ\xE9_1.Cor"));
}

TEST(ResolveIncludeName, BothSlashesSeparateFoldersAndRelativeFoldersStayRelative) {
    EXPECT_EQ(ResolveIncludeName("@sub/ex2.obs", "/w/base.obs"), NativeSeparators("SUB/EX2.OBS"));
    EXPECT_EQ(ResolveIncludeName("@sub\\ex2", "/w/base.obs"), NativeSeparators("SUB/EX2.obs"));
    EXPECT_EQ(ResolveIncludeName("@..\\autre\\x", "/w/c/base.cor"),
              NativeSeparators("../AUTRE/X.cor"));
    EXPECT_EQ(ResolveIncludeName("@a/b\\c/", "/w/base.obs"), NativeSeparators("A/B/C/base.obs"));
}

TEST(ResolveIncludeName, AbsoluteFoldersAndDriveLetters) {
    EXPECT_EQ(ResolveIncludeName("@/abs/x.obs", "/w/base.cor"), NativeSeparators("/ABS/X.OBS"));
    EXPECT_EQ(ResolveIncludeName("@/x", "/w/base.cor"), NativeSeparators("/X.cor"));
    EXPECT_EQ(ResolveIncludeName("@x", "/base.cor"), NativeSeparators("/X.cor"));
    // ':' separates like a folder separator (a drive letter); the result uses
    // the native separator.
    EXPECT_EQ(ResolveIncludeName("@sub", "C:\\chantier\\base.cor"),
              NativeSeparators("C:/chantier/SUB.cor"));
    EXPECT_EQ(ResolveIncludeName("@d:x", "C:\\chantier\\base.cor"), NativeSeparators("D:/X.cor"));
}

// ---------------------------------------------------------------------------
// Coordinates file

using CoordinatesRun = ReaderRun<&SurveyState::CoordinatesFileName, LoadKnownPoints>;

TEST(CoordinatesFile, CommentsBlankLinesAndOnePoint) {
    Cp1252Folder folder;
    CoordinatesRun run;
    run.Load(folder.Write("base.cor",
                          "* points connus\n\n   \n"
                          "  * encore\n"
                          "P  A1  100.5 -200.25 .5 1e2 -3E-1\n"));
    ASSERT_EQ(run.state.PointCount(), 1);
    const SurveyPoint& a = run.state.PointTable[1];
    EXPECT_EQ(a.name, "A1");
    EXPECT_EQ(a.x, 100.5);
    EXPECT_EQ(a.y, -200.25);
    EXPECT_EQ(a.z, 0.5);
    EXPECT_EQ(a.sixthFieldValue, 100.0);
    EXPECT_EQ(a.seventhFieldValue, -0.3);
    EXPECT_EQ(a.status, StatusGiven);
    EXPECT_TRUE(a.planimetricKnown);
    EXPECT_TRUE(a.heightKnown);
    EXPECT_TRUE(StdoutLines(run.ui).empty());
    EXPECT_EQ(run.ui.Texts(RecordedCall::Kind::Plain), Lines({"Nombre de points connus :      1"}));
    EXPECT_TRUE(Problems(run.ui).empty());
    EXPECT_EQ(run.ui.startPoints, Lines({"A1"}));
}

TEST(CoordinatesFile, EmptyFileCountsOneLine) {
    Cp1252Folder folder;
    CoordinatesRun run;
    const std::string main = folder.Write("main.cor", "@vide\nx\n");
    folder.Write("VIDE.cor", "");
    run.Load(main);
    // Line 1 the include, line 2 the empty file's one line, line 3 "x".
    EXPECT_EQ(StdoutLines(run.ui),
              Lines({"erreur de lecture du fichier des points ligne :      3 ligne incomplète"}));
    EXPECT_EQ(run.ui.Texts(RecordedCall::Kind::Plain), Lines({"Nombre de points connus :      0"}));
}

TEST(CoordinatesFile, WrongFieldCountsAreIncompleteLines) {
    Cp1252Folder folder;
    CoordinatesRun run;
    run.Load(folder.Write("base.cor",
                          "1 A 1 2 3 4 5 6\n"                       // 8 fields
                          "1 B 1 2 3 4\n"                           // 6 fields
                          "1 C 1 2 3 4 5 6 7 8 9 10 11 12 13 14\n"  // 16 fields
                          "1 D 1 2 3 4 5 6 7 8 9 10 11 12\n"        // 14 fields
                          "@inc extra\n"                            // include + 1 field
                          "1 F 1 2 3 4 5 6 7 8 9 10 11 12 13\n"     // 15 fields
                          "1 E 1 2 3 4 5\n"));
    EXPECT_EQ(run.state.PointCount(), 1);
    EXPECT_EQ(run.state.PointTable[1].name, "E");
    const std::string prefix = "erreur de lecture du fichier des points ligne : ";
    std::vector<std::string> expected;
    for (int line = 1; line <= 6; ++line) {
        expected.push_back(prefix + Format("%6d", line) + " ligne incomplète");
    }
    EXPECT_EQ(StdoutLines(run.ui), expected);
}

TEST(CoordinatesFile, TabsSeparateLikeBlanksAndFieldOneIsIgnored) {
    Cp1252Folder folder;
    CoordinatesRun run;
    run.Load(folder.Write("base.cor",
                          "\tn'importe quoi\n"
                          "xyz\tT1\t10\t20\t30\t0\t0\r\n"
                          "*\n"
                          "    F1 T2 11\t 21 \t 31 1 2"));
    ASSERT_EQ(run.state.PointCount(), 2);
    EXPECT_EQ(run.state.PointTable[1].name, "T1");
    EXPECT_EQ(run.state.PointTable[1].z, 30.0);
    EXPECT_EQ(run.state.PointTable[2].name, "T2");
    EXPECT_EQ(run.state.PointTable[2].x, 11.0);
    EXPECT_EQ(run.state.PointTable[2].y, 21.0);
    EXPECT_EQ(StdoutLines(run.ui),
              Lines({"erreur de lecture du fichier des points ligne :      1 ligne incomplète"}));
}

TEST(CoordinatesFile, LongNamesAreCutToEightBytesAndReported) {
    Cp1252Folder folder;
    CoordinatesRun run;
    run.Load(folder.Write("base.cor",
                          "* x\n"
                          "1 ABCDEFGHI 1 2 3 4 5\n"
                          "1 ABCDEFGH 1 2 3 4 5\n"
                          "1 \xC3\xA9tiquette9 1 2 3 4 5\n"));
    ASSERT_EQ(run.state.PointCount(), 3);
    EXPECT_EQ(run.state.PointTable[1].name, "ABCDEFGH");
    EXPECT_EQ(run.state.PointTable[2].name, "ABCDEFGH");
    EXPECT_EQ(run.state.PointTable[3].name, "\xE9tiquett");  // Windows-1252 bytes
    EXPECT_EQ(run.ui.startPoints,
              (std::vector<std::string>{"ABCDEFGH", "ABCDEFGH", "\xE9tiquett"}));
    EXPECT_EQ(StdoutLines(run.ui),
              Lines({"erreur de lecture du fichier des points ligne :      2 champ : ABCDEFGHI",
                     "erreur de lecture du fichier des points ligne :      4 champ : étiquette9"}));
    // The point keeps its numbers.
    EXPECT_EQ(run.state.PointTable[1].seventhFieldValue, 5.0);
}

TEST(CoordinatesFile, BadNumbersAreReportedFieldByFieldAndStoreZero) {
    Cp1252Folder folder;
    CoordinatesRun run;
    run.Load(folder.Write("base.cor",
                          "1 P 12,5 nan 7 inf 0x10\n"
                          "1 Q 1e400 2 1e 4 -.5\n"));
    ASSERT_EQ(run.state.PointCount(), 2);
    const SurveyPoint& p = run.state.PointTable[1];
    EXPECT_EQ(p.x, 0.0);
    EXPECT_EQ(p.y, 0.0);
    EXPECT_EQ(p.z, 7.0);
    EXPECT_EQ(p.sixthFieldValue, 0.0);
    EXPECT_EQ(p.seventhFieldValue, 0.0);
    EXPECT_EQ(p.status, StatusGiven);
    EXPECT_TRUE(p.planimetricKnown && p.heightKnown);
    const SurveyPoint& q = run.state.PointTable[2];
    EXPECT_EQ(q.y, 2.0);
    EXPECT_EQ(q.seventhFieldValue, -0.5);
    EXPECT_EQ(StdoutLines(run.ui),
              Lines({"erreur de lecture du fichier des points ligne :      1 champ : 12,5",
                     "erreur de lecture du fichier des points ligne :      1 champ : nan",
                     "erreur de lecture du fichier des points ligne :      1 champ : inf",
                     "erreur de lecture du fichier des points ligne :      1 champ : 0x10",
                     "erreur de lecture du fichier des points ligne :      2 champ : 1e400",
                     "erreur de lecture du fichier des points ligne :      2 champ : 1e"}));
}

TEST(CoordinatesFile, SameNameTwiceGivesTwoPointsAndLookupFindsTheFirst) {
    Cp1252Folder folder;
    CoordinatesRun run;
    run.Load(folder.Write("base.cor", "1 A 1 0 0 0 0\n1 B 2 0 0 0 0\n1 A 3 0 0 0 0\n"));
    ASSERT_EQ(run.state.PointCount(), 3);
    EXPECT_EQ(run.state.PointTable[3].name, "A");
    EXPECT_EQ(run.state.PointTable[3].x, 3.0);
    EXPECT_EQ(FindOrAddPoint(run.state, "A"), 1);
    EXPECT_EQ(run.ui.startPoints, Lines({"A", "B", "A"}));
}

TEST(CoordinatesFile, ALoadReplacesThePointTable) {
    Cp1252Folder folder;
    CoordinatesRun run;
    run.Load(folder.Write("a.cor", "1 A 1 0 0 0 0\n1 B 2 0 0 0 0\n"));
    run.Load(folder.Write("b.cor", "1 C 1 0 0 0 0\n"));
    ASSERT_EQ(run.state.PointCount(), 1);
    EXPECT_EQ(run.state.PointTable[1].name, "C");
    EXPECT_EQ(FindPoint(run.state, "A"), 0);
}

TEST(CoordinatesFile, MissingFileAbandonsThePointsSilently) {
    Cp1252Folder folder;
    CoordinatesRun run;
    run.Load(folder.Write("a.cor", "1 A 1 0 0 0 0\n"));
    run.ui.calls.clear();
    run.Load(folder.File("absent.cor"));
    EXPECT_EQ(run.state.PointCount(), 0);
    EXPECT_EQ(FindPoint(run.state, "A"), 0);
    EXPECT_TRUE(run.ui.calls.empty());
    // A folder is not a coordinates file either.
    run.Load(folder.Path().string());
    EXPECT_TRUE(run.ui.calls.empty());
}

TEST(CoordinatesFile, IncludesAcrossFoldersAndLetterCase) {
    Cp1252Folder folder;
    // The include "@pts" takes the folder of the current file; "@sub/more" a
    // folder relative to the current directory, the coordinates file's folder.
    const std::string main = folder.Write("chantier/main.cor",
                                          "1 M1 1 0 0 0 0\n"
                                          "@pts\n"
                                          "@sub/more\n"
                                          "@Sub\\Deeper\\last.txt\n"
                                          "1 M2 2 0 0 0 0\n");
    folder.Write("chantier/Pts.cor", "1 P1 3 0 0 0 0\n");
    folder.Write("chantier/sub/more.cor", "1 S1 4 0 0 0 0\n");
    folder.Write("chantier/sub/deeper/LAST.txt", "1 L1 5 0 0 0 0\n");
    CurrentDirectory cd(folder.Path() / "chantier");
    CoordinatesRun run;
    run.Load(main);
    EXPECT_TRUE(StdoutLines(run.ui).empty()) << StdoutLines(run.ui).front();
    ASSERT_EQ(run.state.PointCount(), 5);
    EXPECT_EQ(run.ui.startPoints, Lines({"M1", "P1", "S1", "L1", "M2"}));
}

TEST(CoordinatesFile, AccentedFoldersAndIncludesAreFound) {
    Cp1252Folder folder;
    // On disk the names are UTF-8; the state and the include lines hold them
    // in Windows-1252. "@sous-dossier/été" becomes "SOUS-DOSSIER/éTé.cor":
    // only ASCII letters change case, and the case-blind match still finds
    // the files.
    folder.Write("Relevés/chantier été.cor",
                 "1 M1 1 0 0 0 0\n"
                 "@sous-dossier/été\n"
                 "@levé\n"
                 "@absenté\n");
    folder.Write("Relevés/sous-dossier/été.cor", "1 S1 2 0 0 0 0\n");
    folder.Write("Relevés/Levé.cor", "1 L1 3 0 0 0 0\n");
    CurrentDirectory cd(folder.Path() / testing::Utf8Path("Relevés"));
    CoordinatesRun run;
    run.Load(Utf8ToCp1252(folder.File("Relevés/chantier été.cor")));
    EXPECT_EQ(run.ui.startPoints, Lines({"M1", "S1", "L1"}));
    // The missing include is named in Windows-1252 like the rest of the line
    // (the recorder turns it into UTF-8; a UTF-8 name would come out garbled).
    EXPECT_EQ(StdoutLines(run.ui),
              (std::vector<std::string>{"L'ouverture du fichier  " +
                                        folder.File("Relevés/ABSENTé.cor") + " est impossible "}));
}

TEST(CoordinatesFile, UpperCaseNameIsTriedFirst) {
#ifdef _WIN32
    GTEST_SKIP() << "PTS.cor and pts.cor are one file on a file system blind to case";
#endif
    Cp1252Folder folder;
    const std::string main = folder.Write("main.cor", "@pts\n");
    folder.Write("PTS.cor", "1 UPPER 0 0 0 0 0\n");
    folder.Write("pts.cor", "1 LOWER 0 0 0 0 0\n");
    CoordinatesRun run;
    run.Load(main);
    EXPECT_EQ(run.ui.startPoints, Lines({"UPPER"}));
}

TEST(CoordinatesFile, LineCounterRunsOnThroughIncludes) {
    Cp1252Folder folder;
    const std::string main = folder.Write("main.cor",
                                          "* 1\n"
                                          "@inc\n"
                                          "1 A 1 2 3 4\n");  // line 2 + 3 + 1 = 6
    folder.Write("INC.cor", "* 3\n1 B 1 2 3 4 5\n1 C 1 x 3 4 5\n");
    CoordinatesRun run;
    run.Load(main);
    EXPECT_EQ(StdoutLines(run.ui),
              Lines({"erreur de lecture du fichier des points ligne :      5 champ : x",
                     "erreur de lecture du fichier des points ligne :      6 ligne incomplète"}));
}

TEST(CoordinatesFile, UnopenableIncludeGoesToStandardOutputAndListing) {
    Cp1252Folder folder;
    const std::string main = folder.Write("main.cor", "@absent\n1 A 1 2 3 4 5\n1 B 1\n");
    CoordinatesRun run;
    run.state.ListingFile.Create(folder.File("out.vek"));
    run.Load(main);
    const std::string line =
        "L'ouverture du fichier  " + folder.File("ABSENT.cor") + " est impossible ";
    EXPECT_EQ(
        StdoutLines(run.ui),
        (std::vector<std::string>{
            line, "erreur de lecture du fichier des points ligne :      3 ligne incomplète"}));
    EXPECT_EQ(run.state.PointCount(), 1);
    run.state.ListingFile.Close();
    // Only the unopenable include goes to the listing.
    EXPECT_EQ(ReadBytes(folder.File("out.vek")), line + "\r\n");
}

TEST(CoordinatesFile, SelfIncludeIsSkippedWithAMessage) {
    Cp1252Folder folder;
    const std::string main = folder.Write("main.cor", "1 A 1 0 0 0 0\n@\n@MAIN\n1 B 2 0 0 0 0\n");
    CoordinatesRun run;
    run.state.ListingFile.Create(folder.File("out.vek"));
    run.Load(main);
    EXPECT_EQ(run.ui.startPoints, Lines({"A", "B"}));
    const std::string line = "Inclusion circulaire du fichier " + main + " ignorée";
#ifdef _WIN32
    // The upper-case name exists as it stands on a file system blind to case,
    // and is reported as resolved.
    const std::string upper =
        "Inclusion circulaire du fichier " + folder.File("MAIN.cor") + " ignorée";
#else
    // A case-sensitive system matches MAIN.cor to main.cor.
    const std::string upper = line;
#endif
    EXPECT_EQ(StdoutLines(run.ui), (std::vector<std::string>{line, upper}));
    run.state.ListingFile.Close();
    EXPECT_EQ(Cp1252ToUtf8(ReadBytes(folder.File("out.vek"))), line + "\r\n" + upper + "\r\n");
}

TEST(CoordinatesFile, IncludeCycleThroughAnotherFileIsSkipped) {
    Cp1252Folder folder;
    const std::string a = folder.Write("A.cor", "1 A 1 0 0 0 0\n@b\n1 A2 1 0 0 0 0\n");
    folder.Write("B.cor", "1 B 1 0 0 0 0\n@a\n1 B2 1 0 0 0 0\n");
    CoordinatesRun run;
    run.Load(a);
    EXPECT_EQ(run.ui.startPoints, Lines({"A", "B", "B2", "A2"}));
    EXPECT_EQ(StdoutLines(run.ui),
              (std::vector<std::string>{"Inclusion circulaire du fichier " + a + " ignorée"}));
    // Reading a file twice, not inside itself, is no cycle.
    CoordinatesRun twice;
    const std::string c = folder.Write("C.cor", "@d\n@d\n");
    folder.Write("D.cor", "1 D 0 0 0 0 0\n");
    twice.Load(c);
    EXPECT_EQ(twice.ui.startPoints, Lines({"D", "D"}));
    EXPECT_TRUE(StdoutLines(twice.ui).empty());
}

TEST(CoordinatesFile, PointLimitStopsAtTheTenThousandAndFirst) {
    Cp1252Folder folder;
    std::ostringstream content;
    for (int i = 1; i <= kMaxPoints + 1; ++i) {
        content << "1 P" << i << " " << i << " 0 0 0 0\n";
    }
    content << "1 Z 0 0 0 0 0\n";
    CoordinatesRun run;
    run.state.CoordinatesFileName = folder.Write("big.cor", content.str());
    EXPECT_EQ(TableLimitMessage([&] { LoadKnownPoints(run.state, run.ui); }),
              "Nombre maximum de points atteint : P10001");
    EXPECT_EQ(run.state.PointCount(), kMaxPoints);
    EXPECT_EQ(run.state.PointTable[kMaxPoints].name, "P10000");
    EXPECT_EQ(StdoutLines(run.ui), Lines({"Nombre maximum de points atteint : P10001"}));
    EXPECT_TRUE(run.ui.Texts(RecordedCall::Kind::Plain).empty());
    EXPECT_EQ(run.ui.startPoints.size(), static_cast<std::size_t>(kMaxPoints));
}

// ---------------------------------------------------------------------------
// Observations file

using ObservationsRun = ReaderRun<&SurveyState::ObservationsFileName, LoadObservations>;

TEST(ObservationsFile, SevenAndEightFieldLayoutsGiveTheSameRecord) {
    Cp1252Folder folder;
    ObservationsRun run;
    run.Load(folder.Write("m.obs",
                          "1 S T 123.5 0 1.5 1.7\n"
                          "1 S T 123.5 0 garbage 1.5 1.7\n"
                          "6 S T 99.5 0 1.5 1.7\n"
                          "6\tS\tT\t99.5\t0\t-\t1.5\t1.7\t9\tx\ty\tz\tw\tmore\tstill\n"));
    EXPECT_TRUE(Problems(run.ui).empty());
    ASSERT_EQ(run.state.DistanceTable.Count(), 2);
    ASSERT_EQ(run.state.ZenithTable.Count(), 2);
    for (int i = 1; i <= 2; ++i) {
        const DistanceObservation& d = run.state.DistanceTable[i];
        EXPECT_EQ(d.station, 1);
        EXPECT_EQ(d.target, 2);
        EXPECT_EQ(d.value, 123.5);
        EXPECT_EQ(d.instrumentHeight, 1.5);
        EXPECT_EQ(d.targetHeight, 1.7);
        EXPECT_FALSE(d.isHorizontal);
        const ZenithObservation& z = run.state.ZenithTable[i];
        EXPECT_EQ(z.value, 99.5);
        EXPECT_EQ(z.instrumentHeight, 1.5);
        EXPECT_EQ(z.targetHeight, 1.7);
    }
    EXPECT_EQ(run.state.PointCount(), 2);
}

TEST(ObservationsFile, EveryCodeBuildsItsRecords) {
    Cp1252Folder folder;
    ObservationsRun run;
    // Known points first, as the load pipeline reads them.
    SurveyPoint known;
    known.name = "K";
    known.status = StatusGiven;
    AppendPoint(run.state, known);
    run.Load(folder.Write("m.obs",
                          "1 K A 10 0 1 2\n"
                          "2 K A 11 0 1 2\n"
                          "3 K A 12 0 1 2\n"
                          "4 K A 1.25 0 7 8\n"
                          "7 K A 50 0 7 8\n"
                          "5 K B 60 0 7 8\n"
                          "6 K B 98 0 1.1 1.2\n"
                          "8 K B 250 0 7 8\n"
                          "9 K C 77 0 7 8\n"
                          "0 D E 1 1 1 1\n"
                          "12 F G 1 1 1 1\n"
                          "-3 H I 1 1 1 1\n"));
    EXPECT_TRUE(Problems(run.ui).empty());
    const SurveyState& s = run.state;
    ASSERT_EQ(s.PointCount(), 10);
    EXPECT_EQ(s.PointTable[1].status, StatusGiven);
    const char* names[] = {"K", "A", "B", "C", "D", "E", "F", "G", "H", "I"};
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(s.PointTable[i].name, names[i - 1]);
    }
    for (int i = 2; i <= 10; ++i) {
        const SurveyPoint& p = s.PointTable[i];
        EXPECT_EQ(p.status, StatusUnknown);
        EXPECT_FALSE(p.planimetricKnown || p.heightKnown);
        EXPECT_EQ(p.x, 0.0);
        EXPECT_EQ(p.sixthFieldValue, 0.0);
    }

    ASSERT_EQ(s.DistanceTable.Count(), 4);
    EXPECT_FALSE(s.DistanceTable[1].isHorizontal);
    EXPECT_TRUE(s.DistanceTable[2].isHorizontal);
    EXPECT_FALSE(s.DistanceTable[3].isHorizontal);
    EXPECT_EQ(s.DistanceTable[3].value, 12.0);
    EXPECT_EQ(s.DistanceTable[3].targetHeight, 2.0);
    const DistanceObservation& nine = s.DistanceTable[4];
    EXPECT_EQ(nine.station, 1);
    EXPECT_EQ(nine.target, 4);
    EXPECT_EQ(nine.value, 0.0);
    EXPECT_EQ(nine.instrumentHeight, 0.0);
    EXPECT_EQ(nine.targetHeight, 0.0);
    EXPECT_TRUE(nine.isHorizontal);

    ASSERT_EQ(s.HeightDifferenceTable.Count(), 1);
    EXPECT_EQ(s.HeightDifferenceTable[1].value, 1.25);
    EXPECT_EQ(s.HeightDifferenceTable[1].target, 2);

    ASSERT_EQ(s.RoundTable.Count(), 1);
    EXPECT_EQ(s.RoundTable[1].orientation, -1.0);
    EXPECT_FALSE(s.RoundTable[1].orientationKnown);
    ASSERT_EQ(s.DirectionTable.Count(), 2);
    EXPECT_EQ(s.DirectionTable[1].value, 50.0);
    EXPECT_EQ(s.DirectionTable[1].roundNumber, 1);
    EXPECT_EQ(s.DirectionTable[2].target, 3);
    EXPECT_EQ(s.DirectionTable[2].value, 60.0);
    EXPECT_EQ(s.DirectionTable[2].roundNumber, 1);

    ASSERT_EQ(s.ZenithTable.Count(), 1);
    EXPECT_EQ(s.ZenithTable[1].instrumentHeight, 1.1);
    EXPECT_EQ(s.ZenithTable[1].targetHeight, 1.2);

    ASSERT_EQ(s.BearingTable.Count(), 2);
    EXPECT_EQ(s.BearingTable[1].value, 250.0);
    EXPECT_EQ(s.BearingTable[2].value, 0.0);
    EXPECT_EQ(s.BearingTable[2].target, 4);
}

TEST(ObservationsFile, RoundsAndDirectionsWithoutReference) {
    Cp1252Folder folder;
    ObservationsRun run;
    run.Load(folder.Write("m.obs",
                          "5 S A 10 0 0 0\n"         // 1: before any round
                          "7 S A 0 0 0 0\n"          // 2: round 1
                          "5 S B 20 0 0 0\n"         // 3
                          "5 T B 30 0 0 0\n"         // 4: other station
                          "7 T A 0 0 0 0\n"          // 5: round 2
                          "7 T B 5 0 0 0\n"          // 6: round 3 at the same station
                          "5 S\xC3\xA9 A 1 0 0 0\n"  // 7
                          "5 t A 1 0 0 0\n"));       // 8: letter case differs
    const SurveyState& s = run.state;
    ASSERT_EQ(s.RoundTable.Count(), 3);
    ASSERT_EQ(s.DirectionTable.Count(), 8);
    const int rounds[] = {0, 1, 1, 1, 2, 3, 3, 3};
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(s.DirectionTable[i].roundNumber, rounds[i - 1]) << i;
    }
    EXPECT_EQ(Problems(run.ui),
              Lines({"Azimut sans référence ligne : 1", "Azimut sans référence ligne : 4",
                     "Azimut sans référence ligne : 7", "Azimut sans référence ligne : 8"}));
}

TEST(ObservationsFile, TheCurrentRoundLastsAcrossIncludes) {
    Cp1252Folder folder;
    const std::string main = folder.Write("m.obs", "7 S A 0 0 0 0\n@inc\n5 S C 2 0 0 0\n");
    folder.Write("INC.obs", "5 S B 1 0 0 0\n7 T A 0 0 0 0\n");
    ObservationsRun run;
    run.Load(main);
    ASSERT_EQ(run.state.DirectionTable.Count(), 4);
    EXPECT_EQ(run.state.DirectionTable[2].roundNumber, 1);
    EXPECT_EQ(run.state.DirectionTable[4].roundNumber, 2);
    EXPECT_EQ(Problems(run.ui), Lines({"Azimut sans référence ligne : 5"}));
}

TEST(ObservationsFile, BadFieldsAreReportedAndTheLineIsBuilt) {
    Cp1252Folder folder;
    ObservationsRun run;
    run.Load(folder.Write("sub/terrain.obs",
                          "1.0 S T 10 0 0 0\n"               // code not an integer: 0
                          "2 S T 1,5 x 1.5. 2\n"             // value, field 5, instrument height
                          "6 S T 100 0 - nan 1.3 +\n"        // 9 fields: 6 and 9 not read
                          "4 STATION12 TARGET123 5 0 z y\n"  // long names, heights of code 4
                          "x S T 1 1 1 1\n"));
    const SurveyState& s = run.state;
    EXPECT_EQ(Problems(run.ui),
              Lines({"Erreur de lecture du fichier terrain.obs ligne 1 champ 1.0 : ",
                     "Erreur de lecture du fichier terrain.obs ligne 2 champ 1,5 : ",
                     "Erreur de lecture du fichier terrain.obs ligne 2 champ x : ",
                     "Erreur de lecture du fichier terrain.obs ligne 2 champ 1.5. : ",
                     "Erreur de lecture du fichier terrain.obs ligne 3 champ nan : ",
                     "Erreur de lecture du fichier terrain.obs ligne 4 champ STATION12 : ",
                     "Erreur de lecture du fichier terrain.obs ligne 4 champ TARGET123 : ",
                     "Erreur de lecture du fichier terrain.obs ligne 4 champ z : ",
                     "Erreur de lecture du fichier terrain.obs ligne 4 champ y : ",
                     "Erreur de lecture du fichier terrain.obs ligne 5 champ x : "}));
    ASSERT_EQ(s.DistanceTable.Count(), 1);
    EXPECT_EQ(s.DistanceTable[1].value, 0.0);
    EXPECT_EQ(s.DistanceTable[1].instrumentHeight, 0.0);
    EXPECT_EQ(s.DistanceTable[1].targetHeight, 2.0);
    EXPECT_TRUE(s.DistanceTable[1].isHorizontal);
    ASSERT_EQ(s.ZenithTable.Count(), 1);
    EXPECT_EQ(s.ZenithTable[1].value, 100.0);
    EXPECT_EQ(s.ZenithTable[1].instrumentHeight, 0.0);
    EXPECT_EQ(s.ZenithTable[1].targetHeight, 1.3);
    ASSERT_EQ(s.HeightDifferenceTable.Count(), 1);
    EXPECT_EQ(s.PointTable[s.HeightDifferenceTable[1].station].name, "STATION1");
    EXPECT_EQ(s.PointTable[s.HeightDifferenceTable[1].target].name, "TARGET12");
    EXPECT_EQ(s.HeightDifferenceTable[1].value, 5.0);
    // Lines with a bad code still register their names.
    EXPECT_EQ(s.PointCount(), 4);
    EXPECT_EQ(s.BearingTable.Count(), 0);
}

TEST(ObservationsFile, IncompleteLinesRecordNothing) {
    Cp1252Folder folder;
    ObservationsRun run;
    run.Load(folder.Write("m.obs",
                          "8 S T 100 0 0\n"
                          "\n"
                          "* 8 S T 100 0 0 0\n"
                          "@inc 1\n"
                          "1\n"));
    EXPECT_EQ(run.state.PointCount(), 0);
    EXPECT_EQ(run.state.BearingTable.Count(), 0);
    EXPECT_EQ(
        StdoutLines(run.ui),
        Lines({"erreur de lecture du fichier d'observations ligne :      1 ligne incomplète",
               "erreur de lecture du fichier d'observations ligne :      4 ligne incomplète",
               "erreur de lecture du fichier d'observations ligne :      5 ligne incomplète"}));
    EXPECT_TRUE(run.ui.PaneLines().empty());
}

TEST(ObservationsFile, IncludedLinesNameTheGivenFileAndCountOn) {
    Cp1252Folder folder;
    const std::string main = folder.Write("chantier/Terrain.obs",
                                          "* 1\n"
                                          "@mesures/jour1\n"
                                          "1 A B x 0 0 0\n"
                                          "1 A\n");
    folder.Write("chantier/Mesures/Jour1.obs", "1 A B 1 0 0 0\n1 A B y 0 0 0\n");
    CurrentDirectory cd(folder.Path() / "chantier");
    ObservationsRun run;
    run.Load(main);
    EXPECT_EQ(Problems(run.ui),
              Lines({"Erreur de lecture du fichier Terrain.obs ligne 4 champ y : ",
                     "Erreur de lecture du fichier Terrain.obs ligne 5 champ x : "}));
    EXPECT_EQ(
        StdoutLines(run.ui),
        Lines({"erreur de lecture du fichier d'observations ligne :      6 ligne incomplète"}));
    EXPECT_EQ(run.state.DistanceTable.Count(), 3);
}

TEST(ObservationsFile, AccentedNamesAreReadAndShownInWindows1252) {
    Cp1252Folder folder;
    folder.Write("Relevés/chantier été.obs", "1 A B x 0 0 0\n@sous-dossier/été\n@\n");
    folder.Write("Relevés/sous-dossier/été.obs", "1 A B 2 0 0 0\n");
    ObservationsRun run;
    {
        CurrentDirectory cd(folder.Path() / testing::Utf8Path("Relevés"));
        // A relative name, made absolute against the accented current folder.
        run.Load(Utf8ToCp1252("chantier été.obs"));
    }
    EXPECT_EQ(run.state.DistanceTable.Count(), 2);
    // Messages in UTF-8 from the recorder: the names were Windows-1252.
    const std::string main =
        CanonicalName(folder.Path()) + NativeSeparators("/Relevés/chantier été.obs");
    EXPECT_EQ(Problems(run.ui),
              (std::vector<std::string>{
                  "Erreur de lecture du fichier chantier été.obs ligne 1 champ x : ",
                  "Inclusion circulaire du fichier " + main + " ignorée"}));
}

TEST(ObservationsFile, RelativeNameIsMadeAbsoluteAgainstTheCurrentDirectory) {
    Cp1252Folder folder;
    folder.Write("d/rel.obs", "@other\n");
    CurrentDirectory cd(folder.Path());
    ObservationsRun run;
    run.Load("d/rel.obs");
    EXPECT_EQ(Problems(run.ui),
              (std::vector<std::string>{"L'ouverture du fichier " + CanonicalName(folder.Path()) +
                                        NativeSeparators("/d/OTHER.obs") + " est impossible "}));
}

TEST(ObservationsFile, UnopenableFilesAreReportedInThePane) {
    Cp1252Folder folder;
    const std::string main = folder.Write("m.obs", "@absent\n@sub/\n1 A B 1 0 0 0\n");
    folder.Write("sub/keep", "");
    ObservationsRun run;
    {
        CurrentDirectory cd(folder.Path());
        run.Load(main);
    }
    // "@sub/" names SUB/m.obs, relative to the current directory: missing.
    const std::string current = CanonicalName(folder.Path());
    EXPECT_EQ(Problems(run.ui),
              (std::vector<std::string>{
                  "L'ouverture du fichier " + folder.File("ABSENT.obs") + " est impossible ",
                  "L'ouverture du fichier " + current + NativeSeparators("/SUB/m.obs") +
                      " est impossible "}));
    EXPECT_EQ(run.state.DistanceTable.Count(), 1);
    ObservationsRun missing;
    missing.Load(folder.File("nothing.obs"));
    EXPECT_EQ(Problems(missing.ui),
              (std::vector<std::string>{"L'ouverture du fichier " + folder.File("nothing.obs") +
                                        " est impossible "}));
}

TEST(ObservationsFile, IncludeCyclesAreSkipped) {
    Cp1252Folder folder;
    const std::string a = folder.Write("a.obs", "1 A X 1 0 0 0\n@\n@b\n1 A Z 3 0 0 0\n");
    folder.Write("B.obs", "1 B Y 2 0 0 0\n@a\n@B\n");
    ObservationsRun run;
    run.Load(a);
    // "@a" from B resolves to A.obs; on a case-sensitive system it is matched
    // to a.obs, on a system blind to case it is a.obs under the name resolved.
    ASSERT_EQ(run.state.DistanceTable.Count(), 3);
    EXPECT_EQ(run.state.DistanceTable[3].value, 3.0);
#ifdef _WIN32
    const std::string fromB = folder.File("A.obs");
#else
    const std::string fromB = a;
#endif
    EXPECT_EQ(Problems(run.ui),
              (std::vector<std::string>{
                  "Inclusion circulaire du fichier " + a + " ignorée",
                  "Inclusion circulaire du fichier " + fromB + " ignorée",
                  "Inclusion circulaire du fichier " + folder.File("B.obs") + " ignorée"}));
}

TEST(ObservationsFile, ALoadEmptiesTheTablesButKeepsThePoints) {
    Cp1252Folder folder;
    ObservationsRun run;
    run.Load(folder.Write("a.obs",
                          "7 S A 0 0 0 0\n1 S A 1 0 0 0\n9 S B 0 0 0 0\n4 S B 1 0 0 0\n"
                          "6 S B 1 0 0 0\n"));
    run.Load(folder.Write("b.obs", "1 C D 1 0 0 0\n"));
    const SurveyState& s = run.state;
    EXPECT_EQ(s.PointCount(), 5);
    EXPECT_EQ(s.DistanceTable.Count(), 1);
    EXPECT_EQ(s.DistanceTable[1].station, 4);
    EXPECT_EQ(s.RoundTable.Count(), 0);
    EXPECT_EQ(s.DirectionTable.Count(), 0);
    EXPECT_EQ(s.ZenithTable.Count(), 0);
    EXPECT_EQ(s.BearingTable.Count(), 0);
    EXPECT_EQ(s.HeightDifferenceTable.Count(), 0);
}

TEST(ObservationsFile, ObservationTableLimit) {
    Cp1252Folder folder;
    std::ostringstream content;
    content << "* start\n";
    for (int i = 0; i < kMaxObservations; ++i) {
        content << "6 A B 1 0 0 0\n";
    }
    content << "6 A C 1 0 0 0\n6 A D 1 0 0 0\n";
    ObservationsRun run;
    run.state.ObservationsFileName = folder.Write("big.obs", content.str());
    EXPECT_EQ(TableLimitMessage([&] { LoadObservations(run.state, run.ui); }),
              "Nombre maximum d'observations atteint ligne : 50002");
    EXPECT_EQ(run.state.ZenithTable.Count(), kMaxObservations);
    EXPECT_EQ(run.state.ZenithTable[kMaxObservations].target, 2);
    // The names of the line were registered before its record.
    EXPECT_EQ(run.state.PointCount(), 3);
}

TEST(ObservationsFile, CodeNineStopsAtTheFullBearingTable) {
    Cp1252Folder folder;
    std::ostringstream content;
    for (int i = 0; i < kMaxObservations; ++i) {
        content << "8 A B 1 0 0 0\n";
    }
    content << "9 A C 1 0 0 0\n";
    ObservationsRun run;
    run.state.ObservationsFileName = folder.Write("big.obs", content.str());
    EXPECT_THROW(LoadObservations(run.state, run.ui), TableLimitReached);
    EXPECT_EQ(run.state.BearingTable.Count(), kMaxObservations);
    EXPECT_EQ(run.state.DistanceTable.Count(), 1);
}

TEST(ObservationsFile, RoundTableLimit) {
    Cp1252Folder folder;
    std::ostringstream content;
    for (int i = 0; i < kMaxRounds; ++i) {
        content << "7 S A 0 0 0 0\n5 S B 1 0 0 0\n";
    }
    content << "7 S C 0 0 0 0\n";
    ObservationsRun run;
    run.state.ObservationsFileName = folder.Write("rounds.obs", content.str());
    EXPECT_EQ(TableLimitMessage([&] { LoadObservations(run.state, run.ui); }),
              "Nombre maximum d'observations atteint ligne : 2001");
    EXPECT_EQ(run.state.RoundTable.Count(), kMaxRounds);
    EXPECT_EQ(run.state.DirectionTable.Count(), 2 * kMaxRounds);
    EXPECT_EQ(run.state.DirectionTable[2 * kMaxRounds].roundNumber, kMaxRounds);
    EXPECT_EQ(FindPoint(run.state, "C"), 0);  // the round fails before the names
}

TEST(ObservationsFile, PointLimitThroughObservations) {
    Cp1252Folder folder;
    std::ostringstream content;
    for (int i = 1; i <= kMaxPoints / 2; ++i) {
        content << "0 A" << i << " B" << i << " 0 0 0 0\n";
    }
    content << "1 A1 NEW 0 0 0 0\n";
    ObservationsRun run;
    run.state.ObservationsFileName = folder.Write("points.obs", content.str());
    EXPECT_EQ(TableLimitMessage([&] { LoadObservations(run.state, run.ui); }),
              "Nombre maximum de points atteint : 10001");
    EXPECT_EQ(run.state.PointCount(), kMaxPoints);
    EXPECT_EQ(run.state.DistanceTable.Count(), 0);
}

// ---------------------------------------------------------------------------
// Hostile input: what is not a survey file, and values no survey measures.

#ifndef _WIN32
std::string NotARegularFile(const std::string& name) {
    return "Le fichier " + name +
           " n'est pas un fichier ordinaire (périphérique, tube ou socket) : il n'est pas lu";
}

TEST(HostileInput, DevicesAndPipesAreNotReadEvenThroughALink) {
    Cp1252Folder folder;
    // Before, an include linked to /dev/zero grew the memory until bad_alloc
    // and a pipe blocked the program for ever.
    fs::create_symlink("/dev/zero", folder.Path() / "ZERO.obs");
    ASSERT_EQ(::mkfifo(folder.File("PIPE.obs").c_str(), 0600), 0);
    const std::string main = folder.Write("m.obs", "@zero\n@pipe\n1 A B 1 0 0 0\n");
    ObservationsRun run;
    run.Load(main);
    EXPECT_EQ(run.state.DistanceTable.Count(), 1);
    EXPECT_EQ(Problems(run.ui),
              (std::vector<std::string>{NotARegularFile(folder.File("ZERO.obs")),
                                        NotARegularFile(folder.File("PIPE.obs"))}));
}
#endif

TEST(HostileInput, ABinaryFileIsRefusedWithTheLineOfItsFirstNul) {
    Cp1252Folder folder;
    // A NUL in a name used to cut the message that echoed it.
    const std::string main = folder.Write("m.cor", "@bin\n1 A 1 2 3 0 0\n");
    folder.Write("BIN.cor", std::string("1 B 1 2 3 0 0\n1 C\0D 1 2 3 0 0\n", 29));
    CoordinatesRun run;
    run.state.ListingFile.Create(folder.File("listing.vek"));
    run.Load(main);
    ASSERT_EQ(run.state.PointCount(), 1);
    EXPECT_EQ(run.state.PointTable[1].name, "A");
    const std::string told = "Le fichier " + folder.File("BIN.cor") +
                             " contient un octet nul ligne 2 : ce n'est pas un fichier texte "
                             "(fichier binaire, ou UTF-16 sans marque d'ordre des octets), il "
                             "n'est pas lu";
    EXPECT_EQ(StdoutLines(run.ui), Lines({told.c_str()}));
    EXPECT_EQ(Utf8ToCp1252(told) + "\r\n", ReadBytes(folder.Path() / "listing.vek"));
}

TEST(HostileInput, ByteOrderMarksAndCrOnlyLineEndsAreReadAndTold) {
    Cp1252Folder folder;
    // UTF-8 with its mark: the first code no longer reads as "ï»¿7".
    const std::string utf8 = folder.Write("u8.obs", "");
    testing::WriteBytes(utf8,
                        "\xEF\xBB\xBF"
                        "7 S1 R\xC3\xA9"
                        "f 0 0 0 0\n5 S1 B 1 0 0 0\n");
    // UTF-16 little-endian with its mark, one line "2 S1 C 5 0 0 0".
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("2 S1 C 5 0 0 0\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    folder.Write("U16.obs", utf16);
    // CR-only line ends (an old Macintosh file) starting with a comment: it
    // used to read as one comment line, silently empty.
    folder.Write("MAC.obs", "* station S1\r4 S1 D 1.5 0 0 0\r");
    std::string main = "@u16\n@mac\n";
    testing::WriteBytes(folder.Path() / "m.obs", main);
    ObservationsRun run;
    run.state.ObservationsFileName = utf8;
    LoadObservations(run.state, run.ui);
    run.Load(folder.File("m.obs"));
    EXPECT_EQ(run.state.DistanceTable.Count(), 1);
    EXPECT_EQ(run.state.HeightDifferenceTable.Count(), 1);
    EXPECT_EQ(Problems(run.ui),
              (std::vector<std::string>{
                  "Le fichier " + utf8 +
                      " est en UTF-8 (il commence par une marque d'ordre des octets) : il est lu "
                      "converti en Windows-1252",
                  "Le fichier " + folder.File("U16.obs") +
                      " est en UTF-16 (il commence par une marque d'ordre des octets) : il est lu "
                      "converti en Windows-1252",
                  "Le fichier " + folder.File("MAC.obs") +
                      " a des fins de ligne CR seules (ancien format Macintosh) : chaque CR y "
                      "termine une ligne"}));
    // The first load: the round opened on line 1, the accented name converted.
    ObservationsRun first;
    first.Load(utf8);
    EXPECT_EQ(first.state.RoundTable.Count(), 1);
    EXPECT_EQ(first.state.DirectionTable.Count(), 2);
    EXPECT_NE(FindPoint(first.state,
                        "R\xE9"
                        "f"),
              0);
}

TEST(HostileInput, NegativeAndOutOfBoundsValuesAreFieldErrorsAndLeftOut) {
    Cp1252Folder folder;
    ObservationsRun run;
    run.Load(folder.Write("m.obs",
                          "1 S A -50 0 0 0\n"     // a negative distance mirrored the point
                          "2 S B 50 0 1e11 0\n"   // an instrument height of 1e11
                          "6 S C 1e5 0 0 0\n"     // a zenith angle of 1e5 grades
                          "4 S D -1e150 0 0 0\n"  // gave "inf" in the listing
                          "8 S E 12 0 1e300 0\n"  // a height the code does not store
                          "2 S F 0 0 0 0\n"       // a zero distance is a distance
                          "1 S G -0 0 0 0\n"));   // and so is minus zero
    EXPECT_EQ(Problems(run.ui), (std::vector<std::string>{
                                    "Erreur de lecture du fichier m.obs ligne 1 champ -50 : ",
                                    "Erreur de lecture du fichier m.obs ligne 2 champ 1e11 : ",
                                    "Erreur de lecture du fichier m.obs ligne 3 champ 1e5 : ",
                                    "Erreur de lecture du fichier m.obs ligne 4 champ -1e150 : "}));
    EXPECT_EQ(run.state.DistanceTable.Count(), 2);
    EXPECT_EQ(run.state.ZenithTable.Count(), 0);
    EXPECT_EQ(run.state.HeightDifferenceTable.Count(), 0);
    EXPECT_EQ(run.state.BearingTable.Count(), 1);
    // The names of the lines left out are registered all the same.
    EXPECT_NE(FindPoint(run.state, "A"), 0);
    EXPECT_NE(FindPoint(run.state, "D"), 0);

    // In a coordinates file a value out of bounds is a field error, stored
    // as 0 like a field that is no number.
    CoordinatesRun points;
    points.Load(folder.Write("c.cor", "1 P 1e150 2e10 -1e10 1e11 0\n"));
    ASSERT_EQ(points.state.PointCount(), 1);
    EXPECT_EQ(points.state.PointTable[1].x, 0.0);
    EXPECT_EQ(points.state.PointTable[1].y, 0.0);
    EXPECT_EQ(points.state.PointTable[1].z, -1e10);  // the bound itself is allowed
    EXPECT_EQ(StdoutLines(points.ui),
              Lines({"erreur de lecture du fichier des points ligne :      1 champ : 1e150",
                     "erreur de lecture du fichier des points ligne :      1 champ : 2e10",
                     "erreur de lecture du fichier des points ligne :      1 champ : 1e11"}));
}

TEST(HostileInput, AHugeFieldIsEchoedCutWithItsLength) {
    Cp1252Folder folder;
    const std::string field = std::string(100000, 'x');
    ObservationsRun run;
    run.Load(folder.Write("m.obs", "1 S A " + field + " 0 0 0\n"));
    EXPECT_EQ(Problems(run.ui),
              (std::vector<std::string>{"Erreur de lecture du fichier m.obs ligne 1 champ " +
                                        std::string(80, 'x') + "... (100000 caractères) : "}));
    CoordinatesRun points;
    points.Load(folder.Write("c.cor", "1 P " + field + " 0 0 0 0\n"));
    EXPECT_EQ(StdoutLines(points.ui),
              Lines({("erreur de lecture du fichier des points ligne :      1 champ : " +
                      std::string(80, 'x') + "... (100000 caractères)")
                         .c_str()}));
}

TEST(HostileInput, AThousandNestedIncludesAreReadInLinearTime) {
    Cp1252Folder folder;
    // Each file holds a point and includes the next; the chain used to compare
    // every file with every file before it (seconds at a thousand).
    constexpr int kDepth = 1000;
    for (int i = 1; i <= kDepth; ++i) {
        // (built by appending: GCC 12 warns falsely on "literal" + to_string)
        const std::string number = std::to_string(i);
        std::string content = "1 P";
        content += number + " 1 2 3 0 0\n";
        if (i < kDepth) {
            content += "@F";
            content += std::to_string(i + 1) + "\n";
        }
        std::string name = "F";
        name += number + ".COR";
        folder.Write(name, content);
    }
    CoordinatesRun run;
    const auto start = std::chrono::steady_clock::now();
    run.Load(folder.File("F1.COR"));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(run.state.PointCount(), kDepth);
    EXPECT_TRUE(StdoutLines(run.ui).empty());
    // A generous bound for a loaded machine under a sanitizer: a few hundred
    // milliseconds are expected.
    EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count(), 10);
}

#ifndef _WIN32
TEST(HostileInput, AListingThatCannotBeWrittenEndsTheLoadInsteadOfLosingThePoints) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    Cp1252Folder folder;
    CoordinatesRun run;
    run.state.ListingFile.Create("/dev/full");  // every write: disk full
    run.state.CoordinatesFileName = folder.Write("c.cor", "1 A 1 2 3 0 0\n@absent\n");
    // The unopenable include is written to the listing, which fails.
    EXPECT_THROW(LoadKnownPoints(run.state, run.ui), IoFailure);
}
#endif

}  // namespace
}  // namespace calctopo
