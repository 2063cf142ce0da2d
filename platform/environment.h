// The process's environment variables.
#pragma once

// Sets `name` to `value` for this process and the children it starts.
void SetVariable(const char* name, const char* value);
