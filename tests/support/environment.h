// Environment variables in tests, on POSIX systems and on Windows; and the
// user's configuration folder pointed at a test's own.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

inline void SetEnv(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

inline void UnsetEnv(const char* name) {
#ifdef _WIN32
    _putenv_s(name, "");
#else
    unsetenv(name);
#endif
}

// While it lives, the user's configuration folder is `folder`/quarvelin:
// $XDG_CONFIG_HOME on POSIX systems, %APPDATA% on Windows.
class ConfigHome {
  public:
    explicit ConfigHome(const std::filesystem::path& folder) {
        if (const char* old = std::getenv(kVariable); old != nullptr)
            old_ = old;
        SetEnv(kVariable, folder.string());
    }
    ~ConfigHome() {
        if (old_)
            SetEnv(kVariable, *old_);
        else
            UnsetEnv(kVariable);
    }
    ConfigHome(const ConfigHome&) = delete;
    ConfigHome& operator=(const ConfigHome&) = delete;

  private:
#ifdef _WIN32
    static constexpr const char* kVariable = "APPDATA";
#else
    static constexpr const char* kVariable = "XDG_CONFIG_HOME";
#endif
    std::optional<std::string> old_;
};
