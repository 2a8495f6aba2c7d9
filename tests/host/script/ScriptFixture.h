// A project with a script player that has every statement; lines are played
// as a file so that errors carry their line.
#pragma once

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "host/script/ScriptPlayer.h"
#include "tests/host/HostFixture.h"

class ScriptFixture : public HostTest {
 protected:
  void newPlayer() {
    player_ = std::make_unique<grhost::ScriptPlayer>(head(), session_->log());
    grhost::addCoreStatements(*player_);
    grhost::addExpectations(*player_);
  }
  // "" when all lines passed, else the error output without the file name.
  std::string playScript(const std::string& lines) {
    std::filesystem::path script = folder_.parent_path() / (folder_.filename().string() + ".grs");
    std::ofstream(script) << lines;
    std::ostringstream errors;
    bool passed = player_->playFile(script, errors);
    std::filesystem::remove(script);
    std::string text = errors.str();
    std::string prefix = script.string() + ":";
    if (text.rfind(prefix, 0) == 0) text = text.substr(prefix.size());
    EXPECT_EQ(passed, text.empty()) << text;
    return text;
  }

  std::unique_ptr<grhost::ScriptPlayer> player_;
};
