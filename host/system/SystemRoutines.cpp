#include "host/system/SystemRoutines.h"

#include <sys/wait.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "host/base/MessageLog.h"

namespace grhost {
namespace {

// The text as one word of a /bin/sh command line.
std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

bool isCommandFile(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".sh" || extension == ".bat";
}

std::string captureOutput(const std::string& commandLine) {
  std::string output;
  FILE* pipe = popen(commandLine.c_str(), "r");
  if (!pipe) return output;
  std::array<char, 4096> buffer;
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    output.append(buffer.data(), n);
  pclose(pipe);
  return output;
}

}  // namespace

bool SystemRoutines::copyFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
  if (ec) log_.note("CopyFile \"" + from + "\" to \"" + to + "\" failed: " + ec.message() + ".");
  return !ec;
}

std::string SystemRoutines::executeProgramAndGetOutput(const std::string& commandLine, bool wait) {
  if (wait) return captureOutput(commandLine);
  std::string background = "(" + commandLine + ") </dev/null >/dev/null 2>&1 &";
  int status = std::system(background.c_str());
  if (status != 0) log_.note("Could not start \"" + commandLine + "\".");
  return "";
}

bool SystemRoutines::openFileWithAssociatedProgram(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    log_.note("OpenFileWithAssociatedProgram: no file \"" + path + "\".");
    return false;
  }
  if (!isCommandFile(path)) {
    opened_.push_back(path);
    log_.note("Opened \"" + path + "\" (headless: not shown).");
    return true;
  }
  int status = std::system(("/bin/sh " + shellQuoted(path)).c_str());
  return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string SystemRoutines::nextAnswer(std::deque<std::string>& answers, const std::string& what) {
  if (answers.empty()) {
    log_.note(what + ": no answer was given, the choice is cancelled.");
    return "";
  }
  std::string answer = answers.front();
  answers.pop_front();
  return answer;
}

std::string SystemRoutines::browseForFile(const std::string& caption, const std::string&) {
  return nextAnswer(fileAnswers_, "BrowseForFile \"" + caption + "\"");
}

std::string SystemRoutines::browseForFolder(const std::string& caption) {
  return nextAnswer(folderAnswers_, "BrowseForFolder \"" + caption + "\"");
}

}  // namespace grhost
