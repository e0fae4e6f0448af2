#pragma once
#include <string>

// Installs this build (cmake --install) into `prefix`, emptied first; true
// when the install succeeded.
bool installBuild(const std::string& prefix);
