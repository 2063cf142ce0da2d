// Where the program and the user's files are: the running program, the
// user's configuration folder, the library that holds a piece of code, and
// whether a folder may be written.
#pragma once

#include <filesystem>

// The running program's own file, links resolved.
std::filesystem::path RunningExecutable();

// The user's configuration folder of the program ($XDG_CONFIG_HOME/quarvelin,
// else ~/.config/quarvelin); empty when neither is known. The settings (when
// the program's own folder is not writable), the shop's radio models and the
// recent files live there.
std::filesystem::path UserConfigDirectory();

// The user's data folder of the program ($XDG_DATA_HOME/quarvelin, else
// ~/.local/share/quarvelin); empty when neither is known. The programming
// log lives there.
std::filesystem::path UserDataDirectory();

// Whether the user may make files in `folder`.
bool CanWriteFolder(const std::filesystem::path& folder);

// The folder of the shared library (or program) that holds `code`; empty
// when it cannot be told.
std::filesystem::path FolderOfCode(const void* code);

// The address of an exported symbol of the process, or null.
const void* FindExport(const char* name);
