// The utility routines of the host: file copy, running programs, opening
// documents, and file or folder choice. Headless, a choice is answered by the
// script ("answer file" / "answer folder" lines queued before the gesture that
// asks), and a document that is not a command file is only recorded as opened.
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace grhost {

class MessageLog;

class SystemRoutines {
 public:
  explicit SystemRoutines(MessageLog& log) : log_(log) {}

  bool copyFile(const std::string& from, const std::string& to);
  // Runs the command line with /bin/sh -c. WAIT: returns its standard output;
  // otherwise starts it in the background and returns "".
  std::string executeProgramAndGetOutput(const std::string& commandLine, bool wait);
  // A ".sh" or ".bat" file runs with /bin/sh (true when it exits with 0);
  // any other existing file is recorded as opened.
  bool openFileWithAssociatedProgram(const std::string& path);

  void answerFile(const std::string& path) { fileAnswers_.push_back(path); }
  void answerFolder(const std::string& path) { folderAnswers_.push_back(path); }
  // The next queued answer; "" and a note when none is queued.
  std::string browseForFile(const std::string& caption, const std::string& filter);
  std::string browseForFolder(const std::string& caption);

  const std::vector<std::string>& openedFiles() const { return opened_; }
  std::size_t unusedAnswers() const { return fileAnswers_.size() + folderAnswers_.size(); }

 private:
  std::string nextAnswer(std::deque<std::string>& answers, const std::string& what);

  MessageLog& log_;
  std::deque<std::string> fileAnswers_;
  std::deque<std::string> folderAnswers_;
  std::vector<std::string> opened_;
};

}  // namespace grhost
