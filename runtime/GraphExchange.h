// The exchange-text reader: runs a text of metamodel and data statements
// ("begin;", one statement a line, "end;") against the open store. The text
// is checked whole first (runtime/ExchangeCheck.h): a text that can not be
// run whole is refused with a message that names its line, and nothing of
// it is written.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/repository.h"

// Object names "pp_N" index a table of this many slots.
inline constexpr std::uint32_t kExchangeObjectSlots = 1000000;

// What one run of an exchange text did. Statements that have nothing to act
// on are skipped without a message, as the callers expect; this report is
// the only place they show up.
struct ExchangeImportReport {
  bool fileOpened = false;
  bool begun = false;                // the "begin;" line was found
  bool ended = false;                // the "end;" statement was reached
  RepId firstObject = 0;             // first object an addObj created
  std::size_t statements = 0;        // statements read, "end;" not counted
  std::size_t executed = 0;          // statements that changed or confirmed something
  std::size_t objectsCreated = 0;    // addObj statements run
  std::size_t declarations = 0;      // class, attribute and association statements run
  std::vector<std::string> skipped;  // statements without effect, as read
  std::vector<std::string> ignored;  // statements with an unknown keyword

  // The text was refused before anything was written.
  bool refused = false;
  std::size_t errorLine = 0;
  std::string error;  // the reason, one line
  // "NAME, line N: REASON. Nothing was imported." ("" when not refused).
  std::string refusalMessage;
  // Counts the runs of this process, from 1: a host tells its own run apart.
  std::size_t run = 0;
};

// Runs the exchange text in FILENAME; returns the first object created, or 0.
// A file that cannot be opened shows "File not found - " + FILENAME; a
// refused text shows its refusal message.
RepId import_metamodel_and_data(const std::string& fileName);

// The same run, reporting what happened.
ExchangeImportReport importExchangeFile(const std::string& fileName);
// NAME names the text in the refusal message. IN must be seekable: the text
// is read twice, once to check it and once to run it.
ExchangeImportReport importExchangeStream(std::istream& in, const std::string& name = "the text");

// The report of the last run in this process (empty before the first), so
// that a host learns what a transformation's import did.
const ExchangeImportReport& lastExchangeImport();
