#pragma once

#include <cstddef>
#include <deque>
#include <string>

#include "bus/TransactionRecord.h"
#include "scripts/Script.h"

namespace brelvion::scripts {

struct TransactionScriptOptions {
  // The register-address width, 1 or 2 bytes, of the transactions whose command did not say
  // its format, as the view shows them: a write of that many bytes followed by a read of
  // the same device is a register read, a longer write a register and its value. The
  // others take their command's format.
  int addressBytes = 1;
  // Each register an acknowledged read returned, and its command showed, becomes an
  // `expect` line holding the value read; without it reads are left out, the register
  // writes before them too.
  bool readsAsExpect = false;
  // How many older transactions the record dropped before these: said in a comment.
  std::size_t dropped = 0;
};

// The header comment of a saved script.
inline constexpr const char* kTransactionScriptHeader = "saved from the Wisp debugger's transactions";

// The transactions as a script: every write (one not acknowledged when recorded says so in
// its comment), and the reads as asked. A transaction that cannot be a script command (an
// address alone, as a scan probes; a read with no register written before it) is named in
// a comment at the head, by its place in entries counted from 1, with the reason.
Script scriptOfTransactions(const std::deque<bus::Transaction>& entries,
                            const TransactionScriptOptions& options);

// What the script's head and the window say of the transactions dropped before the kept.
std::string droppedNote(std::size_t dropped, std::size_t kept);

// Whether script puts anything on the bus (more than comments and settings).
bool holdsCommand(const Script& script);

// path, with ".i2cs" added when its file name has no extension, so that sending it again
// runs it as a script.
std::string withScriptExtension(const std::string& path);

}  // namespace brelvion::scripts
