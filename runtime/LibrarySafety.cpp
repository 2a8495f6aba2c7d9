#include "runtime/LibrarySafety.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/host.h"

namespace gr {
namespace {

bool hasControlCharacter(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    unsigned char code = static_cast<unsigned char>(c);
    return code < 0x20 || code == 0x7f;
  });
}

std::filesystem::path absolute(const std::string& folder) {
  std::error_code ec;
  std::filesystem::path path = std::filesystem::absolute(folder, ec);
  return (ec ? std::filesystem::path(folder) : path).lexically_normal();
}

// With links resolved: a link must not hide that a folder lies in another.
std::filesystem::path resolved(const std::string& folder) {
  std::error_code ec;
  std::filesystem::path path = std::filesystem::weakly_canonical(folder, ec);
  return ec ? absolute(folder) : path.lexically_normal();
}

// INNER is OUTER or lies below it.
bool liesIn(const std::filesystem::path& inner, const std::filesystem::path& outer) {
  auto [o, i] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
  // A trailing separator leaves an empty last element.
  return o == outer.end() || (std::next(o) == outer.end() && o->empty());
}

}  // namespace

std::string libraryNameProblem(const std::string& text) {
  if (text.empty()) return "a library must have a name";
  if (hasControlCharacter(text)) return "a library name must not hold control characters";
  if (text.find_first_of("/\\") != std::string::npos)
    return "a library must be named without a folder";
  return "";
}

std::string entryNameProblem(const std::string& text) {
  if (text.empty()) return "an entry must have a name";
  if (hasControlCharacter(text)) return "an entry name must not hold control characters";
  return "";
}

std::string printableName(const std::string& text) {
  static const char digits[] = "0123456789ABCDEF";
  std::string printable;
  for (char c : text) {
    unsigned char code = static_cast<unsigned char>(c);
    if (code >= 0x20 && code != 0x7f) {
      printable += c;
      continue;
    }
    printable += "\\x";
    printable += digits[code >> 4];
    printable += digits[code & 0xf];
  }
  return printable;
}

std::string writableByOthers(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return "";
  bool folder = S_ISDIR(info.st_mode);
  if ((info.st_mode & S_IWOTH) && !(folder && (info.st_mode & S_ISVTX)))
    return path + " can be written by every user";
  if ((info.st_mode & S_IWGRP) && info.st_gid != ::getgid())
    return path + " can be written by the members of another group";
  return "";
}

std::string toolFolderProblem() {
  std::string tool = host().toolPath();
  if (tool.empty()) return "no tool folder is set";
  std::string project = host().projectPath();
  if (!project.empty() && liesIn(resolved(tool), resolved(project)))
    return "the tool folder " + tool + " lies in the project folder";
  return "";
}

std::vector<std::string> libraryFolders() {
  std::vector<std::string> folders;
  if (toolFolderProblem().empty()) folders.push_back(absolute(host().toolPath()).string());
  std::string runtime = host().runtimePath();
  if (!runtime.empty()) folders.push_back(absolute(runtime).string());
  return folders;
}

}  // namespace gr
