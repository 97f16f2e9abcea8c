// File names: made absolute, taken from a folder, their extension and their
// folder. Every name is a Windows-1252 core string, in and out; only the file
// system sees native paths (through NativePath and NameFromPath).
//
// Extensions: both '/' and '\' separate folders, whatever the system, so that
// a work site written on Windows reads the same on Linux. The extension is
// what follows the last '.' after the last separator ("C:\Relevés.2024\demo"
// has none; "demo." has the empty one, the '.' alone). The include names of the
// observations file have their own rule, where ':' also ends a folder
// (ResolveIncludeName in data/LIT).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace calctopo {

// The name made absolute against the current directory, "." and ".." removed
// by name. A name that cannot be made absolute (empty, or the working directory
// is gone) is returned as given.
std::string AbsoluteName(const std::string& name);

// The absolute name of the file that `name` names: a relative name is taken
// from `folder` (an absolute folder name) or, when `folder` is empty, from the
// current working directory (then it is AbsoluteName); "." and ".." parts are
// resolved by name. A name with a root of its own ("/x"; on Windows also "C:x"
// and "\x") is taken as the system takes it. An empty name stays empty (it
// names no file), and a name that cannot be made absolute (the working
// directory is gone) is kept as given.
std::string ResolveFileName(const std::string& name, const std::string& folder = {});

// The folder of a name as the file system splits it ("" for a bare name).
std::string FolderOf(const std::string& name);

// The name without its folders: what follows the last '/' or '\'.
std::string NameWithoutFolder(const std::string& name);

// Position of the '.' that starts the extension, or npos when there is none.
std::size_t ExtensionStart(std::string_view name);

// True when the name has an extension: a '.' after its last '/' or '\'.
bool HasExtension(std::string_view name);

// The name without its extension (the name itself when it has none).
std::string WithoutExtension(const std::string& name);

// The name with its extension replaced by `extension` (".new"), which is
// appended when the name has none.
std::string WithExtension(const std::string& name, std::string_view extension);

// The name as it stands when it has an extension, otherwise with `extension`
// appended (the listing: ".vek").
std::string WithDefaultExtension(const std::string& name, std::string_view extension);

}  // namespace calctopo
