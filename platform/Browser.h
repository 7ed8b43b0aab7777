#pragma once
#include <string>

// Opens an http or https page in the user's browser (xdg-open, or the program
// named by QUOBRIX_BROWSER). The command line is bounded like the classic
// 520-byte buffer: a longer one is not started. Other schemes are refused so a
// URL from the network can never open a local file or program.
bool OpenURLInBrowser(const std::string& url);
