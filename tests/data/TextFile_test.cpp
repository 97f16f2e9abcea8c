// Text files and the file names that lead to them: Windows-1252 names turned
// into paths the operating system knows, and back.
#include "data/TextFile.h"

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/Failures.h"
#include "data/TextNumbers.h"
#include "support/TempFolder.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace calctopo {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::Utf8Path;
using testing::WriteBytes;

// Utf8Path("Relevés/chantier été.cor") as the core holds it, and in UTF-8.
const std::string kName1252 = "Relev\xE9s/chantier \xE9t\xE9.cor";
const std::string kNameUtf8 = "Relevés/chantier été.cor";

// Paths built (Utf8Path) and read in UTF-8 by the standard library alone, as
// witnesses independent of the functions under test.
std::string Utf8Of(const fs::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

// The names in a folder, as the file system spells them (UTF-8).
std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.insert(Utf8Of(entry.path().filename()));
    }
    return names;
}

// ---------------------------------------------------------------------------
// NativePath and NameFromPath

TEST(FileNames, NativePathSpellsTheWindows1252NameInUnicode) {
    EXPECT_EQ(Utf8Of(NativePath(kName1252)), kNameUtf8);
    // The bytes 0x80 to 0x9F are not Latin-1: 0x80 is the euro sign, 0x9C "œ".
    EXPECT_EQ(Utf8Of(NativePath("\x80 \x9Cuvre.obs")), "€ œuvre.obs");
    EXPECT_TRUE(NativePath("").empty());
    EXPECT_EQ(Utf8Of(NativePath("plain/ascii.cor")), "plain/ascii.cor");
}

TEST(FileNames, NameFromPathGivesTheWindows1252Name) {
    EXPECT_EQ(NameFromPath(Utf8Path(kNameUtf8)), kName1252);
    EXPECT_EQ(NameFromPath(Utf8Path("Œuvre €.obs")), "\x8Cuvre \x80.obs");
    EXPECT_EQ(NameFromPath(fs::path()), "");
}

TEST(FileNames, EveryWindows1252ByteSurvivesTheRoundTrip) {
    std::string every;
    for (int byte = 1; byte < 256; ++byte) {
        every += static_cast<char>(byte);
    }
    EXPECT_EQ(NameFromPath(NativePath(every)), every);
    // The path holds real UTF-8: one two-byte sequence for "é".
    EXPECT_EQ(Utf8Of(NativePath("\xE9")), "\xC3\xA9");
}

TEST(FileNames, ACharacterWithoutAWindows1252ByteBecomesAQuestionMark) {
    EXPECT_EQ(NameFromPath(Utf8Path("Αθήνα/relevé.cor")), std::string(5, '?') + "/relev\xE9.cor");
    EXPECT_EQ(NameFromPath(Utf8Path("plan 測量.cor")), "plan " + std::string(2, '?') + ".cor");
}

#ifndef _WIN32
TEST(FileNames, ALinuxNameThatIsNotUtf8KeepsItsBytes) {
    // A name written by an older program in Latin-1: the byte 0xE9 is no UTF-8,
    // and reads as the Windows-1252 "é".
    EXPECT_EQ(NameFromPath(fs::path(std::string("caf\xE9.cor"))), "caf\xE9.cor");
}
#endif

// ---------------------------------------------------------------------------
// Files named with accented characters

TEST(TextFile, AnAccentedNameIsCreatedUnderItsUnicodeSpelling) {
    TempFolder folder;
    fs::create_directories(folder.Path() / Utf8Path("Relevés"));
    const std::string name = NameFromPath(folder.Path()) + "/Relev\xE9s/r\xE9sultat \xE9t\xE9.vek";
    {
        TextOutputFile file;
        file.Create(name);
        EXPECT_EQ(file.Path(), name);
        file.WriteLine("\xE9t\xE9");
    }
    // One file, whose name on disk is the UTF-8 spelling, content untouched.
    EXPECT_EQ(Entries(folder.Path() / Utf8Path("Relevés")),
              (std::set<std::string>{"résultat été.vek"}));
    EXPECT_EQ(ReadBytes(folder.Path() / Utf8Path("Relevés") / Utf8Path("résultat été.vek")),
              "\xE9t\xE9\r\n");
}

