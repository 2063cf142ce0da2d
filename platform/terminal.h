// The terminal and the user's interrupts: whether a standard stream is a
// terminal, reading a secret without showing it, and Ctrl-C.
#pragma once

#include <atomic>
#include <string>

enum class StandardStream { Input, Output, Error };

bool IsTerminal(StandardStream stream);

// A line from standard input; on a terminal, not shown as it is typed.
std::string ReadSecretLine();

// From now on Ctrl-C (and a request to terminate) sets `flag` instead of
// ending the process, so that a run can stop at a safe point.
void StopOnInterrupt(std::atomic<bool>& flag);
