// The exchange-text reader: runs a text of metamodel and data statements
// ("begin;", one statement a line, "end;") against the open store.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/repository.h"

// Object names "pp_N" index a table of this many slots; larger numbers are
// not placed and their statements are skipped.
inline constexpr std::uint32_t kExchangeObjectSlots = 1000000;

// What one run of an exchange text did. Statements that could not be
// executed are skipped without a message, as the callers expect; this report
// is the only place they show up.
struct ExchangeImportReport {
  bool fileOpened = false;
  bool begun = false;     // the "begin;" line was found
  bool ended = false;     // the "end;" statement was reached
  RepId firstObject = 0;  // first object an addObj created
  std::size_t executed = 0;
  std::vector<std::string> skipped;  // statements without effect, as read
  std::vector<std::string> ignored;  // statements with an unknown keyword
};

// Runs the exchange text in FILENAME; returns the first object created, or 0.
// A file that cannot be opened shows "File not found - " + FILENAME.
RepId import_metamodel_and_data(const std::string& fileName);

// The same run, reporting what happened.
ExchangeImportReport importExchangeFile(const std::string& fileName);
ExchangeImportReport importExchangeStream(std::istream& in);