TEST(TextFile, AnAccentedNameIsRead) {
    TempFolder folder;
    WriteBytes(folder.Path() / Utf8Path(kNameUtf8), "1 A\r\n2 B");
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(NameFromPath(folder.Path()) + "/" + kName1252, lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"1 A", "2 B"}));
    // A folder under an accented name is still not a file.
    EXPECT_FALSE(ReadTextLines(NameFromPath(folder.Path()) + "/Relev\xE9s", lines));
}

TEST(TextFile, AnAccentedNameIsReplacedWholeAndFailuresNameIt) {
    TempFolder folder;
    const fs::path target = folder.Path() / Utf8Path("Relevés") / Utf8Path("chantier été.bvk");
    WriteBytes(target, "old");
    const std::string name = NameFromPath(folder.Path()) + "/Relev\xE9s/chantier \xE9t\xE9.bvk";
    WriteFileReplacing(name, "new\r\n");
    EXPECT_EQ(ReadBytes(target), "new\r\n");
    EXPECT_EQ(Entries(folder.Path() / Utf8Path("Relevés")),
              (std::set<std::string>{"chantier été.bvk"}));

    // A missing folder: the message carries the name as the core holds it.
    const std::string missing = NameFromPath(folder.Path()) + "/Absent\xE9/chantier.bvk";
    try {
        WriteFileReplacing(missing, "x");
        ADD_FAILURE() << "no failure for a missing folder";
    } catch (const IoFailure& failure) {
        EXPECT_NE(std::string(failure.what()).find(missing), std::string::npos) << failure.what();
    }
}

// ---------------------------------------------------------------------------
// Held text and its flush

TEST(TextFile, AppendedTextReachesTheFileAtTheFlushOnly) {
    TempFolder folder;
    const std::string name = folder.File("listing.vek");
    TextOutputFile file;
    file.Create(name);
    file.Append("S1");
    file.AppendLine("     P1");
    EXPECT_EQ(ReadBytes(name), "");
    file.Flush();
    EXPECT_EQ(ReadBytes(name), "S1     P1\r\n");
    // A write goes out at once, after what was held before it.
    file.Append("held ");
    file.WriteLine("now");
    EXPECT_EQ(ReadBytes(name), "S1     P1\r\nheld now\r\n");
    // Nothing held: a flush does nothing; what is held at the close is written.
    file.Flush();
    file.AppendLine("last");
    file.Close();
    EXPECT_EQ(ReadBytes(name), "S1     P1\r\nheld now\r\nlast\r\n");
    // A closed file holds nothing.
    file.Append("lost");
    file.Flush();
    EXPECT_EQ(ReadBytes(name), "S1     P1\r\nheld now\r\nlast\r\n");
}

#ifdef __linux__
TEST(TextFile, AFullDiskIsReportedAtTheFlush) {
    // /dev/full accepts the file but refuses every byte written to it.
    TextOutputFile file;
    file.Create("/dev/full");
    file.AppendLine("a line of residuals");
    try {
        file.Flush();
        ADD_FAILURE() << "no failure on a full disk";
    } catch (const IoFailure& failure) {
        EXPECT_NE(std::string(failure.what()).find("/dev/full"), std::string::npos)
            << failure.what();
    }
    // The text that could not be written is dropped, not written again.
    EXPECT_NO_THROW(file.Flush());
    EXPECT_THROW(file.WriteLine("next"), IoFailure);
}
#endif

// Reading text files that are not what they should be

TextFileContent ReadBytesAsText(const TempFolder& folder, const std::string& bytes) {
    return ReadTextFile(folder.Write("f.txt", bytes));
}

