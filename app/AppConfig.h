// Where the program finds its files and what it reads from its surroundings.
//
// Everything here is read, never written, and nothing is cached: each call
// asks the system again, so a change to the configuration file between two
// reads is seen by the later one.
#pragma once

#include <string>

// The configuration file beside the executable: the module directory
// followed by "wex.ini".  Set once during static initialisation.
extern const std::wstring g_strConfigPath;

// The running executable's directory, ending in a backslash.
std::wstring GetModuleDirectory();

// The user's local application-data folder in short (8.3) form followed by
// "\KelpBrowser\", in the ANSI code page; "\KelpBrowser\" alone when the shell
// cannot name the folder.  The browser engine keeps its cache there.
std::string GetAppDataFolder();

// The product version of the executable's version resource, "%d.%d.%d.%d",
// or "" when there is none.
std::string GetProductVersion();

// The "loginurl" value of section "System" of the configuration file, at
// most 259 characters; "" when the file, section or key is missing.
std::wstring ReadLoginUrl();
