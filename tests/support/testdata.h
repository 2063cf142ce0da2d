// The fixtures in tests/data/.
#pragma once

#include <string>

inline std::string TestData(const std::string& name) {
    return std::string(TARVO_TEST_DATA_DIR) + "/" + name;
}