std::vector<std::string> LinesOf(const TextFileContent& content) {
    std::vector<std::string> lines;
    LineCursor cursor(content);
    std::string_view line;
    while (cursor.Next(line)) {
        lines.emplace_back(line);
    }
    return lines;
}

TEST(TextFileReading, LineEndsOfEveryKind) {
    TempFolder folder;
    using Lines = std::vector<std::string>;
    EXPECT_EQ(LinesOf(ReadBytesAsText(folder, "")), Lines{""});
    EXPECT_EQ(LinesOf(ReadBytesAsText(folder, "a\r\nb\nc")), (Lines{"a", "b", "c"}));
    EXPECT_EQ(LinesOf(ReadBytesAsText(folder, "a\n\n")), (Lines{"a", ""}));
    // CR-only line ends: each CR ends a line, and the reading says so.
    const TextFileContent mac = ReadBytesAsText(folder, "* titre\r1 A\r\r");
    EXPECT_TRUE(mac.crOnlyLineEnds);
    EXPECT_EQ(LinesOf(mac), (Lines{"* titre", "1 A", ""}));
    // A CR inside a file that has LF line ends stays in its line.
    const TextFileContent mixed = ReadBytesAsText(folder, "a\rb\r\nc\n");
    EXPECT_FALSE(mixed.crOnlyLineEnds);
    EXPECT_EQ(LinesOf(mixed), (Lines{"a\rb", "c"}));
}

TEST(TextFileReading, ByteOrderMarksAreDecodedAndCounted) {
    TempFolder folder;
    const TextFileContent utf8 = ReadBytesAsText(folder,
                                                 "\xEF\xBB\xBF"
                                                 "7 R\xC3\xA9"
                                                 "f \xE6\x97\xA5\n");
    EXPECT_EQ(utf8.encoding, TextEncoding::Utf8);
    EXPECT_EQ(utf8.text,
              "7 R\xE9"
              "f ?\n");
    EXPECT_EQ(utf8.unconvertible, 1u);
    // "é€" in UTF-16, both byte orders; a last odd byte becomes '?'.
    const TextFileContent little =
        ReadBytesAsText(folder, std::string("\xFF\xFE\xE9\0\xAC\x20", 6));
    EXPECT_EQ(little.encoding, TextEncoding::Utf16LittleEndian);
    EXPECT_EQ(little.text, "\xE9\x80");
    const TextFileContent big =
        ReadBytesAsText(folder, std::string("\xFE\xFF\0\xE9\x20\xAC\x41", 7));
    EXPECT_EQ(big.encoding, TextEncoding::Utf16BigEndian);
    EXPECT_EQ(big.text, "\xE9\x80?");
    EXPECT_EQ(big.unconvertible, 1u);
    EXPECT_EQ(DescribeTextNotices(big, "f.txt"),
              (std::vector<std::string>{
                  Utf8ToCp1252("Le fichier f.txt est en UTF-16 (il commence par une marque "
                               "d'ordre des octets) : il est lu converti en Windows-1252"),
                  Utf8ToCp1252("Le fichier f.txt contient 1 caractère(s) sans équivalent en "
                               "Windows-1252 : chacun est lu comme « ? »")}));
    // A plain Windows-1252 file is told nothing.
    EXPECT_TRUE(DescribeTextNotices(ReadBytesAsText(folder, "\xE9t\xE9\r\n"), "f").empty());
}

