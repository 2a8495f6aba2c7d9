// Where the libraries that a model or a handler names may be loaded from. A
// model is data that travels with its project, so it may name a library but
// never choose the file: libraries come only from the tool folder the user
// gave the host and from the runtime folder, never from the project folder
// (which is also the current folder) and never from a folder or file that
// other users can write to.
#pragma once

#include <string>
#include <vector>

namespace gr {

// Why TEXT can not name a library ("" when it can): empty, with a folder, or
// holding a control character (a NUL would cut the name short).
std::string libraryNameProblem(const std::string& text);
// Why TEXT can not name an entry ("" when it can): empty or holding a control character.
std::string entryNameProblem(const std::string& text);

// TEXT with every control character written as \xNN, for messages.
std::string printableName(const std::string& text);

// Why nothing may be loaded from PATH, a folder or a file ("" when it may):
// it is writable by every user (a folder with the sticky bit excepted), or
// writable by a group that is not the user's own.
std::string writableByOthers(const std::string& path);

// The folders searched for a library, in order: the host's tool folder
// (unless none is set or it lies in the project folder), then the runtime
// folder. Each is absolute, without "." and ".." parts.
std::vector<std::string> libraryFolders();

// Why the tool folder is not searched ("" when it is).
std::string toolFolderProblem();

}  // namespace gr
