// The process's environment variables, and who and where it runs.
#pragma once

#include <string>

// Sets `name` to `value` for this process and the children it starts.
void SetVariable(const char* name, const char* value);

// The name of the user the process runs as ("uid 1000" when it has none).
std::string UserName();

// This machine's name.
std::string HostName();