TEST(TextFileReading, WhatIsNoTextFileIsNotRead) {
    TempFolder folder;
    // A NUL byte: a binary file, or UTF-16 without its mark ("1" in UTF-16).
    const TextFileContent binary = ReadBytesAsText(folder, std::string("a\nb\n1\0", 6));
    EXPECT_EQ(binary.problem, TextReadProblem::NotText);
    EXPECT_EQ(binary.nulLine, 3);
    EXPECT_TRUE(binary.text.empty());
    EXPECT_EQ(ReadTextFile(NameFromPath(folder.Path())).problem, TextReadProblem::CannotOpen);
    EXPECT_EQ(ReadTextFile(folder.File("absent")).problem, TextReadProblem::CannotOpen);
    // Above the limit (a sparse file: nothing is written to disk).
    const fs::path large = folder.Path() / "large.obs";
    WriteBytes(large, "x");
    fs::resize_file(large, kMaxTextFileBytes + 1);
    EXPECT_EQ(ReadTextFile(NameFromPath(large)).problem, TextReadProblem::TooLarge);
#ifndef _WIN32
    const TextFileContent device = ReadTextFile("/dev/zero");
    EXPECT_EQ(device.problem, TextReadProblem::NotRegularFile);
    EXPECT_EQ(DescribeReadProblem(device, "/dev/zero"),
              Utf8ToCp1252("Le fichier /dev/zero n'est pas un fichier ordinaire (périphérique, "
                           "tube ou socket) : il n'est pas lu"));
#endif
}

TEST(SystemErrors, AreWordedInFrenchAndConvertedOnce) {
    // The window used to show "Permission non accordÃ©e": the C library's
    // UTF-8 text converted a second time.
    EXPECT_EQ(SystemErrorText(EACCES),
              "Permission non accord\xE9"
              "e");
    EXPECT_EQ(SystemErrorText(ENOSPC), "Plus de place sur le disque");
    EXPECT_EQ(DescribeSystemError(EFBIG), " (Fichier trop volumineux)");
    EXPECT_EQ(DescribeSystemError(0), "");
    // A rarer error keeps its number and the system's own text.
    EXPECT_EQ(
        SystemErrorText(EDOM).rfind(Utf8ToCp1252("erreur système ") + std::to_string(EDOM), 0), 0u);
}

#ifndef _WIN32
TEST(TextFile, AFailedReplacementNamesTheFileThatFailedAndLeavesNothingBehind) {
    TempFolder folder;
    // A ".new" whose name is a folder: the temporary file is written, cannot
    // replace the folder, and is removed.
    fs::create_directory(folder.Path() / "res.new");
    const std::string target = folder.File("res.new");
    try {
        WriteFileReplacing(target, "x\r\n");
        ADD_FAILURE() << "a folder was replaced";
    } catch (const IoFailure& failure) {
        EXPECT_EQ(std::string(failure.what()),
                  Utf8ToCp1252("Impossible de remplacer le fichier " + target +
                               " (C'est un dossier) ; il reste inchangé"));
    }
    EXPECT_EQ(Entries(folder.Path()), (std::set<std::string>{"res.new"}));

    // A temporary file that cannot be created: the message names it.
    if (::geteuid() != 0) {  // root writes anywhere
        fs::create_directory(folder.Path() / "ro");
        WriteBytes(folder.Path() / "ro" / "res.new", "old");
        fs::permissions(folder.Path() / "ro", fs::perms::owner_read | fs::perms::owner_exec);
        const std::string readOnly = folder.File("ro/res.new");
        try {
            WriteFileReplacing(readOnly, "new");
            ADD_FAILURE() << "written in a read-only folder";
        } catch (const IoFailure& failure) {
            EXPECT_EQ(std::string(failure.what()),
                      Utf8ToCp1252("Impossible de créer le fichier " + readOnly +
                                   ".tmp~ (Permission non accordée) ; le fichier " + readOnly +
                                   " reste inchangé"));
        }
        fs::permissions(folder.Path() / "ro", fs::perms::owner_all);
        EXPECT_EQ(ReadBytes(folder.Path() / "ro" / "res.new"), "old");
    }
}

TEST(TextFile, AFullDiskIsReportedInFrench) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    TextOutputFile file;
    file.Create("/dev/full");
    try {
        file.WriteLine("x");
        ADD_FAILURE() << "a write to a full disk succeeded";
    } catch (const IoFailure& failure) {
        EXPECT_EQ(std::string(failure.what()),
                  Utf8ToCp1252("Erreur d'écriture dans le fichier /dev/full (Plus de place sur le "
                               "disque)"));
    }
}
#endif

}  // namespace
}  // namespace calctopo
