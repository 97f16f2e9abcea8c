#include "data/FileNames.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "data/TextFile.h"
#include "support/TempFolder.h"

namespace calctopo {
namespace {

namespace fs = std::filesystem;
using testing::NativeSeparators;
using testing::TempFolder;

// Extensions: both separators end a folder on every system, a dot in a folder
// is no extension, a trailing dot is an empty extension.
TEST(FileNames, ExtensionAfterTheLastSeparatorOnly) {
    EXPECT_TRUE(HasExtension("resultat.vek"));
    EXPECT_TRUE(HasExtension("C:\\chantier\\resultat.vek"));
    EXPECT_TRUE(HasExtension("/geo/res.v1.txt"));
    EXPECT_FALSE(HasExtension("/geo.2024/resultat"));
    EXPECT_FALSE(HasExtension("C:\\geo.2024\\resultat"));
    // Mixed separators, as a work site written on Windows and read on Linux.
    EXPECT_FALSE(HasExtension("C:\\geo.2024/sous\\resultat"));
    EXPECT_FALSE(HasExtension("/geo.2024\\resultat"));
    EXPECT_FALSE(HasExtension(""));
    EXPECT_FALSE(HasExtension("resultat"));
    // A trailing dot: the '.' alone is the extension.
    EXPECT_TRUE(HasExtension("resultat."));
    EXPECT_EQ(ExtensionStart("resultat."), 8u);
    // A name that is only an extension ("/geo/.vek") has one at its start.
    EXPECT_EQ(ExtensionStart("/geo/.vek"), 5u);
    EXPECT_EQ(ExtensionStart("/geo.2024/resultat"), std::string::npos);
}

TEST(FileNames, WithoutWithAndDefaultExtension) {
    EXPECT_EQ(WithoutExtension("/geo/res.v1.txt"), "/geo/res.v1");
    EXPECT_EQ(WithoutExtension("C:\\geo.2024\\resultat"), "C:\\geo.2024\\resultat");
    EXPECT_EQ(WithoutExtension("resultat."), "resultat");
    EXPECT_EQ(WithoutExtension(""), "");
    // The ".new" file beside the listing: the extension replaced or added.
    EXPECT_EQ(WithExtension("C:\\chantier\\resultat.vek", ".new"), "C:\\chantier\\resultat.new");
    EXPECT_EQ(WithExtension("/geo.2024/resultat", ".new"), "/geo.2024/resultat.new");
    EXPECT_EQ(WithExtension("resultat.", ".new"), "resultat.new");
    EXPECT_EQ(WithExtension("", ".new"), ".new");
    // The listing: ".vek" only where there is no extension at all.
    EXPECT_EQ(WithDefaultExtension("/geo.2024/resultat", ".vek"), "/geo.2024/resultat.vek");
    EXPECT_EQ(WithDefaultExtension("resultat.txt", ".vek"), "resultat.txt");
    EXPECT_EQ(WithDefaultExtension("resultat.", ".vek"), "resultat.");
    EXPECT_EQ(WithDefaultExtension("", ".vek"), ".vek");
}

TEST(FileNames, NameWithoutFolderTakesBothSeparators) {
    EXPECT_EQ(NameWithoutFolder("C:\\chantier\\mesures.obs"), "mesures.obs");
    EXPECT_EQ(NameWithoutFolder("/geo.2024/mesures.obs"), "mesures.obs");
    EXPECT_EQ(NameWithoutFolder("a/b\\c.obs"), "c.obs");
    EXPECT_EQ(NameWithoutFolder("mesures.obs"), "mesures.obs");
    EXPECT_EQ(NameWithoutFolder("/geo/"), "");
    EXPECT_EQ(NameWithoutFolder(""), "");
}

// AbsoluteName and ResolveFileName without a folder are one rule: taken from
// the working directory, "." and ".." resolved by name.
TEST(FileNames, RelativeNamesTakenFromTheWorkingDirectory) {
    TempFolder folder;
    fs::current_path(folder.Path());
    const std::string here = NameFromPath(fs::current_path());
    const std::string expected = NameFromPath(fs::current_path() / "b" / "c.obs");
    EXPECT_EQ(AbsoluteName(NativeSeparators("a/../b/./c.obs")), expected);
    EXPECT_EQ(ResolveFileName(NativeSeparators("a/../b/./c.obs")), expected);
    // A name with a root of its own stays where it is, cleaned.
    const std::string absolute = NameFromPath(fs::current_path() / "x" / ".." / "d.cor");
    EXPECT_EQ(AbsoluteName(absolute), NameFromPath(fs::current_path() / "d.cor"));
    // An empty name names no file: it stays empty.
    EXPECT_EQ(AbsoluteName(""), "");
    EXPECT_EQ(ResolveFileName(""), "");
    EXPECT_EQ(ResolveFileName("", here), "");
}

TEST(FileNames, RelativeNamesTakenFromAGivenFolder) {
    TempFolder folder;
    const std::string site = NameFromPath(folder.Path() / "chantier.2024");
    EXPECT_EQ(ResolveFileName(NativeSeparators("../mesures.obs"), site),
              NameFromPath(folder.Path() / "mesures.obs"));
    EXPECT_EQ(ResolveFileName("points.cor", site),
              NameFromPath(folder.Path() / "chantier.2024" / "points.cor"));
    // An absolute name ignores the folder.
    const std::string elsewhere = NameFromPath(folder.Path() / "autre" / "p.cor");
    EXPECT_EQ(ResolveFileName(elsewhere, site), elsewhere);
    // The folder of a name, as the file system splits it.
    EXPECT_EQ(FolderOf(elsewhere), NameFromPath(folder.Path() / "autre"));
    EXPECT_EQ(FolderOf("p.cor"), "");
}

}  // namespace
}  // namespace calctopo
