// Files for the tests: a temporary folder of their own, and the few ways the
// tests write and read files in it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace calctopo::testing {

// A folder of its own under the system's temporary folder. When the object
// goes, the working directory it found is put back (a test may have moved
// into the folder) and the folder is removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The full name of `relative` in the folder, in the system's spelling:
    // the folder in UTF-8, then `relative` as given (UTF-8, or Windows-1252 for
    // a name the program is to hold), its '/' turned into the system's
    // separator.
    std::string File(const std::string& relative) const;
    // Writes `bytes` as `relative` (UTF-8; folders on the way created) and
    // returns its full name.
    std::string Write(const std::string& relative, const std::string& bytes) const;

  private:
    std::filesystem::path previousWorkingDirectory_;
    std::filesystem::path path_;
};

// A name written with '/' in the system's spelling: '\' on Windows, where
// the program names files with '\' as the user sees them.
std::string NativeSeparators(std::string name);

// Writes `bytes` as they stand (no line-end translation) into `path`, creating
// the folders on the way.
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// The bytes of a file, "" when it cannot be read.
std::string ReadBytes(const std::filesystem::path& path);

// The lines of a text file as the program reads them (ReadTextLines: CR LF or
// LF ends a line); a file that cannot be read fails the test.
std::vector<std::string> TextLines(const std::filesystem::path& path);

// A path from UTF-8 text, built by the standard library alone: a witness
// independent of the program's own conversions of file names.
std::filesystem::path Utf8Path(const std::string& utf8);

}  // namespace calctopo::testing
