// The version of the SDL library the window back-end runs on, for --version.
#pragma once

#include <string>

namespace kw {
std::string SdlVersionText();
}
